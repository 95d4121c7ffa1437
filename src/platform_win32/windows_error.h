#pragma once

#include <windows.h>

#include <string>

namespace linguarde::win32 {

// The system's own description of an error code, without the trailing line end.
std::wstring WindowsErrorText(DWORD code);

// Throws ActionFailed with "<what> : <the system's text for the last error>".
[[noreturn]] void ThrowLastError(const std::wstring& what);

}  // namespace linguarde::win32
