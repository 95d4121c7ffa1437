#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "target_file.h"
#include "tool_error.h"

namespace tressol {

struct Section {
  std::string name;
  std::uint32_t virtualAddress;
  std::uint32_t rawSize;
  std::uint32_t rawOffset;
};

// The parts of a PE32 (i386) image that locating and patching the VB header needs.
struct PeImage {
  bool isDll = false;
  std::uint32_t entryPoint = 0;  // RVA
  std::uint32_t imageBase = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t headersSize = 0;
  std::uint64_t checksumOffset = 0;  // file offset of the optional header's CheckSum
  std::uint32_t checksum = 0;
  std::uint32_t exportRva = 0;
  std::uint32_t importRva = 0, importSize = 0;
  std::uint32_t securityOffset = 0, securitySize = 0;  // Authenticode, a file offset
  std::vector<Section> sections;
  // An image whole but for its MZ or PE signature.
  enum class Signature { Sound, MzDamaged, PeDamaged } signature = Signature::Sound;

  // The file offset of size bytes at an RVA, when they all lie in the file's raw data.
  std::optional<std::uint64_t> RvaToOffset(std::uint32_t rva, std::uint32_t size) const;
  // The same for a virtual address of this image.
  std::optional<std::uint64_t> VaToOffset(std::uint32_t va, std::uint32_t size) const;
};

// Parses the headers; refuses anything that is not a complete PE32 i386 image, but reads
// one whose MZ or PE signature alone is damaged, saying so.
PeImage ReadPeImage(TargetFile& file);

// Whether the image imports the VB runtime (MSVBVM60.DLL, or MSVBVM50.DLL): what makes a
// program VB6 (or VB5) whatever its header's state. Refuses an import table that cannot be
// read well enough to tell. An image whose signature is damaged and whose imports cannot be
// read is no image: it is left aside as the signature says.
bool ImportsVbRuntime(TargetFile& file, const PeImage& image);

// Why a file whose signature is damaged is not taken for an image.
Verdict NoImage(PeImage::Signature signature);

// The RVA of an exported function, looked up by name.
std::optional<std::uint32_t> ExportedFunction(TargetFile& file, const PeImage& image,
                                              const std::string& name);

}  // namespace tressol
