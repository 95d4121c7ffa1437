#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "file_system.h"
#include "owners.h"

namespace tressol {

// Why an entry with these attributes and reparse tag is not taken as a file: a link (never
// followed), a folder, a device, an App execution alias, a socket; empty for a file, which
// a reparse point that is no link may be (deduplicated, compressed by WOF, in the cloud).
std::optional<Aside> WhyNotRegular(unsigned long attributes, unsigned long reparseTag);
// Whether a file's data are only in the cloud (OneDrive, where Desktop and Documents often
// are): reading it would download it.
bool OnlineOnly(unsigned long attributes);

// What an entry opened without following a reparse point is, beside the entry a listing
// gave (listed, found: their identities, as TargetFile::Identity says them): that very entry;
// the same behind a reparse point that is no link (deduplicated, compressed by WOF, in the
// cloud), whose data its driver gives when it is opened again; or another file or folder, or
// a link, in its place. An identity that names no file tells nothing either way. Files and
// folders alike: what makes two entries the same is said here only.
enum class ListedMatch { Same, SameThroughDriver, Replaced };
ListedMatch MatchListed(const std::string& listed, const std::string& found,
                        unsigned long attributes, unsigned long reparseTag);

// Targets as Win32 files: a target opened for a change is shared with nobody, and every
// path goes to the system in the extended form, whatever its length.
class Win32FileSystem : public FileSystem {
 public:
  // A listed entry is opened without following a link, and must be the file ID listed.
  std::unique_ptr<TargetFile> Open(const std::string& path, bool forWriting,
                                   const std::string& listed = {}) override;
  // Each entry is opened as the listing gave it, in the extended form, which no
  // normalisation touches: "NUL.exe" stays a file and "app.exe." keeps its final dot.
  std::optional<std::vector<Listed>> Expand(const std::string& target, bool recurse) override;
  bool OnlineOnly(const std::string& path) override;
  bool Exists(const std::string& path) override;
  std::optional<std::string> LinkTarget(const std::string& path) override;
  // The runtime, a 32-bit library, is loaded by a 32-bit program, which looks for a
  // library loaded by name in its own folder, the 32-bit system folder (SysWOW64 on 64-bit
  // Windows, where this 64-bit tool's System32 is the 64-bit one), the 16-bit system
  // folder, the Windows folder; then the current folder and the PATH, which depend on how
  // the program is started and are not checked.
  std::vector<Folder> LibraryFolders(const std::string& target) override;
  std::optional<std::string> FileIn(const std::string& folder, const std::string& name) override;
  // An extended path comes back in its plain form where that names the same file.
  std::string AbsolutePath(const std::string& path) override;
  std::string ConsoleWord(const std::string& path, Shell shell) override;
  bool CanReopen(const std::string& absolutePath) override;
  // In %LOCALAPPDATA%\Tressol\Retours (else the temporary folder), one a run, under a new
  // name.
  std::unique_ptr<JournalFile> CreateJournal(const std::string& given) override;
  std::unique_ptr<JournalFile> OpenJournal(const std::string& path, JournalUse use) override;

 protected:
  // Between a folder's listing and the opening of its sub-folders, where another program
  // may swap one of them: a test acts there.
  virtual void AfterListing(const std::string& /*folder*/) {}

 private:
  // The folders listed, held until the run ends.
  std::vector<linguarde::win32::UniqueFileHandle> heldFolders_;
};

}  // namespace tressol
