#pragma once
// The program's own value types. No Windows header here: these travel between all layers.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Narrow text in code page 936. Absent and empty are the same value.
using Text = std::string;

// UTF-16LE units as bytes; a value made by the conversions ends with exactly one zero unit,
// counted in its size. The empty value carries no terminator.
using WideBytes = std::vector<std::uint8_t>;

// Read-only bytes used in place (payloads live in the image's read-only data).
using ByteString = std::span<const std::uint8_t>;

using ProcessId = std::uint32_t;

// The platform's window handle, declared without the platform's header; null for none.
struct HWND__;
using WindowHandle = HWND__*;

// The one code page every conversion between Text and WideBytes uses, whatever the system's is.
inline constexpr unsigned kTextCodePage = 936;
