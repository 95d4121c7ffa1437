#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "file_system.h"
#include "vb_header.h"

namespace tressol {

// Where a language library that a target's settings name was found, if anywhere.
struct LibraryPresence {
  std::string name;
  bool found = false;
  std::string folder;                        // where it was found
  std::vector<FileSystem::Folder> searched;  // where it was looked for
};

// Looks for each library file that the settings name ("*" and "~" name none) in the
// folders where the runtime looks, in its order. The files of a folder share those
// folders: each folder and name is looked up once in a run.
class LibraryFinder {
 public:
  explicit LibraryFinder(FileSystem& files) : files_(files) {}
  std::vector<LibraryPresence> Find(const LanguageSettings& settings, const std::string& target);

 private:
  bool Has(const std::string& folder, const std::string& name);

  FileSystem& files_;
  std::map<std::pair<std::string, std::string>, bool> known_;
};

}  // namespace tressol
