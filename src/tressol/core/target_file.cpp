#include "target_file.h"

#include <algorithm>

#include "tool_error.h"

namespace tressol {
void OutsideBuffer() { Damaged(Verdict::FieldPastEnd); }

const PagedFile::Page& PagedFile::PageAt(std::uint64_t index) {
  auto found = pages_.find(index);
  if (found == pages_.end()) {
    const std::uint64_t start = index * kPageSize;
    const std::uint64_t size = file_->Size();
    Page page;
    page.size = static_cast<std::size_t>(
        start < size ? std::min<std::uint64_t>(kPageSize, size - start) : 0);
    page.bytes.reset(new std::uint8_t[page.size]);
    if (page.size > 0) file_->ReadAt(start, page.bytes.get(), page.size);
    found = pages_.emplace(index, std::move(page)).first;
  }
  return found->second;
}

void PagedFile::ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) {
  if (size > kPageSize) {
    file_->ReadAt(offset, out, size);
    return;
  }
  while (size > 0) {
    const Page& page = PageAt(offset / kPageSize);
    const std::size_t within = static_cast<std::size_t>(offset % kPageSize);
    if (within >= page.size) {
      // Past the end of the file: the file itself says so.
      file_->ReadAt(offset, out, size);
      return;
    }
    const std::size_t part = std::min(size, page.size - within);
    std::copy(page.bytes.get() + within, page.bytes.get() + within + part, out);
    out += part;
    offset += part;
    size -= part;
  }
}

void PagedFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
  pages_.clear();
  file_->WriteAt(offset, data, size);
}

std::vector<std::uint8_t> ReadRange(TargetFile& file, std::uint64_t offset, std::uint64_t size) {
  const std::uint64_t fileSize = file.Size();
  if (offset > fileSize || fileSize - offset < size) {
    Damaged(Verdict::TruncatedStructures);
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (size != 0) {
    file.ReadAt(offset, bytes.data(), bytes.size());
  }
  return bytes;
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  if (offset > bytes.size() || bytes.size() - offset < 4) OutsideBuffer();
  for (int i = 0; i < 4; ++i) {
    bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace tressol
