#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// A program's words as a translator sees them: each entry a whole sentence (or a whole line,
// a whole caption) with named places for its data, "{file}", and, where a number decides, its
// plural form. Code chooses an entry and gives the data; it never joins words of its own.
namespace linguarde::catalog {

template <typename Char>
struct Entry {
  const Char* one;    // the singular, which French also uses for 0
  const Char* other;  // the plural; null where no number decides
};

template <typename Char>
struct Place {
  std::basic_string_view<Char> name;
  std::basic_string_view<Char> value;
};

// Which form a count takes in French: 0 and 1 the singular.
constexpr bool TakesSingular(std::uint64_t count) { return count <= 1; }

// Markers that the pseudo-locale sets around each entry it renders: whatever a screen shows
// outside them was written by no entry (data such as a name is inside, in its place).
inline constexpr char kPseudoStart[] = "\xE2\x9F\xA6";  // U+27E6
inline constexpr char kPseudoEnd[] = "\xE2\x9F\xA7";    // U+27E7
inline constexpr wchar_t kWidePseudoStart[] = L"\x27E6";
inline constexpr wchar_t kWidePseudoEnd[] = L"\x27E7";

// An entry's text with each "{name}" replaced by that place's value. A place the code does
// not give is a fault of the code, caught where it is made.
template <typename Char, typename Places = std::initializer_list<Place<Char>>>
std::basic_string<Char> Fill(std::basic_string_view<Char> text, const Places& places) {
  std::basic_string<Char> filled;
  filled.reserve(text.size() + 32);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t open = text.find(Char('{'), i);
    const std::size_t close = open == text.npos ? text.npos : text.find(Char('}'), open + 1);
    if (close == text.npos) {
      filled.append(text, i);
      break;
    }
    filled.append(text, i, open - i);
    const auto name = text.substr(open + 1, close - open - 1);
    bool given = false;
    for (const Place<Char>& place : places) {
      if (place.name == name) {
        filled += place.value;
        given = true;
        break;
      }
    }
    assert(given && "a place of the entry is not given");
    if (!given) filled.append(text, open, close + 1 - open);
    i = close + 1;
  }
  return filled;
}

// The pseudo-locale's rendering of an entry: between its markers, lengthened by a third as
// a longer language would be, so that a text cut or wrapped too short shows.
template <typename Char>
std::basic_string<Char> Pseudo(std::basic_string<Char> filled, std::size_t templateLength,
                               const Char* start, const Char* end) {
  std::basic_string<Char> text(start);
  text += filled;
  text.append(templateLength / 3, Char('~'));
  return text + end;
}

}  // namespace linguarde::catalog
