#pragma once

#include <cstdint>

#include "platform/text.h"

// "错误 <code>：<the system's message for it>" in code page 936.
Text WindowsErrorText(std::uint32_t errorCode);
