#include "text_encoding.h"

namespace linguarde::win32 {
namespace {

void Append(std::string& bytes, char32_t c) {
  const auto unit = [](char32_t bits) { return static_cast<char>(bits); };
  if (c < 0x80) {
    bytes += unit(c);
  } else if (c < 0x800) {
    bytes += unit(0xC0 | (c >> 6));
    bytes += unit(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    bytes += unit(0xE0 | (c >> 12));
    bytes += unit(0x80 | ((c >> 6) & 0x3F));
    bytes += unit(0x80 | (c & 0x3F));
  } else {
    bytes += unit(0xF0 | (c >> 18));
    bytes += unit(0x80 | ((c >> 12) & 0x3F));
    bytes += unit(0x80 | ((c >> 6) & 0x3F));
    bytes += unit(0x80 | (c & 0x3F));
  }
}

bool IsHigh(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

// A lone surrogate, which a Windows name may hold, is encoded as the code point it is (as
// WTF-8 does) rather than replaced: the name then comes back whole from its bytes.
std::string ToUtf8(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char16_t>(text[i]);
    if (IsHigh(c) && i + 1 < text.size() && IsLow(static_cast<char16_t>(text[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00);
    }
    Append(bytes, c);
  }
  return bytes;
}

// Each byte that starts no well-formed sequence becomes U+FFFD; an encoded surrogate comes
// back as that unit.
std::wstring FromUtf8(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char lead = static_cast<unsigned char>(bytes[i]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    char32_t c = length == 1   ? lead
                 : length == 2 ? lead & 0x1F
                 : length == 3 ? lead & 0x0F
                               : lead & 0x07;
    bool valid = length != 0 && i + length <= bytes.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms and code points past U+10FFFF are not well formed.
    valid = valid && !(length == 3 && c < 0x800) && !(length == 4 && (c < 0x10000 || c > 0x10FFFF));
    if (!valid) {
      text += L'\xFFFD';
      ++i;
      continue;
    }
    if (c >= 0x10000) {
      text += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      text += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      text += static_cast<wchar_t>(c);
    }
    i += length;
  }
  return text;
}

}  // namespace linguarde::win32
