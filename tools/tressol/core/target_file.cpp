#include "target_file.h"

#include "tool_error.h"

namespace tressol {
namespace {

void Check(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t size) {
  if (offset > bytes.size() || bytes.size() - offset < size) {
    Refuse("le fichier est tronqué : un champ dépasse la fin des données lues");
  }
}

}  // namespace

std::vector<std::uint8_t> ReadRange(TargetFile& file, std::uint64_t offset, std::uint64_t size) {
  const std::uint64_t fileSize = file.Size();
  if (offset > fileSize || fileSize - offset < size) {
    Refuse("le fichier est tronqué : il s'arrête avant la fin de ses propres structures");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size != 0) {
    file.ReadAt(offset, bytes.data(), bytes.size());
  }
  return bytes;
}

std::uint16_t U16(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  Check(bytes, offset, 2);
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  Check(bytes, offset, 4);
  return static_cast<std::uint32_t>(bytes[offset]) |
         (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  Check(bytes, offset, 4);
  for (int i = 0; i < 4; ++i) {
    bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace tressol
