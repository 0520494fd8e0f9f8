// A program of its own: the DLL search order it changes belongs to the whole process.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/dll_search.h"
#include "tests/win/test_processes.h"

namespace {

TEST(RestrictDllSearchToSystemFolder, APlantedDllBesideTheProgramIsNoLongerLoaded) {
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring planted = own;
    planted = planted.substr(0, planted.rfind(L'\\')) + L"\\cradle-planted.dll";
    PlaceFile(FixturePath(L"original\\Assembly-CSharp.dll"), planted);

    HMODULE before = LoadLibraryW(L"cradle-planted.dll");
    EXPECT_NE(before, nullptr) << "by default the program's own folder is searched first";
    if (before != nullptr) FreeLibrary(before);

    EXPECT_TRUE(RestrictDllSearchToSystemFolder());
    EXPECT_EQ(LoadLibraryW(L"cradle-planted.dll"), nullptr);
    HMODULE system = LoadLibraryW(L"user32.dll");
    EXPECT_NE(system, nullptr);
    FreeLibrary(system);
    DeleteFileW(planted.c_str());
}

}  // namespace
