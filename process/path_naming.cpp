#include "process/path_naming.h"

#include <windows.h>
#include <commdlg.h>
#include <shlwapi.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/handles.h"
#include "platform/text_conversion.h"

namespace {

constexpr std::size_t kTitleBufferUnits = 32768;  // 65536 bytes
constexpr std::uint16_t kTitleSize = 0x7FFF;

bool EndsWithIgnoringCase(const wchar_t* text, const wchar_t* suffix) {
    const std::size_t length = std::wcslen(text), suffixLength = std::wcslen(suffix);
    if (suffixLength > length) return false;
    return CompareStringOrdinal(text + length - suffixLength, static_cast<int>(suffixLength), suffix,
                                static_cast<int>(suffixLength), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::int16_t PlatformGetFileTitle(const wchar_t* path, wchar_t* buffer, std::uint16_t size) {
    return GetFileTitleW(path, buffer, size);
}

Text DisplayFileNameOfPath(const Text& path, FileTitleFunction fileTitle) {
    return WideToNarrow(GetShellFileTitle(NarrowToWide(path), fileTitle));
}

WideBytes GetShellFileTitle(const WideBytes& path, FileTitleFunction fileTitle) {
    std::vector<wchar_t> title(kTitleBufferUnits, L'\0');
    const wchar_t* units = WideChars(path);
    if (fileTitle(units, title.data(), kTitleSize) != 0) return {};

    const DWORD attributes = GetFileAttributesW(units);  // failure also has the directory bit
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        const std::uint32_t hideExtensions =
            ReadRegistryDword(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                              "HideFileExt", IsWow64Available());
        if (hideExtensions == 1) {
            const WideBytes extension = WideBytesFromPointer(PathFindExtensionW(units));
            // Windows keeps the extension of file types marked to show it, and Wine never hides
            // it: append only what is missing, and only what fits the buffer.
            if (!extension.empty() && !EndsWithIgnoringCase(title.data(), WideChars(extension)) &&
                std::wcslen(title.data()) + extension.size() / 2 <= kTitleBufferUnits) {
                std::wcscat(title.data(), WideChars(extension));
            }
        }
    }
    WideBytes bytes(reinterpret_cast<const std::uint8_t*>(title.data()),
                    reinterpret_cast<const std::uint8_t*>(title.data() + title.size()));
    return TrimWideAtTerminator(bytes, true);
}

std::uint32_t ReadRegistryDword(RegistryRoot root, const Text& subkey, const Text& valueName,
                                bool use64BitView) {
    if (root == nullptr) return 0;
    const WideBytes key = NarrowToWide(subkey);
    const WideBytes value = NarrowToWide(valueName);
    const REGSAM access = KEY_QUERY_VALUE | (use64BitView ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, WideChars(key), 0, access, &opened) != ERROR_SUCCESS) return 0;
    RegistryKeyOwner owner(opened);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(owner.Get(), WideChars(value), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return 0;
    // Longer data would not fit the 32-bit result: they count as no value.
    std::uint32_t result = 0;
    if (size > sizeof(result)) return 0;
    std::uint8_t data[sizeof(result)] = {};
    if (RegQueryValueExW(owner.Get(), WideChars(value), nullptr, &type, data, &size) == ERROR_SUCCESS) {
        for (DWORD i = 0; i < size; ++i) result |= static_cast<std::uint32_t>(data[i]) << (8 * i);
    }
    return result;
}

bool IsWow64Available() {
    using Wow64DirectoryFunction = UINT(WINAPI*)(LPSTR buffer, UINT size);
    const auto probe = reinterpret_cast<Wow64DirectoryFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetSystemWow64DirectoryA")));
    if (probe == nullptr) return false;
    char buffer[256];
    std::memset(buffer, ' ', 255);
    buffer[255] = '\0';
    return static_cast<int>(probe(buffer, 255)) > 0;
}
