#pragma once
// Numbers as the program prints them. No Windows call.

#include <cstdint>

#include "platform/text.h"

// Signed decimal, as "%d" writes it: 0 is "0", 0xFFFFFFFF is "-1".
Text DecimalText(std::int32_t value);
