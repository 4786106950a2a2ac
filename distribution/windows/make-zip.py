"""Packs a folder into a zip under a top folder of the given name, for unpacking on Windows.

Usage: make-zip.py <folder> <zip file> <top folder name>

Names are stored in UTF-8 with the zip's UTF-8 flag, so that Windows shows the Chinese
names as they are, whatever its code page. The zip is written beside and renamed over the
target, so that an interrupted build leaves no half-written zip.
"""
import os
import sys
import zipfile


def main(folder, target, top):
    partial = target + ".partial"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for parent, folders, files in os.walk(folder):
            folders.sort()
            relative = os.path.relpath(parent, folder)
            inside = top if relative == "." else top + "/" + relative.replace(os.sep, "/")
            archive.write(parent, inside + "/")
            for name in sorted(files):
                archive.write(os.path.join(parent, name), inside + "/" + name)
    os.replace(partial, target)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
