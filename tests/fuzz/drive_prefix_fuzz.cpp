// The drive rewrite reads only what the answer holds and yields letter, colon, backslash and the
// rest of the path; the NT prefix is only ever taken off the front.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "process/drive_prefix.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // First byte: the unit count the query claims; second: where the answer ends and the path begins.
    const std::size_t units = data[0] * 2u;
    const std::size_t split = 2 + data[1] % (size - 1);
    const std::vector<std::uint8_t> answer(data + 2, data + std::min(split, size));
    const WideBytes path(data + std::min(split, size), data + size);
    if (const auto rewritten = RewriteForDrive(path, answer, units, 'C')) {
        FUZZ_EXPECT(units >= 2 && units * 2 <= answer.size());
        const std::size_t prefix = units * 2 - 2;
        FUZZ_EXPECT(rewritten->size() == path.size() - prefix + 6);
        FUZZ_EXPECT((*rewritten)[0] == 'C' && (*rewritten)[2] == ':' && (*rewritten)[4] == '\\');
        FUZZ_EXPECT(std::equal(path.begin() + static_cast<std::ptrdiff_t>(prefix), path.end(), rewritten->begin() + 6));
    }
    const WideBytes stripped = StripNtDrivePrefix(path);
    FUZZ_EXPECT(stripped.size() == path.size() || stripped.size() + 8 == path.size());
    FUZZ_EXPECT(std::equal(stripped.rbegin(), stripped.rend(), path.rbegin()));
    return 0;
}
