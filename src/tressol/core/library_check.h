#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "file_system.h"
#include "vb_header.h"

namespace tressol {

// What the file that bears a library's name is: the runtime loads the first one it finds,
// and fails where that one is no library.
enum class LibraryFile {
  Missing,   // none of that name in the folders searched
  Library,   // a DLL, or a file this run could not open to tell
  NotImage,  // not a PE32 image: an empty file, a text…
  Program,   // an EXE: most often a "*" that a shell replaced by the names of a folder
};

// Where a language library that a target's settings name was found, if anywhere.
struct LibraryPresence {
  std::string name;
  bool found = false;  // a library the runtime can load
  LibraryFile file = LibraryFile::Missing;
  std::string folder;                        // where the file of that name was found
  std::vector<FileSystem::Folder> searched;  // where it was looked for
  bool fallsBack = false;  // where it is missing, a later setting gives the messages
  bool ofProgram = false;  // the target is a program, whose folder is the application's
};

// Looks for each library file that the settings name ("*" and "~" name none) in the
// folders where the runtime looks, in its order, and at the file found. The files of a
// folder share those folders: each folder and name is looked up once in a run.
class LibraryFinder {
 public:
  explicit LibraryFinder(FileSystem& files) : files_(files) {}
  std::vector<LibraryPresence> Find(const LanguageSettings& settings, const std::string& target);

 private:
  LibraryFile Look(const std::string& folder, const std::string& name);

  FileSystem& files_;
  std::map<std::pair<std::string, std::string>, LibraryFile> known_;
};

}  // namespace tressol
