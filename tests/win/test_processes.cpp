#include "tests/win/test_processes.h"

#include <cstdlib>

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK NoteWindowOf(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && GetParent(window) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::wstring FixturePath(const wchar_t* fileName) {
    const char* folder = std::getenv("CRADLE_FIXTURE_DIR");
    std::wstring path = L"Z:";
    for (const char* c = folder != nullptr ? folder : ""; *c != '\0'; ++c)
        path += (*c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return path + L"\\" + fileName;
}

void MakeFolders(const std::wstring& folder) {
    for (std::size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
}

void PlaceFile(const std::wstring& source, const std::wstring& target) {
    MakeFolders(target.substr(0, target.rfind(L'\\')));
    CopyFileW(source.c_str(), target.c_str(), FALSE);
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

HWND WaitForWindowOf(DWORD processId, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        WindowSearch search{processId, nullptr};
        EnumWindows(NoteWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

StartedProcess::StartedProcess(const std::wstring& exe, const std::wstring& arguments, bool waitForWindow) {
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return;
    CloseHandle(info.hThread);
    process_.Reset(info.hProcess);
    id_ = info.dwProcessId;
    if (waitForWindow) window_ = WaitForWindowOf(id_, 10000);
}

StartedProcess::~StartedProcess() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

bool StartedProcess::EndsWithin(DWORD milliseconds) const {
    return WaitForSingleObject(process_.Get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD OpenHandleCount() {
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}
