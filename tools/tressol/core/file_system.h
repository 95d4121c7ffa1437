#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "target_file.h"
#include "way_back.h"

namespace tressol {

// Whether a name is one that a folder target takes: .exe, .dll or .ocx, in any case.
bool IsTargetFileName(const std::string& name);

// A run's way back, one command a changed file, each line durable once added, so that a
// run cut short still leaves how to undo what it did.
class WayBackScript {
 public:
  virtual ~WayBackScript() = default;
  virtual const std::string& Path() const = 0;
  // The syntax its lines are read in (a batch file, a POSIX shell script).
  virtual Shell Syntax() const = 0;
  // Throws ToolError.
  virtual void Add(const std::string& line) = 0;
};

// How the tool reaches files: for a set, the target is opened for writing and shared
// with nobody, so that a running or open target is refused rather than changed under it.
class FileSystem {
 public:
  // An entry of a folder or a pattern.
  struct Listed {
    std::string path;       // the very entry that the listing gave, for Open
    std::string shown;      // as the target spells it, for the report and the way back
    std::string relative;   // from the folder the target names: the name, or sub\name
    std::string leftAside;  // why a link or a special file is not taken; empty if it is
  };

  virtual ~FileSystem() = default;
  // Throws BusyFile when another program holds the file, ToolError otherwise, and refuses
  // anything but a regular file (a link to one is followed).
  virtual std::unique_ptr<TargetFile> Open(const std::string& path, bool forWriting) = 0;
  // The entries a target names when it is a folder (its .exe, .dll and .ocx entries) or a
  // pattern (the entries that its last component matches), sorted; with recurse, those of
  // its sub-folders too, a folder that is a link being left aside, never followed. Nothing
  // when it names a single file, or nothing that exists. Throws ToolError when a folder
  // cannot be listed whole.
  virtual std::optional<std::vector<Listed>> Expand(const std::string& target, bool recurse) = 0;
  // Whether the path names something, even something this user may not open.
  virtual bool Exists(const std::string& path) = 0;
  // Where a target named through a symbolic link leads; nothing for a target that is not one.
  virtual std::optional<std::string> LinkTarget(const std::string& path) = 0;
  // The folders in which the runtime looks for a target's language library, in its order,
  // each with the words that say what it is.
  struct Folder {
    std::string path;
    std::string what;
  };
  virtual std::vector<Folder> LibraryFolders(const std::string& target) = 0;
  // Whether the folder holds a file of that name, as the system compares names.
  virtual bool HasFile(const std::string& folder, const std::string& name) = 0;
  // The path from the root, for a command that runs from any folder.
  virtual std::string AbsolutePath(const std::string& path) = 0;
  // A new way back for this run, in a folder of the user's that stays writable wherever the
  // tool is run from; nothing where none can be written.
  virtual std::unique_ptr<WayBackScript> CreateWayBackScript() = 0;
};

}  // namespace tressol
