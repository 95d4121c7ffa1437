#include "library_check.h"

namespace tressol {
namespace {

bool NamesAFile(const std::string& library) {
  return !library.empty() && library != "*" && library != "~";
}

}  // namespace

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
    if (!NamesAFile(*name) || (!libraries.empty() && libraries.front().name == *name)) continue;
    LibraryPresence presence{*name, false, {}};
    for (const FileSystem::Folder& folder : files_.LibraryFolders(target)) {
      if (Has(folder.path, *name)) {
        presence = {*name, true, folder.path};
        break;
      }
    }
    libraries.push_back(presence);
  }
  return libraries;
}

std::string DescribeLibraries(const std::vector<LibraryPresence>& libraries,
                              const LanguageSettings& settings, const std::string& target,
                              FileSystem& files) {
  std::string text;
  for (const LibraryPresence& library : libraries) {
    if (library.found) {
      text += "Bibliothèque " + library.name + " : présente dans " + library.folder + "\n";
      continue;
    }
    // The current folder and the PATH also count when the program starts, and other
    // computers are not this one: the warning says what is known, no more.
    const std::vector<FileSystem::Folder> folders = files.LibraryFolders(target);
    std::string where;
    for (std::size_t i = 0; i < folders.size(); ++i) {
      where += std::string(i == 0 ? "" : ", ") + folders[i].path + " (" + folders[i].what + ")";
    }
    text += "Attention : sur cet ordinateur, " + library.name +
            " n'est dans aucun des dossiers où Windows cherche d'ordinaire : " + where + ".";
    if (library.name == settings.primaryLibrary) {
      if (settings.secondaryLibrary == "*") {
        text += " Là où elle manque, les messages VB sont en anglais.";
      } else if (!NamesAFile(settings.secondaryLibrary)) {
        text += " Là où elle manque, les messages VB manquent : aucune langue de secours n'est "
                "réglée.";
      }
    }
    text += " Elle doit être présente sur chaque ordinateur où l'application s'exécute.\n";
  }
  return text;
}

}  // namespace tressol
