#pragma once

#include <string>

namespace modOperationFichier {

// Makes a folder path end in exactly one backslash so that a file name can follow it.
// Changes the caller's variable in place and returns a copy of the new value.
std::wstring AjouterAntislash(std::wstring& chemin);

}  // namespace modOperationFichier
