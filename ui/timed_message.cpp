#include "ui/timed_message.h"

#include <windows.h>

#include "platform/handles.h"
#include "platform/text_conversion.h"
#include "ui/process_window.h"

namespace {

using MessageBoxTimeoutWFunction = int(WINAPI*)(HWND owner, LPCWSTR text, LPCWSTR title, UINT style,
                                                WORD language, DWORD timeoutMs);
using ModuleOwner = Owner<HMODULE, &FreeLibrary>;

MessageBoxTimeoutWFunction LookUpMessageBoxTimeout() {
    static ModuleOwner user32(LoadLibraryW(L"user32.dll"));
    if (!user32) return nullptr;
    return reinterpret_cast<MessageBoxTimeoutWFunction>(
        reinterpret_cast<void*>(GetProcAddress(user32.Get(), "MessageBoxTimeoutW")));
}

}  // namespace

int PlatformMessageBox(WindowHandle owner, const wchar_t* text, const wchar_t* title, std::uint32_t style,
                       std::uint32_t timeoutMs) {
    static const MessageBoxTimeoutWFunction timed = LookUpMessageBoxTimeout();
    if (timed != nullptr) return timed(owner, text, title, style, 0, timeoutMs);
    return MessageBoxW(owner, text, title, style);
}

std::int32_t ShowTimedMessage(const Text& text, std::optional<std::int32_t> style, std::optional<Text> title,
                              std::optional<WindowHandle> owner, std::optional<std::int32_t> timeoutMs,
                              MessageBoxFunction show) {
    const WindowHandle boxOwner =
        owner ? *owner : FindProcessTopWindow(GetCurrentProcessId(), std::nullopt, std::nullopt, 1000);
    // Converted from code page 936 for the wide box: the narrow one would read the text in the
    // system's ANSI code page and show garbage on any Windows not set to 936.
    const WideBytes wideText = NarrowToWide(text);
    const WideBytes wideTitle = NarrowToWide(title ? *title : Text("友情提醒"));
    const int answer = show(boxOwner, WideChars(wideText), WideChars(wideTitle),
                            static_cast<std::uint32_t>(style.value_or(0)),
                            static_cast<std::uint32_t>(timeoutMs.value_or(5000)));
    return answer - 1;
}
