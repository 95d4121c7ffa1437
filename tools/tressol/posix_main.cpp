// tressol: the tool's core over POSIX files, for Linux.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/tool_error.h"
#include "core/tressol.h"

namespace {

using tressol::Failure;
using tressol::ToolError;

class PosixFile final : public tressol::TargetFile {
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
    if (fsync(descriptor_) != 0) Fail("impossible d'enregistrer sur le disque");
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw ToolError(Failure::Io, what + " « " + path_ + " » : " + std::strerror(errno));
  }
  int descriptor_;
  std::string path_;
};

class PosixFileSystem final : public tressol::FileSystem {
 public:
  std::unique_ptr<tressol::TargetFile> Open(const std::string& path, bool forWriting) override {
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
};

// Arguments are already split; quote those with blanks so that the tail splits back the same.
std::string Quoted(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t\"") == std::string::npos) return word;
  std::string out = "\"";
  std::size_t slashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    out.append(c == '"' ? 2 * slashes + 1 : slashes, '\\');
    slashes = 0;
    out += c;
  }
  out.append(2 * slashes, '\\');
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  std::string tail;
  for (int i = 1; i < argc; ++i) tail += " " + Quoted(argv[i]);
  PosixFileSystem files;
  tressol::Output output;
  const int status = tressol::Run(tail, files, output);
  std::fputs(output.out.c_str(), stdout);
  std::fputs(output.err.c_str(), stderr);
  return status;
}
