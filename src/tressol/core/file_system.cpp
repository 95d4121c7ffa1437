#include "file_system.h"

#include "unicode_text.h"

namespace tressol {

bool IsTargetFileName(const std::string& name) {
  if (name.size() < 4) return false;
  const std::string_view extension = std::string_view(name).substr(name.size() - 4);
  for (const char* target : {".exe", ".dll", ".ocx"}) {
    if (linguarde::unicode::SameIgnoringAsciiCase(extension, target)) return true;
  }
  return false;
}

}  // namespace tressol
