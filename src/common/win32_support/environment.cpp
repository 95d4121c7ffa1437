#include "environment.h"

#include <windows.h>

namespace linguarde::win32 {

std::optional<std::wstring> EnvironmentValue(const wchar_t* name) {
  // The longest value the system keeps and its terminator: read whole, in one call.
  std::optional<std::wstring> value(std::in_place, 32768, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value->data(), 32768);
  if (length == 0 || length >= 32768) {
    value.reset();
  } else {
    value->resize(length);
  }
  return value;
}

}  // namespace linguarde::win32
