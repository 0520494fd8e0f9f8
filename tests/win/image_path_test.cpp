#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/text_conversion.h"
#include "process/image_path.h"
#include "process/path_naming.h"
#include "tests/win/test_processes.h"

namespace {

WideBytes Wide(const std::wstring& text) {
    return WideBytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                     reinterpret_cast<const std::uint8_t*>(text.data() + text.size()));
}

Text Narrow(const std::wstring& text) { return WideToNarrow(Wide(text)); }

TEST(GetProcessImagePath, GivesTheDriveLetterPathOfAStartedGame) {
    // Plain, with spaces, with Chinese, and with 淺 (second byte 0x5C) in the folder names.
    for (const std::wstring folder : {L"C:\\Games\\AliceInCradle", L"C:\\My Games\\Alice In Cradle",
                                      L"C:\\游戏\\爱丽丝的摇篮", L"C:\\淺\\AliceInCradle"}) {
        const std::wstring exe = folder + L"\\AliceInCradle.exe";
        PlaceFile(FixturePath(L"original\\AliceInCradle.exe"), exe);
        StartedProcess game(exe, L"--no-window --lifetime 60", false);
        ASSERT_TRUE(game.Started());
        SCOPED_TRACE(Narrow(exe));
        EXPECT_EQ(GetProcessImagePath(game.Id()), Narrow(exe));
        EXPECT_EQ(TrimWideAtTerminator(QueryProcessImageName(game.Id())), Wide(exe));
        // What the detection keeps of it: the folder with its backslash and the file name.
        EXPECT_EQ(DirectoryOfPath(GetProcessImagePath(game.Id())), Narrow(folder + L"\\"));
        EXPECT_EQ(DisplayFileNameOfPath(GetProcessImagePath(game.Id())), "AliceInCradle.exe");
    }
    RemoveTree(L"C:\\Games");
    RemoveTree(L"C:\\My Games");
    RemoveTree(L"C:\\游戏");
    RemoveTree(L"C:\\淺");
}

TEST(GetProcessImagePath, IdZeroIsThisProgram) {
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    EXPECT_EQ(GetProcessImagePath(0), Narrow(own));
}

TEST(GetProcessImagePath, AnEndedProcessHasNoPath) {
    DWORD id = 0;
    {
        StartedProcess game(FixturePath(L"original\\AliceInCradle.exe"), L"--no-window", false);
        ASSERT_TRUE(game.Started());
        id = game.Id();
        TerminateProcess(game.Handle(), 0);
        ASSERT_TRUE(game.EndsWithin(5000));
    }
    // Wine lets the process object go a moment after its last handle was closed.
    for (int i = 0; i < 50 && !GetProcessImagePath(id).empty(); ++i) Sleep(100);
    EXPECT_EQ(GetProcessImagePath(id), "");
    EXPECT_EQ(QueryProcessImageName(id), WideBytes{});
}

TEST(DevicePathToDosPath, UsesTheDrivesWineReallyHas) {
    wchar_t device[MAX_PATH] = {};
    ASSERT_GT(QueryDosDeviceW(L"C:", device, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(device).rfind(L"\\Device\\HarddiskVolume", 0), 0u) << "Wine's answer changed";
    EXPECT_EQ(DevicePathToDosPath(Wide(std::wstring(device) + L"\\x\\y.exe")), Wide(L"C:\\x\\y.exe"));
    // Wine and Proton report image names as NT paths, which no device prefix matches.
    EXPECT_EQ(DevicePathToDosPath(Wide(L"\\??\\Z:\\dir\\prog.exe")), Wide(L"Z:\\dir\\prog.exe"));
    EXPECT_EQ(DevicePathToDosPath(Wide(L"\\??\\UNC\\server\\a.exe")), Wide(L"\\??\\UNC\\server\\a.exe"));
    EXPECT_EQ(DevicePathToDosPath(Wide(L"\\Device\\NoSuchDevice\\a.exe")), Wide(L"\\Device\\NoSuchDevice\\a.exe"));
    EXPECT_EQ(DevicePathToDosPath({}), WideBytes{});
}

// Drive answers Wine cannot produce, given through the device-query seam.
std::map<wchar_t, std::vector<wchar_t>> gFakeDrives;

std::uint32_t FakeQueryDosDevice(const wchar_t* drive, wchar_t* buffer, std::uint32_t capacity) {
    const auto found = gFakeDrives.find(drive[0]);
    if (found == gFakeDrives.end() || found->second.size() > capacity) return 0;
    std::copy(found->second.begin(), found->second.end(), buffer);
    return static_cast<std::uint32_t>(found->second.size());
}

// A device query's answer: each name with its zero unit, and one more.
std::vector<wchar_t> Devices(std::initializer_list<std::wstring> names) {
    std::vector<wchar_t> answer;
    for (const auto& name : names) {
        answer.insert(answer.end(), name.begin(), name.end());
        answer.push_back(L'\0');
    }
    answer.push_back(L'\0');
    return answer;
}

TEST(DevicePathToDosPath, RulesOfTheDriveLoop) {
    const WideBytes onVolume3 = Wide(L"\\Device\\HarddiskVolume3\\Games\\AliceInCradle.exe");
    const WideBytes onVolume10 = Wide(L"\\Device\\HarddiskVolume10\\Games\\AliceInCradle.exe");
    struct Case {
        const char* name;
        std::map<wchar_t, std::vector<wchar_t>> drives;
        WideBytes path;
        WideBytes expected;
    };
    const Case cases[] = {
        {"two letters for one device: the earlier one",
         {{L'D', Devices({L"\\Device\\HarddiskVolume3"})}, {L'C', Devices({L"\\Device\\HarddiskVolume3"})}},
         onVolume3, Wide(L"C:\\Games\\AliceInCradle.exe")},
        {"a letter for several devices never matches",
         {{L'E', Devices({L"\\Device\\HarddiskVolume3", L"\\Device\\Other"})}}, onVolume3, onVolume3},
        {"letter case counts", {{L'F', Devices({L"\\device\\harddiskvolume3"})}}, onVolume3, onVolume3},
        {"volume 1 is not volume 10",
         {{L'G', Devices({L"\\Device\\HarddiskVolume1"})}, {L'H', Devices({L"\\Device\\HarddiskVolume10"})}},
         onVolume10, Wide(L"H:\\Games\\AliceInCradle.exe")},
        {"an answer of one unit is no match",
         {{L'A', {L'\0'}}, {L'B', Devices({L"\\Device\\HarddiskVolume3"})}}, onVolume3,
         Wide(L"B:\\Games\\AliceInCradle.exe")},
        {"the longest device name that fits", {{L'Z', Devices({L"\\Device\\" + std::wstring(249, L'v')})}},
         Wide(L"\\Device\\" + std::wstring(249, L'v') + L"\\a"), Wide(L"Z:\\a")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        gFakeDrives = c.drives;
        EXPECT_EQ(DevicePathToDosPath(c.path, FakeQueryDosDevice), c.expected);
    }
}

}  // namespace
