#include "pe_checksum.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <iterator>
#include <memory>
#include <optional>
#include <thread>

#if defined(__SSE2__) || defined(_M_X64)
#include <immintrin.h>
#define TRESSOL_X86 1
#if defined(_MSC_VER)
#include <intrin.h>
#define TRESSOL_WIDE
#else
#include <cpuid.h>
#define TRESSOL_WIDE __attribute__((target("avx2")))
#endif
#endif

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

#if TRESSOL_X86
// As below, sixteen words at a time.
TRESSOL_WIDE std::uint64_t WideWordsSum(const std::uint8_t* bytes, std::size_t words) {
  __m256i all = _mm256_setzero_si256(), upper = _mm256_setzero_si256();
  for (std::size_t i = 0; i < words; i += 8) {
    const __m256i eight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + 4 * i));
    all = _mm256_add_epi64(all, eight);
    upper = _mm256_add_epi64(upper, _mm256_srli_epi64(eight, 32));
  }
  std::uint64_t lanes[8];
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), all);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes + 4), upper);
  const std::uint64_t high = lanes[4] + lanes[5] + lanes[6] + lanes[7];
  return (lanes[0] + lanes[1] + lanes[2] + lanes[3] - (high << 32)) + high;
}
#endif

// The sum of little-endian 32-bit words. Copied as the host holds them where that is
// little-endian, which compilers turn into wide loads and adds; assembled byte by byte
// elsewhere.
std::uint64_t WordsSum(const std::uint8_t* bytes, std::size_t words, bool wide) {
  std::uint64_t sum = 0;
  std::size_t i = 0;
#if TRESSOL_X86
  if (wide) {
    i = words - words % 8;
    sum = WideWordsSum(bytes, i);
  }
  // Eight words at a time as four 64-bit ones, whose sum wraps, beside the sum of their upper
  // halves, which does not: the lower halves' sum is the difference, exact below 2^64. Two
  // pairs of sums, so that each add waits for none of the others.
  __m128i all[2] = {_mm_setzero_si128(), _mm_setzero_si128()};
  __m128i upper[2] = {_mm_setzero_si128(), _mm_setzero_si128()};
  for (; i + 8 <= words; i += 8) {
    for (int half = 0; half < 2; ++half) {
      const __m128i four =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 4 * i + 16 * half));
      all[half] = _mm_add_epi64(all[half], four);
      upper[half] = _mm_add_epi64(upper[half], _mm_srli_epi64(four, 32));
    }
  }
  std::uint64_t lanes[4];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), _mm_add_epi64(all[0], all[1]));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes + 2), _mm_add_epi64(upper[0], upper[1]));
  const std::uint64_t high = lanes[2] + lanes[3];
  sum += (lanes[0] + lanes[1] - (high << 32)) + high;
#else
  static_cast<void>(wide);
#endif
  if (HostIsLittleEndian()) {
    for (; i < words; ++i) {
      std::uint32_t word = 0;
      std::memcpy(&word, bytes + 4 * i, 4);
      sum += word;
    }
    return sum;
  }
  for (; i < words; ++i) {
    const std::uint8_t* word = bytes + 4 * i;
    sum += word[0] | (word[1] << 8) | (word[2] << 16) | (static_cast<std::uint32_t>(word[3]) << 24);
  }
  return sum;
}

constexpr std::uint64_t kPrime64_1 = 0x9E3779B185EBCA87u;
constexpr std::uint32_t kPrime32_1 = 0x9E3779B1u;
constexpr std::size_t kStripesPerBlock = (Digest64::kSecretSize - Digest64::kStripe) / 8;

std::uint64_t Le64(const std::uint8_t* bytes) {
  std::uint64_t value = 0;
  if (HostIsLittleEndian()) {
    std::memcpy(&value, bytes, 8);
    return value;
  }
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// A stripe into the lanes: each lane takes its eight bytes mixed with the secret's, the
// neighbour lane the bytes themselves.
void Accumulate(std::uint64_t (&lanes)[8], const std::uint8_t* stripe, const std::uint8_t* key) {
  for (std::size_t lane = 0; lane < 8; ++lane) {
    const std::uint64_t data = Le64(stripe + 8 * lane);
    const std::uint64_t keyed = data ^ Le64(key + 8 * lane);
    lanes[lane ^ 1] += data;
    lanes[lane] += (keyed & 0xFFFFFFFFu) * (keyed >> 32);
  }
}

// The upper and lower halves of the 128-bit product, folded; in 32-bit pieces, which every
// compiler has.
std::uint64_t FoldedProduct(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
  const std::uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  const std::uint64_t lowLow = aLow * bLow, highLow = aHigh * bLow;
  const std::uint64_t lowHigh = aLow * bHigh, highHigh = aHigh * bHigh;
  const std::uint64_t cross = (lowLow >> 32) + (highLow & 0xFFFFFFFFu) + lowHigh;
  const std::uint64_t upper = (highLow >> 32) + (cross >> 32) + highHigh;
  const std::uint64_t lower = (cross << 32) | (lowLow & 0xFFFFFFFFu);
  return upper ^ lower;
}

// The secret: bytes that look random (splitmix64 from a seed of ours), never all alike.
struct SecretBytes {
  std::uint8_t bytes[Digest64::kSecretSize] = {};
  constexpr SecretBytes() {
    std::uint64_t state = 0x4C696E6775617264u;
    for (std::size_t i = 0; i < Digest64::kSecretSize; i += 8) {
      state += 0x9E3779B97F4A7C15u;
      std::uint64_t z = state;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
      z ^= z >> 31;
      for (std::size_t b = 0; b < 8; ++b) bytes[i + b] = static_cast<std::uint8_t>(z >> (8 * b));
    }
  }
};
constexpr SecretBytes kSecret;

}  // namespace

namespace {

// The bytes of a piece into the digest, but for the gaps (sorted).
void AddBetween(Digest64& digest, const std::vector<ByteRange>& gaps, std::uint64_t at,
                const std::uint8_t* piece, std::size_t length) {
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
  if (from < end) digest.Add(piece + (from - at), static_cast<std::size_t>(end - from));
}

// A piece's buffer, starting on a page, with room for a word after the piece. Where a large
// allocation starts (16 bytes past a page), some processors copy from the system's cache at
// half the speed.
class PieceBuffer {
 public:
  explicit PieceBuffer(std::size_t size) : storage_(new std::uint8_t[size + 4 + kPage]) {}
  std::uint8_t* Data() const {
    const auto address = reinterpret_cast<std::uintptr_t>(storage_.get());
    return storage_.get() + (kPage - address % kPage) % kPage;
  }

 private:
  static constexpr std::size_t kPage = 4096;
  std::unique_ptr<std::uint8_t[]> storage_;
};

// Whose turn it is, of two threads (0, the caller, and 1), to read a piece and to sum one:
// the piece's number. A turn mostly comes within a piece's read from the system's cache, so a
// thread yields a moment first; then, from a slow drive, it sleeps on its alarm where the
// system gives one, rather than keep a processor busy.
class Turns {
 public:
  enum Which { kRead, kSum };
  explicit Turns(TargetFile& file) : alarms_{file.NewAlarm(), file.NewAlarm()} {
    if (!alarms_[0] || !alarms_[1]) alarms_[0].reset();
  }

  // Whether the turn came to that piece: false once the other thread has failed.
  bool Await(Which which, std::uint64_t piece, int self) {
    for (int yields = 0;; ++yields) {
      if (stopped_) return false;
      if (turns_[which] == piece) return true;
      if (yields < kYields || !alarms_[0]) {
        yields = std::min(yields + 1, kYields);
        std::this_thread::yield();
        continue;
      }
      // Said before looking again, and the turn passed before the passer looks: one of the
      // two threads sees the other's, so no wake is missed.
      sleeping_[self] = true;
      if (!stopped_ && turns_[which] != piece) alarms_[self]->Sleep();
      sleeping_[self] = false;
    }
  }
  void Pass(Which which, std::uint64_t next, int self) {
    turns_[which] = next;
    WakeOther(self);
  }
  void Stop(int self) {
    stopped_ = true;
    WakeOther(self);
  }

 private:
  void WakeOther(int self) {
    if (alarms_[0] && sleeping_[1 - self]) alarms_[1 - self]->Wake();
  }

  static constexpr int kYields = 200;
  std::unique_ptr<Alarm> alarms_[2];
  std::atomic<std::uint64_t> turns_[2] = {{0}, {0}};
  std::atomic<bool> stopped_{false}, sleeping_[2] = {{false}, {false}};
};

// Modulo 0xFFFF, 2^16 is 1: the sum of a file's 32-bit words is congruent to the sum of its
// 16-bit words, and a 64-bit total of 32-bit words cannot overflow below 16 GiB. So the
// whole file is summed four bytes at a time, in a loop the compiler vectorises, a piece at a
// time into a buffer that stays in the processor's cache. Never through a mapping: another
// program that shortens the file would end this one with SIGBUS (POSIX), and a drive that
// goes away raises an exception in the middle of the sum (Windows). With a digest, each
// piece goes into it too, while it is in the cache.
std::uint32_t Sum(TargetFile& file, std::uint64_t checksumOffset, std::size_t chunk,
                  Digest64* digest, const std::vector<ByteRange>& gaps) {
  const std::uint64_t size = file.Size();
  std::uint64_t sum = 0;
  const bool wide = WideVectors();
  // A piece into the digest and the sum, 64 KiB at a time, so that the sum reads what the
  // digest has just brought into the processor's cache. The digest leaves the CheckSum field
  // out. The piece's buffer has room for a word after it.
  const auto take = [&](std::uint8_t* piece, std::uint64_t at, std::size_t length) {
    for (std::uint64_t field = checksumOffset; field < checksumOffset + 4; ++field) {
      if (field >= at && field < at + length) piece[field - at] = 0;
    }
    // The last piece's end padded with zeros to a whole word.
    std::fill(piece + length, piece + (length + 3) / 4 * 4, 0);
    constexpr std::size_t kCached = 64 << 10;
    for (std::size_t from = 0; from < length; from += kCached) {
      const std::size_t part = std::min(kCached, length - from);
      if (digest) AddBetween(*digest, gaps, at + from, piece + from, part);
      sum += WordsSum(piece + from, (part + 3) / 4, wide);
    }
  };
  const auto lengthAt = [&](std::uint64_t at, std::size_t piece) {
    return static_cast<std::size_t>(std::min<std::uint64_t>(piece, size - at));
  };
  chunk = std::max<std::size_t>(chunk - chunk % 4, 4);  // no word straddles two pieces
  const std::uint64_t pieces = (size + chunk - 1) / chunk;
  // Two threads take the pieces in turn, each reading one, then summing it while the other
  // reads the next: the sum works on what its own processor has just read. The reads, and
  // the sum and digest, take the pieces in order, one thread at a time. A small file is not
  // worth the second thread.
  Turns turns(file);
  const auto work = [&](int self, std::uint64_t step, std::exception_ptr& failure) {
    try {
      const PieceBuffer buffer(lengthAt(0, chunk));
      for (std::uint64_t piece = self; piece < pieces; piece += step) {
        const std::uint64_t at = piece * chunk;
        if (!turns.Await(Turns::kRead, piece, self)) return;
        file.ReadAt(at, buffer.Data(), lengthAt(at, chunk));
        turns.Pass(Turns::kRead, piece + 1, self);
        if (!turns.Await(Turns::kSum, piece, self)) return;
        take(buffer.Data(), at, lengthAt(at, chunk));
        turns.Pass(Turns::kSum, piece + 1, self);
      }
    } catch (...) {
      failure = std::current_exception();
      turns.Stop(self);
    }
  };
  std::exception_ptr failures[2];
  // The second thread works on this frame's variables: it has ended before they go.
  const TargetFile::Waiter side =
      pieces >= 4 ? file.StartBeside([&] { work(1, 2, failures[1]); }) : TargetFile::Waiter();
  work(0, side ? 2 : 1, failures[0]);
  if (side) side();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
  return Fold(sum) + static_cast<std::uint32_t>(size);
}

}  // namespace

std::uint32_t FullPeChecksum(TargetFile& file, std::uint64_t checksumOffset, std::size_t chunk) {
  return Sum(file, checksumOffset, chunk, nullptr, {});
}

FileSums SumFile(TargetFile& file, std::uint64_t checksumOffset,
                 const std::vector<ByteRange>& leftOut, std::size_t chunk) {
  std::vector<ByteRange> gaps = leftOut;
  gaps.push_back({checksumOffset, 4});
  std::sort(gaps.begin(), gaps.end(),
            [](const ByteRange& a, const ByteRange& b) { return a.offset < b.offset; });
  Digest64 digest;
  FileSums sums;
  sums.checksum = Sum(file, checksumOffset, chunk, &digest, gaps);
  sums.digest = digest.Value();
  return sums;
}

const std::uint8_t* Digest64::Secret() { return kSecret.bytes; }

#if TRESSOL_X86
namespace {

// The processor's registers the system saves (XCR0): the wide ones only where both the SSE
// and the AVX states are.
#if defined(_MSC_VER)
std::uint64_t SavedStates() { return _xgetbv(0); }
#else
__attribute__((target("xsave"))) std::uint64_t SavedStates() { return _xgetbv(0); }
#endif

}  // namespace

namespace {

bool AskWideVectors() {
  unsigned int info[4] = {};  // eax, ebx, ecx, edx
  const auto ask = [&info](unsigned int leaf) {
#if defined(_MSC_VER)
    int out[4];
    __cpuidex(out, static_cast<int>(leaf), 0);
    for (int i = 0; i < 4; ++i) info[i] = static_cast<unsigned int>(out[i]);
    return true;
#else
    return __get_cpuid_count(leaf, 0, &info[0], &info[1], &info[2], &info[3]) != 0;
#endif
  };
  if (!ask(0) || info[0] < 7 || !ask(1)) return false;
  const bool osSaves = (info[2] & (1u << 27)) != 0, avx = (info[2] & (1u << 28)) != 0;
  if (!osSaves || !avx || (SavedStates() & 6) != 6) return false;
  return ask(7) && (info[1] & (1u << 5)) != 0;
}

// Asked once, as the program starts: a virtual machine's processor answers each question
// slowly (some 25 microseconds here, where a small file's whole set takes a hundred).
const bool kWideVectors = AskWideVectors();

}  // namespace

bool WideVectors() { return kWideVectors; }

namespace {

// Four lanes at a time: twice the bytes of the loop below for each instruction.
TRESSOL_WIDE std::size_t TakeWide(std::uint64_t (&state)[8], std::size_t& inBlock,
                                  const std::uint8_t* stripes, std::size_t count) {
  __m256i lanes[2];
  for (int half = 0; half < 2; ++half) {
    lanes[half] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(state + 4 * half));
  }
  const __m256i prime = _mm256_set1_epi32(static_cast<int>(kPrime32_1));
  for (std::size_t stripe = 0; stripe < count; ++stripe, stripes += Digest64::kStripe) {
    const std::uint8_t* key = kSecret.bytes + 8 * inBlock;
    for (int half = 0; half < 2; ++half) {
      const __m256i data =
          _mm256_loadu_si256(reinterpret_cast<const __m256i*>(stripes + 32 * half));
      const __m256i keyed = _mm256_xor_si256(
          data, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(key + 32 * half)));
      const __m256i product = _mm256_mul_epu32(keyed, _mm256_shuffle_epi32(keyed, 0x31));
      const __m256i swapped = _mm256_shuffle_epi32(data, 0x4E);
      lanes[half] = _mm256_add_epi64(lanes[half], _mm256_add_epi64(product, swapped));
    }
    if (++inBlock < kStripesPerBlock) continue;
    const std::uint8_t* scrambler = kSecret.bytes + Digest64::kSecretSize - Digest64::kStripe;
    for (int half = 0; half < 2; ++half) {
      __m256i value = _mm256_xor_si256(lanes[half], _mm256_srli_epi64(lanes[half], 47));
      value = _mm256_xor_si256(
          value, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(scrambler + 32 * half)));
      const __m256i low = _mm256_mul_epu32(value, prime);
      const __m256i high = _mm256_mul_epu32(_mm256_shuffle_epi32(value, 0x31), prime);
      lanes[half] = _mm256_add_epi64(low, _mm256_slli_epi64(high, 32));
    }
    inBlock = 0;
  }
  for (int half = 0; half < 2; ++half) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(state + 4 * half), lanes[half]);
  }
  return count * Digest64::kStripe;
}

}  // namespace

// Two lanes at a time, as every x86-64 processor can: a 32-bit multiply of each lane's two
// halves in one instruction, which compilers do not find in the plain loop (further on,
// for other processors).
std::size_t Digest64::Take(const std::uint8_t* stripes, std::size_t count) {
  if (wide_) return TakeWide(lanes_, stripesInBlock_, stripes, count);
  __m128i lanes[4];
  for (int pair = 0; pair < 4; ++pair) {
    lanes[pair] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes_ + 2 * pair));
  }
  const __m128i prime = _mm_set1_epi32(static_cast<int>(kPrime32_1));
  std::size_t inBlock = stripesInBlock_;
  for (std::size_t stripe = 0; stripe < count; ++stripe, stripes += kStripe) {
    const std::uint8_t* key = kSecret.bytes + 8 * inBlock;
    for (int pair = 0; pair < 4; ++pair) {
      const __m128i data = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stripes + 16 * pair));
      const __m128i keyed =
          _mm_xor_si128(data, _mm_loadu_si128(reinterpret_cast<const __m128i*>(key + 16 * pair)));
      const __m128i product = _mm_mul_epu32(keyed, _mm_shuffle_epi32(keyed, 0x31));
      const __m128i swapped = _mm_shuffle_epi32(data, 0x4E);
      lanes[pair] = _mm_add_epi64(lanes[pair], _mm_add_epi64(product, swapped));
    }
    if (++inBlock < kStripesPerBlock) continue;
    const std::uint8_t* scrambler = kSecret.bytes + kSecretSize - kStripe;
    for (int pair = 0; pair < 4; ++pair) {
      __m128i value = _mm_xor_si128(lanes[pair], _mm_srli_epi64(lanes[pair], 47));
      value = _mm_xor_si128(
          value, _mm_loadu_si128(reinterpret_cast<const __m128i*>(scrambler + 16 * pair)));
      const __m128i low = _mm_mul_epu32(value, prime);
      const __m128i high = _mm_mul_epu32(_mm_shuffle_epi32(value, 0x31), prime);
      lanes[pair] = _mm_add_epi64(low, _mm_slli_epi64(high, 32));
    }
    inBlock = 0;
  }
  for (int pair = 0; pair < 4; ++pair) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes_ + 2 * pair), lanes[pair]);
  }
  stripesInBlock_ = inBlock;
  return count * kStripe;
}
#else
bool WideVectors() { return false; }

namespace {

// After a block of stripes: each lane's high bits brought down and mixed with the secret.
void Scramble(std::uint64_t (&lanes)[8]) {
  for (std::size_t lane = 0; lane < 8; ++lane) {
    std::uint64_t value = lanes[lane];
    value ^= value >> 47;
    value ^= Le64(kSecret.bytes + Digest64::kSecretSize - Digest64::kStripe + 8 * lane);
    lanes[lane] = value * kPrime32_1;
  }
}

}  // namespace

// The lanes are copied in and out: written through the object, they could be the bytes read,
// and the compiler would keep them in memory.
std::size_t Digest64::Take(const std::uint8_t* stripes, std::size_t count) {
  std::uint64_t lanes[8];
  std::copy(std::begin(lanes_), std::end(lanes_), std::begin(lanes));
  std::size_t inBlock = stripesInBlock_;
  for (std::size_t stripe = 0; stripe < count; ++stripe, stripes += kStripe) {
    Accumulate(lanes, stripes, kSecret.bytes + 8 * inBlock);
    if (++inBlock == kStripesPerBlock) {
      Scramble(lanes);
      inBlock = 0;
    }
  }
  std::copy(std::begin(lanes), std::end(lanes), std::begin(lanes_));
  stripesInBlock_ = inBlock;
  return count * kStripe;
}
#endif

void Digest64::Add(const std::uint8_t* bytes, std::size_t size) {
  total_ += size;
  // The input's last stripe is taken apart, at the end: a stripe is taken once a byte
  // follows it.
  if (pendingSize_ > 0 || size <= kStripe) {
    const std::size_t part = std::min(size, kStripe - pendingSize_);
    std::memcpy(pending_ + pendingSize_, bytes, part);
    pendingSize_ += part;
    bytes += part;
    size -= part;
    if (size == 0) return;
    Take(pending_, 1);
    std::memcpy(last_, pending_, kStripe);
    pendingSize_ = 0;
  }
  if (size > kStripe) {
    const std::size_t taken = Take(bytes, (size - 1) / kStripe);
    std::memcpy(last_, bytes + taken - kStripe, kStripe);
    bytes += taken;
    size -= taken;
  }
  std::memcpy(pending_, bytes, size);
  pendingSize_ = size;
}

std::uint64_t Digest64::Value() const {
  std::uint64_t lanes[8];
  std::copy(std::begin(lanes_), std::end(lanes_), std::begin(lanes));
  std::uint8_t stripe[kStripe];
  const std::size_t before = kStripe - pendingSize_;
  std::memcpy(stripe, last_ + pendingSize_, before);
  std::memcpy(stripe + before, pending_, pendingSize_);
  Accumulate(lanes, stripe, kSecret.bytes + kSecretSize - kStripe - 7);
  std::uint64_t hash = total_ * kPrime64_1;
  for (std::size_t pair = 0; pair < 4; ++pair) {
    const std::uint8_t* key = kSecret.bytes + 11 + 16 * pair;
    hash += FoldedProduct(lanes[2 * pair] ^ Le64(key), lanes[2 * pair + 1] ^ Le64(key + 8));
  }
  hash ^= hash >> 37;
  hash *= 0x165667919E3779F9u;
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
