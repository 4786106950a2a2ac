#pragma once

#include "platform/Exception.h"
#include "platform/Platform.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// Every platform component as a fake that writes what it is asked to do, in order, into
// one journal ("exec MSSQL.exe", "sleep 90000", "message ..."); failures are scripted.
// The clock is virtual: a wait only adds to the elapsed time.
class FakePlatform {
public:
    FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    platform::Platform& Components() { return m_components; }

    std::vector<std::string> journal;
    unsigned long long elapsedMilliseconds = 0;

    // What the host reports.
    std::string exeName = "D:\\setup\\launcher.exe";
    std::optional<std::string> computerName = "SERVER1";
    std::string localIP = "192.0.2.10";

    // Scripted failures: a directory that cannot be entered (with its I/O error code), a
    // program that cannot be started, the database's error, a profile file that cannot
    // be written, the copy's result.
    std::map<std::string, int> chdirFailures;
    std::map<std::string, std::string> startFailures;
    std::optional<std::string> databaseError;
    std::optional<std::string> localIPError;
    bool profileWritable = true;
    platform::CopyResult copyResult{platform::CopyOutcome::Copied, {}};

    // Called whenever a message or error box is shown, to look at the window meanwhile.
    std::function<void(const std::string&)> onBox;

private:
    struct Fakes;
    std::shared_ptr<Fakes> m_fakes;
    platform::Platform m_components;
};

} // namespace testing_support
