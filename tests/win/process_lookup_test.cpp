#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstring>

#include "process/process_lookup.h"
#include "tests/win/test_processes.h"

namespace {

const std::wstring kRoot = L"C:\\cradle-tests\\lookup";

std::wstring Game() { return FixturePath(L"original\\AliceInCradle.exe"); }

// The stand-in placed under another name, running without a window.
std::wstring PlacedGame(const std::wstring& relative) {
    const std::wstring path = kRoot + L"\\" + relative;
    PlaceFile(Game(), path);
    return path;
}

TEST(FindTopWindowByTitle, MatchesTheWholeTitleAndTheClassName) {
    StartedProcess decoy(Game(), L"--title \"AliceInCradle Launcher\" --lifetime 60");
    ASSERT_NE(decoy.Window(), nullptr);
    EXPECT_EQ(FindTopWindowByTitle(nullptr, nullptr, "", "AliceInCradle"), nullptr);

    StartedProcess game(Game(), L"--lifetime 60");
    ASSERT_NE(game.Window(), nullptr);
    EXPECT_EQ(FindTopWindowByTitle(nullptr, nullptr, "", "AliceInCradle"), game.Window());
    EXPECT_EQ(FindTopWindowByTitle(nullptr, nullptr, "AliceInCradleStandIn", "AliceInCradle"), game.Window());
    EXPECT_EQ(FindTopWindowByTitle(nullptr, nullptr, "OtherClass", "AliceInCradle"), nullptr);
    EXPECT_EQ(FindTopWindowByTitle(nullptr, game.Window(), "", "AliceInCradle"), nullptr);
    EXPECT_EQ(FindTopWindowByTitle(nullptr, nullptr, "", "AliceInCradle Launcher"), decoy.Window());
}

TEST(FindProcessIdByExeName, MatchesByNameKeyOnly) {
    struct Case {
        const wchar_t* file;
        bool matches;
    };
    const Case cases[] = {
        {L"exact\\AliceInCradle.exe", true},
        {L"capitals\\ALICEINCRADLE.EXE", true},
        {L"small\\aliceincradle.exe", true},
        {L"contains\\MyAliceInCradle.exe", false},
        {L"further\\AliceInCradle.exe.exe", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.file, c.file + wcslen(c.file)));
        StartedProcess process(PlacedGame(c.file), L"--no-window --lifetime 60", false);
        ASSERT_TRUE(process.Started());
        EXPECT_EQ(FindProcessIdByExeName("AliceInCradle.exe"), c.matches ? process.Id() : 0u);
    }
    EXPECT_EQ(FindProcessIdByExeName("AliceInCradle.exe"), 0u);
}

TEST(FindProcessIdByExeName, TakesTheFirstMatchOfTheSnapshot) {
    StartedProcess one(PlacedGame(L"first\\AliceInCradle.exe"), L"--no-window --lifetime 60", false);
    StartedProcess two(PlacedGame(L"second\\ALICEINCRADLE.exe"), L"--no-window --lifetime 60", false);
    ASSERT_TRUE(one.Started() && two.Started());
    DWORD expected = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more && expected == 0; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "AliceInCradle.exe") == 0) expected = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    EXPECT_TRUE(expected == one.Id() || expected == two.Id());
    EXPECT_EQ(FindProcessIdByExeName("AliceInCradle.exe"), expected);
}

TEST(TerminateProcessById, EndsTheProcessWithExitCodeZero) {
    DWORD id = 0;
    {
        StartedProcess game(Game(), L"--lifetime 60");
        ASSERT_NE(game.Window(), nullptr);
        id = game.Id();
        EXPECT_TRUE(TerminateProcessById(id));
        ASSERT_TRUE(game.EndsWithin(5000));
        DWORD code = 1;
        GetExitCodeProcess(game.Handle(), &code);
        EXPECT_EQ(code, 0u);
        EXPECT_EQ(FindTopWindowByTitle(nullptr, nullptr, "", "AliceInCradle"), nullptr);
    }
    // Once its last handle is closed the id belongs to no process (Wine lets it go a moment later).
    for (int i = 0; i < 50; ++i) {
        HandleOwner stillThere(OpenProcess(SYNCHRONIZE, FALSE, id));
        if (!stillThere) break;
        Sleep(100);
    }
    EXPECT_FALSE(TerminateProcessById(id));
}

TEST(TerminateProcessById, IdZeroEndsTheCallingProgram) {
    StartedProcess self(FixturePath(L"terminate_self.exe"), L"", false);
    ASSERT_TRUE(self.EndsWithin(10000));
    DWORD code = 1;
    GetExitCodeProcess(self.Handle(), &code);
    EXPECT_EQ(code, 0u) << "7 means the program went on after ending itself";
}

TEST(ProcessLookup, ReleasesEveryHandle) {
    StartedProcess game(PlacedGame(L"handles\\AliceInCradle.exe"), L"--no-window --lifetime 60", false);
    ASSERT_TRUE(game.Started());
    FindProcessIdByExeName("AliceInCradle.exe");
    const DWORD before = OpenHandleCount();
    for (int i = 0; i < 20; ++i) {
        FindProcessIdByExeName("AliceInCradle.exe");
        FindProcessIdByExeName("NoSuchGame.exe");
        TerminateProcessById(0x7FFFFFF0);
    }
    EXPECT_EQ(OpenHandleCount(), before);
}

class LookupEnvironment : public testing::Environment {
public:
    void TearDown() override { RemoveTree(kRoot); }
};
const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new LookupEnvironment);

}  // namespace
