#include "app/installer_state.h"

#include <cstdlib>

#include "platform/dll_search.h"

InstallerState& Installer() {
    static InstallerState state;
    return state;
}

void StartInstaller() {
    RestrictDllSearchToSystemFolder();
    Installer().console.emplace();
    std::atexit(&ReleaseInstallerState);
}

void ReleaseInstallerState() {
    InstallerState& state = Installer();
    state.gameFolder.clear();
    state.gameFolder.shrink_to_fit();
    state.gameExecutableName.clear();
    state.gameExecutableName.shrink_to_fit();
    state.console.reset();
}

void PrintLine(ConsoleColour foreground, ConsoleColour background, const Text& text) {
    if (Installer().console) Installer().console->Write(std::nullopt, std::nullopt, false, foreground, background, text);
}
