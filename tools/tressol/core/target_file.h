#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tressol {

// Random access to the target. Failures throw ToolError(Failure::Io).
class TargetFile {
 public:
  virtual ~TargetFile() = default;
  virtual std::uint64_t Size() = 0;
  virtual void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) = 0;
  virtual void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) = 0;
  // Makes what was written durable before it is read back.
  virtual void Flush() = 0;
};

// Reads a range that must lie inside the file; otherwise the file is refused as truncated.
std::vector<std::uint8_t> ReadRange(TargetFile& file, std::uint64_t offset, std::uint64_t size);

// Little-endian fields of a buffer at checked offsets.
std::uint16_t U16(const std::vector<std::uint8_t>& bytes, std::size_t offset);
std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t offset);
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

}  // namespace tressol
