#include "pe_image.h"

#include <algorithm>

#include "tool_error.h"

namespace tressol {
namespace {

constexpr std::uint16_t kMachineI386 = 0x14C;
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kCharacteristicDll = 0x2000;
constexpr std::uint32_t kMaxSections = 96;

[[noreturn]] void UnreadableImports() {
  Refuse(
      "sa table d'importations ne peut pas être lue (hors du fichier), et sans elle rien ne "
      "dit s'il s'agit d'un fichier VB6 ; recopiez-le depuis l'original");
}

}  // namespace

std::optional<std::uint64_t> PeImage::RvaToOffset(std::uint32_t rva, std::uint32_t size) const {
  if (rva < headersSize && size <= headersSize - rva) {
    return rva;
  }
  for (const Section& section : sections) {
    if (rva >= section.virtualAddress) {
      const std::uint64_t inside = rva - section.virtualAddress;
      if (inside + size <= section.rawSize) {
        return section.rawOffset + inside;
      }
    }
  }
  return std::nullopt;
}

std::optional<std::uint64_t> PeImage::VaToOffset(std::uint32_t va, std::uint32_t size) const {
  if (va < imageBase) {
    return std::nullopt;
  }
  return RvaToOffset(va - imageBase, size);
}

PeImage ReadPeImage(TargetFile& file) {
  if (file.Size() < 0x40) {
    NotVb6("trop court pour une image PE");
  }
  const std::vector<std::uint8_t> dos = ReadRange(file, 0, 0x40);
  if (dos[0] != 'M' || dos[1] != 'Z') {
    NotVb6("pas une image PE (signature MZ absente)");
  }
  const std::uint32_t peOffset = U32(dos, 0x3C);
  if (peOffset > file.Size() || file.Size() - peOffset < 4) {
    // A relocation table before 0x40 marks a plain DOS program, which has no new header;
    // otherwise the file stops before the header it names.
    if (U16(dos, 0x18) < 0x40) NotVb6("programme DOS (sans en-tête PE)");
    Refuse(
        "le fichier est tronqué (il s'arrête avant son en-tête PE) ; recopiez-le depuis "
        "l'original");
  }
  const std::vector<std::uint8_t> signature = ReadRange(file, peOffset, 4);
  if (signature[0] != 'P' || signature[1] != 'E' || signature[2] != 0 || signature[3] != 0) {
    NotVb6("programme DOS ou 16 bits (signature PE absente)");
  }
  const std::vector<std::uint8_t> coff = ReadRange(file, peOffset, 24);
  if (U16(coff, 4) != kMachineI386) {
    NotVb6("image non i386 (64 bits ou autre processeur), que Visual Basic 6 ne produit pas");
  }
  const std::uint32_t sectionCount = U16(coff, 6);
  const std::uint32_t optionalSize = U16(coff, 20);
  if (sectionCount == 0 || sectionCount > kMaxSections || optionalSize < 96) {
    Refuse("son image PE est mal formée (sections ou en-tête optionnel)");
  }

  PeImage image;
  image.isDll = (U16(coff, 22) & kCharacteristicDll) != 0;
  const std::uint64_t optionalOffset = std::uint64_t{peOffset} + 24;
  const std::vector<std::uint8_t> optional = ReadRange(file, optionalOffset, optionalSize);
  if (U16(optional, 0) != kMagicPe32) {
    NotVb6("image PE32+ (64 bits), que Visual Basic 6 ne produit pas");
  }
  image.entryPoint = U32(optional, 16);
  image.imageBase = U32(optional, 28);
  image.imageSize = U32(optional, 56);
  image.headersSize = U32(optional, 60);
  image.checksumOffset = optionalOffset + 64;
  image.checksum = U32(optional, 64);
  const std::uint32_t directories = U32(optional, 92);
  const auto directory = [&](std::uint32_t index, std::uint32_t& address, std::uint32_t& size) {
    if (index < directories && 96 + 8 * index + 8 <= optionalSize) {
      address = U32(optional, 96 + 8 * index);
      size = U32(optional, 100 + 8 * index);
    }
  };
  directory(0, image.exportRva, image.exportSize);
  directory(1, image.importRva, image.importSize);
  directory(4, image.securityOffset, image.securitySize);

  const std::vector<std::uint8_t> table =
      ReadRange(file, optionalOffset + optionalSize, std::uint64_t{sectionCount} * 40);
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    const std::size_t at = i * 40;
    Section section;
    for (std::size_t c = 0; c < 8 && table[at + c] != 0; ++c) {
      section.name += static_cast<char>(table[at + c]);
    }
    section.virtualSize = U32(table, at + 8);
    section.virtualAddress = U32(table, at + 12);
    section.rawSize = U32(table, at + 16);
    section.rawOffset = U32(table, at + 20);
    if (std::uint64_t{section.rawOffset} + section.rawSize > file.Size()) {
      Refuse("le fichier est tronqué (sa section « " + section.name +
             " » dépasse sa fin) ; recopiez-le depuis l'original");
    }
    image.sections.push_back(section);
  }
  return image;
}

bool ImportsVbRuntime(TargetFile& file, const PeImage& image) {
  if (image.importRva == 0) return false;
  constexpr std::uint32_t kDescriptorSize = 20;
  constexpr std::uint32_t kMaxDescriptors = 4096;
  const char* const kRuntimes[] = {"MSVBVM60.DLL", "MSVBVM50.DLL"};
  for (std::uint32_t i = 0;; ++i) {
    const auto at = image.RvaToOffset(image.importRva + i * kDescriptorSize, kDescriptorSize);
    if (!at || i == kMaxDescriptors) UnreadableImports();
    const std::vector<std::uint8_t> descriptor = ReadRange(file, *at, kDescriptorSize);
    const std::uint32_t nameRva = U32(descriptor, 12);
    if (nameRva == 0 && U32(descriptor, 16) == 0) return false;  // the table's end
    const auto nameAt = image.RvaToOffset(nameRva, 1);
    if (!nameAt) UnreadableImports();
    // Enough for the runtime's name and its NUL: a longer name differs anyway.
    const std::uint64_t length = std::min<std::uint64_t>(13, file.Size() - *nameAt);
    const std::vector<std::uint8_t> name = ReadRange(file, *nameAt, length);
    for (const char* runtime : kRuntimes) {
      bool same = name.size() == 13 && name[12] == 0;
      for (std::size_t c = 0; same && c < 12; ++c) {
        const char letter = static_cast<char>(name[c]);
        same = (letter >= 'a' && letter <= 'z' ? letter - 'a' + 'A' : letter) == runtime[c];
      }
      if (same) return true;
    }
  }
}

std::optional<std::uint32_t> ExportedFunction(TargetFile& file, const PeImage& image,
                                              const std::string& name) {
  const auto directoryOffset = image.RvaToOffset(image.exportRva, 40);
  if (image.exportRva == 0 || !directoryOffset) {
    return std::nullopt;
  }
  const std::vector<std::uint8_t> directory = ReadRange(file, *directoryOffset, 40);
  const std::uint32_t functionCount = U32(directory, 20);
  const std::uint32_t nameCount = U32(directory, 24);
  if (nameCount > 65536 || functionCount > 65536) {
    return std::nullopt;
  }
  const auto functions = image.RvaToOffset(U32(directory, 28), functionCount * 4);
  const auto names = image.RvaToOffset(U32(directory, 32), nameCount * 4);
  const auto ordinals = image.RvaToOffset(U32(directory, 36), nameCount * 2);
  if (!functions || !names || !ordinals) {
    return std::nullopt;
  }
  const std::vector<std::uint8_t> nameTable = ReadRange(file, *names, nameCount * 4);
  const std::vector<std::uint8_t> ordinalTable = ReadRange(file, *ordinals, nameCount * 2);
  const std::vector<std::uint8_t> functionTable = ReadRange(file, *functions, functionCount * 4);
  for (std::uint32_t i = 0; i < nameCount; ++i) {
    const auto nameOffset =
        image.RvaToOffset(U32(nameTable, i * 4), static_cast<std::uint32_t>(name.size() + 1));
    if (!nameOffset) continue;
    const std::vector<std::uint8_t> candidate = ReadRange(file, *nameOffset, name.size() + 1);
    if (std::string(candidate.begin(), candidate.end() - 1) == name && candidate.back() == 0) {
      const std::uint32_t ordinal = U16(ordinalTable, i * 2);
      if (ordinal < functionCount) {
        return U32(functionTable, ordinal * 4);
      }
    }
  }
  return std::nullopt;
}

}  // namespace tressol
