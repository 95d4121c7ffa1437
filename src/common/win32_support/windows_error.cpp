#include "windows_error.h"

#include "owners.h"
#include "shown_text.h"

namespace linguarde::win32 {

std::wstring WindowsErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const UniqueLocal<wchar_t> owner(buffer);
  std::wstring text = length != 0 ? std::wstring(buffer, length) : std::wstring();
  // Without its final full stop, so that it reads within a sentence or in parentheses.
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                           text.back() == L'.')) {
    text.pop_back();
  }
  if (text.empty()) {
    text = L"erreur Windows " + Decimal(code);
  }
  // Within our sentence, after a colon or in parentheses: no capital of its own, save an
  // acronym's.
  if (text.size() > 1 && IsCharUpperW(text[0]) && !IsCharUpperW(text[1])) {
    CharLowerBuffW(&text[0], 1);
  }
  return text;
}

}  // namespace linguarde::win32
