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

// The signs French typography sets apart, in each program's text: UTF-8 for the tool,
// UTF-16 for the window.
template <typename Char>
struct Signs;
template <>
struct Signs<char> {
  static constexpr std::string_view open = "\xC2\xAB", close = "\xC2\xBB", noBreak = "\xC2\xA0";
};
template <>
struct Signs<wchar_t> {
  static constexpr std::wstring_view open = L"\x00AB", close = L"\x00BB", noBreak = L"\x00A0";
};

// The text as a French reader expects it: a no-break space, in place of a space, before ":",
// ";", "!" and "?" standing alone (a space or the end after them), before "»" and after "«",
// so that no line starts with the sign. Between nameStart and nameEnd (a name the text
// marks), nothing changes: a name keeps its own spaces.
template <typename Char>
std::basic_string<Char> Typeset(std::basic_string_view<Char> text, Char nameStart = Char(),
                                Char nameEnd = Char()) {
  using S = Signs<Char>;
  std::basic_string<Char> out;
  out.reserve(text.size());
  bool inName = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const Char c = text[i];
    inName = nameStart != Char() && (c == nameStart || (inName && c != nameEnd));
    if (!inName && c == Char(' ')) {
      const auto rest = text.substr(i + 1);
      const Char next = rest.empty() ? Char('\n') : rest[0];
      const Char after = rest.size() > 1 ? rest[1] : Char('\n');
      const bool sign =
          (next == Char(':') || next == Char(';') || next == Char('!') || next == Char('?')) &&
          (after == Char(' ') || after == Char('\n'));
      const bool beforeClose = rest.substr(0, S::close.size()) == S::close;
      const bool afterOpen =
          i >= S::open.size() && text.substr(i - S::open.size(), S::open.size()) == S::open;
      if (sign || beforeClose || afterOpen) {
        out += S::noBreak;
        continue;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace linguarde::catalog
