#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "target_file.h"

namespace tressol {

// The PE checksum of the whole file: the 16-bit one's-complement sum of its little-endian
// words (a last odd byte padded with zero), the CheckSum field counted as zero, plus the
// file's length. Read in pieces of chunk bytes.
inline constexpr std::size_t kChecksumChunk = 256 << 10;
std::uint32_t FullPeChecksum(TargetFile& file, std::uint64_t checksumOffset,
                             std::size_t chunk = kChecksumChunk);

// The checksum after the words of an even-aligned range change from before to after,
// computed from the stored one alone. Nothing when the stored one cannot be a checksum
// of a file of this length.
std::optional<std::uint32_t> UpdatedPeChecksum(std::uint32_t stored, std::uint64_t fileSize,
                                               const std::vector<std::uint8_t>& before,
                                               const std::vector<std::uint8_t>& after);

}  // namespace tressol
