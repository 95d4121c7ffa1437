#pragma once

#include <string>
#include <string_view>

namespace linguarde::win32 {

// UTF-16 and UTF-8, for files and streams that carry UTF-8. A lone surrogate is kept, as
// its three bytes, so that any Windows name comes back from its bytes.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);

}  // namespace linguarde::win32
