// One profile write as a whole process, for timing against copying the same file:
//   profile_write <drive C directory> <Windows path> <section> <key> <value>
#include "platform/posix/PosixProfileStore.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s DRIVE_C WINDOWS_PATH SECTION KEY VALUE\n", argv[0]);
        return 2;
    }
    platform::PosixProfileStore store{platform::DriveMap(argv[1])};
    return store.WriteString(argv[2], argv[3], argv[4], argv[5]) ? 0 : 1;
}
