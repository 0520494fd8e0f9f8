#include "ui/text_contains.h"

bool TextContainsPart(std::string_view text, std::string_view part) {
    if (text.empty()) return false;
    for (std::size_t i = 0; i < text.size(); i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1) {
        if (text.substr(i, part.size()) == part) return true;
    }
    return false;
}
