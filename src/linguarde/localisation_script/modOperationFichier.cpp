#include "modOperationFichier.h"

namespace modOperationFichier {

std::wstring AjouterAntislash(std::wstring& chemin) {
  // Only U+0020: a tab at the end of a folder name is part of the name.
  const std::wstring::size_type last = chemin.find_last_not_of(L' ');
  chemin.erase(last == std::wstring::npos ? 0 : last + 1);
  if (chemin.empty() || chemin.back() != L'\\') {
    chemin += L'\\';
  }
  return chemin;
}

std::wstring CheminDansDossier(const std::wstring& dossier, std::wstring_view nom) {
  std::wstring copie = dossier;
  return AjouterAntislash(copie) + std::wstring(nom);
}

}  // namespace modOperationFichier
