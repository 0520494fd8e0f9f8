// Real message boxes on the tests' X server, found and answered by test_helper.exe; the platform
// call itself through the seam for what Wine does not do (it ignores the time-out).

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text_conversion.h"
#include "tests/win/acp_expectation.h"
#include "tests/win/test_processes.h"
#include "ui/timed_message.h"

namespace {

const Text kConfirmText = "成功检查到游戏，是否确认安装补丁？\r\n请确保你的游戏版本是: ver 0.24g";
const Text kConfirmTitle = "欧尼酱~有件事要问您~";
const Text kErrorTitle = "欧尼酱~出错啦~";

std::wstring Wide(const Text& text) { return WideChars(NarrowToWide(text)); }

std::string Utf8(const std::u8string& text) { return std::string(text.begin(), text.end()); }

// The buttons' labels follow Wine's language, which follows the locale of the run.
std::string OkButton() { return ExpectedAnsiCodePage() == 936 ? Utf8(u8"[1, \"确定\"]") : "[1, \"OK\"]"; }
std::string CancelButton() { return ExpectedAnsiCodePage() == 936 ? Utf8(u8"[2, \"取消\"]") : "[2, \"Cancel\"]"; }

std::string ReadUtf8(const std::wstring& path) {
    FileHandleOwner file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string bytes(8192, '\0');
    DWORD read = 0;
    ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

// Shows a box through ShowTimedMessage while test_helper answers it; the helper's report of what
// the box showed is kept for the checks.
struct AnsweredBox {
    std::int32_t result;
    std::string report;  // JSON, UTF-8
};

template <typename Show>
AnsweredBox ShowAndAnswer(const std::wstring& findTitle, const wchar_t* action, Show show) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring report = std::wstring(folder) + L"cradle-box-report.json";
    DeleteFileW(report.c_str());
    StartedProcess helper(FixturePath(L"test_helper.exe"),
                          L"answer-box \"" + findTitle + L"\" " + action + L" \"" + report + L"\"", false);
    const std::int32_t result = show();
    EXPECT_TRUE(helper.EndsWithin(10000));
    return {result, ReadUtf8(report)};
}

TEST(ShowTimedMessage, TheConfirmationBoxAndEveryAnswer) {
    const struct {
        const wchar_t* action;
        std::int32_t result;
    } answers[] = {{L"ok", 0}, {L"cancel", 1}, {L"escape", 1}, {L"close", 1}};
    for (const auto& answer : answers) {
        SCOPED_TRACE(testing::Message() << "answered with " << std::string(answer.action, answer.action + wcslen(answer.action)));
        const AnsweredBox box = ShowAndAnswer(Wide(kConfirmTitle), answer.action, [] {
            return ShowTimedMessage(kConfirmText, 33, kConfirmTitle, std::nullopt, 1000000);
        });
        EXPECT_EQ(box.result, answer.result);
        EXPECT_NE(box.report.find(Utf8(u8"\"title\": \"欧尼酱~有件事要问您~\"")), std::string::npos) << box.report;
        EXPECT_NE(box.report.find(Utf8(u8"\"text\": \"成功检查到游戏，是否确认安装补丁？\\r\\n请确保你的游戏版本是: ver 0.24g\"")),
                  std::string::npos) << box.report;
        EXPECT_NE(box.report.find("\"buttons\": [" + OkButton() + ", " + CancelButton() + "]"), std::string::npos)
            << box.report;
        EXPECT_NE(box.report.find("\"icon\": \"question\""), std::string::npos) << box.report;
    }
}

TEST(ShowTimedMessage, TheErrorBoxHasOneButtonAndTheErrorIcon) {
    const AnsweredBox box = ShowAndAnswer(Wide(kErrorTitle), L"ok", [] {
        return ShowTimedMessage("未能成功寻找到游戏！\r\n进程ID：0", 16, kErrorTitle, std::nullopt, 1000000);
    });
    EXPECT_EQ(box.result, 0);
    EXPECT_NE(box.report.find(Utf8(u8"\"text\": \"未能成功寻找到游戏！\\r\\n进程ID：0\"")), std::string::npos) << box.report;
    EXPECT_NE(box.report.find("\"buttons\": [" + OkButton() + "]"), std::string::npos) << box.report;
    EXPECT_NE(box.report.find("\"icon\": \"error\""), std::string::npos) << box.report;
}

TEST(ShowTimedMessage, DefaultsAndGivenEmptyValues) {
    // Not given: the title "友情提醒", style 0 (OK alone, no icon).
    AnsweredBox box = ShowAndAnswer(L"友情提醒", L"ok", [] { return ShowTimedMessage("默认"); });
    EXPECT_EQ(box.result, 0);
    EXPECT_NE(box.report.find("\"buttons\": [" + OkButton() + "]"), std::string::npos) << box.report;
    EXPECT_NE(box.report.find("\"icon\": \"none\""), std::string::npos) << box.report;

    // A given empty title leaves the caption to the platform.
    box = ShowAndAnswer(L"*", L"ok", [] { return ShowTimedMessage("x", 0, Text("")); });
    EXPECT_EQ(box.result, 0);
    EXPECT_EQ(box.report.find(Utf8(u8"友情提醒")), std::string::npos) << box.report;
    EXPECT_EQ(box.report.find("\"title\": \"\""), std::string::npos) << box.report;
}

TEST(ShowTimedMessage, TheOwnerIsAVisibleWindowOfThisProcessUnlessGiven) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"CradleOwnerTest";
    RegisterClassW(&windowClass);
    HWND own = CreateWindowExW(0, L"CradleOwnerTest", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(own, nullptr);
    const std::string ownerField =
        "\"owner\": " + std::to_string(static_cast<long long>(reinterpret_cast<std::intptr_t>(own)));
    AnsweredBox box = ShowAndAnswer(L"owned", L"ok", [] { return ShowTimedMessage("x", 0, Text("owned")); });
    EXPECT_NE(box.report.find(ownerField), std::string::npos) << box.report;
    box = ShowAndAnswer(L"unowned", L"ok", [] { return ShowTimedMessage("x", 0, Text("unowned"), nullptr); });
    EXPECT_NE(box.report.find("\"owner\": 0"), std::string::npos) << box.report;
    DestroyWindow(own);
}

// What the platform call was given, and what it answers.
struct FakeBox {
    static inline int answer = 1;
    static inline std::vector<std::wstring> texts, titles;
    static inline std::vector<bool> nullText, nullTitle;
    static inline std::uint32_t style = 0, timeout = 0;
    static inline HWND owner = nullptr;
    static int Show(WindowHandle boxOwner, const wchar_t* text, const wchar_t* title, std::uint32_t boxStyle,
                    std::uint32_t timeoutMs) {
        owner = boxOwner;
        nullText.push_back(text == nullptr);
        nullTitle.push_back(title == nullptr);
        texts.push_back(text ? text : L"");
        titles.push_back(title ? title : L"");
        style = boxStyle;
        timeout = timeoutMs;
        return answer;
    }
};

TEST(ShowTimedMessage, AnswersThePlatformsAnswerLessOne) {
    const struct {
        int platform;
        std::int32_t result;
    } cases[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 5}, {7, 6}, {32000, 31999}, {0, -1}};
    for (const auto& c : cases) {
        FakeBox::answer = c.platform;
        EXPECT_EQ(ShowTimedMessage("x", 33, kConfirmTitle, nullptr, 1000000, FakeBox::Show), c.result);
    }
}

TEST(ShowTimedMessage, DefaultsReplaceOnlyWhatWasNotGiven) {
    FakeBox::answer = 1;
    FakeBox::texts.clear();
    FakeBox::titles.clear();
    ShowTimedMessage("文字", std::nullopt, std::nullopt, std::nullopt, std::nullopt, FakeBox::Show);
    EXPECT_EQ(FakeBox::style, 0u);
    EXPECT_EQ(FakeBox::timeout, 5000u);
    EXPECT_EQ(FakeBox::titles.back(), L"友情提醒");
    EXPECT_EQ(FakeBox::texts.back(), L"文字");
    EXPECT_EQ(FakeBox::owner, nullptr) << "this test process has no visible window";

    // Given zero and empty values are passed as they are; empty texts as null pointers.
    HWND someWindow = reinterpret_cast<HWND>(0x1234);
    ShowTimedMessage("", 0, Text(""), someWindow, 0, FakeBox::Show);
    EXPECT_EQ(FakeBox::style, 0u);
    EXPECT_EQ(FakeBox::timeout, 0u);
    EXPECT_EQ(FakeBox::owner, someWindow);
    EXPECT_TRUE(FakeBox::nullText.back());
    EXPECT_TRUE(FakeBox::nullTitle.back());
    ShowTimedMessage("x", 16, Text("t"), std::nullopt, 1000000, FakeBox::Show);
    EXPECT_EQ(FakeBox::style, 16u);
    EXPECT_EQ(FakeBox::timeout, 1000000u);
}

}  // namespace
