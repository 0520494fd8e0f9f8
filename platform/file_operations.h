#pragma once
// How the installation changes the disk and starts processes. Paths and command lines are Text in
// code page 936 and reach the platform's wide calls converted, whatever the system's code page.

#include <cstdint>
#include <optional>

#include "platform/text.h"

// Success, or the Windows error code of the step that failed.
struct OperationResult {
    bool succeeded = false;
    std::uint32_t errorCode = 0;
    explicit operator bool() const { return succeeded; }
};

void DeleteFileAt(const Text& path);

// Creates or truncates the file and writes all of `data` in one write. Fails for an empty path,
// a file that cannot be opened, or a short write (the file then holds what was written).
OperationResult WriteWholeFile(const Text& path, ByteString data);

// Puts `data` in place of the file at `path` in one step: written whole to a temporary file in
// the same folder, flushed to disk, then moved over the target. On any failure the old file is
// left exactly as it was and the temporary file is removed.
OperationResult ReplaceFileSafely(const Text& path, ByteString data);

// Creates the folder and every missing folder above it (the first level is never created).
// Succeeds when the path names a folder afterwards.
OperationResult CreateDirectoryTree(const Text& path);

// Yes when the path names a folder.
bool IsDirectory(const WideBytes& path);

// Starts the command line; with `wait` until the process ends, otherwise until it is ready for
// input (at most 1000 ms). The show mode is as ShowWindowValueForMode reads it.
OperationResult LaunchCommandLine(const Text& commandLine, bool wait = false,
                                  std::optional<int> showMode = std::nullopt);

// The Windows folder (where the file manager is), without a trailing backslash.
Text WindowsFolder();
