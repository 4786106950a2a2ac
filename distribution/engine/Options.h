#pragma once

#include "distribution/engine/Engine.h"

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace engine {

// The command line of tdsengine, either to serve:
//   --instance NAME --login NAME --password TEXT --data DIR [--listen ADDRESS] [--port N]
//   [--browser-port N] [--port-file FILE] [--pid-file FILE] [--login-timeout SECONDS]
//   [--certificate PEM --key PEM]
// or to write a backup:
//   --make-backup FILE --database NAME --content FILE
struct ServeOptions {
    EngineConfig config; // computerName is left to the caller
    std::filesystem::path portFile;
    std::filesystem::path pidFile;
};

struct MakeBackupOptions {
    std::filesystem::path output;
    std::string database;
    std::filesystem::path content;
};

struct UsageError {
    std::string message;
};

std::variant<ServeOptions, MakeBackupOptions, UsageError>
ParseOptions(const std::vector<std::string>& arguments);

} // namespace engine
