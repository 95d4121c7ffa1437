#include "long_path.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace linguarde::win32 {

std::optional<std::wstring> FullPath(const std::wstring& path) {
  if (path.empty()) return std::nullopt;
  std::vector<wchar_t> full(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < full.size()) return std::wstring(full.data(), length);
    full.resize(length);
  }
}

std::wstring ExtendedPath(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0 || path.empty()) {
    return path;
  }
  const std::optional<std::wstring> full = FullPath(path);
  if (!full) return path;
  const std::wstring& absolute = *full;
  // A device name such as "NUL" comes back as a device path.
  if (absolute.rfind(L"\\\\?\\", 0) == 0 || absolute.rfind(L"\\\\.\\", 0) == 0) {
    return absolute;
  }
  if (absolute.rfind(L"\\\\", 0) == 0) {
    return L"\\\\?\\UNC\\" + absolute.substr(2);
  }
  return L"\\\\?\\" + absolute;
}

std::wstring WithoutExtendedPrefix(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

std::optional<std::wstring> PlainPath(const std::wstring& extended) {
  const std::wstring plain = WithoutExtendedPrefix(extended);
  if (plain == extended || ExtendedPath(plain) != extended) return std::nullopt;
  return plain;
}

}  // namespace linguarde::win32
