#pragma once
// How two executable names are compared: ASCII letters folded, double-byte characters of code
// page 936 kept whole. No Windows call.

#include <string_view>

#include "platform/text.h"

// The name with A-Z made a-z; a byte of 0x80 or above and the byte after it stay as they are.
Text NameKeyOf(std::string_view name);

bool NamesMatchByKey(std::string_view a, std::string_view b);
