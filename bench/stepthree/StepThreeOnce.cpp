// One step three, as a whole process: the window reaches "step three ready" with the
// programs' launches and waits faked, then the step-three click restores zabo.bak from the
// distribution directory into the running engine and writes its hjpz.ini. Message boxes
// close at once. Timed against tsql by run.sh.
//   step_three_once DISTRIBUTION-DIR
#include "mainwindow/TForm1.h"
#include "platform/HostDrives.h"
#include "platform/freetds/FreeTdsDatabaseCommand.h"
#include "platform/posix/PosixComputerName.h"
#include "platform/posix/PosixLocalAddress.h"
#include "platform/posix/PosixProfileStore.h"
#include "tests/support/FakePlatform.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: step_three_once DISTRIBUTION-DIR\n";
        return 2;
    }
    const platform::DriveMap drives = platform::HostDriveMap();
    testing_support::FakePlatform fake;
    fake.exeName = drives.WindowsPath(std::string(argv[1]) + "/launcher");
    platform::PosixComputerName computerName;
    platform::FreeTdsDatabaseCommand database;
    platform::PosixLocalAddress localAddress;
    platform::PosixProfileStore profiles(drives);
    platform::Platform& f = fake.Components();
    platform::Platform components{f.application, f.clock, computerName, database, f.files,
                                  localAddress,  f.boxes, f.processes,  profiles, f.shell};

    TForm1 form(components);
    form.Click("BitBtn2");
    form.Click("BitBtn3");
    form.Click("BitBtn4");
    if (form.BitBtn4.Enabled() || fake.journal.back().rfind("error ", 0) == 0) {
        std::cerr << fake.journal.back() << "\n";
        return 1;
    }
    return 0;
}
