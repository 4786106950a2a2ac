// Starts each program in turn, interleaved, and times two spans from just before
// posix_spawn: to the first-paint mark the program writes into a pipe, and to its exit.
// Nothing but this small process sits between the clock and the exec.
//   startup_timing RUNS NAME=PROGRAM...
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string name;
    std::string path;
    std::vector<double> firstPaintMs;
    std::vector<double> exitMs;
    std::vector<double> peakKiB;
};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "startup_timing: %s\n", what.c_str());
    std::exit(1);
}

double MsSince(Clock::time_point start, long long nanoseconds) {
    return (nanoseconds -
            std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch())
                .count()) /
           1e6;
}

void RunOnce(Program& program, bool record) {
    int mark[2];
    if (::pipe2(mark, O_CLOEXEC) != 0)
        Fail(std::string("pipe2: ") + std::strerror(errno));
    // Only the write end reaches the program.
    ::fcntl(mark[1], F_SETFD, 0);

    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry)
        variables.emplace_back(*entry);
    variables.push_back("STARTUP_MARK_FD=" + std::to_string(mark[1]));
    std::vector<char*> envp;
    for (auto& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    char* argv[] = {program.path.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int error =
        posix_spawn(&child, program.path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(mark[1]);
    if (error != 0)
        Fail("cannot start " + program.path + ": " + std::strerror(error));

    std::string text;
    char buffer[64];
    ssize_t got;
    while ((got = ::read(mark[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
    ::close(mark[0]);

    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child)
        Fail(std::string("wait4: ") + std::strerror(errno));
    const Clock::time_point exited = Clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty())
        Fail(program.path + " did not paint and exit cleanly");
    if (!record)
        return;
    program.firstPaintMs.push_back(MsSince(start, std::atoll(text.c_str())));
    program.exitMs.push_back(std::chrono::duration<double, std::milli>(exited - start).count());
    program.peakKiB.push_back(static_cast<double>(usage.ru_maxrss));
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Minimum(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        Fail("usage: startup_timing RUNS NAME=PROGRAM...");
    const int runs = std::atoi(argv[1]);
    if (runs < 1)
        Fail("RUNS must be at least 1");
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        if (equals == std::string::npos)
            Fail("expected NAME=PROGRAM, got " + argument);
        programs.push_back({argument.substr(0, equals), argument.substr(equals + 1), {}, {}, {}});
    }

    for (auto& program : programs) // warm the caches once
        RunOnce(program, false);
    for (int run = 0; run < runs; ++run)
        for (auto& program : programs)
            RunOnce(program, true);

    // Medians, and minimums: on a shared machine the fastest run shows the program itself.
    std::printf("%d runs each, interleaved; median (minimum)\n", runs);
    std::printf("%-10s %22s %22s %14s\n", "program", "start->paint ms", "exec->exit ms",
                "peak RSS KiB");
    for (const auto& program : programs)
        std::printf("%-10s %14.1f (%5.1f) %14.1f (%5.1f) %14.0f\n", program.name.c_str(),
                    Median(program.firstPaintMs), Minimum(program.firstPaintMs),
                    Median(program.exitMs), Minimum(program.exitMs), Median(program.peakKiB));
    if (programs.size() == 2) {
        const Program& a = programs[0];
        const Program& b = programs[1];
        std::printf("%-10s %14.2f %22.2f %22.2f\n", "ratio",
                    Median(a.firstPaintMs) / Median(b.firstPaintMs),
                    Median(a.exitMs) / Median(b.exitMs), Median(a.peakKiB) / Median(b.peakKiB));
    }
    return 0;
}
