#include "process/name_key.h"

Text NameKeyOf(std::string_view name) {
    Text key(name);
    for (std::size_t i = 0; i < key.size();) {
        const auto byte = static_cast<unsigned char>(key[i]);
        if (byte >= 0x80) {
            i += 2;  // the second byte of the character is never folded
            continue;
        }
        if (byte >= 'A' && byte <= 'Z') key[i] = static_cast<char>(byte + 0x20);
        ++i;
    }
    return key;
}

bool NamesMatchByKey(std::string_view a, std::string_view b) { return NameKeyOf(a) == NameKeyOf(b); }
