#include "distribution/windows/EngineControl.h"

#include "platform/win32/AtomicFile.h"
#include "platform/win32/StopEvent.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

namespace standin {
namespace {

using platform::win32::ErrorText;
using platform::win32::Handle;
using platform::win32::Narrow;

constexpr DWORD pollMs = 100;
constexpr DWORD startTimeoutMs = 60'000;
constexpr DWORD stopTimeoutMs = 10'000;

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + ErrorText(::GetLastError()));
}

// Win32 reports a failed open as INVALID_HANDLE_VALUE for files but as null for the rest.
HANDLE OrInvalid(HANDLE handle) {
    return handle != nullptr ? handle : INVALID_HANDLE_VALUE;
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\""; // a Windows path holds no quote and here never ends in '\'
}

bool HasContent(const std::wstring& file) {
    const auto content = platform::win32::ReadWholeFile(file);
    return content.state == platform::win32::FileState::Present && !content.bytes.empty();
}

HANDLE OpenInheritable(const std::wstring& file, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE handle = ::CreateFileW(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        Fail("cannot open " + Narrow(file));
    return handle;
}

// Started with only the given handles, never whatever else this program may have been
// handed as inheritable (a caller's pipe, say), which the engine would hold open for its
// whole life.
HANDLE CreateDetached(const std::wstring& program, std::wstring commandLine,
                      const std::wstring& folder, HANDLE input, HANDLE output) {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> storage(size);
    const auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (!::InitializeProcThreadAttributeList(attributes, 1, 0, &size))
        Fail("InitializeProcThreadAttributeList");
    HANDLE inherited[] = {input, output};
    const bool listed =
        ::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                    sizeof inherited, nullptr, nullptr);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = output;
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION started{};
    // No console at all, so none flashes up; a group of its own, so that no Ctrl+C of the
    // caller's console reaches it.
    const bool created =
        listed &&
        ::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                         DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP | EXTENDED_STARTUPINFO_PRESENT,
                         nullptr, folder.c_str(), &startup.StartupInfo, &started);
    const DWORD error = ::GetLastError();
    ::DeleteProcThreadAttributeList(attributes);
    ::SetLastError(error);
    if (!created)
        Fail("cannot start " + Narrow(program));
    ::CloseHandle(started.hThread);
    return started.hProcess;
}

} // namespace

EngineControl::EngineControl(std::wstring instanceFolder)
    : m_folder(std::move(instanceFolder)),
      m_lock(OrInvalid(::CreateMutexW(
          nullptr, FALSE, (platform::win32::StopEventName(File(L"data")) + L"-control").c_str()))) {
    if (!m_lock.Valid())
        Fail("CreateMutexW");
    // An abandoned lock is taken over: its holder ended, whatever it was doing.
    const DWORD waited = ::WaitForSingleObject(m_lock.Get(), startTimeoutMs + stopTimeoutMs);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED)
        throw std::runtime_error("another program controls the engine in " + Narrow(m_folder) +
                                 " for too long");
}

std::wstring EngineControl::File(const wchar_t* name) const {
    return m_folder + L"\\" + name;
}

bool EngineControl::Running() const {
    const Handle event(OrInvalid(
        ::OpenEventW(SYNCHRONIZE, FALSE, platform::win32::StopEventName(File(L"data")).c_str())));
    return event.Valid();
}

StartOutcome EngineControl::Start() const {
    if (Running())
        return StartOutcome::AlreadyRunning;
    const std::wstring portFile = File(L"engine.port");
    if (!::DeleteFileW(portFile.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        Fail("cannot remove " + Narrow(portFile));

    const Handle input(OpenInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING));
    const Handle log(OpenInheritable(File(L"engine.log"), FILE_APPEND_DATA, OPEN_ALWAYS));
    const std::wstring program = File(L"bin\\tdsengine.exe");
    // In its own folder, so that the folder it was started from can be moved or deleted. On
    // every address: the computer's name, which its clients connect to, is its network
    // address on Windows, not the loopback.
    const Handle engine(CreateDetached(
        program,
        Quoted(program) + L" --instance home --login sa --password tulip --data " +
            Quoted(File(L"data")) + L" --listen 0.0.0.0 --port 0 --browser-port 1434 --port-file " +
            Quoted(portFile) + L" --pid-file " + Quoted(File(L"engine.pid")),
        m_folder, input.Get(), log.Get()));

    // Ready once the port file is there: listening, and the browser answering.
    for (DWORD waited = 0; !HasContent(portFile); waited += pollMs) {
        if (::WaitForSingleObject(engine.Get(), pollMs) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(engine.Get(), &code);
            throw std::runtime_error("the engine ended at its start with exit code " +
                                     std::to_string(code) + ": see " + Narrow(File(L"engine.log")));
        }
        if (waited >= startTimeoutMs) {
            ::TerminateProcess(engine.Get(), 1);
            throw std::runtime_error(
                "the engine was not ready within a minute and was ended: see " +
                Narrow(File(L"engine.log")));
        }
    }
    return StartOutcome::Started;
}

StopOutcome EngineControl::Stop() const {
    {
        const Handle event(OrInvalid(::OpenEventW(
            EVENT_MODIFY_STATE, FALSE, platform::win32::StopEventName(File(L"data")).c_str())));
        if (!event.Valid()) {
            if (::GetLastError() == ERROR_FILE_NOT_FOUND)
                return StopOutcome::NotRunning;
            Fail("cannot ask the engine in " + Narrow(m_folder) + " to stop");
        }
        if (!::SetEvent(event.Get()))
            Fail("cannot ask the engine in " + Narrow(m_folder) + " to stop");
    }
    // The event goes with the engine's process, after it has removed its files.
    for (DWORD waited = 0; Running(); waited += pollMs) {
        if (waited >= stopTimeoutMs)
            throw std::runtime_error("the engine in " + Narrow(m_folder) +
                                     " did not stop within 10 s: see " +
                                     Narrow(File(L"engine.log")));
        ::Sleep(pollMs);
    }
    return StopOutcome::Stopped;
}

} // namespace standin
