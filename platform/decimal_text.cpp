#include "platform/decimal_text.h"

#include <charconv>

Text DecimalText(std::int32_t value) {
    char digits[12];
    const auto end = std::to_chars(digits, digits + sizeof(digits), value).ptr;
    return Text(digits, end);
}
