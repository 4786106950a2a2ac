"""The Windows distribution as it is handed out: every file in its place, the text files as
Windows programs read them, and the zip holding the same files under names Windows shows
as they are.

Usage: distribution-test.py <dist-windows folder> <zip> <hjpz.ini source in UTF-8>
"""
import os
import sys
import unittest
import zipfile

DIST, ZIP, INI_SOURCE = sys.argv[1:4]

FILES = [
    "MSSQL.exe", "client/zabo.bat", "engine/enginectl.exe", "engine/tdsengine.exe",
    "hjpz.ini", "launcher.exe", "start.bat", "stop-engine.bat", "zabo.bak", "zabo.exe",
    "设置固定IP地址.mht",
]


def read(name):
    with open(os.path.join(DIST, name), "rb") as file:
        return file.read()


class Distribution(unittest.TestCase):
    def test_holds_every_file_and_nothing_else(self):
        found = sorted(os.path.relpath(os.path.join(parent, name), DIST).replace(os.sep, "/")
                       for parent, _, names in os.walk(DIST) for name in names)
        self.assertEqual(sorted(FILES), found)

    def test_text_files_have_crlf_line_ends(self):
        for name in ["hjpz.ini", "start.bat", "stop-engine.bat", "client/zabo.bat"]:
            with self.subTest(name=name):
                content = read(name)
                self.assertTrue(content.endswith(b"\r\n"))
                self.assertEqual(content.count(b"\n"), content.count(b"\r\n"))

    def test_profile_is_the_source_in_code_page_936(self):
        with open(INI_SOURCE, encoding="utf-8") as source:
            expected = source.read().replace("\n", "\r\n").encode("gbk")
        self.assertEqual(expected, read("hjpz.ini"))

    def test_backup_is_one_of_the_engines(self):
        self.assertTrue(read("zabo.bak").startswith(b"TDSEBAK1"))


class Zip(unittest.TestCase):
    def setUp(self):
        self.archive = zipfile.ZipFile(ZIP)
        self.top = os.path.basename(ZIP)[: -len(".zip")]

    def tearDown(self):
        self.archive.close()

    def test_holds_the_distribution_under_its_own_name(self):
        for name in FILES:
            with self.subTest(name=name):
                self.assertEqual(read(name), self.archive.read(self.top + "/" + name))
        files = [info.filename for info in self.archive.infolist() if not info.is_dir()]
        self.assertEqual(len(FILES), len(files))

    def test_names_beyond_ascii_carry_the_utf8_flag(self):
        names = [info for info in self.archive.infolist() if not info.filename.isascii()]
        self.assertTrue(names)
        for info in names:
            with self.subTest(name=info.filename):
                self.assertTrue(info.flag_bits & 0x800)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
