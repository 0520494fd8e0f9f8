// The name key keeps the length, folds only A-Z outside double-byte characters, and is stable.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "process/name_key.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const Text key = NameKeyOf(name);
    FUZZ_EXPECT(key.size() == name.size());
    FUZZ_EXPECT(NameKeyOf(key) == key);
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte >= 0x80) {
            FUZZ_EXPECT(key.compare(i, 2, name.substr(i, 2)) == 0);  // the character stays whole
            ++i;
            continue;
        }
        const auto folded = static_cast<unsigned char>(key[i]);
        FUZZ_EXPECT(folded == ((byte >= 'A' && byte <= 'Z') ? byte + 0x20 : byte));
    }
    const std::string_view half = name.substr(0, size / 2);
    FUZZ_EXPECT(NamesMatchByKey(half, name.substr(size / 2)) == NamesMatchByKey(name.substr(size / 2), half));
    return 0;
}
