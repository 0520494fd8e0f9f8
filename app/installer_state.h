#pragma once
// The program-wide record: filled by detection, read by the installation, released at exit.

#include <optional>

#include "platform/text.h"
#include "ui/console_writer.h"

struct InstallerState {
    std::optional<ConsoleWriter> console;
    WindowHandle gameWindow = nullptr;
    ProcessId gameProcessId = 0;
    Text gameFolder;          // ends with a backslash
    Text gameExecutableName;  // extension included
};

InstallerState& Installer();

// Restricts later DLL loads to the system folder, creates the console writer and registers
// ReleaseInstallerState to run when the process ends.
void StartInstaller();

// The exit routine: releases the game folder and name and destroys the console writer.
void ReleaseInstallerState();

// Writes one piece of text through the program's console writer, at the cursor, without
// moving it back; the form every line of the program takes.
void PrintLine(ConsoleColour foreground, ConsoleColour background, const Text& text);
