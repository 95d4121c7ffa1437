#pragma once

#include <string_view>

namespace linguarde::win32 {

// Names compared as the file system compares them: ordinal, without regard to case, by the
// system's own case table. The environment's names compare so too.
// Negative, zero or positive as a comes before, with or after b.
int CompareIgnoringCase(std::wstring_view a, std::wstring_view b);
inline bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return CompareIgnoringCase(a, b) == 0;
}
bool StartsWithIgnoringCase(std::wstring_view name, std::wstring_view start);
bool EndsWithIgnoringCase(std::wstring_view name, std::wstring_view ending);

}  // namespace linguarde::win32
