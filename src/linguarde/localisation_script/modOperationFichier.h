#pragma once

#include <string>
#include <string_view>

namespace modOperationFichier {

// Makes a folder path end in exactly one backslash so that a file name can follow it.
// Changes the caller's variable in place and returns a copy of the new value.
std::wstring AjouterAntislash(std::wstring& chemin);

// A file's path in a folder: a copy of the folder through AjouterAntislash, then the name.
// The caller's folder is left as it is.
std::wstring CheminDansDossier(const std::wstring& dossier, std::wstring_view nom);

}  // namespace modOperationFichier
