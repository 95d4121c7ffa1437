#pragma once

#include <string>
#include <vector>

#include "tressol.h"
#include "vb_header.h"

namespace tressol {

// Where a language library that a target's settings name was found, if anywhere.
struct LibraryPresence {
  std::string name;
  bool found = false;
  std::string folder;  // where it was found
};

// Looks for each library file that the settings name ("*" and "~" name none) in the
// folders where the runtime looks, in its order.
std::vector<LibraryPresence> FindLibraries(const LanguageSettings& settings,
                                           const std::string& target, FileSystem& files);

// The report's lines about them: where each is, or a warning that says what the missing
// library means for the messages.
std::string DescribeLibraries(const std::vector<LibraryPresence>& libraries,
                              const LanguageSettings& settings, const std::string& target,
                              FileSystem& files);

}  // namespace tressol
