#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "unicode_text.h"

namespace linguarde {

// Whether a character would act on the text around it instead of showing: a control
// character (a line end that forges a line, an escape that erases one), a line or paragraph
// separator (U+2028, U+2029) that editors and some terminals break at, or a bidirectional
// mark or control (U+061C, U+200E, U+200F, U+202A-U+202E, U+2066-U+2069) that turns
// "exe.txt" into "txt.exe".
constexpr bool ActsOnText(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
         (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// "<U+000A>". A name's own "<U+" has its "<" escaped too, so that an escape cannot be faked.
inline std::string Escaped(char32_t c) {
  std::string text = "<U+0000>";
  for (std::size_t digit = 6; c != 0; --digit, c >>= 4) text[digit] = "0123456789ABCDEF"[c & 0xF];
  return text;
}

// Each character of a name in turn: where it starts, how many bytes, and what it is; a byte
// that starts no character is one of U+FFFD, which acts on nothing.
template <class Each>
void ForEachCharacter(std::string_view name, Each each) {
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t sequence = unicode::Utf8SequenceAt(name, i, unicode::Surrogates::Kept);
    const std::size_t length = sequence == 0 ? 1 : sequence;
    each(i, length, sequence == 0 ? char32_t{0xFFFD} : unicode::Utf8CodePoint(name, i, length));
    i += length;
  }
}

// Whether a name shows as it is: nothing in it acts on the text around it.
inline bool ShowsAsItIs(std::string_view name) {
  bool plain = true;
  ForEachCharacter(
      name, [&plain](std::size_t, std::size_t, char32_t c) { plain = plain && !ActsOnText(c); });
  return plain;
}

// A name as text to be read: each character that would act on the text around it shown
// escaped, the rest as it is. UTF-8, or bytes that are not.
inline std::string Visible(std::string_view name) {
  std::string shown;
  shown.reserve(name.size());
  std::size_t run = 0;  // where the characters shown as they are began
  ForEachCharacter(name, [&](std::size_t i, std::size_t length, char32_t c) {
    if (ActsOnText(c) || (c == '<' && name.substr(i, 3) == "<U+")) {
      shown.append(name.substr(run, i - run)) += Escaped(c);
      run = i + length;
    }
  });
  return shown.append(name.substr(run));
}

// A number in digits of a base up to 16, at least `width` of them: the printf family would
// bring a whole formatter, narrow and wide, into each program for it.
template <class Char>
std::basic_string<Char> Digits(unsigned long long number, unsigned base = 10,
                               std::size_t width = 1) {
  std::basic_string<Char> digits;
  do {
    digits.insert(digits.begin(), static_cast<Char>("0123456789abcdef"[number % base]));
    number /= base;
  } while (number != 0 || digits.size() < width);
  return digits;
}

inline std::wstring Decimal(unsigned long long number) { return Digits<wchar_t>(number); }

// Which letters a hexadecimal digit is read in. What we write ourselves (a journal's fields,
// an identity) is read back in lower case only, as written, so that one value has one
// spelling and a record cannot be rewritten unseen; what a user types or JSON carries may
// be in either case.
enum class HexLetters { Lower, Either };

// The value of one hexadecimal digit, or -1: the one reading of a digit in both programs.
template <HexLetters letters>
constexpr int HexDigit(char c) {
  // In ASCII the 0x20 bit sets a capital in lower case, and makes no other character a to f.
  const int lower = letters == HexLetters::Either ? (c | 0x20) : c;
  return c >= '0' && c <= '9' ? c - '0' : lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// One to sixteen hexadecimal digits and nothing else, as a number.
template <HexLetters letters>
std::optional<std::uint64_t> HexNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const int digit = HexDigit<letters>(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<unsigned>(digit);
  }
  return value;
}

// Bytes as two lower-case hexadecimal digits each: a name that is not text, a record's bytes.
inline std::string HexBytes(std::string_view bytes) {
  std::string hex;
  hex.reserve(2 * bytes.size());
  for (const char c : bytes) hex += Digits<char>(static_cast<unsigned char>(c), 16, 2);
  return hex;
}

inline std::wstring Visible(std::wstring_view name) {
  std::wstring shown;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const wchar_t unit = name[i];
    if (!ActsOnText(static_cast<char32_t>(unit)) && name.compare(i, 3, L"<U+") != 0) {
      shown += unit;
      continue;
    }
    const std::string escaped = Escaped(static_cast<char32_t>(unit));
    shown.append(escaped.begin(), escaped.end());
  }
  return shown;
}

}  // namespace linguarde
