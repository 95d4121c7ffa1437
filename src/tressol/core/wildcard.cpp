#include "wildcard.h"

#include <cstddef>
#include <vector>

#include "unicode_text.h"

namespace tressol {
namespace {

// Invalid UTF-8 stands for itself, byte by byte, so that it still compares exactly.
std::vector<char32_t> CodePoints(std::string_view text) {
  using namespace linguarde::unicode;
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceAt(text, i, Surrogates::Kept);
    if (length == 0) {
      // Outside Unicode: equal only to the same byte.
      points.push_back(0x110000 + static_cast<unsigned char>(text[i++]));
      continue;
    }
    points.push_back(Utf8CodePoint(text, i, length));
    i += length;
  }
  return points;
}

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

bool MatchesPattern(std::string_view name, std::string_view pattern, SameLetter same) {
  if (pattern == "*.*") return true;
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
