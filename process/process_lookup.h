#pragma once
// Finding the game's window and process, and ending a process.

#include <cstdint>

#include "platform/text.h"

// The first window among the children of `parent` (the top-level windows when it is null), after
// `after`, whose class name and whole title match; empty texts match any. Null when none does.
WindowHandle FindTopWindowByTitle(WindowHandle parent, WindowHandle after, const Text& className,
                                  const Text& title);

// The id of the first process in a fresh snapshot whose executable name matches by name key;
// 0 when none does.
ProcessId FindProcessIdByExeName(const Text& exeName);

// Ends the process (0: the calling process) with exit code 0. Yes when the platform accepted the
// termination; it does not wait for the process to be gone.
bool TerminateProcessById(ProcessId processId);

// Yes when the process has ended within `timeoutMs`, or no process has that id any more.
bool WaitForProcessExit(ProcessId processId, std::uint32_t timeoutMs);
