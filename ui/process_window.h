#pragma once
// Finding a visible top-level window of a process, and reading a window's class and title.

#include <cstdint>
#include <optional>

#include "platform/text.h"

// Milliseconds since the system started, wrapping at 2^32 (the platform's GetTickCount; tests
// give their own clock).
using TickFunction = std::uint32_t (*)();
std::uint32_t PlatformTickCount();

// A top-level window without parent of the process that passes the parts given: its title
// contains `titlePart`, its class name contains `classPart`. Only visible windows unless
// `visibleOnly` is given as no. Null when the window list ends or `timeLimitMs` (not given or
// below 0: 31536000) runs out first; the time is tested before every window. Between windows it
// dispatches the messages waiting for this thread, leaving a quit message in the queue.
WindowHandle FindProcessTopWindow(ProcessId processId, std::optional<Text> titlePart = std::nullopt,
                                  std::optional<Text> classPart = std::nullopt,
                                  std::optional<std::int32_t> timeLimitMs = std::nullopt,
                                  std::optional<bool> visibleOnly = std::nullopt,
                                  TickFunction tickCount = PlatformTickCount);

// The window's class name; empty when it cannot be read.
Text GetWindowClassText(WindowHandle window);

// The window's title in code page 936; empty for a window without title.
Text GetWindowTitleText(WindowHandle window);
