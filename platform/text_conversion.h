#pragma once
// Conversion between Text (code page 936) and UTF-16, the one place the two meet.

#include "platform/text.h"
#include "platform/wide_bytes.h"

// UTF-16LE of the text in code page 936, ending with one zero unit; empty for empty text.
WideBytes NarrowToWide(const Text& text);

// Code page 936 form of the units before the first zero unit; empty when there are none.
Text WideToNarrow(const WideBytes& wide);

// A copy of a zero-terminated UTF-16 string and its terminator; empty for null or "".
WideBytes WideBytesFromPointer(const wchar_t* source);
