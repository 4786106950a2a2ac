#include "tests/support/FakePlatform.h"

#include "platform/Messages.h"

#include <memory>

namespace testing_support {

using namespace platform;

struct FakePlatform::Fakes {
    explicit Fakes(FakePlatform& owner)
        : application(owner), clock(owner), computerName(owner), database(owner), files(owner),
          localAddress(owner), boxes(owner), processes(owner), profiles(owner), shell(owner) {}

    struct Part {
        FakePlatform& fake;
        void Log(const std::string& entry) const { fake.journal.push_back(entry); }
    };

    struct FakeApplication : Application, Part {
        explicit FakeApplication(FakePlatform& f) : Part{f} {}
        std::string title;
        void SetTitle(const std::string& text) override { title = text; }
        const std::string& Title() const override { return title; }
        std::string ExeName() const override { return fake.exeName; }
        int Run(Form&) override { return 0; }
    } application;

    struct FakeClock : Clock, Part {
        explicit FakeClock(FakePlatform& f) : Part{f} {}
        void Sleep(unsigned milliseconds) override {
            Log("sleep " + std::to_string(milliseconds));
            fake.elapsedMilliseconds += milliseconds;
        }
    } clock;

    struct FakeComputerName : ComputerName, Part {
        explicit FakeComputerName(FakePlatform& f) : Part{f} {}
        std::optional<std::string> GetComputerNameA() override { return fake.computerName; }
    } computerName;

    struct FakeDatabase : DatabaseCommand, Part {
        explicit FakeDatabase(FakePlatform& f) : Part{f} {}
        void Execute(const std::string& connection, const std::string& text) override {
            Log("execute " + connection + " | " + text);
            if (fake.databaseError)
                throw Exception(*fake.databaseError);
        }
    } database;

    struct FakeFiles : FileSystem, Part {
        explicit FakeFiles(FakePlatform& f) : Part{f} {}
        void ChDir(const std::string& directory) override {
            Log("chdir " + directory);
            if (auto failure = fake.chdirFailures.find(directory);
                failure != fake.chdirFailures.end())
                throw EInOutError(failure->second);
        }
        CopyResult CopyFileFailIfExists(const std::string& from, const std::string& to) override {
            Log("copy " + from + " -> " + to);
            return fake.copyResult;
        }
    } files;

    struct FakeLocalAddress : LocalAddress, Part {
        explicit FakeLocalAddress(FakePlatform& f) : Part{f} {}
        std::string LocalIP() override {
            if (fake.localIPError)
                throw Exception(*fake.localIPError);
            return fake.localIP;
        }
    } localAddress;

    struct FakeBoxes : MessageBoxes, Part {
        explicit FakeBoxes(FakePlatform& f) : Part{f} {}
        void ShowMessage(const std::string& text) override { Show("message " + text); }
        void ShowError(const std::string& text) override { Show("error " + text); }
        void Show(const std::string& entry) const {
            Log(entry);
            if (fake.onBox)
                fake.onBox(entry);
        }
    } boxes;

    struct FakeProcesses : Processes, Part {
        explicit FakeProcesses(FakePlatform& f) : Part{f} {}
        void WinExec(const std::string& fileName) override {
            Log("exec " + fileName);
            if (auto failure = fake.startFailures.find(fileName);
                failure != fake.startFailures.end())
                throw Exception(messages::CannotStart(fileName, failure->second));
        }
    } processes;

    struct FakeProfiles : ProfileStore, Part {
        explicit FakeProfiles(FakePlatform& f) : Part{f} {}
        bool DeleteKey(const std::string& file, const std::string& section,
                       const std::string& key) override {
            return Write("ini delete " + file + " [" + section + "] " + key);
        }
        bool EraseSection(const std::string& file, const std::string& section) override {
            return Write("ini erase " + file + " [" + section + "]");
        }
        bool WriteString(const std::string& file, const std::string& section,
                         const std::string& key, const std::string& value) override {
            return Write("ini write " + file + " [" + section + "] " + key + "=" + value);
        }
        bool Write(const std::string& entry) const {
            if (!fake.profileWritable)
                return false;
            Log(entry);
            return true;
        }
    } profiles;

    struct FakeShell : Shell, Part {
        explicit FakeShell(FakePlatform& f) : Part{f} {}
        void OpenDocument(const std::string& document) override { Log("open " + document); }
    } shell;
};

FakePlatform::FakePlatform()
    : m_fakes(std::make_shared<Fakes>(*this)), m_components{
                                                   m_fakes->application,  m_fakes->clock,
                                                   m_fakes->computerName, m_fakes->database,
                                                   m_fakes->files,        m_fakes->localAddress,
                                                   m_fakes->boxes,        m_fakes->processes,
                                                   m_fakes->profiles,     m_fakes->shell} {}

} // namespace testing_support
