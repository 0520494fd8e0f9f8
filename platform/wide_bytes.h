#pragma once
// Byte-level handling of UTF-16LE buffers; no Windows call, so it also builds natively.

#include "platform/text.h"

// The bytes before the first zero unit, plus one zero unit when `reterminate` is set.
// A trailing odd byte is never examined and never kept.
WideBytes TrimWideAtTerminator(const WideBytes& wide, bool reterminate = false);

// The units as a pointer for a wide platform call; null for the empty value.
const wchar_t* WideChars(const WideBytes& wide);
