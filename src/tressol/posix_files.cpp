#include "posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include <strings.h>

#include "report.h"
#include "shown_text.h"
#include "locked_alarm.h"
#include "tool_error.h"
#include "way_back.h"

namespace tressol {
namespace {

std::string IdentityOf(const struct stat& status) {
  return std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino);
}

// Work on a thread of its own, and what waits for it: a whole file's sum, which takes its
// pieces in turn with the caller. Nothing where no thread starts.
TargetFile::Waiter StartThread(const std::function<void()>& work) {
  // Joined by the waiter, or else when the last copy of it goes.
  struct Joined {
    std::thread thread;
    ~Joined() {
      if (thread.joinable()) thread.join();
    }
  };
  // The waiter is made first: once the thread runs, nothing may fail before the caller has it.
  auto joined = std::make_shared<Joined>();
  TargetFile::Waiter waiter = [joined] { joined->thread.join(); };
  try {
    joined->thread = std::thread(work);
  } catch (const std::system_error&) {
    return {};
  }
  return waiter;
}

class PosixFile final : public TargetFile {
 public:
  explicit PosixFile(int descriptor) : descriptor_(descriptor) {}
  ~PosixFile() override { close(descriptor_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  // The size its opening found: a view changes nothing, and asks no more.
  void SizeFound(std::uint64_t size) { size_ = size; }
  // What the file was when it was opened, to the nanosecond: our own reads change none of it.
  void Stamp(const struct stat& status) { opened_ = StampOf(status); }

  // Asked before every read that is checked against it; nothing here changes the size.
  std::uint64_t Size() override {
    if (!size_) {
      struct stat status {};
      if (fstat(descriptor_, &status) != 0) Fail(IoStep::Size);
      size_ = static_cast<std::uint64_t>(status.st_size);
    }
    return *size_;
  }
  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
    while (size > 0) {
      const ssize_t done = pread(descriptor_, out, size, static_cast<off_t>(offset));
      if (done < 0) Fail(IoStep::Read);
      // errno is not set at the end of a file: it was shortened while it was being read.
      if (done == 0) throw StepError(IoStep::ReadShort, {});
      out += done;
      offset += static_cast<std::uint64_t>(done);
      size -= static_cast<std::size_t>(done);
    }
  }
  Waiter StartBeside(const std::function<void()>& work) override { return StartThread(work); }
  std::unique_ptr<Alarm> NewAlarm() override { return std::make_unique<LockedAlarm>(); }
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t done = pwrite(descriptor_, data, size, static_cast<off_t>(offset));
      if (done < 0) Fail(IoStep::Write);
      if (done == 0) throw StepError(IoStep::WriteShort, {});
      data += done;
      offset += static_cast<std::uint64_t>(done);
      size -= static_cast<std::size_t>(done);
    }
  }
  void Flush() override {
    if (fdatasync(descriptor_) != 0) Fail(IoStep::Flush);
  }
  std::string Identity() override {
    struct stat status {};
    if (fstat(descriptor_, &status) != 0) Fail(IoStep::Attributes);
    return IdentityOf(status);
  }
  // A flock binds only the programs that take it: a build writing its output in place
  // does not, and shows only in the file's times.
  bool ChangedSinceOpened() override {
    struct stat status {};
    if (fstat(descriptor_, &status) != 0) Fail(IoStep::Attributes);
    return StampOf(status) != opened_;
  }

 private:
  using Times = std::array<long long, 5>;
  static Times StampOf(const struct stat& status) {
    return {static_cast<long long>(status.st_size), static_cast<long long>(status.st_mtim.tv_sec),
            status.st_mtim.tv_nsec, static_cast<long long>(status.st_ctim.tv_sec),
            status.st_ctim.tv_nsec};
  }
  [[noreturn]] void Fail(IoStep step) const { throw StepError(step, std::strerror(errno)); }
  int descriptor_;
  std::optional<std::uint64_t> size_;
  Times opened_{};
};

struct Entry {
  std::string name;
  std::optional<Aside> leftAside;  // why it is not a regular file, or nothing
  bool folder = false;             // a folder itself, not a link to one
  std::string identity;            // a target's: its device and inode
};

// What an entry is when it is not a regular file; nothing for a regular file. A link is
// never followed: it may lead out of the folder.
std::optional<Aside> WhyNotRegular(mode_t mode) {
  if (S_ISREG(mode)) return std::nullopt;
  if (S_ISLNK(mode)) return Aside::Link;
  if (S_ISDIR(mode)) return Aside::Folder;
  if (S_ISFIFO(mode)) return Aside::Fifo;
  if (S_ISSOCK(mode)) return Aside::Socket;
  return Aside::SpecialFile;
}

// A folder's entries other than "." and "..", sorted; throws when it cannot be read whole.
// A folder the user names is reached as any path is, links followed; a sub-folder that a
// listing found (listed: the identity that listing gave) is opened without following a link
// and must be that very folder, else another program put a link or another folder in its
// place after its parent was listed, and nothing in it is listed. It is opened by its path
// from the target, not from its parent's descriptor, so that a walk holds one descriptor at
// a time however deep the tree: a link put in place of any folder on the way leads to
// another inode than the one listed, since each identity comes from a listing itself checked.
std::vector<Entry> EntriesOf(const std::string& folder, const std::string& listed = {}) {
  struct stat self {};
  const auto fail = [&folder](IoStep step) { throw StepError(step, std::strerror(errno), folder); };
  const auto replaced = [&folder] { throw StepError(IoStep::FolderReplaced, {}, folder); };
  // A final slash would have the link followed, O_NOFOLLOW or not.
  const std::string opened =
      listed.empty() ? folder : folder.substr(0, folder.find_last_not_of('/') + 1);
  const int descriptor =
      open(opened.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (listed.empty() ? 0 : O_NOFOLLOW));
  if (descriptor < 0 && !listed.empty() && (errno == ELOOP || errno == ENOTDIR)) replaced();
  if (descriptor < 0) fail(IoStep::ListFolder);
  const std::unique_ptr<DIR, int (*)(DIR*)> directory(fdopendir(descriptor), &closedir);
  if (!directory) {
    const int code = errno;
    close(descriptor);
    errno = code;
    fail(IoStep::ListFolder);
  }
  if (fstat(descriptor, &self) != 0) fail(IoStep::ListFolder);
  if (!listed.empty() && IdentityOf(self) != listed) replaced();
  std::vector<Entry> entries;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(directory.get());
    if (!entry) {
      if (errno != 0) fail(IoStep::ListFolderWhole);
      break;
    }
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::optional<Aside> leftAside = WhyNotRegular(DTTOIF(entry->d_type));
    bool isFolder = entry->d_type == DT_DIR;
    // The identity that each later open checks: the folder's device and the entry's inode,
    // which the listing gives for a file. A sub-folder's is asked of the sub-folder itself,
    // as its opening will find it: at a mount point, the mounted root's. A mount point is
    // followed, as find and cp -r follow it: only an administrator mounts a folder, where
    // anyone may put a link; a link put in its place is refused as any other.
    std::string identity = std::to_string(self.st_dev) + ":" + std::to_string(entry->d_ino);
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_DIR) {
      struct stat status {};
      const bool known = fstatat(descriptor, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
      leftAside = known ? WhyNotRegular(status.st_mode) : Aside::Vanished;
      isFolder = known && S_ISDIR(status.st_mode);
      if (known) identity = IdentityOf(status);
    }
    entries.push_back({name, leftAside, isFolder, identity});
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return entries;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::optional<std::vector<FileSystem::Listed>> PosixFileSystem::Expand(const std::string& target,
                                                                       bool recurse) {
  struct stat status {};
  if (stat(target.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
  std::vector<Listed> paths;
  // Folders still to list, each with its path from the target's folder and the identity its
  // parent's listing gave; none for the target, reached as named.
  std::vector<std::pair<std::string, std::string>> folders = {{"", ""}};
  const std::string root = target.back() == '/' ? target : target + "/";
  while (!folders.empty()) {
    const auto [relative, identity] = folders.back();
    folders.pop_back();
    std::vector<Entry> entries;
    try {
      entries = EntriesOf(root + relative, identity);
    } catch (const ToolError& error) {
      // Another user's folder, or one replaced: its files are not checked, and the run says
      // so and goes on.
      if (relative.empty()) throw;
      const std::string name = relative.substr(0, relative.size() - 1);
      paths.push_back({root + name, root + name, name, {}, {}, Kept(error)});
      continue;
    }
    AfterListing(root + relative);
    for (const Entry& entry : entries) {
      const std::string name = relative + entry.name;
      const std::string path = root + name;
      struct stat linked {};
      if (recurse && entry.folder) {
        folders.emplace_back(name + "/", entry.identity);
      } else if (recurse && entry.leftAside && stat(path.c_str(), &linked) == 0 &&
                 S_ISDIR(linked.st_mode)) {
        paths.push_back({path, path, name, Aside::FolderLink, {}, {}});
      } else if (IsTargetFileName(entry.name)) {
        paths.push_back({path, path, name, entry.leftAside, entry.identity, {}});
      }
    }
  }
  std::sort(paths.begin(), paths.end(),
            [](const Listed& a, const Listed& b) { return a.relative < b.relative; });
  return paths;
}

bool PosixFileSystem::Exists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

std::optional<std::string> PosixFileSystem::LinkTarget(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return std::nullopt;
  const std::unique_ptr<char, void (*)(void*)> resolved(realpath(path.c_str(), nullptr),
                                                        &std::free);
  return resolved ? std::string(resolved.get()) : std::string("(introuvable)");
}

std::vector<FileSystem::Folder> PosixFileSystem::LibraryFolders(const std::string& target) {
  // Named in full: "." would read as the end of a sentence.
  return {{FolderOf(AbsolutePath(target)), FolderKind::TargetOnly}};
}

std::optional<std::string> EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

namespace {

// A library's name matches whatever its case, as Windows finds a library on any volume,
// where a case-sensitive lookup would report one missing that Windows loads (ASCII letters
// only: the C locale's rule, as the names of VB6's libraries are).
bool SameLibraryName(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

}  // namespace

std::optional<std::string> PosixFileSystem::FileIn(const std::string& folder,
                                                   const std::string& name) {
  std::vector<Entry> entries;
  try {
    entries = EntriesOf(folder);
  } catch (const ToolError&) {
    return std::nullopt;  // a folder that cannot be read holds nothing the runtime could load
  }
  const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& file) {
    return !file.leftAside && SameLibraryName(file.name, name);
  });
  if (found == entries.end()) return std::nullopt;
  return (folder.empty() || folder.back() == '/' ? folder : folder + "/") + found->name;
}

std::string PosixFileSystem::AbsolutePath(const std::string& given) {
  if (!given.empty() && given[0] == '/') return given;
  std::string path = given;
  while (path.rfind("./", 0) == 0) path.erase(0, path.find_first_not_of('/', 2));
  if (workingFolder_.empty()) {
    std::vector<char> folder(4096);
    while (getcwd(folder.data(), folder.size()) == nullptr) {
      if (errno != ERANGE) return path;
      folder.resize(folder.size() * 2);
    }
    workingFolder_ = folder.data();
  }
  return workingFolder_ + (workingFolder_.back() == '/' ? "" : "/") + path;
}

std::unique_ptr<TargetFile> PosixFileSystem::Open(const std::string& path, bool forWriting,
                                                  const std::string& listed) {
  // Non-blocking, so that a FIFO or a device never holds the run; refused just after.
  const int descriptor = open(path.c_str(), (forWriting ? O_RDWR : O_RDONLY) | O_NONBLOCK |
                                                O_CLOEXEC | (listed.empty() ? 0 : O_NOFOLLOW));
  if (descriptor < 0) {
    const int code = errno;
    // A link where the listing found a file.
    if (code == ELOOP && !listed.empty()) throw FileError(FileFailure::Replaced, forWriting);
    const std::string system = std::strerror(code);
    if (code == ENOENT || code == ENOTDIR) {
      struct stat link {};
      const bool dangling = lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
      throw FileError(dangling ? FileFailure::LinkTargetMissing : FileFailure::NotFound, forWriting,
                      system);
    }
    if (code == EISDIR) throw FileError(FileFailure::Folder, forWriting);
    if (code == EACCES || code == EPERM) {
      struct stat status {};
      const bool own = stat(path.c_str(), &status) == 0 && status.st_uid == geteuid();
      throw FileError(own ? FileFailure::OwnFileDenied : FileFailure::OthersFileDenied, forWriting,
                      system);
    }
    if (code == EROFS) throw FileError(FileFailure::ReadOnlyDisk, forWriting, system);
    throw FileError(FileFailure::Unopenable, forWriting, system);
  }
  auto file = std::make_unique<PosixFile>(descriptor);
  struct stat status {};
  if (fstat(descriptor, &status) != 0) {
    throw FileError(FileFailure::Unexaminable, forWriting, std::strerror(errno));
  }
  // Another file where the listing found this one, or the same name reached through a
  // folder that became a link.
  if (!listed.empty() && IdentityOf(status) != listed) {
    throw FileError(FileFailure::Replaced, forWriting);
  }
  if (!S_ISREG(status.st_mode)) {
    throw FileError(FileFailure::NotRegular, forWriting, {},
                    WhyNotRegular(status.st_mode).value_or(Aside::SpecialFile));
  }
  // Root may write anywhere: a file that nobody may write stays as it is for root too.
  if (forWriting && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    throw FileError(FileFailure::NoWritePermission, forWriting);
  }
  file->Stamp(status);
  if (forWriting) {
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) throw FileError(FileFailure::Locked, true);
  } else {
    file->SizeFound(static_cast<std::uint64_t>(status.st_size));
  }
  return std::make_unique<PagedFile>(std::move(file));
}

namespace {

// Appended to, never rewritten: each record is whole on the disk before the next change.
class PosixJournal final : public JournalFile {
 public:
  PosixJournal(std::string path, int descriptor, bool writable)
      : path_(std::move(path)), descriptor_(descriptor), writable_(writable) {}
  ~PosixJournal() override { close(descriptor_); }
  PosixJournal(const PosixJournal&) = delete;
  PosixJournal& operator=(const PosixJournal&) = delete;
  const std::string& Path() const override { return path_; }
  bool Writable() const override { return writable_; }
  int Descriptor() const { return descriptor_; }
  void Append(const std::string& record, bool durable) override {
    errno = 0;  // a short write sets none: the disk is full
    if (write(descriptor_, record.data(), record.size()) != static_cast<ssize_t>(record.size()) ||
        (durable && fdatasync(descriptor_) != 0)) {
      Fail(IoStep::WriteJournal);
    }
  }
  std::string ReadAll() override {
    struct stat status {};
    if (fstat(descriptor_, &status) != 0) Fail(IoStep::ReadJournal);
    if (static_cast<std::uint64_t>(status.st_size) > kJournalLimit) {
      Damaged(Verdict::JournalTooLarge);
    }
    std::string text;
    char buffer[65536];
    for (off_t at = 0;;) {
      const ssize_t done = pread(descriptor_, buffer, sizeof buffer, at);
      if (done < 0) Fail(IoStep::ReadJournal);
      if (done == 0) return text;
      text.append(buffer, static_cast<std::size_t>(done));
      if (text.size() > kJournalLimit) Damaged(Verdict::JournalTooLarge);
      at += done;
    }
  }

 private:
  [[noreturn]] void Fail(IoStep step) const {
    throw StepError(step, errno != 0 ? std::strerror(errno) : std::string(), path_);
  }
  std::string path_;
  int descriptor_;
  bool writable_;
};

// A journal's descriptor, which must be a regular file's: a path given for a journal may
// name a device or a pipe, and open never waits on one. Nothing where the path is taken
// (O_EXCL) or, asked, where the user may not write it.
std::unique_ptr<PosixJournal> JournalAt(const std::string& path, int flags,
                                        bool orNothing = false) {
  const int descriptor = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0600);
  if (descriptor < 0) {
    const int code = errno;
    const bool taken = (flags & O_EXCL) != 0 && code == EEXIST;
    const bool readOnly = code == EACCES || code == EPERM || code == EROFS;
    if (orNothing && (taken || readOnly)) return nullptr;
    const bool missing = (flags & O_CREAT) == 0 && code == ENOENT;
    throw StepError(missing ? IoStep::JournalMissing : IoStep::OpenJournal, std::strerror(code),
                    path);
  }
  auto journal = std::make_unique<PosixJournal>(path, descriptor, (flags & O_ACCMODE) != O_RDONLY);
  struct stat status {};
  if (fstat(descriptor, &status) != 0) {
    throw StepError(IoStep::OpenJournal, std::strerror(errno), path);
  }
  if (!S_ISREG(status.st_mode)) Damaged(Verdict::JournalNotAFile);
  return journal;
}

// Held for the whole run: another run neither undoes a journal still being written nor
// undoes one twice at once. flock needs no right to write.
void Hold(const PosixJournal& journal) {
  if (flock(journal.Descriptor(), LOCK_EX | LOCK_NB) != 0) {
    throw StepError(IoStep::JournalBusy, {}, journal.Path());
  }
}

// A new journal, durable with its name: the folder's entry is synced too. Nothing where
// the name is taken and another may be tried.
std::unique_ptr<JournalFile> NewJournal(const std::string& path, bool anotherName) {
  const int flags = O_RDWR | O_APPEND | O_CREAT | O_EXCL;
  auto journal = JournalAt(path, flags, anotherName);
  // Refused for another reason than a name taken: once more, to say it as the system does.
  if (!journal && access(path.c_str(), F_OK) != 0) journal = JournalAt(path, flags);
  if (!journal) return nullptr;
  Hold(*journal);
  const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = folder >= 0 && fsync(folder) == 0;
  const int code = errno;
  if (folder >= 0) close(folder);
  if (!synced) throw StepError(IoStep::OpenJournal, std::strerror(code), path);
  return journal;
}

}  // namespace

std::unique_ptr<JournalFile> PosixFileSystem::CreateJournal(const std::string& given) {
  if (!given.empty()) return NewJournal(given, false);
  const std::optional<std::string> state = EnvironmentValue("XDG_STATE_HOME");
  const std::optional<std::string> home = EnvironmentValue("HOME");
  const bool stateNamed = state && !state->empty() && state->front() == '/';
  if (!stateNamed && !home) {
    throw StepError(IoStep::NoJournalFolder, {}, "XDG_STATE_HOME, HOME");
  }
  std::string folder = stateNamed ? *state : *home + "/.local/state";
  folder += "/tressol";
  for (std::size_t at = 1; at != std::string::npos; at = folder.find('/', at + 1)) {
    mkdir(folder.substr(0, at).c_str(), 0700);
  }
  mkdir(folder.c_str(), 0700);
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
  const std::string name = folder + "/journal-" + stamp + "-" + std::to_string(getpid());
  // Another run's journal of that name (a process id used again within the second): the
  // next free name.
  for (int attempt = 1;; ++attempt) {
    const std::string path = name + (attempt > 1 ? "-" + std::to_string(attempt) : "") + ".txt";
    if (auto journal = NewJournal(path, attempt < 100)) return journal;
  }
}

std::unique_ptr<JournalFile> PosixFileSystem::OpenJournal(const std::string& path, JournalUse use) {
  if (use == JournalUse::Look) return JournalAt(path, O_RDONLY);
  // One the user may read but not write is undone all the same.
  std::unique_ptr<PosixJournal> journal = JournalAt(path, O_RDWR | O_APPEND, true);
  if (!journal) journal = JournalAt(path, O_RDONLY);
  Hold(*journal);
  return journal;
}

std::string PosixFileSystem::ConsoleWord(const std::string& path, Shell shell) {
  // A path with a control character cannot be shown as a word: it is shown escaped.
  return ShellWord(path, shell == Shell::PowerShell ? shell : Shell::Posix)
      .value_or("'" + linguarde::Visible(path) + "'");
}

bool PosixFileSystem::CanReopen(const std::string& absolutePath) {
  return absolutePath.size() < PATH_MAX;
}

}  // namespace tressol
