#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

// UTF-8 and UTF-16, read and written in one place for both programs.
namespace linguarde::unicode {

constexpr bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Whether an encoded surrogate is a sequence: a Windows name may hold a lone one, and its
// bytes (WTF-8) must bring it back; strict UTF-8, as JSON wants it, has none.
enum class Surrogates { Refused, Kept };

// The length of the well-formed UTF-8 sequence at `at`, or 0 where none starts there:
// overlong forms and values past U+10FFFF are never well formed.
inline std::size_t Utf8SequenceAt(std::string_view text, std::size_t at,
                                  Surrogates surrogates = Surrogates::Refused) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || length > text.size() - at) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return 0;
  }
  // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
  const unsigned char second = byte(at + 1);
  const bool surrogate = lead == 0xED && second > 0x9F;
  if ((lead == 0xE0 && second < 0xA0) || (surrogate && surrogates == Surrogates::Refused) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
    return 0;
  }
  return length;
}

// The code point of the well-formed sequence of that length at `at`.
inline char32_t Utf8CodePoint(std::string_view text, std::size_t at, std::size_t length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  char32_t c = length == 1   ? lead
               : length == 2 ? lead & 0x1F
               : length == 3 ? lead & 0x0F
                             : lead & 0x07;
  for (std::size_t k = 1; k < length; ++k) {
    c = (c << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
  }
  return c;
}

// A lone surrogate is written as the code point it is, as WTF-8 does.
inline void AppendUtf8(std::string& out, char32_t c) {
  const auto unit = [](char32_t bits) { return static_cast<char>(bits); };
  if (c < 0x80) {
    out += unit(c);
  } else if (c < 0x800) {
    out += unit(0xC0 | (c >> 6));
    out += unit(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += unit(0xE0 | (c >> 12));
    out += unit(0x80 | ((c >> 6) & 0x3F));
    out += unit(0x80 | (c & 0x3F));
  } else {
    out += unit(0xF0 | (c >> 18));
    out += unit(0x80 | ((c >> 12) & 0x3F));
    out += unit(0x80 | ((c >> 6) & 0x3F));
    out += unit(0x80 | (c & 0x3F));
  }
}

template <class Unit>
void AppendUtf16(std::basic_string<Unit>& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<Unit>(c);
    return;
  }
  out += static_cast<Unit>(0xD800 + ((c - 0x10000) >> 10));
  out += static_cast<Unit>(0xDC00 + ((c - 0x10000) & 0x3FF));
}

// The code point of the UTF-16 unit at `at`, of its pair where it starts one; `at` moves to
// the last unit read.
template <class Unit>
char32_t Utf16CodePoint(std::basic_string_view<Unit> text, std::size_t& at) {
  const auto unit = [&text](std::size_t i) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<Unit>>(text[i]));
  };
  const char32_t c = unit(at);
  if (IsHighSurrogate(c) && at + 1 < text.size() && IsLowSurrogate(unit(at + 1))) {
    return 0x10000 + ((c - 0xD800) << 10) + (unit(++at) - 0xDC00);
  }
  return c;
}

// The position of the first surrogate that is not half of a pair: such a name is no
// Unicode text.
template <class Unit>
std::optional<std::size_t> FindLoneSurrogate(std::basic_string_view<Unit> text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t start = i;
    const char32_t c = Utf16CodePoint(text, i);
    if (IsHighSurrogate(c) || IsLowSurrogate(c)) return start;
  }
  return std::nullopt;
}

// How many characters UTF-8 text holds: its bytes but the continuation ones.
inline std::size_t CharacterCount(std::string_view text) {
  std::size_t characters = 0;
  for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return characters;
}

// Names Windows finds without regard to case, compared where only ASCII letters matter
// (extensions, the runtime's and the libraries' names, device names).
constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace linguarde::unicode
