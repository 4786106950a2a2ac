#include "distribution/engine/BackupImage.h"
#include "distribution/engine/Engine.h"
#include "distribution/engine/Options.h"
#include "platform/HostComputerName.h"
#include "platform/HostDrives.h"
#include "platform/HostProcess.h"
#include "platform/ReplaceFile.h"
#include "platform/Utf8Path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace {

// Readers polling for the file, and a build interrupted while making it, never see it
// half written.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    const std::string utf8 = platform::Utf8String(path);
    if (!platform::ReplaceFile(utf8, {bytes}))
        throw std::runtime_error("cannot write " + utf8 + ": " + std::strerror(errno));
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
    WriteWholeFile(options.output, {reinterpret_cast<const char*>(backup.data()), backup.size()});
    return 0;
}

int Serve(engine::ServeOptions options) {
    platform::HoldStopRequests(options.config.dataDirectory);

    const std::optional<std::string> computerName = platform::HostComputerName();
    if (!computerName)
        throw std::runtime_error("this computer has no name: set COMPUTERNAME");
    options.config.computerName = *computerName;
    auto server = std::make_unique<engine::Engine>(options.config, platform::HostDriveMap());
    if (!options.pidFile.empty())
        WriteWholeFile(options.pidFile, std::to_string(platform::CurrentProcessId()) + "\n");
    if (!options.portFile.empty())
        WriteWholeFile(options.portFile, std::to_string(server->Port()) + "\n");
    std::cerr << "tdsengine: instance " << options.config.computerName << "\\"
              << options.config.instance << " listening on " << options.config.listenAddress
              << " tcp " << server->Port() << ", browser udp " << server->BrowserPort()
              << std::endl;

    platform::WaitForStopRequest();
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
    const auto parsed = engine::ParseOptions(platform::CommandLineArguments(argc, argv));
    if (const auto* error = std::get_if<engine::UsageError>(&parsed)) {
        std::cerr << "tdsengine: " << error->message << "\n"
                  << "usage: tdsengine --instance NAME --login NAME --password TEXT --data DIR "
                     "[--listen ADDRESS]\n"
                     "                 [--port N] [--browser-port N] [--port-file FILE] "
                     "[--pid-file FILE]\n"
                     "                 [--login-timeout SECONDS] [--certificate PEM --key PEM]\n"
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
