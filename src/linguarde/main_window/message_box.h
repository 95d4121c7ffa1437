#pragma once

#include <windows.h>

#include <string>

#include "form1_layout.h"
#include "window_words.h"

namespace linguarde {

// French typography over the whole text, names included, so that wrapping never starts a line
// with a sign.
inline int ShowMessage(HWND owner, const std::wstring& text, UINT type) {
  return MessageBoxW(owner, Typeset(text).c_str(), std::wstring(kForm1Caption).c_str(), type);
}

}  // namespace linguarde
