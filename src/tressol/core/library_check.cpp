#include "library_check.h"

#include "pe_image.h"
#include "unicode_text.h"

namespace tressol {

LibraryFile LibraryFinder::Look(const std::string& folder, const std::string& name) {
  const auto key = std::make_pair(folder, name);
  const auto known = known_.find(key);
  if (known != known_.end()) return known->second;
  LibraryFile& file = known_[key];
  const std::optional<std::string> path = files_.FileIn(folder, name);
  if (!path) return file = LibraryFile::Missing;
  std::unique_ptr<TargetFile> opened;
  try {
    opened = files_.Open(*path, false);
  } catch (const ToolError&) {
    // Held or denied to this user: the runtime of another may still load it.
    return file = LibraryFile::Library;
  }
  try {
    const PeImage image = ReadPeImage(*opened);
    if (image.signature != PeImage::Signature::Sound) return file = LibraryFile::NotImage;
    return file = image.isDll ? LibraryFile::Library : LibraryFile::Program;
  } catch (const ToolError&) {
    return file = LibraryFile::NotImage;
  }
}

std::vector<LibraryPresence> LibraryFinder::Find(const LanguageSettings& settings,
                                                 const std::string& target) {
  const bool program = target.size() >= 4 && linguarde::unicode::SameIgnoringAsciiCase(
                                                 target.substr(target.size() - 4), ".exe");
  std::vector<LibraryPresence> libraries;
  for (const std::string* name : {&settings.primaryLibrary, &settings.secondaryLibrary}) {
    if (!NamesALibraryFile(*name) || (!libraries.empty() && libraries.front().name == *name))
      continue;
    LibraryPresence presence{*name, false, LibraryFile::Missing, {}, files_.LibraryFolders(target)};
    presence.ofProgram = program;
    presence.fallsBack = name == &settings.primaryLibrary &&
                         (settings.secondaryLibrary == "*" ||
                          (NamesALibraryFile(settings.secondaryLibrary) &&
                           settings.secondaryLibrary != settings.primaryLibrary));
    for (const FileSystem::Folder& folder : presence.searched) {
      presence.file = Look(folder.path, *name);
      if (presence.file != LibraryFile::Missing) {
        // The runtime loads the first file of that name, whatever it is.
        presence.found = presence.file == LibraryFile::Library;
        presence.folder = folder.path;
        break;
      }
    }
    libraries.push_back(presence);
  }
  return libraries;
}

}  // namespace tressol
