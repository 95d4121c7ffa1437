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

namespace {

std::string FolderWords(FileSystem::FolderKind kind) {
  switch (kind) {
    case FileSystem::FolderKind::Application:
      return "dossier de l'application, d'ordinaire celui du fichier";
    case FileSystem::FolderKind::System32:
      return "dossier système 32 bits";
    case FileSystem::FolderKind::System16:
      return "dossier système 16 bits";
    case FileSystem::FolderKind::Windows:
      return "dossier de Windows";
    case FileSystem::FolderKind::TargetOnly:
      break;
  }
  return "dossier de la cible ; sous Linux, cet outil ne cherche que là";
}

}  // namespace

std::string DescribeLibrary(const LibraryPresence& library, const LanguageSettings& settings) {
  const std::string& shown = library.name;
  if (library.found) {
    return "Bibliothèque de langue " + shown + " : présente dans " + library.folder + ".\n";
  }
  // The current folder and the PATH also count when the program starts, and other
  // computers are not this one: the warning says what is known, no more.
  std::string text = "Attention : la bibliothèque de langue " + shown + " est introuvable";
  if (library.name == settings.primaryLibrary && settings.secondaryLibrary == "*") {
    text += " ; là où elle manque, les messages VB sont en anglais";
  } else if (library.name == settings.primaryLibrary &&
             !NamesALibraryFile(settings.secondaryLibrary)) {
    text += " ; là où elle manque, les messages VB sont absents";
  }
  std::string where;
  std::string system;
  for (const FileSystem::Folder& folder : library.searched) {
    where += (where.empty() ? "" : " ; ") + folder.path + " (" + FolderWords(folder.kind) + ")";
    if (folder.kind == FileSystem::FolderKind::System32) system = folder.path;
  }
  return Wrap(text + ".", "  ") +
         (where.empty() ? "" : Wrap("  Cherchée dans : " + where + ".", "    ")) +
         Wrap("  À faire : copiez " + shown +
                  " dans le dossier de l'application, à côté du programme, sur chaque ordinateur "
                  "où elle s'exécute" +
                  (system.empty()
                       ? ""
                       : " (ou dans " + system + ", ce qui demande les droits d'administrateur)") +
                  ".",
              "    ");
}

}  // namespace tressol
