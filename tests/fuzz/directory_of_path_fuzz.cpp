// The folder is a prefix of the path that is empty or ends at a real separator.

#include <cstddef>
#include <cstdint>

#include "process/directory_of_path.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text path(reinterpret_cast<const char*>(data), size);
    const Text folder = DirectoryOfPath(path);
    FUZZ_EXPECT(folder.size() <= path.size());
    FUZZ_EXPECT(path.compare(0, folder.size(), folder) == 0);
    if (folder.empty()) return 0;
    FUZZ_EXPECT(folder.back() == '\\');
    // That backslash is not the second byte of a double-byte character.
    std::size_t i = 0;
    while (i < folder.size() - 1) i += static_cast<unsigned char>(folder[i]) >= 0x80 ? 2 : 1;
    FUZZ_EXPECT(i == folder.size() - 1);
    // Nothing after it, short of a trailing backslash, is a real separator.
    const Text rest = path.substr(folder.size(), path.size() - folder.size() - (path.back() == '\\' ? 1 : 0));
    for (std::size_t j = 0; j < rest.size(); ++j) {
        const auto byte = static_cast<unsigned char>(rest[j]);
        if (byte >= 0x80) ++j;
        else FUZZ_EXPECT(byte != '\\');
    }
    return 0;
}
