#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error_text.h"
#include "platform/file_operations.h"
#include "platform/text_conversion.h"
#include "tests/win/test_processes.h"

namespace {

const Text kRoot = "C:\\cradle-tests\\files";

std::wstring Wide(const Text& text) { return WideChars(NarrowToWide(text)); }

bool Exists(const Text& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }
bool IsFolder(const Text& path) { return IsDirectory(NarrowToWide(path)); }

std::string Content(const Text& path) {
    FileHandleOwner file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return "<missing>";
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

ByteString Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Files in a folder, for checking that no temporary file is left behind.
std::vector<std::wstring> Listing(const Text& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Wide(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

class FileOperationsTest : public testing::Test {
protected:
    void SetUp() override { MakeFolders(Wide(kRoot)); }
    void TearDown() override { RemoveTree(Wide(kRoot)); }
};

TEST_F(FileOperationsTest, WriteWholeFileReplacesWhateverWasThere) {
    const Text path = kRoot + "\\数据.bin";
    ASSERT_TRUE(WriteWholeFile(path, Bytes(std::string(5000, 'x'))));
    ASSERT_TRUE(WriteWholeFile(path, Bytes(std::string("\0ab\0", 4))));
    EXPECT_EQ(Content(path), std::string("\0ab\0", 4));
    EXPECT_TRUE(WriteWholeFile(path, {}));
    EXPECT_EQ(Content(path), "");
    EXPECT_TRUE(Exists(path));
}

TEST_F(FileOperationsTest, WriteWholeFileFailsWithTheReason) {
    const OperationResult missingFolder = WriteWholeFile(kRoot + "\\没有\\a.bin", Bytes("a"));
    EXPECT_FALSE(missingFolder);
    EXPECT_EQ(missingFolder.errorCode, static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(Exists(kRoot + "\\没有"));
    EXPECT_FALSE(WriteWholeFile("", Bytes("a")));
}

TEST_F(FileOperationsTest, ReplaceFileSafelyPutsTheNewBytesInPlace) {
    const Text path = kRoot + "\\Assembly-CSharp.dll";
    ASSERT_TRUE(WriteWholeFile(path, Bytes(std::string(70000, 'o'))));
    EXPECT_TRUE(ReplaceFileSafely(path, Bytes("new")));
    EXPECT_EQ(Content(path), "new");
    EXPECT_TRUE(ReplaceFileSafely(kRoot + "\\fresh.exe", Bytes("MZ")));
    EXPECT_EQ(Content(kRoot + "\\fresh.exe"), "MZ");
    // A temporary file left by an earlier run is taken over and gone afterwards.
    ASSERT_TRUE(WriteWholeFile(path + ".cradle-new", Bytes("stale")));
    EXPECT_TRUE(ReplaceFileSafely(path, Bytes("again")));
    EXPECT_EQ(Content(path), "again");
    EXPECT_EQ(Listing(kRoot), (std::vector<std::wstring>{L"Assembly-CSharp.dll", L"fresh.exe"}));
}

TEST_F(FileOperationsTest, ReplaceFileSafelyLeavesTheOldFileWhenItCannotReplaceIt) {
    const Text path = kRoot + "\\AliceInCradle.exe";
    ASSERT_TRUE(WriteWholeFile(path, Bytes("old")));
    {
        // Held open without sharing, as a running program holds it.
        FileHandleOwner held(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.Valid());
        const OperationResult locked = ReplaceFileSafely(path, Bytes("new"));
        EXPECT_FALSE(locked);
        EXPECT_NE(locked.errorCode, 0u);
    }
    EXPECT_EQ(Content(path), "old");
    EXPECT_EQ(Listing(kRoot), std::vector<std::wstring>{L"AliceInCradle.exe"});

    SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
    const OperationResult readOnly = ReplaceFileSafely(path, Bytes("new"));
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(readOnly.errorCode, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Content(path), "old");
    EXPECT_EQ(Listing(kRoot), std::vector<std::wstring>{L"AliceInCradle.exe"});
    SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);

    const OperationResult noFolder = ReplaceFileSafely(kRoot + "\\Managed\\Assembly-CSharp.dll", Bytes("new"));
    EXPECT_EQ(noFolder.errorCode, static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(Exists(kRoot + "\\Managed"));
}

TEST_F(FileOperationsTest, CreateDirectoryTreeMakesEveryLevelButTheFirst) {
    EXPECT_TRUE(CreateDirectoryTree(kRoot + "\\甲\\乙"));
    EXPECT_TRUE(IsFolder(kRoot + "\\甲\\乙"));
    EXPECT_TRUE(CreateDirectoryTree("C:/cradle-tests/files/c/d"));
    EXPECT_TRUE(IsFolder(kRoot + "\\c\\d"));
    EXPECT_TRUE(CreateDirectoryTree(kRoot + "\\e\\f\\"));
    EXPECT_TRUE(IsFolder(kRoot + "\\e\\f"));
    EXPECT_TRUE(CreateDirectoryTree(kRoot + "\\甲"));  // already there

    ASSERT_TRUE(WriteWholeFile(kRoot + "\\file", Bytes("x")));
    const OperationResult onFile = CreateDirectoryTree(kRoot + "\\file");
    EXPECT_FALSE(onFile);
    EXPECT_EQ(onFile.errorCode, static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS));

    // In a relative path the first level is never created, so nothing below it can be.
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    SetCurrentDirectoryW(Wide(kRoot).c_str());
    EXPECT_FALSE(CreateDirectoryTree("g\\h"));
    EXPECT_FALSE(Exists(kRoot + "\\g"));
    EXPECT_TRUE(CreateDirectoryTree("甲\\新"));
    EXPECT_TRUE(IsFolder(kRoot + "\\甲\\新"));
    EXPECT_EQ(static_cast<bool>(CreateDirectoryTree("ab")), IsFolder("ab"));
    SetCurrentDirectoryW(before);
}

TEST_F(FileOperationsTest, IsDirectoryOnlyForFolders) {
    ASSERT_TRUE(WriteWholeFile(kRoot + "\\file", Bytes("x")));
    EXPECT_TRUE(IsFolder(kRoot));
    EXPECT_FALSE(IsFolder(kRoot + "\\file"));
    EXPECT_FALSE(IsFolder(kRoot + "\\missing"));
    EXPECT_FALSE(IsDirectory({}));
}

// How a program was started, as test_helper saw it.
std::string StartedAs(const Text& commandLine, bool wait, std::optional<int> showMode, OperationResult* result) {
    const Text report = kRoot + "\\startup.txt";
    DeleteFileAt(report);
    *result = LaunchCommandLine(commandLine + " startup-info \"" + report + "\"", wait, showMode);
    if (!wait) {
        for (int i = 0; i < 100 && !Exists(report); ++i) Sleep(50);
        Sleep(100);
    }
    return Content(report);
}

TEST_F(FileOperationsTest, LaunchCommandLineStartsTheLeadingProgram) {
    // A folder with spaces and Chinese, reached only because the path is quoted.
    const Text folder = kRoot + "\\My Games\\爱丽丝";
    PlaceFile(FixturePath(L"test_helper.exe"), Wide(folder + "\\helper.exe"));
    OperationResult result;
    const std::string seen = StartedAs("\"" + folder + "\\helper.exe\"", true, std::nullopt, &result);
    EXPECT_TRUE(result);
    EXPECT_EQ(seen.substr(0, seen.find('\n')), "1 1") << "SW_SHOWNORMAL through STARTF_USESHOWWINDOW";
    const struct {
        std::optional<int> mode;
        const char* seen;
    } modes[] = {{0, "0 1"}, {4, "3 1"}, {7, "6 1"}};
    for (const auto& m : modes) {
        const std::string shown = StartedAs("\"" + folder + "\\helper.exe\"", false, m.mode, &result);
        EXPECT_EQ(shown.substr(0, shown.find('\n')), m.seen);
    }
    const OperationResult missing = LaunchCommandLine("\"" + kRoot + "\\nothing.exe\"");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.errorCode, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST(WindowsFolder, IsWhereTheFileManagerIs) {
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    EXPECT_EQ(Wide(WindowsFolder()), folder);
    EXPECT_TRUE(Exists(WindowsFolder() + "\\explorer.exe"));
}

TEST(WindowsErrorText, NamesTheCodeAndItsMessage) {
    const Text text = WindowsErrorText(ERROR_ACCESS_DENIED);
    EXPECT_EQ(text.rfind("错误 5：", 0), 0u) << text;
    EXPECT_GT(text.size(), Text("错误 5：").size());
    EXPECT_EQ(text.find('\r'), Text::npos);
}

}  // namespace
