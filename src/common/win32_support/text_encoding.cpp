#include "text_encoding.h"

#include "unicode_text.h"

namespace linguarde::win32 {

// A lone surrogate, which a Windows name may hold, is encoded as the code point it is (as
// WTF-8 does) rather than replaced: the name then comes back whole from its bytes.
std::string ToUtf8(std::wstring_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unicode::AppendUtf8(bytes, unicode::Utf16CodePoint(text, i));
  }
  return bytes;
}

// Each byte that starts no well-formed sequence becomes U+FFFD; an encoded surrogate comes
// back as that unit.
std::wstring FromUtf8(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = unicode::Utf8SequenceAt(bytes, i, unicode::Surrogates::Kept);
    if (length == 0) {
      text += L'\xFFFD';
      ++i;
      continue;
    }
    unicode::AppendUtf16(text, unicode::Utf8CodePoint(bytes, i, length));
    i += length;
  }
  return text;
}

}  // namespace linguarde::win32
