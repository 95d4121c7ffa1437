#include "pe_image.h"

#include <algorithm>

#include "pe_layout.h"
#include "tool_error.h"
#include "unicode_text.h"

namespace tressol {
namespace {

namespace dos = layout::dos;
namespace coff = layout::coff;
namespace opt = layout::optional;
namespace sec = layout::section;

constexpr std::uint32_t kMaxSections = 96;
constexpr std::uint64_t kMaxLibraryName = 256;

[[noreturn]] void UnreadableImports() { Damaged(Verdict::UnreadableImports); }

// The file offset of the PE signature, which the DOS header names. A signature that is
// wrong where the rest is an image is said: such a file may still be a program of the VB
// runtime, damaged.
std::uint32_t NewHeaderOffset(TargetFile& file, PeImage::Signature& signature) {
  if (file.Size() < dos::kSize) {
    NotVb6(Verdict::TooShort);
  }
  const std::vector<std::uint8_t> header = ReadRange(file, 0, dos::kSize);
  const bool mz = header[0] == 'M' && header[1] == 'Z';
  const std::uint32_t offset = U32(header, dos::kNewHeader);
  if (offset > file.Size() || file.Size() - offset < 4) {
    if (!mz) NotVb6(NoImage(PeImage::Signature::MzDamaged));
    // A relocation table before 0x40 marks a plain DOS program, which has no new header;
    // otherwise the file stops before the header it names.
    if (U16(header, dos::kRelocationTable) < 0x40) NotVb6(Verdict::DosProgram);
    Damaged(Verdict::TruncatedBeforePe);
  }
  const std::vector<std::uint8_t> pe = ReadRange(file, offset, 4);
  if (!mz) signature = PeImage::Signature::MzDamaged;
  if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) {
    signature = PeImage::Signature::PeDamaged;
  }
  return offset;
}

void ReadOptionalHeader(const std::vector<std::uint8_t>& header, std::uint64_t at, PeImage& image) {
  if (U16(header, opt::kMagic) != opt::kMagicPe32) {
    NotVb6(Verdict::Pe64);
  }
  image.entryPoint = U32(header, opt::kEntryPoint);
  image.imageBase = U32(header, opt::kImageBase);
  image.imageSize = U32(header, opt::kImageSize);
  image.headersSize = U32(header, opt::kHeadersSize);
  image.checksumOffset = at + opt::kCheckSum;
  image.checksum = U32(header, opt::kCheckSum);
  const std::uint32_t directories = U32(header, opt::kDirectoryCount);
  const auto directory = [&](std::uint32_t index, std::uint32_t& address,
                             std::uint32_t* size = nullptr) {
    const std::size_t entry = opt::kDirectories + opt::kDirectorySize * index;
    if (index < directories && entry + opt::kDirectorySize <= header.size()) {
      address = U32(header, entry);
      if (size) *size = U32(header, entry + 4);
    }
  };
  directory(opt::kExportDirectory, image.exportRva);
  directory(opt::kImportDirectory, image.importRva, &image.importSize);
  directory(opt::kSecurityDirectory, image.securityOffset, &image.securitySize);
}

std::vector<Section> ReadSections(TargetFile& file, std::uint64_t at, std::uint32_t count) {
  const std::vector<std::uint8_t> table = ReadRange(file, at, std::uint64_t{count} * sec::kSize);
  std::vector<Section> sections;
  sections.reserve(count);  // as many as the table just read holds
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = i * sec::kSize;
    Section section;
    for (std::size_t c = 0; c < sec::kNameSize && table[entry + c] != 0; ++c) {
      section.name += static_cast<char>(table[entry + c]);
    }
    section.virtualAddress = U32(table, entry + sec::kVirtualAddress);
    section.rawSize = U32(table, entry + sec::kRawSize);
    section.rawOffset = U32(table, entry + sec::kRawOffset);
    if (std::uint64_t{section.rawOffset} + section.rawSize > file.Size()) {
      Damaged(Verdict::SectionPastEnd, section.name);
    }
    sections.push_back(section);
  }
  return sections;
}

PeImage ReadImageAt(TargetFile& file, std::uint32_t peOffset) {
  const std::vector<std::uint8_t> header = ReadRange(file, peOffset, coff::kSize);
  if (U16(header, coff::kMachine) != coff::kMachineI386) {
    NotVb6(Verdict::NotI386);
  }
  const std::uint32_t sectionCount = U16(header, coff::kSectionCount);
  const std::uint32_t optionalSize = U16(header, coff::kOptionalSize);
  if (sectionCount == 0 || sectionCount > kMaxSections || optionalSize < opt::kDirectories) {
    Damaged(Verdict::MalformedPe);
  }
  PeImage image;
  image.isDll = (U16(header, coff::kCharacteristics) & coff::kCharacteristicDll) != 0;
  const std::uint64_t optionalOffset = std::uint64_t{peOffset} + coff::kSize;
  ReadOptionalHeader(ReadRange(file, optionalOffset, optionalSize), optionalOffset, image);
  image.sections = ReadSections(file, optionalOffset + optionalSize, sectionCount);
  return image;
}

bool ImportsVbRuntimeOf(TargetFile& file, const PeImage& image) {
  if (image.importRva == 0) return false;
  constexpr std::uint32_t kDescriptorSize = layout::imports::kSize;
  constexpr std::uint32_t kMaxDescriptors = 4096;
  const char* const kRuntimes[] = {"MSVBVM60.DLL", "MSVBVM50.DLL"};
  for (std::uint32_t i = 0;; ++i) {
    const auto at = image.RvaToOffset(image.importRva + i * kDescriptorSize, kDescriptorSize);
    if (!at || i == kMaxDescriptors) UnreadableImports();
    const std::vector<std::uint8_t> descriptor = ReadRange(file, *at, kDescriptorSize);
    const std::uint32_t nameRva = U32(descriptor, layout::imports::kName);
    if (nameRva == 0 && U32(descriptor, layout::imports::kFirstThunk) == 0) {
      // The table's end; a directory that declares entries but ends at once was read
      // through a section that no longer lies where its header says.
      if (i == 0 && image.importSize >= 2 * kDescriptorSize) UnreadableImports();
      return false;
    }
    const auto nameAt = image.RvaToOffset(nameRva, 1);
    if (!nameAt) UnreadableImports();
    // A library's name is a file name: printable and ended by a NUL; anything else was
    // read from the wrong place.
    const std::uint64_t length = std::min<std::uint64_t>(kMaxLibraryName, file.Size() - *nameAt);
    const std::vector<std::uint8_t> name = ReadRange(file, *nameAt, length);
    const auto end = std::find(name.begin(), name.end(), 0);
    if (end == name.begin() || end == name.end() ||
        std::any_of(name.begin(), end, [](std::uint8_t c) { return c < 0x20 || c > 0x7E; })) {
      UnreadableImports();
    }
    const std::string found(name.begin(), end);
    for (const char* runtime : kRuntimes) {
      if (linguarde::unicode::SameIgnoringAsciiCase(found, runtime)) return true;
    }
  }
}

// Whether a sound image of the VB runtime starts within the file's first page, where linkers
// put the headers, though not where the DOS header says: a program whose e_lfanew was
// damaged, not a DOS one. Only that page is read, never the whole file.
bool RuntimeImageElsewhere(TargetFile& file) {
  constexpr std::uint64_t kHeadersPage = 4096;
  const std::uint64_t size = std::min<std::uint64_t>(file.Size(), kHeadersPage);
  const std::vector<std::uint8_t> page = ReadRange(file, 0, size);
  for (std::uint64_t at = dos::kSize; at + 4 <= size; ++at) {
    if (page[at] != 'P' || page[at + 1] != 'E' || page[at + 2] != 0 || page[at + 3] != 0) continue;
    try {
      if (ImportsVbRuntimeOf(file, ReadImageAt(file, static_cast<std::uint32_t>(at)))) return true;
    } catch (const ToolError&) {
      // Not an image, or not one whose imports can be read: no evidence either way.
    }
  }
  return false;
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

Verdict NoImage(PeImage::Signature signature) {
  return signature == PeImage::Signature::MzDamaged ? Verdict::NoMzSignature
                                                    : Verdict::NoPeSignature;
}

PeImage ReadPeImage(TargetFile& file) {
  PeImage::Signature signature = PeImage::Signature::Sound;
  const std::uint32_t peOffset = NewHeaderOffset(file, signature);
  if (signature == PeImage::Signature::Sound) return ReadImageAt(file, peOffset);
  // Only an image whole but for its signature is read; anything else is no image.
  PeImage image;
  try {
    image = ReadImageAt(file, peOffset);
  } catch (const ToolError&) {
    if (signature == PeImage::Signature::PeDamaged && RuntimeImageElsewhere(file)) {
      Damaged(Verdict::PeHeaderElsewhere);
    }
    NotVb6(NoImage(signature));
  }
  image.signature = signature;
  return image;
}

bool ImportsVbRuntime(TargetFile& file, const PeImage& image) {
  if (image.signature == PeImage::Signature::Sound) return ImportsVbRuntimeOf(file, image);
  try {
    return ImportsVbRuntimeOf(file, image);
  } catch (const ToolError&) {
    NotVb6(NoImage(image.signature));
  }
}

std::optional<std::uint32_t> ExportedFunction(TargetFile& file, const PeImage& image,
                                              const std::string& name) {
  namespace ex = layout::exports;
  const auto directoryOffset = image.RvaToOffset(image.exportRva, ex::kSize);
  if (image.exportRva == 0 || !directoryOffset) {
    return std::nullopt;
  }
  const std::vector<std::uint8_t> directory = ReadRange(file, *directoryOffset, ex::kSize);
  const std::uint32_t functionCount = U32(directory, ex::kFunctionCount);
  const std::uint32_t nameCount = U32(directory, ex::kNameCount);
  if (nameCount > 65536 || functionCount > 65536) {
    return std::nullopt;
  }
  const auto functions = image.RvaToOffset(U32(directory, ex::kFunctions), functionCount * 4);
  const auto names = image.RvaToOffset(U32(directory, ex::kNames), nameCount * 4);
  const auto ordinals = image.RvaToOffset(U32(directory, ex::kOrdinals), nameCount * 2);
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
