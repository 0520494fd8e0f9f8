#include "ui/console_colour.h"

namespace {
// Console attribute bits: 1 blue, 2 green, 4 red, 8 intensity.
constexpr std::uint16_t kForegroundByCode[16] = {0x00, 0x04, 0x02, 0x06, 0x01, 0x05, 0x03, 0x07,
                                                 0x08, 0x0C, 0x0A, 0x0E, 0x09, 0x0D, 0x0B, 0x0F};
constexpr std::uint16_t kLightGrey = 0x07;
}  // namespace

std::uint16_t ConsoleForegroundValue(ConsoleColour code) {
    const auto low = static_cast<std::uint16_t>(static_cast<std::uint32_t>(code) & 0xFFFFu);
    return (low >= 1 && low <= 16) ? kForegroundByCode[low - 1] : kLightGrey;
}

std::uint16_t ConsoleBackgroundValue(ConsoleColour code) {
    return static_cast<std::uint16_t>(ConsoleForegroundValue(code) << 4);
}

std::uint16_t ConsoleAttributeOf(ConsoleColour foreground, ConsoleColour background) {
    return static_cast<std::uint16_t>(ConsoleForegroundValue(foreground) |
                                      ConsoleBackgroundValue(background));
}
