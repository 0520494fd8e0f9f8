#pragma once
// Rewriting a kernel device path into drive-letter form, byte by byte. No Windows call.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/text.h"

// `answer` holds the `units` UTF-16 units a drive's device query stored, ending with two zero
// units. Its prefix is the device name with the first of those zero units made a backslash. When
// `path` begins with that prefix (letter case counts), the answer is `path` with the prefix
// replaced by letter, colon and backslash; otherwise nothing. An answer of fewer than two units,
// or one longer than `answer`, never matches.
std::optional<WideBytes> RewriteForDrive(const WideBytes& path, std::span<const std::uint8_t> answer,
                                         std::size_t units, char driveLetter);

// `path` without a leading "\??\" that stands before a drive letter and colon (the form Wine and
// Proton report image names in); any other path unchanged.
WideBytes StripNtDrivePrefix(const WideBytes& path);
