#include "file_system.h"

namespace tressol {

bool IsTargetFileName(const std::string& name) {
  for (const char* extension : {".exe", ".dll", ".ocx"}) {
    if (name.size() < 4) return false;
    bool same = true;
    for (std::size_t i = 0; i < 4; ++i) {
      const char c = name[name.size() - 4 + i];
      same = same && (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == extension[i];
    }
    if (same) return true;
  }
  return false;
}

}  // namespace tressol
