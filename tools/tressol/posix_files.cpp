#include "posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>
#include <strings.h>

#include "core/tool_error.h"

namespace tressol {
namespace {

class PosixFile final : public TargetFile {
 public:
  explicit PosixFile(int descriptor) : descriptor_(descriptor) {}
  ~PosixFile() override { close(descriptor_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  // Asked before every read that is checked against it; nothing here changes the size.
  std::uint64_t Size() override {
    if (!size_) {
      struct stat status {};
      if (fstat(descriptor_, &status) != 0) Fail("sa taille ne peut pas être lue");
      size_ = static_cast<std::uint64_t>(status.st_size);
    }
    return *size_;
  }
  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
    while (size > 0) {
      const ssize_t done = pread(descriptor_, out, size, static_cast<off_t>(offset));
      if (done <= 0) Fail("lecture impossible");
      out += done;
      offset += static_cast<std::uint64_t>(done);
      size -= static_cast<std::size_t>(done);
    }
  }
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    if (pwrite(descriptor_, data, size, static_cast<off_t>(offset)) != static_cast<ssize_t>(size)) {
      Fail("écriture impossible");
    }
  }
  void Flush() override {
    if (fdatasync(descriptor_) != 0) Fail("enregistrement sur le disque impossible");
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw ToolError(Failure::Io, what + " (" + std::strerror(errno) + ")");
  }
  int descriptor_;
  std::optional<std::uint64_t> size_;
};

// The names of a folder's entries that are regular files.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), &closedir);
  if (!directory) return names;
  while (const dirent* entry = readdir(directory.get())) {
    bool regular = entry->d_type == DT_REG;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat status {};
      regular =
          stat((folder + "/" + entry->d_name).c_str(), &status) == 0 && S_ISREG(status.st_mode);
    }
    if (regular) names.push_back(entry->d_name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool EndsWithIgnoringCase(const std::string& name, const char* ending) {
  const std::size_t length = std::strlen(ending);
  return name.size() >= length && strcasecmp(name.c_str() + name.size() - length, ending) == 0;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::optional<std::vector<std::string>> PosixFileSystem::Expand(const std::string& target) {
  struct stat status {};
  if (stat(target.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
  const std::string prefix = target.back() == '/' ? target : target + "/";
  std::vector<std::string> paths;
  for (const std::string& name : FilesIn(target)) {
    if (EndsWithIgnoringCase(name, ".exe") || EndsWithIgnoringCase(name, ".dll") ||
        EndsWithIgnoringCase(name, ".ocx")) {
      paths.push_back(prefix + name);
    }
  }
  return paths;
}

std::vector<FileSystem::Folder> PosixFileSystem::LibraryFolders(const std::string& target) {
  return {{FolderOf(target), "dossier de la cible ; sous Linux, cet outil ne cherche que là"}};
}

bool PosixFileSystem::HasFile(const std::string& folder, const std::string& name) {
  const std::vector<std::string> names = FilesIn(folder);
  return std::any_of(names.begin(), names.end(), [&](const std::string& file) {
    return strcasecmp(file.c_str(), name.c_str()) == 0;
  });
}

std::string PosixFileSystem::AbsolutePath(const std::string& given) {
  if (!given.empty() && given[0] == '/') return given;
  std::string path = given;
  while (path.rfind("./", 0) == 0) path.erase(0, path.find_first_not_of('/', 2));
  std::vector<char> folder(4096);
  while (getcwd(folder.data(), folder.size()) == nullptr) {
    if (errno != ERANGE) return path;
    folder.resize(folder.size() * 2);
  }
  const std::string start = folder.data();
  return start + (start.back() == '/' ? "" : "/") + path;
}

std::unique_ptr<TargetFile> PosixFileSystem::Open(const std::string& path, bool forWriting) {
  const int descriptor = open(path.c_str(), forWriting ? O_RDWR : O_RDONLY);
  if (descriptor < 0) {
    const std::string system = std::string(" (") + std::strerror(errno) + ")";
    if (errno == ENOENT || errno == ENOTDIR) {
      throw ToolError(Failure::Io, "il n'existe pas ; vérifiez le chemin" + system);
    }
    if (errno == EACCES || errno == EROFS || errno == EPERM) {
      throw ToolError(Failure::Refused,
                      "vos droits ne permettent pas de le modifier ; demandez-les à "
                      "l'administrateur de l'ordinateur" +
                          system);
    }
    throw ToolError(Failure::Io, "il ne peut pas être ouvert" + system);
  }
  if (forWriting && flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
    close(descriptor);
    throw BusyFile(
        "il est verrouillé par un autre programme ; fermez ce programme, puis "
        "recommencez");
  }
  return std::make_unique<PagedFile>(std::make_unique<PosixFile>(descriptor));
}

}  // namespace tressol
