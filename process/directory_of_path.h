#pragma once
// The folder part of a path, by the byte rules of code page 936. No Windows call.

#include "platform/text.h"

// Everything up to and including the last backslash, after one trailing backslash is dropped;
// empty when no backslash is left. The second byte of a double-byte character (0x5C in 淺) is
// never taken for a separator.
Text DirectoryOfPath(const Text& path);
