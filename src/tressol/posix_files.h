#pragma once

#include <memory>
#include <optional>
#include <string>

#include "tressol.h"

namespace tressol {

// A variable of this process's environment, set but perhaps empty, or none: the one read
// of the environment on this side.
std::optional<std::string> EnvironmentValue(const char* name);

// Targets as POSIX files; a target opened for a change is locked against other writers.
class PosixFileSystem : public FileSystem {
 public:
  // A listed entry is opened without following a link, and must be the inode listed.
  std::unique_ptr<TargetFile> Open(const std::string& path, bool forWriting,
                                   const std::string& listed = {}) override;
  // A folder's .exe, .dll and .ocx entries; the shell has already expanded any pattern.
  std::optional<std::vector<Listed>> Expand(const std::string& target, bool recurse) override;
  // No cloud placeholders here.
  bool OnlineOnly(const std::string&) override { return false; }
  bool Exists(const std::string& path) override;
  std::optional<std::string> LinkTarget(const std::string& path) override;
  // Only the target's own folder: there is no Windows system folder to look in.
  std::vector<Folder> LibraryFolders(const std::string& target) override;
  // Windows compares names without regard to case, and so does this.
  std::optional<std::string> FileIn(const std::string& folder, const std::string& name) override;
  // From the current folder, which a run never leaves; links are kept as named.
  std::string AbsolutePath(const std::string& path) override;
  std::string ConsoleWord(const std::string& path, Shell shell) override;
  bool CanReopen(const std::string& absolutePath) override;
  // In $XDG_STATE_HOME/tressol (~/.local/state/tressol), one a run, readable by its owner
  // only; each held with flock.
  std::unique_ptr<JournalFile> CreateJournal(const std::string& given) override;
  std::unique_ptr<JournalFile> OpenJournal(const std::string& path, JournalUse use) override;

 protected:
  // Between a folder's listing and the opening of its sub-folders, where another program
  // may swap one of them: a test acts there.
  virtual void AfterListing(const std::string& /*folder*/) {}

 private:
  std::string workingFolder_;  // asked once
};

}  // namespace tressol
