#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <utility>

namespace linguarde::win32 {

// The system's own description of an error code, without its final full stop and line end.
std::wstring WindowsErrorText(DWORD code);

// A failed Windows call: our French sentence, then the system's text for the error.
class Win32Error : public std::exception {
 public:
  explicit Win32Error(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return "Windows error"; }

 private:
  std::wstring message_;
};

// "<what> : <the system's text for the last error>."
std::wstring WithLastError(const std::wstring& what);

// Throws Win32Error with that text.
[[noreturn]] void ThrowLastError(const std::wstring& what);

}  // namespace linguarde::win32
