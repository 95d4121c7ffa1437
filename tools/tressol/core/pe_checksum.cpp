#include "pe_checksum.h"

#include <algorithm>
#include <optional>

namespace tressol {
namespace {

std::uint64_t WordSum(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    sum += bytes[i] | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0);
  }
  return sum;
}

// The end-around-carry fold: congruent to the sum modulo 0xFFFF, zero only for zero.
std::uint32_t Fold(std::uint64_t sum) {
  while (sum > 0xFFFF) {
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return static_cast<std::uint32_t>(sum);
}

}  // namespace

std::uint32_t FullPeChecksum(TargetFile& file, std::uint64_t checksumOffset) {
  const std::uint64_t size = file.Size();
  std::uint64_t sum = 0;
  std::vector<std::uint8_t> chunk;
  constexpr std::uint64_t kChunk = 1 << 20;  // even, so words never straddle two chunks
  for (std::uint64_t at = 0; at < size; at += kChunk) {
    chunk = ReadRange(file, at, std::min(kChunk, size - at));
    for (std::uint64_t field = checksumOffset; field < checksumOffset + 4; ++field) {
      if (field >= at && field < at + chunk.size()) chunk[field - at] = 0;
    }
    sum = Fold(sum + WordSum(chunk));
  }
  return Fold(sum) + static_cast<std::uint32_t>(size);
}

std::optional<std::uint32_t> UpdatedPeChecksum(std::uint32_t stored, std::uint64_t fileSize,
                                               const std::vector<std::uint8_t>& before,
                                               const std::vector<std::uint8_t>& after) {
  const std::uint32_t length = static_cast<std::uint32_t>(fileSize);
  if (stored < length || stored - length > 0xFFFF || stored == length) {
    return std::nullopt;
  }
  const std::uint64_t folded = stored - length;
  // Modulo 0xFFFF, subtracting a word is adding its complement.
  const std::uint64_t removed = WordSum(before) % 0xFFFF;
  std::uint64_t sum = (folded % 0xFFFF) + (0xFFFF - removed) + WordSum(after) % 0xFFFF;
  sum %= 0xFFFF;
  // A file that is not all zero never sums to 0, but to its congruent 0xFFFF.
  return static_cast<std::uint32_t>(sum == 0 ? 0xFFFF : sum) + length;
}

}  // namespace tressol
