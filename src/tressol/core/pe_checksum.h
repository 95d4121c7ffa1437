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

// A range of a file's bytes, from its first byte's offset.
struct ByteRange {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

// What one read of a whole file tells of it: its PE checksum, and a 64-bit digest (XXH64)
// of every byte but the CheckSum field and the ranges left out. A change writes only
// there, so the digest is the same before and after it, and an edit that keeps the 16-bit
// sum (two words swapped, +1 and -1) still shows.
struct FileSums {
  std::uint32_t checksum = 0;
  std::uint64_t digest = 0;
};
FileSums SumFile(TargetFile& file, std::uint64_t checksumOffset,
                 const std::vector<ByteRange>& leftOut, std::size_t chunk = kChecksumChunk);

// XXH64 of a stream of bytes given in pieces of any size, seed 0.
class Digest64 {
 public:
  void Add(const std::uint8_t* bytes, std::size_t size);
  std::uint64_t Value() const;

 private:
  std::uint64_t lanes_[4] = {0x60EA27EEADC0B5D6u, 0xC2B2AE3D27D4EB4Fu, 0, 0x61C8864E7A143579u};
  std::uint8_t stripe_[32] = {};
  std::size_t buffered_ = 0;
  std::uint64_t total_ = 0;
};

// The checksum after the words of an even-aligned range change from before to after,
// computed from the stored one alone. Nothing when the stored one cannot be a checksum
// of a file of this length.
std::optional<std::uint32_t> UpdatedPeChecksum(std::uint32_t stored, std::uint64_t fileSize,
                                               const std::vector<std::uint8_t>& before,
                                               const std::vector<std::uint8_t>& after);

}  // namespace tressol
