// A stand-in for the game's script assembly: a small library that says which build it is.
// Built as the original (the tests' game folder) and as the patched build (the sample payload).

#include <windows.h>

#ifndef CRADLE_STAND_IN_PATCHED
#error "build with -DCRADLE_STAND_IN_PATCHED=0 (original) or 1 (patched)"
#endif

extern "C" __declspec(dllexport) const char* StandInAssemblyBuild() {
    return CRADLE_STAND_IN_PATCHED ? "AliceInCradle stand-in assembly: PATCHED build"
                                   : "AliceInCradle stand-in assembly: ORIGINAL build";
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
