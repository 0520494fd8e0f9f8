#include "platform/file_operations.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

#include "platform/handles.h"
#include "platform/show_mode.h"
#include "platform/text_conversion.h"

#ifndef _WIN64
static_assert(sizeof(STARTUPINFOW) == 68, "the start-up record of 32-bit Windows");
#endif

namespace {

OperationResult Succeeded() { return {true, 0}; }
OperationResult FailedWith(DWORD error) { return {false, error != 0 ? error : ERROR_GEN_FAILURE}; }
OperationResult LastError() { return FailedWith(GetLastError()); }

// Creates or truncates the file, writes all of `data` in one call, optionally flushes it to disk
// and checks its length, and closes it; the error of the first step that failed.
OperationResult WriteFileAt(const WideBytes& path, ByteString data, bool flush) {
    HANDLE opened = CreateFileW(WideChars(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return LastError();
    FileHandleOwner file(opened);
    if (!data.empty()) {
        DWORD written = 0;
        if (!WriteFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr)) return LastError();
        if (written != data.size()) return FailedWith(ERROR_HANDLE_DISK_FULL);
    }
    if (flush) {
        if (!FlushFileBuffers(file.Get())) return LastError();
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.Get(), &size)) return LastError();
        if (static_cast<unsigned long long>(size.QuadPart) != data.size()) return FailedWith(ERROR_HANDLE_DISK_FULL);
    }
    if (!CloseHandle(file.Release())) return LastError();
    return Succeeded();
}

}  // namespace

void DeleteFileAt(const Text& path) { DeleteFileW(WideChars(NarrowToWide(path))); }

OperationResult WriteWholeFile(const Text& path, ByteString data) {
    if (path.empty()) return FailedWith(ERROR_INVALID_NAME);
    return WriteFileAt(NarrowToWide(path), data, false);
}

OperationResult ReplaceFileSafely(const Text& path, ByteString data) {
    if (path.empty()) return FailedWith(ERROR_INVALID_NAME);
    // Windows refuses to move a file over a read-only one and Wine does not: refuse it everywhere,
    // so that a file the player protected stays as it is.
    const DWORD attributes = GetFileAttributesW(WideChars(NarrowToWide(path)));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return FailedWith(ERROR_ACCESS_DENIED);
    const Text temporary = path + ".cradle-new";
    OperationResult result = WriteFileAt(NarrowToWide(temporary), data, true);
    if (result && !MoveFileExW(WideChars(NarrowToWide(temporary)), WideChars(NarrowToWide(path)),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        result = LastError();
    }
    if (!result) DeleteFileAt(temporary);
    return result;
}

OperationResult CreateDirectoryTree(const Text& path) {
    const WideBytes wide = NarrowToWide(path);
    DWORD lastError = 0;
    const auto create = [&lastError](const wchar_t* folder) {
        if (!CreateDirectoryW(folder, nullptr)) lastError = GetLastError();
    };
    // Fewer than three characters: nothing to create.
    if (wide.size() >= 8) {
        // Two bytes longer than anything gathered in it, so it is always terminated.
        LocalMemoryOwner buffer(LocalAlloc(LMEM_ZEROINIT, wide.size() + 2));
        if (buffer) {
            auto* gathered = static_cast<wchar_t*>(buffer.Get());
            std::size_t length = 0;
            int separators = 0;
            for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
                auto unit = static_cast<wchar_t>(wide[i] | (wide[i + 1] << 8));
                if (unit == L'/') unit = L'\\';
                if (unit == L'\0') {
                    create(gathered);
                    break;
                }
                // The first separator ends the drive (or the first level), which is never created.
                if (unit == L'\\' && separators++ > 0) create(gathered);
                gathered[length++] = unit;
            }
        }
    }
    if (IsDirectory(wide)) return Succeeded();
    return FailedWith(lastError != 0 ? lastError : ERROR_PATH_NOT_FOUND);
}

bool IsDirectory(const WideBytes& path) {
    return PathIsDirectoryW(WideChars(path)) == FILE_ATTRIBUTE_DIRECTORY;
}

OperationResult LaunchCommandLine(const Text& commandLine, bool wait, std::optional<int> showMode) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(ShowWindowValueForMode(showMode));
    WideBytes line = NarrowToWide(commandLine);  // the platform may write into it
    if (line.empty()) return FailedWith(ERROR_INVALID_PARAMETER);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(line.data()), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        return LastError();
    }
    HandleOwner process(started.hProcess);
    HandleOwner thread(started.hThread);  // closed first, then the process
    if (wait) WaitForSingleObject(process.Get(), INFINITE);
    else WaitForInputIdle(process.Get(), 1000);
    return Succeeded();
}

Text WindowsFolder() {
    const UINT units = GetWindowsDirectoryW(nullptr, 0);
    if (units == 0) return {};
    std::vector<wchar_t> folder(units, L'\0');
    GetWindowsDirectoryW(folder.data(), units);
    return WideToNarrow(WideBytesFromPointer(folder.data()));
}
