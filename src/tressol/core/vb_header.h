#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pe_image.h"
#include "pe_layout.h"
#include "target_file.h"

namespace tressol {

// The language settings of the runtime project header of a compiled VB6 target, whose
// fields pe_layout.h places.
struct LanguageSettings {
  std::string primaryLibrary;
  std::uint32_t primaryLcid = 0;
  std::string secondaryLibrary;
  std::uint32_t secondaryLcid = 0;
  bool operator==(const LanguageSettings& other) const {
    return primaryLibrary == other.primaryLibrary && primaryLcid == other.primaryLcid &&
           secondaryLibrary == other.secondaryLibrary && secondaryLcid == other.secondaryLcid;
  }
};

// "*" is the runtime's own English messages and "~" no library; anything else but nothing
// names a language library file.
inline bool NamesALibraryFile(const std::string& library) {
  return !library.empty() && library != "*" && library != "~";
}

// Which settings the runtime reads: a language only beside a library file, nothing after "*".
// The primary library is always read.
struct SettingsRead {
  bool primaryLcid = false;
  bool secondaryLibrary = false;
  bool secondaryLcid = false;
};
SettingsRead ReadByRuntime(const LanguageSettings& settings);
// Whether the runtime does the same with both: it tries the same library files (named
// without regard to case, as Windows finds files) with the same languages, in the same
// order, and ends on its English messages or on none alike. Bytes it never reads do not count.
bool SameEffect(const LanguageSettings& a, const LanguageSettings& b);

enum class HeaderFoundBy { EntryPoint, Exports, Search };

struct VbHeader {
  std::uint64_t offset = 0;  // in the file
  HeaderFoundBy foundBy = HeaderFoundBy::EntryPoint;
  std::vector<std::uint8_t> bytes;  // layout::vb::kReadSize bytes from offset
  std::uint16_t runtimeBuild = 0;
  LanguageSettings settings;
};

// Finds the header the way the runtime does (the EXE's entry point, or a DLL's class
// factory exports) and only where neither names it, by a search that must find exactly
// one valid candidate. Refuses the file otherwise.
VbHeader LocateVbHeader(TargetFile& file, const PeImage& image);

// The header's settings bytes (layout::vb::kSettingsStart to kSettingsEnd) holding the
// settings given.
std::vector<std::uint8_t> SettingsBytes(const VbHeader& header, const LanguageSettings& settings);

}  // namespace tressol
