// Containment agrees with a plain scan that starts only on character boundaries.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_support.h"
#include "ui/text_contains.h"

namespace {
bool Reference(std::string_view text, std::string_view part) {
    if (text.empty()) return false;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.size() - i >= part.size() && text.compare(i, part.size(), part) == 0) return true;
        i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
    }
    return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte says where the part ends and the text begins.
    const std::size_t split = 1 + data[0] % size;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view part = bytes.substr(0, split - 1), text = bytes.substr(split - 1);
    FUZZ_EXPECT(TextContainsPart(text, part) == Reference(text, part));
    FUZZ_EXPECT(TextContainsPart(text, "") == !text.empty());
    FUZZ_EXPECT(!TextContainsPart("", part));
    return 0;
}
