#pragma once

#include <windows.h>

#include <string>

#include "user_error.h"

namespace linguarde::win32 {

// The system's own description of an error code, to quote within a sentence: without its
// final full stop, line end or first capital.
std::wstring WindowsErrorText(DWORD code);

}  // namespace linguarde::win32
