#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text_conversion.h"
#include "tests/win/test_processes.h"
#include "ui/process_window.h"

namespace {

// Windows of this test's own process: visible, hidden, a child, an owned pop-up.
class OwnWindows : public testing::Test {
protected:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP + 1) ++dispatched_;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    static HWND Make(const wchar_t* className, const wchar_t* title, DWORD style, HWND parent) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, className, title, style, 10, 10, 200, 100, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    void SetUp() override {
        visible_ = Make(L"CradleTestVisible", L"Alpha 窗口", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
        hidden_ = Make(L"CradleTestHidden", L"Beta", WS_OVERLAPPEDWINDOW, nullptr);
        child_ = Make(L"CradleTestChild", L"Gamma", WS_CHILD | WS_VISIBLE, visible_);
        popup_ = Make(L"CradleTestPopup", L"Delta", WS_POPUP | WS_VISIBLE, visible_);
        untitled_ = Make(L"CradleTestUntitled", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr);
        ASSERT_TRUE(visible_ && hidden_ && child_ && popup_ && untitled_);
        dispatched_ = 0;
    }
    void TearDown() override {
        for (HWND window : {popup_, child_, visible_, hidden_, untitled_}) DestroyWindow(window);
    }
    const DWORD self_ = GetCurrentProcessId();
    HWND visible_ = nullptr, hidden_ = nullptr, child_ = nullptr, popup_ = nullptr, untitled_ = nullptr;
    static inline int dispatched_ = 0;
};

TEST_F(OwnWindows, ThePartsGivenDecide) {
    struct Case {
        const char* name;
        std::optional<Text> title, className;
        std::optional<bool> visibleOnly;
        HWND expected;
    };
    const Case cases[] = {
        {"title part", Text("Alpha"), std::nullopt, std::nullopt, visible_},
        {"double-byte title part", Text("窗口"), std::nullopt, std::nullopt, visible_},
        {"class part", std::nullopt, Text("TestVisible"), std::nullopt, visible_},
        {"both parts", Text("Alpha"), Text("CradleTestVisible"), std::nullopt, visible_},
        {"both, one failing", Text("Beta"), Text("CradleTestVisible"), std::nullopt, nullptr},
        {"class case counts", std::nullopt, Text("cradletestvisible"), std::nullopt, nullptr},
        {"hidden skipped", Text("Beta"), std::nullopt, std::nullopt, nullptr},
        {"hidden found when asked", Text("Beta"), std::nullopt, false, hidden_},
        {"a child is never top-level", Text("Gamma"), std::nullopt, false, nullptr},
        {"an owned pop-up has a parent", Text("Delta"), std::nullopt, std::nullopt, nullptr},
        {"an empty title part needs a title", Text(""), Text("CradleTestUntitled"), std::nullopt, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindProcessTopWindow(self_, c.title, c.className, std::nullopt, c.visibleOnly),
                  c.expected);
    }
    // Every window has a class name, so an empty class part passes the first one looked at.
    EXPECT_NE(FindProcessTopWindow(self_, std::nullopt, Text("")), nullptr);
}

TEST_F(OwnWindows, OtherProcessesWindowsBelongToThem) {
    StartedProcess game(FixturePath(L"original\\AliceInCradle.exe"), L"--lifetime 60");
    ASSERT_NE(game.Window(), nullptr);
    EXPECT_EQ(FindProcessTopWindow(self_, Text("AliceInCradle")), nullptr);
    EXPECT_EQ(FindProcessTopWindow(game.Id(), Text("AliceInCradle")), game.Window());
    EXPECT_EQ(FindProcessTopWindow(game.Id()), game.Window());
}

TEST_F(OwnWindows, WaitingMessagesAreDispatchedButAQuitStays) {
    PostMessageW(visible_, WM_APP + 1, 0, 0);
    PostQuitMessage(5);
    EXPECT_EQ(FindProcessTopWindow(self_, Text("NoSuchWindow")), nullptr);
    EXPECT_EQ(dispatched_, 1);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
}

// A clock that moves by a fixed step at every reading.
struct FakeClock {
    static inline std::uint32_t now = 0, step = 0;
    static inline int readings = 0;
    static std::uint32_t Tick() {
        ++readings;
        const std::uint32_t value = now;
        now += step;
        return value;
    }
    static void Start(std::uint32_t at, std::uint32_t by) {
        now = at;
        step = by;
        readings = 0;
    }
};

TEST_F(OwnWindows, TheTimeLimitIsTestedBeforeEveryWindowAcrossTheWrap) {
    FakeClock::Start(100, 1);
    EXPECT_EQ(FindProcessTopWindow(self_, Text("Alpha"), std::nullopt, 0, std::nullopt, FakeClock::Tick), nullptr);
    EXPECT_EQ(FakeClock::readings, 2) << "a limit of 0 looks at no window";

    // The count wraps during the search: 600 and then 1200 ms have passed, not 4 billion.
    FakeClock::Start(0xFFFFFFF0u, 600);
    EXPECT_EQ(FindProcessTopWindow(self_, Text("NoSuchWindow"), std::nullopt, 1000, false, FakeClock::Tick), nullptr);
    EXPECT_EQ(FakeClock::readings, 3);
    FakeClock::Start(0xFFFFFF00u, 0x40);
    EXPECT_EQ(FindProcessTopWindow(self_, Text("Alpha"), std::nullopt, 1000, std::nullopt, FakeClock::Tick), visible_);

    // Below 0 or not given: 31536000 ms.
    for (std::optional<std::int32_t> limit : {std::optional<std::int32_t>(-5), std::optional<std::int32_t>()}) {
        FakeClock::Start(0, 31536000 / 2);
        EXPECT_EQ(FindProcessTopWindow(self_, Text("NoSuchWindow"), std::nullopt, limit, false, FakeClock::Tick), nullptr);
        EXPECT_EQ(FakeClock::readings, 3);
        FakeClock::Start(0, 1000000);
        EXPECT_EQ(FindProcessTopWindow(self_, Text("Alpha"), std::nullopt, limit, std::nullopt, FakeClock::Tick), visible_);
    }
}

TEST_F(OwnWindows, ClassAndTitleText) {
    EXPECT_EQ(GetWindowClassText(visible_), "CradleTestVisible");
    EXPECT_EQ(GetWindowTitleText(visible_), "Alpha 窗口");
    EXPECT_EQ(GetWindowTitleText(untitled_), "");
    EXPECT_EQ(GetWindowClassText(nullptr), "");
    EXPECT_EQ(GetWindowTitleText(nullptr), "");
}

}  // namespace
