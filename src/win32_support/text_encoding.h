#pragma once

#include <string>
#include <string_view>

namespace linguarde::win32 {

// UTF-16 and UTF-8, for files and streams that carry UTF-8.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);

}  // namespace linguarde::win32
