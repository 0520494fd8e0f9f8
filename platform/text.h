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

// Every literal the user sees must be stored as code page 936; a build with the wrong
// execution character set would show garbage, so refuse to compile instead.
namespace text_detail {
inline constexpr char kSample[] = "补丁对比图";
inline constexpr unsigned char kSampleBytes[] = {0xB2, 0xB9, 0xB6, 0xA1, 0xB6,
                                                 0xD4, 0xB1, 0xC8, 0xCD, 0xBC};
constexpr bool SampleStoredAsCp936() {
    if (sizeof(kSample) != sizeof(kSampleBytes) + 1) return false;
    for (std::size_t i = 0; i < sizeof(kSampleBytes); ++i)
        if (static_cast<unsigned char>(kSample[i]) != kSampleBytes[i]) return false;
    return true;
}
}  // namespace text_detail
static_assert(text_detail::SampleStoredAsCp936(),
              "narrow literals must be stored as code page 936 (-fexec-charset=CP936)");
