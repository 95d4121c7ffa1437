#include "run_terms.h"

#include <string_view>

#include "pe_layout.h"
#include "unicode_text.h"

namespace tressol {
namespace {

bool IsReservedDeviceName(const std::string& word) {
  using linguarde::unicode::SameIgnoringAsciiCase;
  const std::string_view base = std::string_view(word).substr(0, word.find('.'));
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (SameIgnoringAsciiCase(base, device)) return true;
  }
  return base.size() == 4 &&
         (SameIgnoringAsciiCase(base.substr(0, 3), "COM") ||
          SameIgnoringAsciiCase(base.substr(0, 3), "LPT")) &&
         base[3] >= '0' && base[3] <= '9';
}

}  // namespace

// "*" and "~" are the runtime's own tokens; anything else must be a file name that Windows
// can look for, or the runtime would never find it.
bool IsLibraryArgument(const std::string& word) {
  if (word.empty() || word.size() >= layout::vb::kLibraryNameSize) return false;
  if (word == "*" || word == "~") return true;
  for (const char c : word) {
    if (c < 0x20 || c > 0x7E || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
      return false;
  }
  if (word.back() == ' ' || word.back() == '.' || IsReservedDeviceName(word)) return false;
  return true;
}

bool IsLcidArgument(std::uint32_t lcid) { return lcid <= 0xFFFFF; }

}  // namespace tressol
