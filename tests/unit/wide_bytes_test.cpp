#include <gtest/gtest.h>

#include "platform/wide_bytes.h"

namespace {

struct TrimCase {
    const char* name;
    WideBytes input;
    WideBytes plain;
    WideBytes reterminated;
};

TEST(TrimWideAtTerminator, CutsAtTheFirstZeroUnitAndNeverKeepsAnOddByte) {
    const TrimCase cases[] = {
        {"cut at zero unit", {0x41, 0, 0x42, 0, 0, 0, 0x43, 0}, {0x41, 0, 0x42, 0}, {0x41, 0, 0x42, 0, 0, 0}},
        {"no zero unit", {0x41, 0, 0x42, 0}, {0x41, 0, 0x42, 0}, {0x41, 0, 0x42, 0, 0, 0}},
        {"odd length", {0x41, 0, 0x42}, {0x41, 0}, {0x41, 0, 0, 0}},
        {"single byte", {0x41}, {}, {}},
        {"empty", {}, {}, {}},
        {"leading zero unit", {0, 0, 0x41, 0}, {}, {}},
        // A zero byte that is only half of a unit does not end the text.
        {"zero low byte", {0x00, 0x4E, 0x41, 0}, {0x00, 0x4E, 0x41, 0}, {0x00, 0x4E, 0x41, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrimWideAtTerminator(c.input), c.plain);
        EXPECT_EQ(TrimWideAtTerminator(c.input, true), c.reterminated);
    }
}

TEST(WideChars, EmptyIsNullOtherwiseTheFirstUnit) {
    EXPECT_EQ(WideChars({}), nullptr);
    const WideBytes ab{0x41, 0, 0x42, 0, 0, 0};
    EXPECT_EQ(WideChars(ab)[1], L'B');
}

}  // namespace
