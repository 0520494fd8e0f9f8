#pragma once
// The ANSI code page a test run was started under, from the locale the harness gave Wine.

#include <cstdlib>
#include <cstring>

inline unsigned ExpectedAnsiCodePage() {
    const char* locale = std::getenv("LC_ALL");
    if (locale != nullptr && std::strncmp(locale, "en_US", 5) == 0) return 1252;
    return 936;
}
