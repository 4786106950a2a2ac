#include "platform/posix/PosixProcesses.h"

#include "platform/Exception.h"
#include "platform/Messages.h"
#include "platform/posix/WindowsErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

bool EndsWithBat(const std::string& name) {
    if (name.size() < 4)
        return false;
    std::string suffix = name.substr(name.size() - 4);
    for (char& c : suffix)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return suffix == ".bat";
}

// Only async-signal-safe calls between fork and exec: the launcher's process has threads.
[[noreturn]] void RunDetached(const std::vector<char*>& argv, int reportFd) {
    ::setsid();
    if (::fork() != 0)
        ::_exit(0); // the intermediate child; the program is orphaned to init
    const int devNull = ::open("/dev/null", O_RDWR);
    for (int fd = 0; fd < 3; ++fd)
        ::dup2(devNull, fd);
    // Nothing of the launcher's (display connection, files) leaks into the program;
    // the report pipe closes on a successful exec, which is how success is seen.
    ::syscall(SYS_close_range, 3u, ~0u, CLOSE_RANGE_CLOEXEC);
    ::execv(argv[0], argv.data());
    const int error = errno;
    (void)!::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

} // namespace

void PosixProcesses::WinExec(const std::string& fileName) {
    std::string program = "./" + fileName;
    std::string shell = "/bin/sh";
    std::vector<char*> argv;
    if (EndsWithBat(fileName))
        argv.push_back(shell.data());
    argv.push_back(program.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        throw Exception(messages::CannotStart(fileName, ErrorText(errno)));
    const pid_t child = ::fork();
    if (child == 0)
        RunDetached(argv, report[1]);
    ::close(report[1]);
    int error = child < 0 ? errno : 0;
    if (child > 0) {
        ::waitpid(child, nullptr, 0);
        if (::read(report[0], &error, sizeof error) != sizeof error)
            error = 0;
    }
    ::close(report[0]);
    if (error != 0)
        throw Exception(messages::CannotStart(fileName, ErrorText(error)));
}

} // namespace platform
