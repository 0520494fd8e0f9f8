// Runs under a pseudo-terminal, where Wine gives the program a real console whose cells and
// attributes can be read back.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/handles.h"
#include "tests/win/acp_expectation.h"
#include "ui/console_writer.h"

namespace {

HANDLE Output() { return GetStdHandle(STD_OUTPUT_HANDLE); }

CONSOLE_SCREEN_BUFFER_INFO ScreenInfo() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    EXPECT_TRUE(GetConsoleScreenBufferInfo(Output(), &info));
    return info;
}

std::wstring CellText(COORD at, DWORD count) {
    std::wstring text(count, L'\0');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(Output(), text.data(), count, at, &read);
    text.resize(read);
    return text;
}

std::vector<WORD> CellAttributes(COORD at, DWORD count) {
    std::vector<WORD> attributes(count);
    DWORD read = 0;
    ReadConsoleOutputAttribute(Output(), attributes.data(), count, at, &read);
    attributes.resize(read);
    return attributes;
}

// A clean line below the cursor to write on, so that test output never overlaps.
COORD FreshLine() {
    const COORD cursor = ScreenInfo().dwCursorPosition;
    const COORD line{0, static_cast<SHORT>(cursor.Y + 1)};
    DWORD done = 0;
    FillConsoleOutputCharacterW(Output(), L' ', 80, line, &done);
    SetConsoleCursorPosition(Output(), line);
    return line;
}

// Sets the console's attribute for the length of a test and puts the usual one back.
class ConsoleWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(GetConsoleScreenBufferInfo(Output(), &original_)) << "needs a real console";
        SetConsoleTextAttribute(Output(), kUnusual);
        line_ = FreshLine();
    }
    void TearDown() override {
        SetConsoleTextAttribute(Output(), original_.wAttributes);
        SetConsoleCursorPosition(Output(), {0, static_cast<SHORT>(ScreenInfo().dwCursorPosition.Y + 1)});
    }
    // Yellow on blue: a console not in its default colours must get exactly these back.
    static constexpr WORD kUnusual = 0x1E;
    CONSOLE_SCREEN_BUFFER_INFO original_{};
    COORD line_{};
    ConsoleWriter writer_;
};

TEST_F(ConsoleWriterTest, ShowsChineseInItsColoursAndGivesTheAttributeBack) {
    const UINT codePage = GetConsoleOutputCP();
    EXPECT_EQ(writer_.Write(std::nullopt, std::nullopt, false, 10, 16, "补丁对比图%d%s"), 1);
    EXPECT_EQ(CellText(line_, 9), L"\u8865\u4e01\u5bf9\u6bd4\u56fe%d%s");
    EXPECT_EQ(CellAttributes(line_, 9), std::vector<WORD>(9, 0xFC));
    EXPECT_EQ(ScreenInfo().wAttributes, kUnusual);
    // The cursor stays behind the text; the console's code page is never changed.
    EXPECT_EQ(ScreenInfo().dwCursorPosition.X, line_.X + 9);
    EXPECT_EQ(GetConsoleOutputCP(), codePage);
    EXPECT_EQ(codePage, ExpectedAnsiCodePage() == 936 ? 936u : 437u);
}

TEST_F(ConsoleWriterTest, OutOfRangeCodesAreGreyAndOnlyTheLow16BitsCount) {
    EXPECT_EQ(writer_.Write(std::nullopt, std::nullopt, false, 0, 17, "ab"), 1);
    EXPECT_EQ(writer_.Write(std::nullopt, std::nullopt, false, 0x10001, -1, "cd"), 1);
    EXPECT_EQ(CellAttributes(line_, 4), (std::vector<WORD>{0x77, 0x77, 0x70, 0x70}));
}

TEST_F(ConsoleWriterTest, MovesToThePositionOnlyWhenBothAreGiven) {
    const SHORT row = line_.Y;
    EXPECT_EQ(writer_.Write(0x10005, row, false, 11, 1, "X"), 1);  // column folds to 5
    EXPECT_EQ(CellText({5, row}, 1), L"X");
    EXPECT_EQ(ScreenInfo().dwCursorPosition.X, 6);

    EXPECT_EQ(writer_.Write(20, std::nullopt, false, 11, 1, "Y"), 1);
    EXPECT_EQ(writer_.Write(std::nullopt, 0, false, 11, 1, "Z"), 1);
    EXPECT_EQ(CellText({6, row}, 2), L"YZ");
}

TEST_F(ConsoleWriterTest, RestoresTheCursorToWhereItWasBeforeTheMove) {
    const COORD before = ScreenInfo().dwCursorPosition;
    EXPECT_EQ(writer_.Write(30, line_.Y, true, 7, 1, "here"), 1);
    EXPECT_EQ(CellText({30, line_.Y}, 4), L"here");
    const COORD after = ScreenInfo().dwCursorPosition;
    EXPECT_EQ(after.X, before.X);
    EXPECT_EQ(after.Y, before.Y);
}

TEST_F(ConsoleWriterTest, EmptyAndAbsentTextChangeNothing) {
    const COORD before = ScreenInfo().dwCursorPosition;
    EXPECT_EQ(writer_.Write(std::nullopt, std::nullopt, false, 10, 16, ""), 1);
    EXPECT_EQ(writer_.Write(std::nullopt, std::nullopt, false, 10, 16, std::nullopt), 1);
    EXPECT_EQ(ScreenInfo().dwCursorPosition.X, before.X);
    EXPECT_EQ(ScreenInfo().wAttributes, kUnusual);
}

TEST_F(ConsoleWriterTest, AFailedMoveWritesNothingAndKeepsTheColours) {
    EXPECT_EQ(writer_.Write(30000, line_.Y, false, 10, 16, "never"), 0);
    EXPECT_EQ(ScreenInfo().wAttributes, kUnusual);
    EXPECT_EQ(CellText(line_, 5), L"     ");
}

TEST_F(ConsoleWriterTest, AReleasedWriterAnswersNo) {
    ConsoleWriter taken = std::move(writer_);
    EXPECT_EQ(writer_.Write(std::nullopt, std::nullopt, false, 10, 16, "x"), 0);
    EXPECT_EQ(writer_.Write(std::nullopt, std::nullopt, false, 10, 16, std::nullopt), 0);
    EXPECT_EQ(taken.Write(std::nullopt, std::nullopt, false, 10, 16, "y"), 1);
    EXPECT_EQ(CellText(line_, 1), L"y");
}

// Standard output swapped for another handle while a writer is made over it.
class RedirectedOutput {
public:
    explicit RedirectedOutput(HANDLE replacement) : saved_(Output()) {
        SetStdHandle(STD_OUTPUT_HANDLE, replacement);
    }
    ~RedirectedOutput() { SetStdHandle(STD_OUTPUT_HANDLE, saved_); }
    RedirectedOutput(const RedirectedOutput&) = delete;
    RedirectedOutput& operator=(const RedirectedOutput&) = delete;

private:
    HANDLE saved_;
};

std::string ReadFileBytes(const wchar_t* path) {
    FileHandleOwner file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    std::string bytes(4096, '\0');
    DWORD read = 0;
    ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

TEST(ConsoleWriterRedirected, AFileReceivesTheCodePage936BytesWithoutColours) {
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"cw", 0, path);
    {
        FileHandleOwner file(CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.Valid());
        RedirectedOutput redirect(file.Get());
        ConsoleWriter writer;
        EXPECT_EQ(writer.Write(std::nullopt, std::nullopt, false, 10, 16, "补丁%d\r\n"), 1);
        EXPECT_EQ(writer.Write(std::nullopt, std::nullopt, false, 11, 1, ""), 1);
        EXPECT_EQ(writer.Write(3, 4, true, 11, 1, "B"), 1);
    }
    EXPECT_EQ(ReadFileBytes(path), "\xB2\xB9\xB6\xA1%d\r\nB");
    DeleteFileW(path);
}

TEST(ConsoleWriterRedirected, APipeReceivesTheBytes) {
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    HandleOwner reader(readEnd), pipeWriter(writeEnd);
    {
        RedirectedOutput redirect(pipeWriter.Get());
        ConsoleWriter writer;
        EXPECT_EQ(writer.Write(std::nullopt, std::nullopt, false, 16, 6, "结束"), 1);
    }
    pipeWriter.Reset();
    char bytes[16] = {};
    DWORD read = 0;
    ReadFile(reader.Get(), bytes, sizeof bytes, &read, nullptr);
    EXPECT_EQ(std::string(bytes, read), "\xBD\xE1\xCA\xF8");
}

TEST(ConsoleWriterRedirected, NoUsableOutputAnswersNo) {
    RedirectedOutput redirect(INVALID_HANDLE_VALUE);
    ConsoleWriter writer;
    EXPECT_EQ(writer.Write(std::nullopt, std::nullopt, false, 10, 16, "x"), 0);
    EXPECT_EQ(writer.Write(std::nullopt, std::nullopt, false, 10, 16, std::nullopt), 1);
}

}  // namespace
