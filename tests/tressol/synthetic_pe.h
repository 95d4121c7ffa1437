#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tressol::test {

// A small PE32 i386 image shaped as VB6 writes them: one section, the project header in
// it, named by the entry point (EXE) or by the class factory exports (DLL).
struct SyntheticPe {
  static constexpr std::uint32_t kHeaderRva = 0x1100;
  static constexpr std::uint32_t kHeaderOffset = 0x500;

  bool dll = false;
  bool header = true;                   // holds "VB5!" at kHeaderRva
  bool codeNamesHeader = true;          // entry point or exports push the header's address
  std::uint32_t namedRva = kHeaderRva;  // what that code names
  bool secondHeader = false;            // another valid "VB5!" later in the section
  bool checksum = true;                 // a valid CheckSum, or zero
  bool signature = false;               // an Authenticode blob in an overlay
  bool importsRuntime = true;           // its import table names MSVBVM60.DLL
  std::string sectionName = ".text";
  std::string primary = "*";
  std::uint32_t primaryLcid = 0x409;
  std::string secondary = "~";
  std::uint32_t secondaryLcid = 0;
  std::uint32_t overlay = 0;  // zero bytes appended after the image

  std::uint32_t ImageBase() const { return dll ? 0x11000000 : 0x400000; }
  std::vector<std::uint8_t> Build() const;
};

}  // namespace tressol::test
