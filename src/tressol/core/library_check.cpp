#include "library_check.h"

namespace tressol {

bool LibraryFinder::Has(const std::string& folder, const std::string& name) {
  const auto key = std::make_pair(folder, name);
  const auto found = known_.find(key);
  if (found != known_.end()) return found->second;
  return known_[key] = files_.HasFile(folder, name);
}

std::vector<LibraryPresence> LibraryFinder::Find(const LanguageSettings& settings,
                                                 const std::string& target) {
  std::vector<LibraryPresence> libraries;
  for (const std::string* name : {&settings.primaryLibrary, &settings.secondaryLibrary}) {
    if (!NamesALibraryFile(*name) || (!libraries.empty() && libraries.front().name == *name))
      continue;
    LibraryPresence presence{*name, false, {}, files_.LibraryFolders(target)};
    for (const FileSystem::Folder& folder : presence.searched) {
      if (Has(folder.path, *name)) {
        presence.found = true;
        presence.folder = folder.path;
        break;
      }
    }
    libraries.push_back(presence);
  }
  return libraries;
}

}  // namespace tressol
