// Trimming keeps whole units before the first zero unit and never reads past the input.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/wide_bytes.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exactly sized copy, so that any read past the end is caught.
    const WideBytes wide(data, data + size);
    const WideBytes plain = TrimWideAtTerminator(wide);
    const WideBytes terminated = TrimWideAtTerminator(wide, true);
    FUZZ_EXPECT(plain.size() % 2 == 0);
    FUZZ_EXPECT(plain.size() <= size);
    FUZZ_EXPECT(std::equal(plain.begin(), plain.end(), wide.begin()));
    for (std::size_t i = 0; i < plain.size(); i += 2) FUZZ_EXPECT(plain[i] != 0 || plain[i + 1] != 0);
    if (plain.size() + 2 <= size) FUZZ_EXPECT(wide[plain.size()] == 0 && wide[plain.size() + 1] == 0);
    if (plain.empty()) {
        FUZZ_EXPECT(terminated.empty());
    } else {
        FUZZ_EXPECT(terminated.size() == plain.size() + 2);
        FUZZ_EXPECT(terminated[plain.size()] == 0 && terminated[plain.size() + 1] == 0);
    }
    return 0;
}
