#pragma once

#include <windows.h>

#include <string>

#include "form1_layout.h"

namespace linguarde {

// French typography in a message box: a no-break space before « : ; ! ? » and inside the
// quotes « », so that the wrapping never starts a line with the sign.
inline std::wstring WithNoBreakSpaces(std::wstring text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const wchar_t next = text[i + 1];
    const bool beforeSign = text[i] == L' ' && (next == L':' || next == L';' || next == L'!' ||
                                                next == L'?' || next == L'\x00BB');
    const bool afterQuote = text[i] == L'\x00AB' && next == L' ';
    if (beforeSign) text[i] = L'\x00A0';
    if (afterQuote) text[i + 1] = L'\x00A0';
  }
  return text;
}

inline int ShowMessage(HWND owner, const std::wstring& text, UINT type) {
  return MessageBoxW(owner, WithNoBreakSpaces(text).c_str(), std::wstring(kForm1Caption).c_str(),
                     type);
}

}  // namespace linguarde
