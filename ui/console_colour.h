#pragma once
// The colour table of console writes; plain numbers, no Windows call.

#include <cstdint>

// 1..16: black, red, green, yellow, blue, magenta, cyan, light grey, then the same eight
// bright; every other code is light grey. Only the low 16 bits of a code count.
using ConsoleColour = std::int32_t;

std::uint16_t ConsoleForegroundValue(ConsoleColour code);
std::uint16_t ConsoleBackgroundValue(ConsoleColour code);
// The console attribute word for a foreground and a background code.
std::uint16_t ConsoleAttributeOf(ConsoleColour foreground, ConsoleColour background);
