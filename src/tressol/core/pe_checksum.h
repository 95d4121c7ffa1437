#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "target_file.h"

namespace tressol {

// The PE checksum of the whole file: the 16-bit one's-complement sum of its little-endian
// words (a last odd byte padded with zero), the CheckSum field counted as zero, plus the
// file's length. Read in pieces of chunk bytes: pieces of 2 MiB change turns half as often
// as pieces of 1 MiB, which measured 0.05 to 0.2 reads more on 256 MB.
inline constexpr std::size_t kChecksumChunk = 2 << 20;
std::uint32_t FullPeChecksum(TargetFile& file, std::uint64_t checksumOffset,
                             std::size_t chunk = kChecksumChunk);

// A range of a file's bytes, from its first byte's offset.
struct ByteRange {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

// What one read of a whole file tells of it: its PE checksum, and a 64-bit digest of every
// byte but the CheckSum field and the ranges left out. A change writes only there, so the
// digest is the same before and after it, and an edit that keeps the 16-bit sum (two words
// swapped, +1 and -1) still shows.
struct FileSums {
  std::uint32_t checksum = 0;
  std::uint64_t digest = 0;
};
FileSums SumFile(TargetFile& file, std::uint64_t checksumOffset,
                 const std::vector<ByteRange>& leftOut, std::size_t chunk = kChecksumChunk);

// Whether the processor and the system give 256-bit integer vectors (x86-64's AVX2).
bool WideVectors();

// A 64-bit digest of a stream of bytes given in pieces of any size: XXH3's construction for
// long inputs (stripes of 64 bytes into eight lanes, one 32-bit multiply for eight bytes,
// which compilers vectorise) with a secret of our own, so that the digest costs less than
// reading the file. For more than 240 bytes it is XXH3_64bits_withSecret of that secret;
// shorter inputs, never a PE image, take the same construction.
class Digest64 {
 public:
  static constexpr std::size_t kStripe = 64;
  static constexpr std::size_t kSecretSize = 192;
  // Wide: with 256-bit vectors, which only some processors have; the same digest.
  explicit Digest64(bool wide = WideVectors()) : wide_(wide) {}
  void Add(const std::uint8_t* bytes, std::size_t size);
  std::uint64_t Value() const;
  static const std::uint8_t* Secret();

 private:
  // Takes count whole stripes; returns the bytes taken.
  std::size_t Take(const std::uint8_t* stripes, std::size_t count);

  bool wide_;
  std::uint64_t lanes_[8] = {0xC2B2AE3Du,         0x9E3779B185EBCA87u, 0xC2B2AE3D27D4EB4Fu,
                             0x165667B19E3779F9u, 0x85EBCA77C2B2AE63u, 0x85EBCA77u,
                             0x27D4EB2F165667C5u, 0x9E3779B1u};
  std::uint8_t pending_[kStripe] = {};  // not taken yet: a stripe waits for a byte after it
  std::size_t pendingSize_ = 0;
  std::uint8_t last_[kStripe] = {};  // the last stripe taken
  std::size_t stripesInBlock_ = 0;
  std::uint64_t total_ = 0;
};

// The checksum after the words of an even-aligned range change from before to after,
// computed from the stored one alone. Nothing when the stored one cannot be a checksum
// of a file of this length.
std::optional<std::uint32_t> UpdatedPeChecksum(std::uint32_t stored, std::uint64_t fileSize,
                                               const std::vector<std::uint8_t>& before,
                                               const std::vector<std::uint8_t>& after);

}  // namespace tressol
