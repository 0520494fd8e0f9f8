#pragma once
// The folder and the displayed file name of a path, and the two services the name needs.

#include <cstdint>

#include "platform/text.h"
#include "process/directory_of_path.h"

// The platform's GetFileTitleW, as a plain function (tests give a title without its extension,
// which Windows gives and Wine never does).
using FileTitleFunction = std::int16_t (*)(const wchar_t* path, wchar_t* buffer, std::uint16_t size);
std::int16_t PlatformGetFileTitle(const wchar_t* path, wchar_t* buffer, std::uint16_t size);

// The file name with its extension, as the shell displays it, in code page 936; empty on failure.
Text DisplayFileNameOfPath(const Text& path, FileTitleFunction fileTitle = PlatformGetFileTitle);

// The display title of a file, its extension appended when Explorer hides extensions
// ("HideFileExt" is 1) and the title does not already end with it; one terminating zero unit.
WideBytes GetShellFileTitle(const WideBytes& path, FileTitleFunction fileTitle = PlatformGetFileTitle);

// A registry root key, such as HKEY_CURRENT_USER, without the platform's header.
struct HKEY__;
using RegistryRoot = HKEY__*;

// The value as a 32-bit number from its data bytes (little-endian, up to four); 0 when the root
// is null, the key or value cannot be read, or the data are longer than four bytes.
std::uint32_t ReadRegistryDword(RegistryRoot root, const Text& subkey, const Text& valueName,
                                bool use64BitView);

// Yes on 64-bit Windows.
bool IsWow64Available();
