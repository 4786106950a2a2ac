// Times one WriteString into a 1 MiB "hjpz.ini" of 10 000 sections against `cp` of the same
// file, both as whole processes, interleaved round by round so that load from elsewhere on
// the machine falls on both alike. Every round starts from the same file, so every write
// really replaces it: temporary file, fsync, rename, directory fsync. cp does not sync; a
// copy by dd with conv=fsync, which does, is timed beside them. The disk is synced, untimed,
// before each command.
//   profile_write_vs_cp [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr std::size_t fileSize = 1 << 20;
constexpr int sections = 10000;
const std::string lastLine = "ip=10.0.0.1\r\n";

// 9 999 sections of a client list, then padding, then the section written to: the whole file
// is read before the key is found.
std::string LargeProfile() {
    std::string bytes;
    char line[128];
    for (int i = 0; i < sections - 1; ++i) {
        std::snprintf(line, sizeof line,
                      "[client%05d]\r\nname=workstation-%05d\r\n"
                      "path=C:\\Program Files\\app\\data%05d\\files\r\nport=%d\r\n",
                      i, i, i, 1400 + i % 100);
        bytes += line;
    }
    const std::string last = "[\xB7\xFE\xCE\xF1\xC6\xF7ip]\r\n" + lastLine;
    const std::size_t padding = fileSize - bytes.size() - last.size() - 4;
    return bytes + "; " + std::string(padding, '-') + "\r\n" + last;
}

void WriteFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

double Run(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t child = 0;
    int status = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0 ||
        waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Summary {
    double median, mean, p90;
};

Summary Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    double total = 0;
    for (double time : times)
        total += time;
    return {times[times.size() / 2], total / static_cast<double>(times.size()),
            times[times.size() * 9 / 10]};
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    std::string directory = (fs::temp_directory_path() / "profile-bench-XXXXXX").string();
    if (mkdtemp(directory.data()) == nullptr)
        return 1;
    const fs::path drive = directory;
    fs::create_directory(drive / "setup");
    const fs::path ini = drive / "setup" / "hjpz.ini";
    const std::string pristine = LargeProfile();

    const std::vector<std::string> write = {PROFILE_WRITE, drive.string(), "C:\\setup\\hjpz.ini",
                                            "服务器ip",    "ip",           "192.168.1.5"};
    const std::vector<std::string> copy = {"cp", ini.string(), (drive / "copy.ini").string()};
    // For reference, a copy that is on disk when it ends, as the write is.
    const std::vector<std::string> syncedCopy = {
        "dd",    "if=" + ini.string(), "of=" + (drive / "synced.ini").string(),
        "bs=1M", "conv=fsync",         "status=none"};
    const std::vector<std::vector<std::string>> commands = {write, copy, syncedCopy};
    std::vector<std::vector<double>> times(commands.size());
    for (int round = -5; round < rounds; ++round) { // five rounds to warm up
        WriteFile(ini, pristine);
        for (std::size_t turn = 0; turn < commands.size(); ++turn) {
            // Nothing dirty left from before a timed command, or its fsync would pay for it.
            sync();
            const std::size_t which =
                (turn + static_cast<std::size_t>(round + 5)) % commands.size();
            const double time = Run(commands[which]);
            if (round >= 0)
                times[which].push_back(time);
        }
    }

    std::ifstream in(ini, std::ios::binary);
    const std::string result((std::istreambuf_iterator<char>(in)), {});
    fs::remove_all(drive);
    const std::string expected =
        pristine.substr(0, pristine.size() - lastLine.size()) + "ip=192.168.1.5\r\n";
    if (result != expected) {
        std::fprintf(stderr, "the write did not land\n");
        return 1;
    }

    std::printf("file: %zu bytes, %d sections, %d rounds\n", pristine.size(), sections, rounds);
    const char* names[] = {"WriteString", "cp", "dd fsync"};
    std::vector<Summary> summaries;
    for (std::size_t which = 0; which < commands.size(); ++which) {
        summaries.push_back(Summarise(times[which]));
        const Summary& s = summaries.back();
        std::printf("%-12s median %7.2f ms  mean %7.2f ms  p90 %7.2f ms\n", names[which], s.median,
                    s.mean, s.p90);
    }
    std::printf("WriteString / cp (medians): %.2f\n", summaries[0].median / summaries[1].median);
}
