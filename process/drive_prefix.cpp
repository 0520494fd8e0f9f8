#include "process/drive_prefix.h"

#include <algorithm>

namespace {

std::uint16_t UnitAt(const WideBytes& bytes, std::size_t unit) {
    return static_cast<std::uint16_t>(bytes[unit * 2] | (bytes[unit * 2 + 1] << 8));
}

}  // namespace

std::optional<WideBytes> RewriteForDrive(const WideBytes& path, std::span<const std::uint8_t> answer,
                                         std::size_t units, char driveLetter) {
    if (units < 2 || units * 2 > answer.size()) return std::nullopt;
    const std::size_t prefixBytes = units * 2 - 2;
    // The device name, then a backslash where its first terminating zero unit was.
    WideBytes prefix(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(prefixBytes));
    prefix[prefixBytes - 2] = 0x5C;
    prefix[prefixBytes - 1] = 0x00;
    if (path.size() < prefix.size() || !std::equal(prefix.begin(), prefix.end(), path.begin()))
        return std::nullopt;
    WideBytes rewritten{static_cast<std::uint8_t>(driveLetter), 0, ':', 0, '\\', 0};
    rewritten.insert(rewritten.end(), path.begin() + static_cast<std::ptrdiff_t>(prefixBytes), path.end());
    return rewritten;
}

WideBytes StripNtDrivePrefix(const WideBytes& path) {
    if (path.size() < 12) return path;
    const std::uint16_t letter = UnitAt(path, 4);
    const bool isDriveLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    if (UnitAt(path, 0) == '\\' && UnitAt(path, 1) == '?' && UnitAt(path, 2) == '?' &&
        UnitAt(path, 3) == '\\' && isDriveLetter && UnitAt(path, 5) == ':')
        return WideBytes(path.begin() + 8, path.end());
    return path;
}
