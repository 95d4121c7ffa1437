#include "long_path.h"

#include <windows.h>

#include <vector>

namespace linguarde::win32 {

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0 || path.empty()) {
    return path;
  }
  std::vector<wchar_t> full(MAX_PATH);
  DWORD length = 0;
  for (;;) {
    length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) break;
    full.resize(length);
  }
  const std::wstring absolute(full.data(), length);
  // A device name such as "NUL" comes back as a device path.
  if (absolute.rfind(L"\\\\?\\", 0) == 0 || absolute.rfind(L"\\\\.\\", 0) == 0) {
    return absolute;
  }
  if (absolute.rfind(L"\\\\", 0) == 0) {
    return L"\\\\?\\UNC\\" + absolute.substr(2);
  }
  return L"\\\\?\\" + absolute;
}

}  // namespace linguarde::win32
