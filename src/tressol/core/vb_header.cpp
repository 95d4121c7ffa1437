#include "vb_header.h"

#include <algorithm>
#include <optional>

#include "tool_error.h"
#include "unicode_text.h"

namespace tressol {
namespace {

namespace vb = layout::vb;

// What the runtime's class factory exports of an ActiveX DLL or OCX begin with.
const char* const kClassFactoryExports[] = {"DllGetClassObject", "DllRegisterServer",
                                            "DllUnregisterServer", "DllCanUnloadNow"};
const char* const kPackerSections[] = {"UPX",     ".aspack", ".adata", "MPRESS",
                                       ".petite", "PEC2",    ".nsp"};

bool HasMagic(const std::vector<std::uint8_t>& bytes) {
  return bytes.size() >= 4 && bytes[0] == 'V' && bytes[1] == 'B' && bytes[2] == '5' &&
         bytes[3] == '!';
}

// A library name as the header stores it: printable text ended by a NUL within its 14 bytes.
std::optional<std::string> StoredLibraryName(const std::vector<std::uint8_t>& bytes,
                                             std::size_t at) {
  std::string name;
  for (std::size_t i = at; i < at + vb::kLibraryNameSize; ++i) {
    if (bytes[i] == 0) return name;
    if (bytes[i] < 0x20 || bytes[i] > 0x7E) return std::nullopt;
    name += static_cast<char>(bytes[i]);
  }
  return std::nullopt;
}

// The header at a file offset, if it is one.
std::optional<VbHeader> HeaderAt(TargetFile& file, const PeImage& image, std::uint64_t offset) {
  if (offset > file.Size() || file.Size() - offset < vb::kReadSize) {
    return std::nullopt;
  }
  VbHeader header;
  header.offset = offset;
  header.bytes = ReadRange(file, offset, vb::kReadSize);
  const auto primary = StoredLibraryName(header.bytes, vb::kPrimaryLibrary);
  const auto secondary = StoredLibraryName(header.bytes, vb::kSecondaryLibrary);
  const std::uint32_t projectData = U32(header.bytes, vb::kProjectData);
  if (!HasMagic(header.bytes) || !primary || !secondary || projectData < image.imageBase ||
      projectData - image.imageBase >= image.imageSize) {
    return std::nullopt;
  }
  header.runtimeBuild = U16(header.bytes, vb::kRuntimeBuild);
  header.settings = {*primary, U32(header.bytes, vb::kPrimaryLcid), *secondary,
                     U32(header.bytes, vb::kSecondaryLcid)};
  return header;
}

// The header's address that code at an RVA pushes: prefix, then 68 <imm32>, then next.
std::optional<std::uint32_t> PushedAddress(TargetFile& file, const PeImage& image,
                                           std::uint32_t rva, std::optional<std::uint8_t> prefix,
                                           std::optional<std::uint8_t> next) {
  const std::uint32_t size = 5 + (prefix ? 1 : 0) + (next ? 1 : 0);
  const auto offset = image.RvaToOffset(rva, size);
  if (!offset) return std::nullopt;
  const std::vector<std::uint8_t> code = ReadRange(file, *offset, size);
  const std::size_t push = prefix ? 1 : 0;
  if ((prefix && code[0] != *prefix) || code[push] != 0x68 || (next && code[push + 5] != *next)) {
    return std::nullopt;
  }
  return U32(code, push + 1);
}

VbHeader HeaderNamedByCode(TargetFile& file, const PeImage& image, std::uint32_t va,
                           HeaderFoundBy by) {
  // A VB6 program's first instruction pushes its header; other programs may push anything.
  const auto offset = image.VaToOffset(va, vb::kReadSize);
  if (!offset) {
    NotVb6(Verdict::NoHeaderOutsideFile);
  }
  auto header = HeaderAt(file, image, *offset);
  if (!header && !HasMagic(ReadRange(file, *offset, vb::kReadSize))) {
    NotVb6(Verdict::NoHeaderWhereCodeSays);
  }
  if (!header) {
    Damaged(Verdict::InvalidHeader);
  }
  header->foundBy = by;
  return *header;
}

bool LooksPacked(const PeImage& image) {
  for (const Section& section : image.sections) {
    for (const char* packer : kPackerSections) {
      if (section.name.rfind(packer, 0) == 0) return true;
    }
  }
  return false;
}

// A header lies in a section's data, where the runtime maps it: only those bytes are
// searched, so that an overlay or a file far larger than its image costs nothing.
VbHeader Search(TargetFile& file, const PeImage& image) {
  constexpr std::uint64_t kMaxSearched = 256 << 20;
  std::uint64_t total = 0;
  for (const Section& section : image.sections) total += section.rawSize;
  if (total > kMaxSearched) {
    Damaged(Verdict::SearchTooLong);
  }
  std::vector<VbHeader> found;
  constexpr std::uint64_t kChunk = 1 << 20;
  for (const Section& section : image.sections) {
    const std::uint64_t end = std::uint64_t{section.rawOffset} + section.rawSize;
    for (std::uint64_t at = section.rawOffset; at < end; at += kChunk) {
      // Overlap by three bytes so that no "VB5!" straddling two chunks is missed.
      const std::vector<std::uint8_t> chunk =
          ReadRange(file, at, std::min<std::uint64_t>(kChunk + 3, end - at));
      for (std::size_t i = 0; i + 4 <= chunk.size() && i < kChunk; ++i) {
        if (chunk[i] != 'V' || chunk[i + 1] != 'B' || chunk[i + 2] != '5' || chunk[i + 3] != '!')
          continue;
        auto header = HeaderAt(file, image, at + i);
        // Sections may overlap: a header counts once.
        if (header && std::none_of(found.begin(), found.end(), [&](const VbHeader& other) {
              return other.offset == header->offset;
            })) {
          header->foundBy = HeaderFoundBy::Search;
          found.push_back(*header);
        }
      }
    }
  }
  if (found.size() > 1) {
    Damaged(Verdict::SeveralHeaders);
  }
  if (found.empty()) {
    NotVb6(Verdict::NoVbSignature);
  }
  return found.front();
}

VbHeader FindHeader(TargetFile& file, const PeImage& image, bool importsRuntime) {
  if (!image.isDll) {
    if (const auto va = PushedAddress(file, image, image.entryPoint, std::nullopt, 0xE8)) {
      return HeaderNamedByCode(file, image, *va, HeaderFoundBy::EntryPoint);
    }
  } else {
    std::optional<std::uint32_t> named;
    for (const char* name : kClassFactoryExports) {
      const auto rva = ExportedFunction(file, image, name);
      const auto va = rva ? PushedAddress(file, image, *rva, 0x58, std::nullopt) : std::nullopt;
      if (va && named && *va != *named) {
        Damaged(Verdict::ExportsDisagree);
      }
      if (va) named = va;
    }
    if (named) {
      return HeaderNamedByCode(file, image, *named, HeaderFoundBy::Exports);
    }
  }
  if (LooksPacked(image)) {
    if (!importsRuntime) NotVb6(Verdict::PackedWithoutRuntime);
    Damaged(Verdict::PackedWithRuntime);
  }
  return Search(file, image);
}

}  // namespace

VbHeader LocateVbHeader(TargetFile& file, const PeImage& image) {
  const bool importsRuntime = ImportsVbRuntime(file, image);
  if (image.signature != PeImage::Signature::Sound) {
    if (!importsRuntime) NotVb6(NoImage(image.signature));
    Damaged(Verdict::SignatureDamaged,
            image.signature == PeImage::Signature::MzDamaged ? "MZ" : "PE");
  }
  try {
    return FindHeader(file, image, importsRuntime);
  } catch (const NotVb6File& error) {
    // A program of the VB runtime without a header it can use is damaged, not foreign.
    if (!importsRuntime) throw;
    throw VerdictError(Failure::Refused, Verdict::RuntimeWithoutHeader, {}, error.Which());
  }
}

std::vector<std::uint8_t> SettingsBytes(const VbHeader& header, const LanguageSettings& settings) {
  std::vector<std::uint8_t> bytes(header.bytes.begin() + vb::kSettingsStart,
                                  header.bytes.begin() + vb::kSettingsEnd);
  const auto putName = [&bytes](std::size_t at, const std::string& name) {
    for (std::size_t i = 0; i < vb::kLibraryNameSize; ++i) {
      bytes[at - vb::kSettingsStart + i] = i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0;
    }
  };
  putName(vb::kPrimaryLibrary, settings.primaryLibrary);
  putName(vb::kSecondaryLibrary, settings.secondaryLibrary);
  PutU32(bytes, vb::kPrimaryLcid - vb::kSettingsStart, settings.primaryLcid);
  PutU32(bytes, vb::kSecondaryLcid - vb::kSettingsStart, settings.secondaryLcid);
  return bytes;
}

SettingsRead ReadByRuntime(const LanguageSettings& s) {
  SettingsRead read;
  read.primaryLcid = NamesALibraryFile(s.primaryLibrary);
  read.secondaryLibrary = s.primaryLibrary != "*";
  read.secondaryLcid = read.secondaryLibrary && NamesALibraryFile(s.secondaryLibrary);
  return read;
}

bool SameEffect(const LanguageSettings& a, const LanguageSettings& b) {
  // The steps the runtime takes: "~" or nothing is skipped, "*" ends the search.
  struct Step {
    const std::string* library;
    std::uint32_t lcid;
  };
  const auto steps = [](const LanguageSettings& s) {
    std::vector<Step> taken;
    for (const Step step :
         {Step{&s.primaryLibrary, s.primaryLcid}, Step{&s.secondaryLibrary, s.secondaryLcid}}) {
      if (*step.library == "*") {
        taken.push_back({step.library, 0});
        break;
      }
      if (NamesALibraryFile(*step.library)) taken.push_back(step);
    }
    return taken;
  };
  const std::vector<Step> first = steps(a), second = steps(b);
  return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                    [](const Step& x, const Step& y) {
                      return linguarde::unicode::SameIgnoringAsciiCase(*x.library, *y.library) &&
                             x.lcid == y.lcid;
                    });
}

}  // namespace tressol
