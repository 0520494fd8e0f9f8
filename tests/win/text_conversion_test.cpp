#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text_conversion.h"
#include "tests/win/acp_expectation.h"

namespace {

const Text kCp936 = "\xB2\xB9\xB6\xA1\xB6\xD4\xB1\xC8\xCD\xBC";  // 补丁对比图
const WideBytes kUtf16{0x65, 0x88, 0x01, 0x4E, 0xF9, 0x5B, 0xD4, 0x6B, 0xFE, 0x56, 0, 0};

TEST(TextConversion, RunsUnderTheAnsiCodePageTheHarnessChose) {
    EXPECT_EQ(GetACP(), ExpectedAnsiCodePage());
}

TEST(NarrowToWide, ConvertsInCodePage936AndTerminatesOnce) {
    EXPECT_EQ(NarrowToWide(""), WideBytes{});
    EXPECT_EQ(NarrowToWide("AB"), (WideBytes{0x41, 0, 0x42, 0, 0, 0}));
    EXPECT_EQ(NarrowToWide(kCp936), kUtf16);
    EXPECT_EQ(NarrowToWide("补丁对比图"), kUtf16);
}

TEST(NarrowToWide, IgnoresTheSystemAnsiCodePage) {
    // Under 1252 the system's own reading of these bytes is other characters entirely.
    const int units = MultiByteToWideChar(CP_ACP, 0, kCp936.c_str(), -1, nullptr, 0);
    std::wstring asAnsi(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_ACP, 0, kCp936.c_str(), -1, asAnsi.data(), units);
    const bool ansiIs936 = GetACP() == 936;
    EXPECT_EQ(asAnsi.c_str() == std::wstring(WideChars(kUtf16)), ansiIs936);
    EXPECT_EQ(NarrowToWide(kCp936), kUtf16);
}

TEST(WideToNarrow, StopsAtTheFirstZeroUnit) {
    WideBytes unterminated(kUtf16.begin(), kUtf16.end() - 2);
    EXPECT_EQ(WideToNarrow(kUtf16), kCp936);
    EXPECT_EQ(WideToNarrow(unterminated), kCp936);
    EXPECT_EQ(WideToNarrow({0x41, 0, 0, 0, 0x42, 0}), "A");
    EXPECT_EQ(WideToNarrow({}), "");
    EXPECT_EQ(WideToNarrow({0, 0, 0x41, 0}), "");
    // An odd length: the lone last byte is padded, never read past.
    EXPECT_EQ(WideToNarrow({0x41, 0, 0x42}), "AB");
}

TEST(WideToNarrow, RoundTripsEveryTextOfTheProgram) {
    for (const Text& text : {Text("免责声明：本程序仅供参考，技术分享。"), Text("欧尼酱~有件事要问您~"),
                             Text("C:\\Games\\淺\\AliceInCradle.exe"), Text("%d %s \\n")}) {
        EXPECT_EQ(WideToNarrow(NarrowToWide(text)), text);
    }
}

TEST(WideBytesFromPointer, CopiesTheUnitsAndTheirTerminator) {
    EXPECT_EQ(WideBytesFromPointer(nullptr), WideBytes{});
    EXPECT_EQ(WideBytesFromPointer(L""), WideBytes{});
    EXPECT_EQ(WideBytesFromPointer(L"AB"), (WideBytes{0x41, 0, 0x42, 0, 0, 0}));
}

}  // namespace
