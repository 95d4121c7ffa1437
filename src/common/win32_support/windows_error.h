#pragma once

#include <windows.h>

#include <string>

#include "user_error.h"

namespace linguarde::win32 {

// The system's own description of an error code, without its final full stop and line end.
std::wstring WindowsErrorText(DWORD code);

// A failed Windows call: our French sentence, then the system's text for the error.
class Win32Error : public UserError {
 public:
  using UserError::UserError;
};

// "<what> : <the system's text for the last error>."
std::wstring WithLastError(const std::wstring& what);

// Throws Win32Error with that text.
[[noreturn]] void ThrowLastError(const std::wstring& what);

}  // namespace linguarde::win32
