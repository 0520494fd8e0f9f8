#include "ui/process_window.h"

#include <windows.h>

#include "platform/text_conversion.h"
#include "ui/text_contains.h"

namespace {

constexpr std::int32_t kUnlimitedSearchMs = 31536000;

void DispatchWaitingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

std::uint32_t PlatformTickCount() { return GetTickCount(); }

WindowHandle FindProcessTopWindow(ProcessId processId, std::optional<Text> titlePart,
                                  std::optional<Text> classPart, std::optional<std::int32_t> timeLimitMs,
                                  std::optional<bool> visibleOnly, TickFunction tickCount) {
    const bool visible = visibleOnly.value_or(true);
    const std::uint32_t start = tickCount();
    const auto limit = static_cast<std::uint32_t>(timeLimitMs && *timeLimitMs >= 0 ? *timeLimitMs : kUnlimitedSearchMs);
    HWND window = nullptr;
    for (;;) {
        if (static_cast<std::uint32_t>(tickCount() - start) >= limit) return nullptr;
        window = FindWindowExA(nullptr, window, nullptr, nullptr);
        if (window == nullptr) return nullptr;
        if (visible && !IsWindowVisible(window)) continue;
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && GetParent(window) == nullptr) {
            const Text className = GetWindowClassText(window);
            const Text title = GetWindowTitleText(window);
            const bool classPasses = !classPart || TextContainsPart(className, *classPart);
            const bool titlePasses = !titlePart || TextContainsPart(title, *titlePart);
            if (classPasses && titlePasses) return window;
        }
        DispatchWaitingMessages();
    }
}

Text GetWindowClassText(WindowHandle window) {
    char name[261] = {};
    const int length = GetClassNameA(window, name, 260);
    name[length > 0 && length <= 260 ? length : 0] = '\0';
    return Text(name);
}

Text GetWindowTitleText(WindowHandle window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    WideBytes title((static_cast<std::size_t>(length) + 1) * 2, 0);
    GetWindowTextW(window, reinterpret_cast<wchar_t*>(title.data()), length + 1);
    return WideToNarrow(title);
}
