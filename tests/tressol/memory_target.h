#pragma once

#include <chrono>
#include <cstring>
#include <functional>
#include <utility>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "locked_alarm.h"
#include "tool_error.h"
#include "tressol.h"

namespace tressol::test {

// What a process killed in the middle of a set leaves: no restore runs.
struct Killed {};

// A target in memory that counts what is read and written, and can be made to fail.
struct MemoryTarget {
  std::vector<std::uint8_t> bytes;
  std::uint64_t bytesRead = 0;
  int writes = 0;
  int failWrite = 0;             // the write (1, 2, ...) that fails; 0: none
  bool failLaterWrites = false;  // and every one after it: the restore too
  int killAfterWrite = 0;        // the write after which the process dies, as with kill -9
  bool lieOnReadBack = false;    // reads after the first write return zeros
  std::string identity = "volume:1";
  std::string listedAs = "volume:1";  // what a listing says of it: another file swapped in
  bool onlineOnly = false;
  // Another program's write while the file is open: just before the tool's check that
  // nobody wrote it (whileOpen), or just after the tool's first write (afterWrite).
  std::function<void(MemoryTarget&)> whileOpen;
  std::function<void(MemoryTarget&)> afterWrite;
  int version = 0;            // what the file's times would show: each write by another program
  bool secondThread = false;  // a whole file's read shared with a thread
  std::optional<std::uint64_t> failReadAt;  // a read from there fails, as a bad sector
  std::chrono::milliseconds readTime{0};    // what each read takes, as from a slow drive
};

class MemoryFile final : public TargetFile {
 public:
  explicit MemoryFile(MemoryTarget& target) : target_(target), opened_(target.version) {}
  std::uint64_t Size() override { return target_.bytes.size(); }
  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
    // As the systems' files: the file ends before what was asked, shortened meanwhile.
    if (offset + size > target_.bytes.size()) throw StepError(IoStep::ReadShort, {});
    std::this_thread::sleep_for(target_.readTime);
    if (offset == target_.failReadAt) throw StepError(IoStep::Read, "secteur illisible");
    target_.bytesRead += size;
    if (target_.lieOnReadBack && target_.writes > 0) {
      std::memset(out, 0, size);
      return;
    }
    std::memcpy(out, target_.bytes.data() + offset, size);
  }
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    ++target_.writes;
    if (target_.failWrite > 0 &&
        (target_.writes == target_.failWrite ||
         (target_.failLaterWrites && target_.writes > target_.failWrite))) {
      throw ToolError(Failure::Io, "disque plein");
    }
    if (offset + size > target_.bytes.size())
      throw ToolError(Failure::Io, "écriture hors du fichier");
    std::memcpy(target_.bytes.data() + offset, data, size);
    if (target_.writes == target_.killAfterWrite) throw Killed{};
    if (target_.afterWrite) std::exchange(target_.afterWrite, nullptr)(target_);
  }
  void Flush() override {}
  Waiter StartBeside(const std::function<void()>& work) override {
    if (!target_.secondThread) return {};
    const auto thread = std::make_shared<std::thread>(work);
    return [thread] { thread->join(); };
  }
  std::unique_ptr<Alarm> NewAlarm() override { return std::make_unique<LockedAlarm>(); }
  std::string Identity() override { return target_.identity; }
  bool ChangedSinceOpened() override {
    if (target_.whileOpen) std::exchange(target_.whileOpen, nullptr)(target_);
    return target_.version != opened_;
  }

 private:
  MemoryTarget& target_;
  int opened_;
};

// A journal's text in memory; past room bytes, an append keeps what fits and fails, as on
// a full disk.
class MemoryJournal final : public JournalFile {
 public:
  MemoryJournal(std::string path, std::string& text, std::size_t room)
      : path_(std::move(path)), text_(text), room_(room) {}
  const std::string& Path() const override { return path_; }
  bool Writable() const override { return room_ != 0; }
  void Append(const std::string& record, bool) override {
    text_ += record.substr(0, room_ > text_.size() ? room_ - text_.size() : 0);
    if (text_.size() >= room_) throw ToolError(Failure::Io, "disque plein");
  }
  std::string ReadAll() override { return text_; }

 private:
  std::string path_;
  std::string& text_;
  std::size_t room_;
};

// Folders are names ending in "/", holding the targets whose names start with them.
class MemoryFileSystem final : public FileSystem {
 public:
  std::map<std::string, MemoryTarget> targets;
  std::vector<Folder> libraryFolders;  // where language libraries are looked for
  std::set<std::string> libraryFiles;  // "folder/name" of those present
  std::size_t filesABatch = 1;         // each change its own record's flush, unless asked
  std::size_t FilesABatch() const override { return filesABatch; }
  std::unique_ptr<TargetFile> Open(const std::string& path, bool forWriting,
                                   const std::string& listed) override {
    // A path from the root names the target that it was made from.
    const auto found = targets.count(path) == 0 && path.rfind("/abs/", 0) == 0
                           ? targets.find(path.substr(5))
                           : targets.find(path);
    if (found == targets.end()) throw FileError(FileFailure::NotFound, forWriting);
    if (!listed.empty() && listed != found->second.identity) {
      throw FileError(FileFailure::Replaced, false);
    }
    return std::make_unique<MemoryFile>(found->second);
  }
  std::optional<std::vector<Listed>> Expand(const std::string& target, bool recurse) override {
    // A pattern matches nothing here: only what is said of it is tested.
    if (target.find('*') != std::string::npos) return std::vector<Listed>{};
    if (target.empty() || target.back() != '/') return std::nullopt;
    std::vector<Listed> paths;
    for (const auto& entry : targets) {
      const std::string relative = entry.first.substr(target.size());
      if (entry.first.rfind(target, 0) == 0 && (recurse || relative.find('/') == relative.npos)) {
        paths.push_back({entry.first,
                         entry.first,
                         relative,
                         {},
                         entry.second.listedAs,
                         {},
                         entry.second.onlineOnly});
      }
    }
    return paths;
  }
  // A file, or a folder that holds one.
  bool Exists(const std::string& path) override {
    return targets.count(path) != 0 ||
           targets.lower_bound(path + "/") != targets.upper_bound(path + "/\xFF");
  }
  bool OnlineOnly(const std::string& path) override {
    // A path from the root, as a journal keeps it, names the target it was made from.
    const std::string name =
        targets.count(path) == 0 && path.rfind("/abs/", 0) == 0 ? path.substr(5) : path;
    return targets.count(name) != 0 && targets[name].onlineOnly;
  }
  std::optional<std::string> LinkTarget(const std::string&) override { return std::nullopt; }
  std::vector<Folder> LibraryFolders(const std::string&) override { return libraryFolders; }
  std::optional<std::string> FileIn(const std::string& folder, const std::string& name) override {
    const std::string path = folder + "/" + name;
    return libraryFiles.count(path) != 0 ? std::optional<std::string>(path) : std::nullopt;
  }
  std::string AbsolutePath(const std::string& path) override {
    return path.rfind("/abs/", 0) == 0 ? path : "/abs/" + path;
  }
  std::string ConsoleWord(const std::string& path, Shell) override { return "\"" + path + "\""; }
  bool CanReopen(const std::string& path) override { return path.size() < 200; }
  // Journals by path; none can be written unless journalRoom is set.
  std::map<std::string, std::string> journals;
  std::size_t journalRoom = 0;
  std::unique_ptr<JournalFile> CreateJournal(const std::string& given) override {
    if (journalRoom == 0) throw ToolError(Failure::Io, "profil en lecture seule");
    const std::string path =
        given.empty() ? "C:\\Retours\\journal-" + std::to_string(journals.size() + 1) + ".txt"
                      : given;
    if (journals.count(path) != 0) throw ToolError(Failure::Io, "existe déjà");
    return std::make_unique<MemoryJournal>(path, journals[path], journalRoom);
  }
  std::set<std::string> readOnlyJournals;
  std::unique_ptr<JournalFile> OpenJournal(const std::string& path, JournalUse use) override {
    const auto found = journals.find(path);
    if (found == journals.end()) throw StepError(IoStep::JournalMissing, {}, path);
    const bool writable = use == JournalUse::Undo && readOnlyJournals.count(path) == 0;
    return std::make_unique<MemoryJournal>(path, found->second, writable ? std::string::npos : 0);
  }
};

// A little-endian u32 of a file's bytes, read independently of the tool's own reader.
inline std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// The file offset of the optional header's CheckSum.
inline std::size_t ChecksumOffset(const std::vector<std::uint8_t>& file) {
  return Le32(file, 0x3C) + 24 + 64;
}

// The PE checksum computed the plain way, for comparison with the tool's.
inline std::uint32_t ReferenceChecksum(const std::vector<std::uint8_t>& file) {
  const std::size_t field = ChecksumOffset(file);
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < file.size(); i += 2) {
    if (i >= field && i < field + 4) continue;
    sum += file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + file.size());
}

// A report with its wrapped lines joined again: a line end and the indent after it become
// one space.
inline std::string Joined(const std::string& text) {
  std::string joined;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == ' ') {
      joined += ' ';
      while (i + 1 < text.size() && text[i + 1] == ' ') ++i;
    } else {
      joined += text[i];
    }
  }
  return joined;
}

inline std::uint32_t StoredChecksum(const std::vector<std::uint8_t>& file) {
  return Le32(file, ChecksumOffset(file));
}

}  // namespace tressol::test
