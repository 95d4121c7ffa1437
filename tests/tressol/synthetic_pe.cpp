#include "synthetic_pe.h"

#include "memory_target.h"

namespace tressol::test {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}
void PutText(std::vector<std::uint8_t>& b, std::size_t at, const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) b[at + i] = static_cast<std::uint8_t>(text[i]);
}

constexpr std::uint32_t kSectionRva = 0x1000;
constexpr std::uint32_t kSectionOffset = 0x400;
constexpr std::uint32_t kSectionSize = 0x1000;
constexpr std::size_t kPe = 0x80;

std::size_t At(std::uint32_t rva) { return kSectionOffset + (rva - kSectionRva); }

}  // namespace

std::vector<std::uint8_t> SyntheticPe::Build() const {
  std::vector<std::uint8_t> b(kSectionOffset + kSectionSize, 0);
  PutText(b, 0, "MZ");
  Put32(b, 0x3C, kPe);
  PutText(b, kPe, std::string("PE\0\0", 4));
  Put16(b, kPe + 4, 0x14C);
  Put16(b, kPe + 6, 1);
  Put16(b, kPe + 20, 0xE0);
  Put16(b, kPe + 22, dll ? 0x2102 : 0x0102);
  const std::size_t opt = kPe + 24;
  Put16(b, opt, 0x10B);
  Put32(b, opt + 16, dll ? 0x1020 : 0x1000);
  Put32(b, opt + 28, ImageBase());
  Put32(b, opt + 32, 0x1000);
  Put32(b, opt + 36, 0x200);
  Put32(b, opt + 56, 0x2000);
  Put32(b, opt + 60, kSectionOffset);
  Put32(b, opt + 92, 16);
  const std::size_t section = opt + 0xE0;
  PutText(b, section, sectionName.substr(0, 8));
  Put32(b, section + 8, kSectionSize);
  Put32(b, section + 12, kSectionRva);
  Put32(b, section + 16, kSectionSize);
  Put32(b, section + 20, kSectionOffset);

  const auto putHeader = [&](std::uint32_t rva) {
    const std::size_t h = At(rva);
    PutText(b, h, "VB5!");
    Put16(b, h + 4, 8988);
    PutText(b, h + 6, primary);
    PutText(b, h + 0x14, secondary);
    Put16(b, h + 0x22, 10);
    Put32(b, h + 0x24, primaryLcid);
    Put32(b, h + 0x28, secondaryLcid);
    Put32(b, h + 0x30, ImageBase() + 0x1200);
  };
  if (header) putHeader(kHeaderRva);
  if (secondHeader) putHeader(0x1300);

  const std::uint32_t va = ImageBase() + namedRva;
  if (!dll) {
    const std::size_t entry = At(0x1000);
    if (codeNamesHeader) {
      b[entry] = 0x68;
      Put32(b, entry + 1, va);
      b[entry + 5] = 0xE8;
    } else {
      b[entry] = 0xC3;
    }
  } else {
    b[At(0x1020)] = 0xC3;
    const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                           "DllUnregisterServer"};
    const std::uint32_t directory = 0x1800;
    Put32(b, opt + 96, directory);
    Put32(b, opt + 100, 0x200);
    const std::size_t d = At(directory);
    Put32(b, d + 20, 4);
    Put32(b, d + 24, 4);
    Put32(b, d + 28, 0x1840);
    Put32(b, d + 32, 0x1850);
    Put32(b, d + 36, 0x1860);
    for (std::uint32_t i = 0; i < 4; ++i) {
      const std::uint32_t function = 0x1040 + 8 * i;
      Put32(b, At(0x1840 + 4 * i), function);
      Put32(b, At(0x1850 + 4 * i), 0x1880 + 0x20 * i);
      Put16(b, At(0x1860 + 2 * i), i);
      PutText(b, At(0x1880 + 0x20 * i), names[i]);
      if (codeNamesHeader) {
        b[At(function)] = 0x58;
        b[At(function) + 1] = 0x68;
        Put32(b, At(function) + 2, va);
      }
    }
  }
  if (importsRuntime) {
    const std::uint32_t imports = 0x1A00;  // one descriptor, then the zero one
    Put32(b, opt + 96 + 8, imports);
    Put32(b, opt + 100 + 8, 40);
    Put32(b, At(imports + 12), 0x1A40);
    Put32(b, At(imports + 16), 0x1A60);
    PutText(b, At(0x1A40), "MSVBVM60.DLL");
  }
  if (signature) {
    Put32(b, opt + 96 + 8 * 4, static_cast<std::uint32_t>(b.size()));
    Put32(b, opt + 100 + 8 * 4, 8);
    b.insert(b.end(), {8, 0, 0, 0, 0, 2, 2, 0});
  }
  b.insert(b.end(), overlay, 0);
  if (checksum) Put32(b, opt + 64, ReferenceChecksum(b));
  return b;
}

}  // namespace tressol::test
