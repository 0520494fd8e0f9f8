#include "process/process_lookup.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "platform/handles.h"
#include "process/name_key.h"

#ifndef _WIN64
static_assert(sizeof(PROCESSENTRY32) == 296, "the narrow process entry of 32-bit Windows");
#endif

namespace {
const char* OrNull(const Text& text) { return text.empty() ? nullptr : text.c_str(); }
}  // namespace

WindowHandle FindTopWindowByTitle(WindowHandle parent, WindowHandle after, const Text& className,
                                  const Text& title) {
    return FindWindowExA(parent, after, OrNull(className), OrNull(title));
}

ProcessId FindProcessIdByExeName(const Text& exeName) {
    FileHandleOwner snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    const Text wanted = NameKeyOf(exeName);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry)) {
        const std::string_view name(entry.szExeFile, strnlen(entry.szExeFile, sizeof(entry.szExeFile)));
        if (NameKeyOf(name) == wanted) return entry.th32ProcessID;
    }
    return 0;
}

bool TerminateProcessById(ProcessId processId) {
    HandleOwner process(processId == 0 ? GetCurrentProcess() : OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process) return false;
    return TerminateProcess(process.Get(), 0) != 0;
}

bool WaitForProcessExit(ProcessId processId, std::uint32_t timeoutMs) {
    HandleOwner process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    return WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0;
}
