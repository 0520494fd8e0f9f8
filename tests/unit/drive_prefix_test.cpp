#include <gtest/gtest.h>

#include <string>

#include "process/drive_prefix.h"

namespace {

WideBytes Wide(const std::u16string& text, bool terminate = false) {
    WideBytes bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    if (terminate) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

// A device query's answer: the names given, each ending with a zero unit, then one more.
struct Answer {
    WideBytes bytes;
    std::size_t units;
};
Answer AnswerOf(std::initializer_list<std::u16string> names) {
    Answer answer{{}, 0};
    for (const auto& name : names) {
        const WideBytes part = Wide(name, true);
        answer.bytes.insert(answer.bytes.end(), part.begin(), part.end());
    }
    answer.bytes.insert(answer.bytes.end(), {0, 0});
    answer.units = answer.bytes.size() / 2;
    answer.bytes.resize(522, 0);
    return answer;
}

TEST(RewriteForDrive, ReplacesAMatchingDevicePart) {
    const Answer volume3 = AnswerOf({u"\\Device\\HarddiskVolume3"});
    const WideBytes image = Wide(u"\\Device\\HarddiskVolume3\\Games\\AliceInCradle\\AliceInCradle.exe", true);
    EXPECT_EQ(RewriteForDrive(image, volume3.bytes, volume3.units, 'C'),
              Wide(u"C:\\Games\\AliceInCradle\\AliceInCradle.exe", true));
    // Without a terminating unit the rest follows just the same.
    EXPECT_EQ(RewriteForDrive(Wide(u"\\Device\\HarddiskVolume3\\a"), volume3.bytes, volume3.units, 'D'),
              Wide(u"D:\\a"));
}

TEST(RewriteForDrive, NeverMatchesWhatOnlyLooksAlike) {
    const WideBytes onVolume10 = Wide(u"\\Device\\HarddiskVolume10\\x.exe", true);
    struct Case {
        const char* name;
        Answer answer;
        WideBytes path;
    };
    const Case cases[] = {
        {"volume 1 is not volume 10", AnswerOf({u"\\Device\\HarddiskVolume1"}), onVolume10},
        {"letter case counts", AnswerOf({u"\\device\\harddiskvolume10"}), onVolume10},
        {"several devices behind one letter",
         AnswerOf({u"\\Device\\HarddiskVolume10", u"\\Device\\Other"}), onVolume10},
        {"a device name longer than the path", AnswerOf({u"\\Device\\HarddiskVolume10\\x.exe\\more"}), onVolume10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RewriteForDrive(c.path, c.answer.bytes, c.answer.units, 'E'), std::nullopt);
    }
    const Answer volume10 = AnswerOf({u"\\Device\\HarddiskVolume10"});
    EXPECT_EQ(RewriteForDrive(onVolume10, volume10.bytes, volume10.units, 'E'), Wide(u"E:\\x.exe", true));
}

TEST(RewriteForDrive, AnAnswerTooShortOrTooLongNeverMatches) {
    const WideBytes path = Wide(u"\\x", true);
    const WideBytes answer(522, 0);
    EXPECT_EQ(RewriteForDrive(path, answer, 0, 'C'), std::nullopt);
    EXPECT_EQ(RewriteForDrive(path, answer, 1, 'C'), std::nullopt);
    EXPECT_EQ(RewriteForDrive(path, answer, 262, 'C'), std::nullopt);
    EXPECT_EQ(RewriteForDrive({}, AnswerOf({u"\\D"}).bytes, 4, 'C'), std::nullopt);
}

TEST(StripNtDrivePrefix, RemovesItOnlyBeforeADriveLetter) {
    EXPECT_EQ(StripNtDrivePrefix(Wide(u"\\??\\Z:\\dir\\prog.exe")), Wide(u"Z:\\dir\\prog.exe"));
    EXPECT_EQ(StripNtDrivePrefix(Wide(u"\\??\\c:\\a", true)), Wide(u"c:\\a", true));
    for (const char16_t* kept : {u"\\??\\UNC\\server\\share\\a.exe", u"\\??\\1:\\a", u"\\??\\Z",
                                       u"\\Device\\HarddiskVolume1\\a", u"Z:\\a", u""}) {
        EXPECT_EQ(StripNtDrivePrefix(Wide(kept)), Wide(kept));
    }
}

}  // namespace
