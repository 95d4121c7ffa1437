#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pe_image.h"
#include "target_file.h"

namespace tressol {

// The runtime project header of a compiled VB6 target. From its start ("VB5!"):
// +0x04 u16 runtime build, +0x06 and +0x14 the primary and secondary language library
// names (14 bytes, NUL-padded), +0x22 u16 runtime revision, +0x24 and +0x28 the primary
// and secondary locale IDs (u32), +0x30 the project data's address.
inline constexpr std::uint32_t kHeaderReadSize = 0x34;
inline constexpr std::size_t kLibraryNameSize = 14;
inline constexpr std::size_t kSettingsStart = 0x06;
inline constexpr std::size_t kSettingsEnd = 0x2C;

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

enum class HeaderFoundBy { EntryPoint, Exports, Search };

struct VbHeader {
  std::uint64_t offset = 0;  // in the file
  HeaderFoundBy foundBy = HeaderFoundBy::EntryPoint;
  std::vector<std::uint8_t> bytes;  // kHeaderReadSize bytes from offset
  std::uint16_t runtimeBuild = 0;
  LanguageSettings settings;
};

// Finds the header the way the runtime does (the EXE's entry point, or a DLL's class
// factory exports) and only where neither names it, by a search that must find exactly
// one valid candidate. Refuses the file otherwise.
VbHeader LocateVbHeader(TargetFile& file, const PeImage& image);

// The header's bytes from kSettingsStart to kSettingsEnd with the new settings.
std::vector<std::uint8_t> SettingsBytes(const VbHeader& header, const LanguageSettings& settings);

}  // namespace tressol
