#include "platform/text_conversion.h"

#include <windows.h>

#include <cstring>

namespace {

// The core both directions share; the program only ever passes kTextCodePage.
WideBytes NarrowToWideInCodePage(const Text& text, unsigned codePage) {
    // Text holds no terminator of its own; c_str() supplies one, and an inner zero byte
    // ends the source just as a terminator would.
    const char* source = text.c_str();
    if (source[0] == '\0') return {};
    const int units = MultiByteToWideChar(codePage, 0, source, -1, nullptr, 0);
    if (units <= 0) return {};
    WideBytes wide(static_cast<std::size_t>(units) * 2, 0);
    MultiByteToWideChar(codePage, 0, source, -1, reinterpret_cast<wchar_t*>(wide.data()), units);
    return wide;
}

Text WideToNarrowInCodePage(const WideBytes& wide, unsigned codePage) {
    WideBytes terminated = wide;
    // An odd input gets a padding byte first so that the appended terminator is unit-aligned.
    if (terminated.size() % 2 != 0) terminated.push_back(0);
    terminated.insert(terminated.end(), {0, 0});
    const auto* source = reinterpret_cast<const wchar_t*>(terminated.data());
    if (lstrlenW(source) <= 0) return {};
    const int bytes = WideCharToMultiByte(codePage, 0, source, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, 0, source, -1, buffer.data(), bytes, nullptr, nullptr);
    return Text(buffer.data());
}

}  // namespace

WideBytes NarrowToWide(const Text& text) { return NarrowToWideInCodePage(text, kTextCodePage); }

Text WideToNarrow(const WideBytes& wide) { return WideToNarrowInCodePage(wide, kTextCodePage); }

WideBytes WideBytesFromPointer(const wchar_t* source) {
    if (source == nullptr) return {};
    const int units = lstrlenW(source);
    if (units <= 0) return {};
    const auto bytes = static_cast<std::size_t>(units) * 2 + 2;
    WideBytes copy(bytes);
    std::memcpy(copy.data(), source, bytes);
    return copy;
}
