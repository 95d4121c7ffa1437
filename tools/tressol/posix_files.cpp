#include "posix_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/tool_error.h"

namespace tressol {
namespace {

class PosixFile final : public TargetFile {
 public:
  PosixFile(int descriptor, std::string path) : descriptor_(descriptor), path_(std::move(path)) {}
  ~PosixFile() override { close(descriptor_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::uint64_t Size() override {
    struct stat status {};
    if (fstat(descriptor_, &status) != 0) Fail("impossible de lire la taille de");
    return static_cast<std::uint64_t>(status.st_size);
  }
  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
    while (size > 0) {
      const ssize_t done = pread(descriptor_, out, size, static_cast<off_t>(offset));
      if (done <= 0) Fail("impossible de lire");
      out += done;
      offset += static_cast<std::uint64_t>(done);
      size -= static_cast<std::size_t>(done);
    }
  }
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    if (pwrite(descriptor_, data, size, static_cast<off_t>(offset)) != static_cast<ssize_t>(size)) {
      Fail("impossible d'écrire dans");
    }
  }
  void Flush() override {
    if (fdatasync(descriptor_) != 0) Fail("impossible d'enregistrer sur le disque");
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw ToolError(Failure::Io, what + " « " + path_ + " » : " + std::strerror(errno));
  }
  int descriptor_;
  std::string path_;
};

}  // namespace

std::unique_ptr<TargetFile> PosixFileSystem::Open(const std::string& path, bool forWriting) {
  const int descriptor = open(path.c_str(), forWriting ? O_RDWR : O_RDONLY);
  if (descriptor < 0) {
    const Failure kind = errno == EACCES || errno == EROFS ? Failure::Refused : Failure::Io;
    throw ToolError(kind, "impossible d'ouvrir « " + path + " » : " + std::strerror(errno));
  }
  if (forWriting && flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    close(descriptor);
    throw ToolError(Failure::Refused, "« " + path + " » est verrouillé par un autre programme");
  }
  return std::make_unique<PosixFile>(descriptor, path);
}

}  // namespace tressol
