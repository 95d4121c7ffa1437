#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

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
  int failWrite = 0;           // the write (1, 2, ...) that fails; 0: none
  int killAfterWrite = 0;      // the write after which the process dies, as with kill -9
  bool lieOnReadBack = false;  // reads after the first write return zeros
};

class MemoryFile final : public TargetFile {
 public:
  explicit MemoryFile(MemoryTarget& target) : target_(target) {}
  std::uint64_t Size() override { return target_.bytes.size(); }
  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
    if (offset + size > target_.bytes.size())
      throw ToolError(Failure::Io, "lecture hors du fichier");
    target_.bytesRead += size;
    if (target_.lieOnReadBack && target_.writes > 0) {
      std::memset(out, 0, size);
      return;
    }
    std::memcpy(out, target_.bytes.data() + offset, size);
  }
  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    if (++target_.writes == target_.failWrite) throw ToolError(Failure::Io, "disque plein");
    if (offset + size > target_.bytes.size())
      throw ToolError(Failure::Io, "écriture hors du fichier");
    std::memcpy(target_.bytes.data() + offset, data, size);
    if (target_.writes == target_.killAfterWrite) throw Killed{};
  }
  void Flush() override {}

 private:
  MemoryTarget& target_;
};

// Folders are names ending in "/", holding the targets whose names start with them.
class MemoryFileSystem final : public FileSystem {
 public:
  std::map<std::string, MemoryTarget> targets;
  std::vector<Folder> libraryFolders;  // where language libraries are looked for
  std::set<std::string> libraryFiles;  // "folder/name" of those present
  std::unique_ptr<TargetFile> Open(const std::string& path, bool) override {
    const auto found = targets.find(path);
    if (found == targets.end()) throw ToolError(Failure::Io, "introuvable : " + path);
    return std::make_unique<MemoryFile>(found->second);
  }
  std::optional<std::vector<Listed>> Expand(const std::string& target, bool recurse) override {
    if (target.empty() || target.back() != '/') return std::nullopt;
    std::vector<Listed> paths;
    for (const auto& entry : targets) {
      const std::string relative = entry.first.substr(target.size());
      if (entry.first.rfind(target, 0) == 0 && (recurse || relative.find('/') == relative.npos)) {
        paths.push_back({entry.first, entry.first, relative, {}});
      }
    }
    return paths;
  }
  bool Exists(const std::string& path) override { return targets.count(path) != 0; }
  std::optional<std::string> LinkTarget(const std::string&) override { return std::nullopt; }
  std::vector<Folder> LibraryFolders(const std::string&) override { return libraryFolders; }
  bool HasFile(const std::string& folder, const std::string& name) override {
    return libraryFiles.count(folder + "/" + name) != 0;
  }
  std::string AbsolutePath(const std::string& path) override { return "/abs/" + path; }
  // A way back in memory, where a test asks for one.
  std::optional<std::vector<std::string>> wayBack;
  class MemoryScript final : public WayBackScript {
   public:
    explicit MemoryScript(std::vector<std::string>& lines) : lines_(lines) {}
    const std::string& Path() const override { return path_; }
    Shell Syntax() const override { return Shell::CmdScript; }
    void Add(const std::string& line) override { lines_.push_back(line); }

   private:
    std::vector<std::string>& lines_;
    std::string path_ = "C:\\Retours\\retour.cmd";
  };
  std::unique_ptr<WayBackScript> CreateWayBackScript() override {
    return wayBack ? std::make_unique<MemoryScript>(*wayBack) : nullptr;
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
