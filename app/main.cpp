// CradlePatch: installs the patch into a running copy of the game. Reads no arguments.

#include "app/installer_state.h"
#include "app/main_sequence.h"

int main() {
    StartInstaller();
    RunMainSequence();
    return 0;
}
