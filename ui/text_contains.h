#pragma once
// Whether a text contains a part, byte for byte with letter case significant; a match never
// begins on the second byte of a double-byte character. No Windows call.

#include <string_view>

// An empty part is contained in every non-empty text and in no empty text.
bool TextContainsPart(std::string_view text, std::string_view part);
