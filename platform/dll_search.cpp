#include "platform/dll_search.h"

#include <windows.h>

bool RestrictDllSearchToSystemFolder() {
    // Looked up, not imported: Windows 7 has it only with an update, and the program must start there.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD flags);
    const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    return restrict != nullptr && restrict(LOAD_LIBRARY_SEARCH_SYSTEM32) != 0;
}
