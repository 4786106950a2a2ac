// One whole restore as the launcher's step three runs it: connect through the browser,
// log in, restore, close. Timed as a process by run.sh.
#include "platform/Exception.h"
#include "platform/freetds/FreeTdsDatabaseCommand.h"
#include "server/RestoreCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: restore_once COMPUTER-NAME BACKUP-FILE (a Windows path)\n";
        return 2;
    }
    try {
        platform::FreeTdsDatabaseCommand command;
        RunRestore(command, BuildConnectionString(argv[1]), BuildRestoreStatement("zabo", argv[2]));
    } catch (const platform::Exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
    return 0;
}
