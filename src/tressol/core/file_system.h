#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "journal.h"
#include "run_terms.h"
#include "target_file.h"
#include "tool_error.h"

namespace tressol {

// Whether a name is one that a folder target takes: .exe, .dll or .ocx, in any case.
bool IsTargetFileName(const std::string& name);

// A run's journal file, held so that no other run writes or undoes it meanwhile.
class JournalFile {
 public:
  virtual ~JournalFile() = default;
  virtual const std::string& Path() const = 0;
  // Durable once it returns, with every record before it; not durable, only written, and
  // durable with the next durable one. Throws ToolError.
  virtual void Append(const std::string& record, bool durable = true) = 0;
  // The whole text; past kJournalLimit, a VerdictError. Throws ToolError.
  virtual std::string ReadAll() = 0;
  // False for a journal opened to be read only: one the user may not write, or a look.
  virtual bool Writable() const = 0;
};

// Why an existing journal is opened: to undo it, held against every other run (locked
// without needing the right to write it), or to look at it (a dry run), shared and never
// locked, so that a look never stops an undo.
enum class JournalUse { Undo, Look };

// How the tool reaches files: for a set, the target is opened for writing and shared
// with nobody, so that a running or open target is refused rather than changed under it.
class FileSystem {
 public:
  // An entry of a folder or a pattern.
  struct Listed {
    std::string path;                // the very entry that the listing gave, for Open
    std::string shown;               // as the target spells it, for the report and the way back
    std::string relative;            // from the folder the target names: the name, or sub\name
    std::optional<Aside> leftAside;  // why a link or a special file is not taken
    std::string identity;            // the entry's, as TargetFile::Identity says it
    std::shared_ptr<const ToolError> failed;  // a sub-folder that could not be listed: why
    bool onlineOnly = false;  // a file whose data a cloud service keeps, not downloaded yet
  };

  virtual ~FileSystem() = default;
  // Throws a busy FileError when another program holds the file, ToolError otherwise, and
  // refuses anything but a regular file. A link to one is followed, but for an entry of a
  // listing (listed: its identity), which is opened as the very entry listed or refused as
  // replaced.
  virtual std::unique_ptr<TargetFile> Open(const std::string& path, bool forWriting,
                                           const std::string& listed = {}) = 0;
  // How many files a set holds open at once, each locked, so that their records take one
  // flush: well under any system's limit of open files.
  virtual std::size_t FilesABatch() const { return 64; }
  // The entries a target names when it is a folder (its .exe, .dll and .ocx entries) or a
  // pattern (the entries that its last component matches), sorted; with recurse, those of
  // its sub-folders too, a folder that is a link being left aside, never followed, and a
  // sub-folder that cannot be listed whole given as a failed entry. Nothing when it names a
  // single file, or nothing that exists. Throws ToolError when the folder given cannot be
  // listed whole.
  virtual std::optional<std::vector<Listed>> Expand(const std::string& target, bool recurse) = 0;
  // Whether the file's data are only in the cloud: reading it would download it.
  virtual bool OnlineOnly(const std::string& path) = 0;
  // Whether the path names something, even something this user may not open.
  virtual bool Exists(const std::string& path) = 0;
  // Where a target named through a symbolic link leads; nothing for a target that is not one.
  virtual std::optional<std::string> LinkTarget(const std::string& path) = 0;
  // The folders in which the runtime looks for a target's language library, in its order,
  // each with the words that say what it is.
  // Where the runtime looks for a language library, in its order.
  enum class FolderKind {
    Application,  // the program's, usually that of the file
    System32,     // the system folder of 32-bit programs
    System16,     // the 16-bit one, %WINDIR%\System
    Windows,
    TargetOnly,  // the target's own, where the system has no other (POSIX)
  };
  struct Folder {
    std::string path;
    FolderKind kind;
  };
  virtual std::vector<Folder> LibraryFolders(const std::string& target) = 0;
  // The path of the file of that name that the folder holds, as the system compares names;
  // nothing where it holds none.
  virtual std::optional<std::string> FileIn(const std::string& folder, const std::string& name) = 0;
  // The path from the root, for a command that runs from any folder.
  virtual std::string AbsolutePath(const std::string& path) = 0;
  // A path as a word that the console's shell reads back as that path, quoted: where the
  // console's code page cannot show it, its folder is named through the variable that holds
  // it (%LOCALAPPDATA%, $env:LOCALAPPDATA), so that what is copied or typed is that path.
  virtual std::string ConsoleWord(const std::string& path, Shell shell) = 0;
  // Whether a path from the root is short enough for the system to open it again.
  virtual bool CanReopen(const std::string& absolutePath) = 0;
  // A new journal for this run, durable with its folder entry, at the path given (created
  // new) or, with none, under a new name in a folder of the user's that stays writable
  // wherever the tool runs from. Throws ToolError where none can be written.
  virtual std::unique_ptr<JournalFile> CreateJournal(const std::string& given) = 0;
  // An existing journal, which must be a regular file. Throws ToolError.
  virtual std::unique_ptr<JournalFile> OpenJournal(const std::string& path, JournalUse use) = 0;
};

}  // namespace tressol
