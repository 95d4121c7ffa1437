#include "file_names.h"

#include <windows.h>

namespace linguarde::win32 {

int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) -
         CSTR_EQUAL;
}

bool StartsWithIgnoringCase(std::wstring_view name, std::wstring_view start) {
  return name.size() >= start.size() && SameIgnoringCase(name.substr(0, start.size()), start);
}

bool EndsWithIgnoringCase(std::wstring_view name, std::wstring_view ending) {
  return name.size() >= ending.size() &&
         SameIgnoringCase(name.substr(name.size() - ending.size()), ending);
}

}  // namespace linguarde::win32
