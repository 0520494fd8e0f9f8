#include <gtest/gtest.h>

#include "process/directory_of_path.h"

namespace {

TEST(DirectoryOfPath, CutsAtTheLastRealSeparator) {
    struct Case {
        Text path;
        Text folder;
    };
    const Case cases[] = {
        {"D:\\Games\\AliceInCradle\\AliceInCradle.exe", "D:\\Games\\AliceInCradle\\"},
        {"D:\\Games\\AliceInCradle\\", "D:\\Games\\"},                 // a folder gives its parent
        {"D:\\Games\\AliceInCradle\\\\", "D:\\Games\\AliceInCradle\\"},  // only one dropped
        {"C:\\", ""},
        {"AliceInCradle.exe", ""},
        {"", ""},
        {"C:/Games/x.exe", ""},  // a forward slash is an ordinary character
        // 淺 is 9C 5C: its second byte is not a separator, in the middle or at the end.
        {"C:\\\x9C\x5C" "a\\b.exe", "C:\\\x9C\x5C" "a\\"},
        {"C:\\\x9C\x5C\\x.exe", "C:\\\x9C\x5C\\"},
        {"C:\\Games\\\x9C\x5C", "C:\\Games\\"},
        {"C:\\Games\\x\x9C", "C:\\Games\\"},  // a lone lead byte at the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(DirectoryOfPath(c.path), c.folder);
    }
}

TEST(DirectoryOfPath, LeavesTheCallersTextAlone) {
    const Text path = "C:\\a\\";
    EXPECT_EQ(DirectoryOfPath(path), "C:\\");
    EXPECT_EQ(path, "C:\\a\\");
}

}  // namespace
