#pragma once
// A modal message box that closes by itself when its time runs out.

#include <cstdint>
#include <optional>

#include "platform/text.h"

// The platform's box: shows it and answers the number of the button that closed it, 32000 when
// the time ran out, 0 when no box could be shown. Null text or title pointers are allowed.
using MessageBoxFunction = int (*)(WindowHandle owner, const wchar_t* text, const wchar_t* title,
                                   std::uint32_t style, std::uint32_t timeoutMs);
// MessageBoxTimeoutW of user32.dll, looked up when first used; MessageBoxW, without a time-out,
// where user32.dll lacks it.
int PlatformMessageBox(WindowHandle owner, const wchar_t* text, const wchar_t* title, std::uint32_t style,
                       std::uint32_t timeoutMs);

// Shows `text` and answers the platform's answer less one: 0 for OK, 1 for Cancel (also Escape and
// the close box when there is a Cancel button), 31999 when the time ran out, -1 when no box could
// be shown. Not given: style 0, title "友情提醒", the owner found among this process's visible
// windows (within 1000 ms), a time-out of 5000 ms. Given values are used as they are: an owner of
// null means none, an empty title the platform's default caption.
std::int32_t ShowTimedMessage(const Text& text, std::optional<std::int32_t> style = std::nullopt,
                              std::optional<Text> title = std::nullopt,
                              std::optional<WindowHandle> owner = std::nullopt,
                              std::optional<std::int32_t> timeoutMs = std::nullopt,
                              MessageBoxFunction show = PlatformMessageBox);
