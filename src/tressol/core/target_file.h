#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tressol {

// One thread's sleep until another wakes it: a system's event. A wake before the sleep ends
// the next sleep at once; a sleep may end with no wake, and its thread looks again.
class Alarm {
 public:
  virtual ~Alarm() = default;
  virtual void Sleep() = 0;
  virtual void Wake() = 0;
};

// Random access to the target. Failures throw ToolError(Failure::Io).
class TargetFile {
 public:
  virtual ~TargetFile() = default;
  virtual std::uint64_t Size() = 0;
  virtual void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) = 0;
  virtual void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) = 0;
  // Makes what was written durable before it is read back.
  virtual void Flush() = 0;
  // What tells this file from another that takes its name (device and inode, volume and
  // file ID); empty where the system gives nothing.
  virtual std::string Identity() { return {}; }
  // Whether another program wrote the file since it was opened, though the open kept other
  // writers out where the system can: POSIX locks bind only the programs that ask for them.
  virtual bool ChangedSinceOpened() { return false; }
  // Starts work, which throws nothing, on a second thread of this file's where the system
  // gives one, and gives what waits for it to end; nothing where no thread starts. The work
  // may read the file, never at the same time as its caller.
  using Waiter = std::function<void()>;
  virtual Waiter StartBeside(const std::function<void()>& /*work*/) { return {}; }
  // What puts that work or its caller to sleep until the other wakes it; nothing where the
  // system gives none, and the waiting thread then only yields.
  virtual std::unique_ptr<Alarm> NewAlarm() { return nullptr; }
};

// A file read through whole pages, each read once: finding a header takes half a dozen
// small reads in the file's first pages, and each would otherwise cost a system call.
// Reads larger than a page go straight through; a write drops every page, so that the
// read-back after it reads the file again.
class PagedFile final : public TargetFile {
 public:
  static constexpr std::size_t kPageSize = 8192;
  explicit PagedFile(std::unique_ptr<TargetFile> file) : file_(std::move(file)) {}
  std::uint64_t Size() override { return file_->Size(); }
  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override;
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override;
  void Flush() override { file_->Flush(); }
  std::string Identity() override { return file_->Identity(); }
  Waiter StartBeside(const std::function<void()>& work) override {
    return file_->StartBeside(work);
  }
  std::unique_ptr<Alarm> NewAlarm() override { return file_->NewAlarm(); }
  // The pages read before may hold what another program has since replaced.
  bool ChangedSinceOpened() override {
    pages_.clear();
    return file_->ChangedSinceOpened();
  }

 private:
  // A page as read: its bytes are never zeroed first, since the read fills them all.
  struct Page {
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size = 0;
  };
  const Page& PageAt(std::uint64_t index);

  std::unique_ptr<TargetFile> file_;
  std::map<std::uint64_t, Page> pages_;
};

// Reads a range that must lie inside the file; otherwise the file is refused as truncated.
std::vector<std::uint8_t> ReadRange(TargetFile& file, std::uint64_t offset, std::uint64_t size);

// Little-endian fields of a buffer at checked offsets; read for each field of each file.
[[noreturn]] void OutsideBuffer();
inline std::uint16_t U16(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 2) OutsideBuffer();
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}
inline std::uint32_t U32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) OutsideBuffer();
  return static_cast<std::uint32_t>(bytes[offset]) |
         (static_cast<std::uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[offset + 3]) << 24);
}
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);

}  // namespace tressol
