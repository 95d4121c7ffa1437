#include "pe_checksum.h"

#include <algorithm>
#include <cstring>
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

bool HostIsLittleEndian() {
  const std::uint32_t one = 1;
  std::uint8_t first = 0;
  std::memcpy(&first, &one, 1);
  return first == 1;
}

// The sum of little-endian 32-bit words. Copied as the host holds them where that is
// little-endian, which compilers turn into wide loads and adds; assembled byte by byte
// elsewhere.
std::uint64_t WordsSum(const std::uint8_t* bytes, std::size_t words) {
  std::uint64_t sum = 0;
  if (HostIsLittleEndian()) {
    for (std::size_t i = 0; i < words; ++i) {
      std::uint32_t word = 0;
      std::memcpy(&word, bytes + 4 * i, 4);
      sum += word;
    }
    return sum;
  }
  for (std::size_t i = 0; i < 4 * words; i += 4) {
    sum += bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[i + 3]) << 24);
  }
  return sum;
}

}  // namespace

// Modulo 0xFFFF, 2^16 is 1: the sum of a file's 32-bit words is congruent to the sum of its
// 16-bit words, and a 64-bit total of 32-bit words cannot overflow below 16 GiB. So the
// whole file is summed four bytes at a time, in a loop the compiler vectorises, a piece at a
// time into a buffer that stays in the processor's cache. Never through a mapping: another
// program that shortens the file would end this one with SIGBUS (POSIX), and a drive that
// goes away raises an exception in the middle of the sum (Windows).
std::uint32_t FullPeChecksum(TargetFile& file, std::uint64_t checksumOffset, std::size_t chunk) {
  const std::uint64_t size = file.Size();
  std::uint64_t sum = 0;
  chunk -= chunk % 4;  // no word straddles two pieces
  std::vector<std::uint8_t> piece(chunk);
  for (std::uint64_t at = 0; at < size; at += chunk) {
    const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, size - at));
    file.ReadAt(at, piece.data(), length);
    for (std::uint64_t field = checksumOffset; field < checksumOffset + 4; ++field) {
      if (field >= at && field < at + length) piece[field - at] = 0;
    }
    // The last piece's end padded with zeros to a whole word.
    const std::size_t words = (length + 3) / 4;
    std::fill(piece.begin() + static_cast<std::ptrdiff_t>(length),
              piece.begin() + static_cast<std::ptrdiff_t>(words * 4), 0);
    sum += WordsSum(piece.data(), words);
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
