#include "platform/wide_bytes.h"

WideBytes TrimWideAtTerminator(const WideBytes& wide, bool reterminate) {
    if (wide.size() < 2) return {};
    std::size_t end = 0;
    while (end + 2 <= wide.size() && (wide[end] != 0 || wide[end + 1] != 0)) end += 2;
    if (end == 0) return {};
    WideBytes result(wide.begin(), wide.begin() + static_cast<std::ptrdiff_t>(end));
    if (reterminate) result.insert(result.end(), {0, 0});
    return result;
}

const wchar_t* WideChars(const WideBytes& wide) {
    return wide.empty() ? nullptr : reinterpret_cast<const wchar_t*>(wide.data());
}
