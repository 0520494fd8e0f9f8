#include <gtest/gtest.h>

#include "ui/console_colour.h"

namespace {

struct ColourCase {
    ConsoleColour code;
    std::uint16_t foreground;
};

// The sixteen named codes, then codes that must fall back to light grey or fold to 16 bits.
constexpr ColourCase kColourCases[] = {
    {1, 0x00},  {2, 0x04},  {3, 0x02},  {4, 0x06},  {5, 0x01},       {6, 0x05},
    {7, 0x03},  {8, 0x07},  {9, 0x08},  {10, 0x0C}, {11, 0x0A},      {12, 0x0E},
    {13, 0x09}, {14, 0x0D}, {15, 0x0B}, {16, 0x0F}, {0, 0x07},       {17, 0x07},
    {-1, 0x07}, {0x10001, 0x00},        {0x1000C, 0x0E}, {0x7FFF0010, 0x0F},
};

TEST(ConsoleColour, EveryCodeGivesItsTableValueForeAndBack) {
    for (const auto& c : kColourCases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(ConsoleForegroundValue(c.code), c.foreground);
        EXPECT_EQ(ConsoleBackgroundValue(c.code), c.foreground << 4);
    }
}

TEST(ConsoleColour, ThePairsTheProgramUses) {
    EXPECT_EQ(ConsoleAttributeOf(10, 16), 0xFC);
    EXPECT_EQ(ConsoleAttributeOf(12, 13), 0x9E);
    EXPECT_EQ(ConsoleAttributeOf(7, 1), 0x03);
    EXPECT_EQ(ConsoleAttributeOf(8, 1), 0x07);
    EXPECT_EQ(ConsoleAttributeOf(11, 1), 0x0A);
    EXPECT_EQ(ConsoleAttributeOf(16, 6), 0x5F);
    // Both out of range: grey on grey, not grey on black.
    EXPECT_EQ(ConsoleAttributeOf(0, 17), 0x77);
}

}  // namespace
