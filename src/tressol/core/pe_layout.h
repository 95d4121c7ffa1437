#pragma once

#include <cstddef>
#include <cstdint>

// Where the fields that the tool reads lie, each from the start of its own structure. All
// fields are little-endian.
namespace tressol::layout {

// The DOS header ("MZ") at the start of the file.
namespace dos {
inline constexpr std::size_t kSize = 0x40;
inline constexpr std::size_t kRelocationTable = 0x18;  // u16; below 0x40 in a plain DOS program
inline constexpr std::size_t kNewHeader = 0x3C;        // u32: the file offset of "PE\0\0"
}  // namespace dos

// The PE signature and the COFF file header that follows it.
namespace coff {
inline constexpr std::size_t kSize = 24;
inline constexpr std::size_t kMachine = 4;           // u16
inline constexpr std::size_t kSectionCount = 6;      // u16
inline constexpr std::size_t kOptionalSize = 20;     // u16
inline constexpr std::size_t kCharacteristics = 22;  // u16
inline constexpr std::uint16_t kMachineI386 = 0x14C;
inline constexpr std::uint16_t kCharacteristicDll = 0x2000;
}  // namespace coff

// The PE32 optional header, then its data directories of 8 bytes (an RVA and a size).
namespace optional {
inline constexpr std::size_t kMagic = 0;            // u16
inline constexpr std::size_t kEntryPoint = 16;      // u32, an RVA
inline constexpr std::size_t kImageBase = 28;       // u32
inline constexpr std::size_t kImageSize = 56;       // u32
inline constexpr std::size_t kHeadersSize = 60;     // u32
inline constexpr std::size_t kCheckSum = 64;        // u32
inline constexpr std::size_t kDirectoryCount = 92;  // u32
inline constexpr std::size_t kDirectories = 96;
inline constexpr std::size_t kDirectorySize = 8;
inline constexpr std::uint16_t kMagicPe32 = 0x10B;
inline constexpr std::uint32_t kExportDirectory = 0;
inline constexpr std::uint32_t kImportDirectory = 1;
inline constexpr std::uint32_t kSecurityDirectory = 4;  // its "RVA" is a file offset
}  // namespace optional

// A section header.
namespace section {
inline constexpr std::size_t kSize = 40;
inline constexpr std::size_t kNameSize = 8;
inline constexpr std::size_t kVirtualAddress = 12;  // u32
inline constexpr std::size_t kRawSize = 16;         // u32
inline constexpr std::size_t kRawOffset = 20;       // u32
}  // namespace section

// The export directory.
namespace exports {
inline constexpr std::size_t kSize = 40;
inline constexpr std::size_t kFunctionCount = 20;  // u32
inline constexpr std::size_t kNameCount = 24;      // u32
inline constexpr std::size_t kFunctions = 28;      // u32, an RVA: u32 RVAs
inline constexpr std::size_t kNames = 32;          // u32, an RVA: u32 RVAs of names
inline constexpr std::size_t kOrdinals = 36;       // u32, an RVA: u16 indexes into kFunctions
}  // namespace exports

// An import descriptor; the table ends with one of zeros.
namespace imports {
inline constexpr std::size_t kSize = 20;
inline constexpr std::size_t kName = 12;        // u32, an RVA: the library's name
inline constexpr std::size_t kFirstThunk = 16;  // u32
}  // namespace imports

// The VB runtime's project header, from its "VB5!".
namespace vb {
inline constexpr std::size_t kReadSize = 0x34;
inline constexpr std::size_t kRuntimeBuild = 0x04;      // u16
inline constexpr std::size_t kPrimaryLibrary = 0x06;    // 14 bytes, NUL-padded
inline constexpr std::size_t kSecondaryLibrary = 0x14;  // 14 bytes, NUL-padded
inline constexpr std::size_t kLibraryNameSize = 14;
inline constexpr std::size_t kRuntimeRevision = 0x22;  // u16, never changed
inline constexpr std::size_t kPrimaryLcid = 0x24;      // u32
inline constexpr std::size_t kSecondaryLcid = 0x28;    // u32
inline constexpr std::size_t kProjectData = 0x30;      // u32, a virtual address
// The settings, from the first library name to the end of the second locale.
inline constexpr std::size_t kSettingsStart = kPrimaryLibrary;
inline constexpr std::size_t kSettingsEnd = kSecondaryLcid + 4;
}  // namespace vb

}  // namespace tressol::layout
