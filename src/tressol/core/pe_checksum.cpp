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

// Modulo 0xFFFF, 2^16 is 1: the sum of a file's 32-bit words is congruent to the sum of its
// 16-bit words, and a 64-bit total of 32-bit words cannot overflow below 16 GiB. So the
// whole file is summed four bytes at a time, in a loop the compiler vectorises, a piece at a
// time into a buffer that stays in the processor's cache. Never through a mapping: another
// program that shortens the file would end this one with SIGBUS (POSIX), and a drive that
// goes away raises an exception in the middle of the sum (Windows).
template <class EachPiece>
std::uint32_t SumPieces(TargetFile& file, std::uint64_t checksumOffset, std::size_t chunk,
                        const EachPiece& eachPiece) {
  const std::uint64_t size = file.Size();
  std::uint64_t sum = 0;
  chunk -= chunk % 4;  // no word straddles two pieces
  std::vector<std::uint8_t> piece(chunk);
  for (std::uint64_t at = 0; at < size; at += chunk) {
    const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, size - at));
    file.ReadAt(at, piece.data(), length);
    eachPiece(at, piece.data(), length);
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

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87u;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Fu;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9u;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63u;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5u;

std::uint64_t Rotl(std::uint64_t x, int bits) { return (x << bits) | (x >> (64 - bits)); }

std::uint64_t Le64(const std::uint8_t* bytes) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

std::uint64_t Round(std::uint64_t lane, std::uint64_t input) {
  return Rotl(lane + input * kPrime2, 31) * kPrime1;
}

std::uint64_t Merge(std::uint64_t hash, std::uint64_t lane) {
  return (hash ^ Round(0, lane)) * kPrime1 + kPrime4;
}

}  // namespace

std::uint32_t FullPeChecksum(TargetFile& file, std::uint64_t checksumOffset, std::size_t chunk) {
  return SumPieces(file, checksumOffset, chunk,
                   [](std::uint64_t, const std::uint8_t*, std::size_t) {});
}

FileSums SumFile(TargetFile& file, std::uint64_t checksumOffset,
                 const std::vector<ByteRange>& leftOut, std::size_t chunk) {
  std::vector<ByteRange> gaps = leftOut;
  gaps.push_back({checksumOffset, 4});
  std::sort(gaps.begin(), gaps.end(),
            [](const ByteRange& a, const ByteRange& b) { return a.offset < b.offset; });
  Digest64 digest;
  FileSums sums;
  sums.checksum =
      SumPieces(file, checksumOffset, chunk,
                [&](std::uint64_t at, const std::uint8_t* piece, std::size_t length) {
                  std::uint64_t from = at;
                  const std::uint64_t end = at + length;
                  for (const ByteRange& gap : gaps) {
                    const std::uint64_t gapEnd = gap.offset + gap.size;
                    if (gapEnd <= from || gap.offset >= end) continue;
                    if (gap.offset > from) {
                      digest.Add(piece + (from - at), static_cast<std::size_t>(gap.offset - from));
                    }
                    from = std::max(from, std::min(gapEnd, end));
                  }
                  if (from < end) {
                    digest.Add(piece + (from - at), static_cast<std::size_t>(end - from));
                  }
                });
  sums.digest = digest.Value();
  return sums;
}

void Digest64::Add(const std::uint8_t* bytes, std::size_t size) {
  total_ += size;
  if (buffered_ > 0) {
    const std::size_t part = std::min(size, sizeof stripe_ - buffered_);
    std::memcpy(stripe_ + buffered_, bytes, part);
    buffered_ += part;
    bytes += part;
    size -= part;
    if (buffered_ < sizeof stripe_) return;
    for (int lane = 0; lane < 4; ++lane)
      lanes_[lane] = Round(lanes_[lane], Le64(stripe_ + 8 * lane));
    buffered_ = 0;
  }
  std::uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
  for (; size >= 32; bytes += 32, size -= 32) {
    a = Round(a, Le64(bytes));
    b = Round(b, Le64(bytes + 8));
    c = Round(c, Le64(bytes + 16));
    d = Round(d, Le64(bytes + 24));
  }
  lanes_[0] = a, lanes_[1] = b, lanes_[2] = c, lanes_[3] = d;
  std::memcpy(stripe_, bytes, size);
  buffered_ = size;
}

std::uint64_t Digest64::Value() const {
  std::uint64_t hash = kPrime5;
  if (total_ >= 32) {
    hash = Rotl(lanes_[0], 1) + Rotl(lanes_[1], 7) + Rotl(lanes_[2], 12) + Rotl(lanes_[3], 18);
    for (const std::uint64_t lane : lanes_) hash = Merge(hash, lane);
  }
  hash += total_;
  const std::uint8_t* tail = stripe_;
  std::size_t left = buffered_;
  for (; left >= 8; tail += 8, left -= 8) {
    hash = Rotl(hash ^ Round(0, Le64(tail)), 27) * kPrime1 + kPrime4;
  }
  if (left >= 4) {
    const std::uint64_t word =
        tail[0] | (tail[1] << 8) | (tail[2] << 16) | (static_cast<std::uint64_t>(tail[3]) << 24);
    hash = Rotl(hash ^ (word * kPrime1), 23) * kPrime2 + kPrime3;
    tail += 4;
    left -= 4;
  }
  for (; left > 0; ++tail, --left) hash = Rotl(hash ^ (*tail * kPrime5), 11) * kPrime1;
  hash ^= hash >> 33;
  hash *= kPrime2;
  hash ^= hash >> 29;
  hash *= kPrime3;
  return hash ^ (hash >> 32);
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
