#pragma once

#include <windows.h>

#include <string>

#include "user_error.h"

namespace linguarde::win32 {

// The system's own description of an error code, to quote within a sentence: without its
// final full stop, line end or first capital.
std::wstring WindowsErrorText(DWORD code);

// "<what> : <the system's text for the last error>."
std::wstring WithLastError(const std::wstring& what);

// StepFailed with that text and the last error's code, to throw once what the failed call
// left behind is cleaned up.
StepFailed LastErrorFailure(const std::wstring& what);

// Throws StepFailed with that text and code.
[[noreturn]] void ThrowLastError(const std::wstring& what);

}  // namespace linguarde::win32
