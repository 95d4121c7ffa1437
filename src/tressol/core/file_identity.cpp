#include "file_identity.h"

#include "shown_text.h"

namespace tressol {
namespace {

constexpr std::uint64_t kAllOnes = ~std::uint64_t{0};

bool Known(const FileIdentity& identity) {
  return identity.high == 0 ? identity.low != 0 && identity.low != kAllOnes
                            : identity.high != kAllOnes || identity.low != kAllOnes;
}

// The older calls give only a volume serial's lower 32 bits.
bool SameVolume(std::uint64_t a, std::uint64_t b) {
  return a == b || (static_cast<std::uint32_t>(a) == static_cast<std::uint32_t>(b) &&
                    (a >> 32 == 0 || b >> 32 == 0));
}

}  // namespace

IdentityMatch MatchIdentities(const FileIdentity& a, const FileIdentity& b) {
  if (!Known(a) || !Known(b)) return IdentityMatch::Unknown;
  return SameVolume(a.volume, b.volume) && a.high == b.high && a.low == b.low
             ? IdentityMatch::Same
             : IdentityMatch::Other;
}

std::string IdentityText(const FileIdentity& identity) {
  std::string text;
  const auto put = [&text](std::uint64_t value, int digits) {
    while (digits-- > 0) text += "0123456789abcdef"[value >> 4 * digits & 15];
  };
  put(identity.volume, identity.volume >> 32 == 0 ? 8 : 16);
  text += ':';
  if (identity.high != 0) put(identity.high, 16);
  put(identity.low, 16);
  return text;
}

std::optional<FileIdentity> IdentityFromText(const std::string& text) {
  FileIdentity identity;
  std::size_t volumeDigits = 0, idDigits = 0;
  bool colon = false;
  for (const char c : text) {
    // As written: lower case only.
    const int digit = linguarde::HexDigit<linguarde::HexLetters::Lower>(c);
    if (c == ':' && !colon) {
      colon = true;
    } else if (digit < 0) {
      return std::nullopt;
    } else if (!colon) {
      identity.volume = identity.volume << 4 | static_cast<unsigned>(digit);
      ++volumeDigits;
    } else {
      identity.high = identity.high << 4 | identity.low >> 60;
      identity.low = identity.low << 4 | static_cast<unsigned>(digit);
      ++idDigits;
    }
  }
  if (volumeDigits == 0 || volumeDigits > 16 || (idDigits != 16 && idDigits != 32)) {
    return std::nullopt;
  }
  return identity;
}

IdentityMatch MatchIdentities(const std::string& a, const std::string& b) {
  const std::optional<FileIdentity> x = IdentityFromText(a);
  const std::optional<FileIdentity> y = IdentityFromText(b);
  if (x && y) return MatchIdentities(*x, *y);
  return a == b ? IdentityMatch::Same : IdentityMatch::Other;
}

}  // namespace tressol
