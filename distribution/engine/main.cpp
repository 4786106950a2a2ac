#include "distribution/engine/BackupImage.h"
#include "distribution/engine/Engine.h"
#include "distribution/engine/Options.h"
#include "platform/posix/HostDrives.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <pthread.h>
#include <unistd.h>

namespace {

// The name Windows would give this computer: COMPUTERNAME when set, otherwise the host
// name's first label in capitals, at most 15 characters.
std::string ComputerName() {
    if (const char* name = std::getenv("COMPUTERNAME"); name != nullptr && *name != '\0')
        return name;
    char host[256] = {};
    if (::gethostname(host, sizeof host - 1) != 0)
        return "LOCALHOST";
    std::string name(host);
    name = name.substr(0, std::min(name.find('.'), std::size_t{15}));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

// Readers polling for the file never see it half written.
void WriteFileAtomically(const std::filesystem::path& file, const std::string& text) {
    const std::filesystem::path temporary = file.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush())
            throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, file);
}

int MakeBackup(const engine::MakeBackupOptions& options) {
    std::ifstream in(options.content, std::ios::binary);
    if (!in) {
        std::cerr << "tdsengine: cannot read " << options.content << "\n";
        return 1;
    }
    const engine::Bytes content((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    const engine::Bytes backup = engine::EncodeBackup({options.database, content});
    std::ofstream out(options.output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(backup.data()),
              static_cast<std::streamsize>(backup.size()));
    if (!out.flush()) {
        std::cerr << "tdsengine: cannot write " << options.output << "\n";
        return 1;
    }
    return 0;
}

int Serve(engine::ServeOptions options) {
    // Blocked before any thread starts, so that only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    options.config.computerName = ComputerName();
    auto server = std::make_unique<engine::Engine>(options.config, platform::HostDriveMap());
    if (!options.pidFile.empty())
        WriteFileAtomically(options.pidFile, std::to_string(::getpid()) + "\n");
    if (!options.portFile.empty())
        WriteFileAtomically(options.portFile, std::to_string(server->Port()) + "\n");
    std::cerr << "tdsengine: instance " << options.config.computerName << "\\"
              << options.config.instance << " listening on " << options.config.listenAddress
              << " tcp " << server->Port() << ", browser udp " << server->BrowserPort()
              << std::endl;

    int received = 0;
    sigwait(&stopSignals, &received);
    // Ports closed before the files go: whoever waits for the pid file to vanish may start
    // the next engine on the same ports at once.
    server.reset();
    std::error_code ignored;
    std::filesystem::remove(options.portFile, ignored);
    std::filesystem::remove(options.pidFile, ignored);
    std::cerr << "tdsengine: stopped" << std::endl;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const auto parsed = engine::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* error = std::get_if<engine::UsageError>(&parsed)) {
        std::cerr << "tdsengine: " << error->message << "\n"
                  << "usage: tdsengine --instance NAME --login NAME --password TEXT --data DIR "
                     "[--listen ADDRESS]\n"
                     "                 [--port N] [--browser-port N] [--port-file FILE] "
                     "[--pid-file FILE]\n"
                     "       tdsengine --make-backup FILE --database NAME --content FILE\n";
        return 2;
    }
    try {
        if (const auto* backup = std::get_if<engine::MakeBackupOptions>(&parsed))
            return MakeBackup(*backup);
        return Serve(std::get<engine::ServeOptions>(parsed));
    } catch (const std::exception& error) {
        std::cerr << "tdsengine: " << error.what() << std::endl;
        return 1;
    }
}
