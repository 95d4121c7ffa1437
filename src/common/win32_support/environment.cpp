#include "environment.h"

#include <windows.h>

namespace linguarde::win32 {

std::optional<std::wstring> EnvironmentValue(const wchar_t* name) {
  std::wstring value;
  // Sized, then read: another thread may change the value in between, and the size it
  // then asks for is tried again.
  for (DWORD size = GetEnvironmentVariableW(name, nullptr, 0); size != 0;) {
    value.resize(size);
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    if (length < size) {
      value.resize(length);
      return value;
    }
    size = length;
  }
  return std::nullopt;
}

}  // namespace linguarde::win32
