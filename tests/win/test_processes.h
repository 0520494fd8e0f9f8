#pragma once
// Helpers of the Windows tests: fixture programs placed where a test wants them and started
// as real processes.

#include <windows.h>

#include <string>

#include "platform/handles.h"

// A fixture program built beside the tests (CRADLE_FIXTURE_DIR, a Unix path seen as drive Z:).
std::wstring FixturePath(const wchar_t* fileName);

// Copies `source` to `target`, creating the folders above it.
void PlaceFile(const std::wstring& source, const std::wstring& target);

// Creates every missing folder of `folder`.
void MakeFolders(const std::wstring& folder);

// Removes a folder and everything in it.
void RemoveTree(const std::wstring& folder);

// A process started for a test, ended when the test is done with it.
class StartedProcess {
public:
    // Starts `exe` with `arguments`; with `waitForWindow` it returns once the process shows a
    // top-level window.
    StartedProcess(const std::wstring& exe, const std::wstring& arguments, bool waitForWindow = true);
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_.Get(); }
    bool Started() const { return process_.Valid(); }
    HWND Window() const { return window_; }
    // Yes when the process has ended within `milliseconds`.
    bool EndsWithin(DWORD milliseconds) const;

private:
    HandleOwner process_;
    DWORD id_ = 0;
    HWND window_ = nullptr;
};

// The first visible top-level window of a process, waiting up to `milliseconds` for it.
HWND WaitForWindowOf(DWORD processId, DWORD milliseconds);

// Handles the calling process holds now.
DWORD OpenHandleCount();
