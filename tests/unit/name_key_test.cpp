#include <gtest/gtest.h>

#include "process/name_key.h"

namespace {

TEST(NameKey, FoldsAsciiCapitalsOnly) {
    EXPECT_EQ(NameKeyOf("AliceInCradle.EXE"), "aliceincradle.exe");
    // Full-width capitals (two bytes each in code page 936) keep their case.
    EXPECT_EQ(NameKeyOf("ＡＢ.exe"), "ＡＢ.exe");
    // 丂 is 81 40 and 亐 is 81 5A: a second byte in the A-Z range is never folded, the byte
    // after the character is folded again.
    EXPECT_EQ(NameKeyOf("\x81\x5A" "AB"), "\x81\x5A" "ab");
    EXPECT_EQ(NameKeyOf("X\x81"), "x\x81");  // a lone lead byte at the end
    EXPECT_EQ(NameKeyOf(""), "");
}

TEST(NameKey, MatchesTheWholeNameOnly) {
    struct Case {
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"AliceInCradle.exe", true},       {"ALICEINCRADLE.EXE", true},
        {"aliceincradle.exe", true},       {"MyAliceInCradle.exe", false},
        {"AliceInCradle.exe.exe", false},  {"AliceInCradle", false},
        {"ＡliceInCradle.exe", false},     {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NamesMatchByKey(c.name, "AliceInCradle.exe"), c.matches);
    }
    EXPECT_TRUE(NamesMatchByKey("", ""));
}

}  // namespace
