// The show-mode clamp, the colour table and decimal text, for every number.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/decimal_text.h"
#include "platform/show_mode.h"
#include "tests/fuzz/fuzz_support.h"
#include "ui/console_colour.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::int32_t a = 0, b = 0;
    std::memcpy(&a, data, std::min<std::size_t>(size, 4));
    if (size > 4) std::memcpy(&b, data + 4, std::min<std::size_t>(size - 4, 4));

    const int shown = ShowWindowValueForMode(a);
    FUZZ_EXPECT(shown == 0 || shown == 1 || shown == 2 || shown == 3 || shown == 4 || shown == 6);
    FUZZ_EXPECT(shown == ShowWindowValueForMode(a < 1 ? 1 : (a > 6 ? 6 : a)));

    const std::uint16_t attribute = ConsoleAttributeOf(a, b);
    FUZZ_EXPECT(attribute <= 0xFF);
    FUZZ_EXPECT((attribute & 0x0F) == ConsoleForegroundValue(a));
    FUZZ_EXPECT((attribute >> 4) == ConsoleForegroundValue(b));
    FUZZ_EXPECT(ConsoleForegroundValue(a) == ConsoleForegroundValue(static_cast<std::int32_t>(a & 0xFFFF)));

    const Text text = DecimalText(a);
    FUZZ_EXPECT(std::stoll(text) == a);
    return 0;
}
