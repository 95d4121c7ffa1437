#include "wildcard.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tressol {
namespace {

// Invalid UTF-8 stands for itself, byte by byte, so that it still compares exactly.
std::vector<char32_t> CodePoints(std::string_view text) {
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    const std::size_t length = lead < 0x80         ? 1
                               : lead >> 5 == 0x6  ? 2
                               : lead >> 4 == 0xE  ? 3
                               : lead >> 3 == 0x1E ? 4
                                                   : 0;
    char32_t point = length == 1   ? lead
                     : length == 2 ? lead & 0x1F
                     : length == 3 ? lead & 0x0F
                                   : lead & 0x07;
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(text[i + k]);
      valid = next >> 6 == 0x2;
      point = (point << 6) | (next & 0x3F);
    }
    if (!valid) {
      points.push_back(0x110000 + lead);  // outside Unicode: equal only to the same byte
      ++i;
      continue;
    }
    points.push_back(point);
    i += length;
  }
  return points;
}

// Ranges of capitals and how each folds: by a fixed offset, or, in alternating blocks,
// the even (or odd) code point to the next one.
struct FoldRange {
  char32_t first;
  char32_t last;
  int offset;  // 0: alternating pairs starting at first
};

constexpr FoldRange kFolds[] = {
    {0x0041, 0x005A, 32},    // Latin A-Z
    {0x00C0, 0x00D6, 32},    // Latin-1 À-Ö
    {0x00D8, 0x00DE, 32},    // Latin-1 Ø-Þ
    {0x0100, 0x012F, 0},     // Latin Extended-A Ā-į
    {0x0132, 0x0137, 0},     // Ĳ-ķ
    {0x0139, 0x0148, 0},     // Ĺ-ň
    {0x014A, 0x0177, 0},     // Ŋ-ŷ
    {0x0179, 0x017E, 0},     // Ź-ž
    {0x01CD, 0x01DC, 0},     // Ǎ-ǜ
    {0x01DE, 0x01EF, 0},     // Ǟ-ǯ
    {0x01F8, 0x021F, 0},     // Ǹ-ȟ
    {0x0222, 0x0233, 0},     // Ȣ-ȳ
    {0x0246, 0x024F, 0},     // Ɇ-ɏ
    {0x0388, 0x038A, 37},    // Greek Έ-Ί
    {0x038E, 0x038F, 63},    // Greek Ύ-Ώ
    {0x0391, 0x03A1, 32},    // Greek Α-Ρ
    {0x03A3, 0x03AB, 32},    // Greek Σ-Ϋ
    {0x03D8, 0x03EF, 0},     // Greek archaic and Coptic pairs
    {0x0400, 0x040F, 80},    // Cyrillic Ѐ-Џ
    {0x0410, 0x042F, 32},    // Cyrillic А-Я
    {0x0460, 0x0481, 0},     // Cyrillic Ѡ-ҁ
    {0x048A, 0x04BF, 0},     // Cyrillic Ҋ-ҿ
    {0x04C1, 0x04CE, 0},     // Cyrillic Ӂ-ӎ
    {0x04D0, 0x052F, 0},     // Cyrillic Ӑ-ԯ
    {0x0531, 0x0556, 48},    // Armenian
    {0x1E00, 0x1E95, 0},     // Latin Extended Additional
    {0x1EA0, 0x1EFF, 0},     // Vietnamese
    {0x2160, 0x216F, 16},    // Roman numerals
    {0x24B6, 0x24CF, 26},    // circled letters
    {0xFF21, 0xFF3A, 32},    // fullwidth A-Z
    {0x10400, 0x10427, 40},  // Deseret
};

char32_t Fold(char32_t c) {
  switch (c) {
    case 0x0178:
      return 0x00FF;  // Ÿ
    case 0x017F:
      return 's';  // long s
    case 0x0386:
      return 0x03AC;  // Ά
    case 0x038C:
      return 0x03CC;  // Ό
    case 0x03C2:
      return 0x03C3;  // final sigma
    case 0x1E9E:
      return 0x00DF;  // capital sharp s
    default:
      break;
  }
  for (const FoldRange& range : kFolds) {
    if (c < range.first || c > range.last) continue;
    if (range.offset != 0) return c + static_cast<char32_t>(range.offset);
    return (c - range.first) % 2 == 0 ? c + 1 : c;
  }
  return c;
}

bool SameByFolding(char32_t a, char32_t b) { return Fold(a) == Fold(b); }

bool Matches(const std::vector<char32_t>& name, const std::vector<char32_t>& pattern,
             SameLetter same) {
  std::size_t n = 0;
  std::size_t p = 0;
  // Greedy with one backtrack point: the last "*" seen absorbs one more character each
  // time the rest fails, which is linear enough for file names.
  std::size_t starAt = std::string_view::npos;
  std::size_t resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern, SameLetter sameLetter) {
  if (pattern == "*.*") return true;
  const SameLetter same = sameLetter != nullptr ? sameLetter : &SameByFolding;
  std::vector<char32_t> n = CodePoints(name);
  std::vector<char32_t> p = CodePoints(pattern);
  // Windows trims a path's final dot, so "*.exe." lists what "*.exe" lists, while its search
  // keeps "*." for the names without an extension, as dir shows them; a name that really
  // ends with a dot matches either as it would without it.
  if (p.empty() || p.back() != '.') return Matches(n, p, same);
  p.pop_back();
  if (!n.empty() && n.back() == '.') n.pop_back();
  if (p.empty() || p.back() != '*') return Matches(n, p, same);
  // The last star takes no dot: the name has no extension after what the rest matched.
  p.pop_back();
  for (std::size_t cut = n.size();; --cut) {
    if (Matches(std::vector<char32_t>(n.begin(), n.begin() + static_cast<std::ptrdiff_t>(cut)), p,
                same)) {
      return true;
    }
    if (cut == 0 || n[cut - 1] == '.') return false;
  }
}

}  // namespace tressol
