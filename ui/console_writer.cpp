#include "ui/console_writer.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/text_conversion.h"

namespace {

// Writes every byte to a handle that is not a console (a file or a pipe).
bool WriteRedirected(HANDLE output, std::string_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 20));
        if (!WriteFile(output, text.data(), chunk, &written, nullptr) || written == 0) return false;
        text.remove_prefix(written);
    }
    return true;
}

// Shows code-page-936 text as the characters it stands for, whatever the console's code page:
// the bytes themselves would be read in the console's code page (or, through the C runtime,
// in the C locale) and show as other characters.
bool WriteToConsole(HANDLE output, std::string_view text) {
    const WideBytes wide = NarrowToWide(Text(text));
    if (wide.empty()) return true;
    const wchar_t* units = WideChars(wide);
    std::size_t left = wide.size() / 2 - 1;  // without the terminator
    while (left > 0) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(left, 8192));
        if (!WriteConsoleW(output, units, chunk, &written, nullptr) || written == 0) return false;
        units += written;
        left -= written;
    }
    return true;
}

}  // namespace

ConsoleWriter::ConsoleWriter()
    : input_(GetStdHandle(STD_INPUT_HANDLE)), output_(GetStdHandle(STD_OUTPUT_HANDLE)), held_(true) {}

ConsoleWriter::ConsoleWriter(ConsoleWriter&& other) noexcept
    : input_(std::exchange(other.input_, nullptr)),
      output_(std::exchange(other.output_, nullptr)),
      held_(std::exchange(other.held_, false)) {}

ConsoleWriter& ConsoleWriter::operator=(ConsoleWriter&& other) noexcept {
    input_ = std::exchange(other.input_, nullptr);
    output_ = std::exchange(other.output_, nullptr);
    held_ = std::exchange(other.held_, false);
    return *this;
}

int ConsoleWriter::Write(std::optional<int> column, std::optional<int> row, bool restoreCursor,
                         ConsoleColour foreground, ConsoleColour background,
                         std::optional<std::string_view> text) {
    if (!held_) return 0;
    if (!text) return 1;

    CONSOLE_SCREEN_BUFFER_INFO before{};
    if (!GetConsoleScreenBufferInfo(output_, &before)) {
        DWORD mode = 0;
        if (GetConsoleMode(output_, &mode)) return 0;  // a console that would not answer
        return WriteRedirected(output_, *text) ? 1 : 0;
    }

    if (column && row) {
        const COORD position{static_cast<SHORT>(*column & 0xFFFF), static_cast<SHORT>(*row & 0xFFFF)};
        if (!SetConsoleCursorPosition(output_, position)) return 0;
    }
    if (!SetConsoleTextAttribute(output_, ConsoleAttributeOf(foreground, background))) return 0;

    // A failed write still gives the colours back before it is reported.
    const bool written = WriteToConsole(output_, *text);

    if (restoreCursor && !SetConsoleCursorPosition(output_, before.dwCursorPosition)) return 0;
    if (!SetConsoleTextAttribute(output_, before.wAttributes)) return 0;
    return written ? 1 : 0;
}
