// A program for the process tests: writes "<its own path>.ran" holding the directory it was
// started in, so that a test sees that it ran, and where.
#include <windows.h>

#include <string>

int wmain() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t directory[MAX_PATH] = {};
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, directory);
    const std::wstring marker = std::wstring(self) + L".ran";
    const std::wstring staged = marker + L".tmp";
    HANDLE file = ::CreateFileW(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, directory, length * sizeof(wchar_t), &written, nullptr);
    ::CloseHandle(file);
    // Renamed in whole, so that the test never reads a half-written marker.
    return ::MoveFileExW(staged.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
