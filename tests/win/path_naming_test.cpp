#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <vector>

#include "platform/text_conversion.h"
#include "process/path_naming.h"
#include "tests/win/test_processes.h"

namespace {

constexpr wchar_t kAdvanced[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const std::wstring kRoot = L"C:\\cradle-tests\\naming";
const Text kGamePath = "C:\\cradle-tests\\naming\\AliceInCradle.exe";
const Text kNoExtension = "C:\\cradle-tests\\naming\\README";
const Text kFolder = "C:\\cradle-tests\\naming\\Saves.d";

// The user's "HideFileExt" as a test sets it; the value found before is put back afterwards.
class ExplorerSetting {
public:
    ExplorerSetting() {
        RegCreateKeyExW(HKEY_CURRENT_USER, kAdvanced, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD size = sizeof(saved_);
        hadValue_ = RegQueryValueExW(key_, L"HideFileExt", nullptr, &savedType_, saved_, &size) == ERROR_SUCCESS;
        savedSize_ = size;
    }
    ~ExplorerSetting() {
        if (hadValue_) RegSetValueExW(key_, L"HideFileExt", 0, savedType_, saved_, savedSize_);
        else RegDeleteValueW(key_, L"HideFileExt");
        RegCloseKey(key_);
    }
    void SetNumber(DWORD value) { Set(REG_DWORD, &value, sizeof(value)); }
    void SetString(const wchar_t* value) {
        Set(REG_SZ, value, static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
    }
    void SetBinary(std::vector<BYTE> data) { Set(REG_BINARY, data.data(), static_cast<DWORD>(data.size())); }
    void Remove() { RegDeleteValueW(key_, L"HideFileExt"); }

private:
    void Set(DWORD type, const void* data, DWORD size) {
        RegSetValueExW(key_, L"HideFileExt", 0, type, static_cast<const BYTE*>(data), size);
    }
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    DWORD savedType_ = 0, savedSize_ = 0;
    BYTE saved_[64] = {};
};

// The title Windows gives when extensions are hidden: the name without its extension.
std::int16_t TitleWithoutExtension(const wchar_t* path, wchar_t* buffer, std::uint16_t size) {
    const wchar_t* name = std::wcsrchr(path, L'\\');
    name = name ? name + 1 : path;
    const wchar_t* dot = std::wcsrchr(name, L'.');
    const std::size_t length = dot ? static_cast<std::size_t>(dot - name) : std::wcslen(name);
    if (length + 1 > size) return static_cast<std::int16_t>(length + 1);
    std::wmemcpy(buffer, name, length);
    buffer[length] = L'\0';
    return 0;
}

// A file type marked to always show its extension, written in capitals.
std::int16_t TitleInCapitals(const wchar_t*, wchar_t* buffer, std::uint16_t) {
    std::wcscpy(buffer, L"AliceInCradle.EXE");
    return 0;
}

std::int16_t TitleFails(const wchar_t*, wchar_t*, std::uint16_t) { return 1; }

class PathNamingTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        PlaceFile(FixturePath(L"original\\AliceInCradle.exe"), NarrowToWideString(kGamePath));
        PlaceFile(FixturePath(L"original\\AliceInCradle.exe"), NarrowToWideString(kNoExtension));
        MakeFolders(NarrowToWideString(kFolder));
    }
    static void TearDownTestSuite() { RemoveTree(kRoot); }
    static std::wstring NarrowToWideString(const Text& text) { return WideChars(NarrowToWide(text)); }
    ExplorerSetting setting_;
};

TEST_F(PathNamingTest, WinesTitleKeepsItsExtensionWhateverTheSetting) {
    // Without the check for an extension already there, the value 1 gave "AliceInCradle.exe.exe".
    setting_.SetNumber(1);
    EXPECT_EQ(DisplayFileNameOfPath(kGamePath), "AliceInCradle.exe");
    for (DWORD value : {0u, 2u}) {
        setting_.SetNumber(value);
        EXPECT_EQ(DisplayFileNameOfPath(kGamePath), "AliceInCradle.exe");
    }
    setting_.SetString(L"1");
    EXPECT_EQ(DisplayFileNameOfPath(kGamePath), "AliceInCradle.exe");
    setting_.Remove();
    EXPECT_EQ(DisplayFileNameOfPath(kGamePath), "AliceInCradle.exe");
}

TEST_F(PathNamingTest, AHiddenExtensionIsAddedBackOnlyForTheNumberOne) {
    struct Case {
        const char* name;
        std::optional<DWORD> number;
        const wchar_t* string;
        Text expected;
    };
    const Case cases[] = {
        {"1", 1, nullptr, "AliceInCradle.exe"},
        {"0", 0, nullptr, "AliceInCradle"},
        {"2", 2, nullptr, "AliceInCradle"},
        {"string 1 reads as 49", std::nullopt, L"1", "AliceInCradle"},
        {"missing", std::nullopt, nullptr, "AliceInCradle"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.number) setting_.SetNumber(*c.number);
        else if (c.string) setting_.SetString(c.string);
        else setting_.Remove();
        EXPECT_EQ(DisplayFileNameOfPath(kGamePath, TitleWithoutExtension), c.expected);
    }
}

TEST_F(PathNamingTest, WhatTheExtensionStepLeavesAlone) {
    setting_.SetNumber(1);
    EXPECT_EQ(DisplayFileNameOfPath(kNoExtension, TitleWithoutExtension), "README");
    // A folder gives the platform's title alone; the registry is not consulted.
    EXPECT_EQ(DisplayFileNameOfPath(kFolder, TitleWithoutExtension), "Saves");
    // So does a path that does not exist, whose attributes cannot be read.
    EXPECT_EQ(DisplayFileNameOfPath("C:\\cradle-tests\\naming\\gone.exe", TitleWithoutExtension), "gone");
    EXPECT_EQ(DisplayFileNameOfPath(kGamePath, TitleInCapitals), "AliceInCradle.EXE");
    EXPECT_EQ(DisplayFileNameOfPath(kGamePath, TitleFails), "");
    EXPECT_EQ(DisplayFileNameOfPath(""), "");
}

TEST_F(PathNamingTest, GetShellFileTitleEndsWithOneZeroUnit) {
    setting_.SetNumber(1);
    const WideBytes title = GetShellFileTitle(NarrowToWide(kGamePath), TitleWithoutExtension);
    const std::wstring expected = L"AliceInCradle.exe";
    ASSERT_EQ(title.size(), (expected.size() + 1) * 2);
    EXPECT_EQ(std::wstring(WideChars(title)), expected);
    EXPECT_EQ(GetShellFileTitle({}, TitleFails), WideBytes{});
}

TEST_F(PathNamingTest, ReadRegistryDwordTakesUpToFourDataBytes) {
    const Text key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
    const auto read = [&](bool view64) { return ReadRegistryDword(HKEY_CURRENT_USER, key, "HideFileExt", view64); };
    setting_.SetNumber(0x12345678);
    EXPECT_EQ(read(true), 0x12345678u);
    EXPECT_EQ(read(false), 0x12345678u);
    setting_.SetString(L"1");
    EXPECT_EQ(read(true), 49u);
    setting_.SetBinary({0x34, 0x12});
    EXPECT_EQ(read(true), 0x1234u);
    // Longer data would overrun the 32-bit result: they count as no value at all.
    setting_.SetBinary({1, 0, 0, 0, 0, 0, 0, 0, 9, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_EQ(read(true), 0u);
    EXPECT_EQ(DisplayFileNameOfPath(kGamePath, TitleWithoutExtension), "AliceInCradle");
    setting_.Remove();
    EXPECT_EQ(read(true), 0u);
    EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, "SOFTWARE\\NoSuchKey\\Here", "HideFileExt", true), 0u);
    EXPECT_EQ(ReadRegistryDword(nullptr, key, "HideFileExt", true), 0u);
}

TEST(IsWow64Available, AnswersYesOnSixtyFourBitWindows) {
    wchar_t folder[MAX_PATH];
    const bool has64BitSystem = GetSystemWow64DirectoryW(folder, MAX_PATH) > 0;
    EXPECT_EQ(IsWow64Available(), has64BitSystem);
#ifdef _WIN64
    EXPECT_TRUE(IsWow64Available());
#endif
}

TEST(PathNaming, ReleasesEveryHandle) {
    const DWORD before = OpenHandleCount();
    for (int i = 0; i < 20; ++i) {
        DisplayFileNameOfPath("C:\\windows\\notepad.exe");
        ReadRegistryDword(HKEY_CURRENT_USER, "SOFTWARE\\NoSuchKey", "x", false);
        IsWow64Available();
    }
    EXPECT_EQ(OpenHandleCount(), before);
}

}  // namespace
