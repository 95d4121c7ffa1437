#include "library_check.h"

#include "report.h"

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

std::string DescribeLibrary(const LibraryPresence& library, const LanguageSettings& settings) {
  const std::string name = "la bibliothèque de langue " + ShownLibraryName(library.name);
  if (library.found) {
    return "Bibliothèque de langue " + ShownLibraryName(library.name) + " : présente dans " +
           library.folder + ".\n";
  }
  // The current folder and the PATH also count when the program starts, and other
  // computers are not this one: the warning says what is known, no more.
  std::string text = "Attention : sur cet ordinateur, " + name +
                     " n'est dans aucun des dossiers où Windows la cherche d'ordinaire.";
  if (library.name == settings.primaryLibrary && settings.secondaryLibrary == "*") {
    text += " Tant qu'elle n'y sera pas, les messages VB seront en anglais.";
  } else if (library.name == settings.primaryLibrary &&
             !NamesALibraryFile(settings.secondaryLibrary)) {
    text += " Tant qu'elle n'y sera pas, les messages VB seront absents.";
  }
  text = Wrap(text + " Elle doit être présente sur chaque ordinateur où l'application s'exécute.",
              "  ");
  for (const FileSystem::Folder& folder : library.searched) {
    text += "  Cherchée dans : " + folder.path + " (" + folder.what + ")\n";
  }
  return text;
}

}  // namespace tressol
