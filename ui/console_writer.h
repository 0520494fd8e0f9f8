#pragma once
// Every line the program shows goes through one ConsoleWriter: one piece of text in its own
// colours, the console's colours given back afterwards.

#include <optional>
#include <string_view>

#include "ui/console_colour.h"

class ConsoleWriter {
public:
    // Takes the standard input and output handles as they are; an invalid one only makes
    // later writes fail.
    ConsoleWriter();
    ConsoleWriter(const ConsoleWriter&) = delete;
    ConsoleWriter& operator=(const ConsoleWriter&) = delete;
    // A moved-from writer is released: its writes do nothing and answer 0.
    ConsoleWriter(ConsoleWriter&& other) noexcept;
    ConsoleWriter& operator=(ConsoleWriter&& other) noexcept;
    ~ConsoleWriter() = default;

    // Writes `text` (code page 936) at the optional position in the given colours and restores
    // the console's attribute word, and the cursor when `restoreCursor` is set. On a console the
    // text is shown as Chinese whatever the console's code page; redirected output receives the
    // bytes unchanged, without colours. Answers 1 on success, 0 on failure; an absent text
    // answers 1 without touching the console.
    int Write(std::optional<int> column, std::optional<int> row, bool restoreCursor,
              ConsoleColour foreground, ConsoleColour background,
              std::optional<std::string_view> text);

private:
    // The standard handles, never duplicated or closed by the writer.
    void* input_ = nullptr;
    void* output_ = nullptr;
    bool held_ = false;
};
