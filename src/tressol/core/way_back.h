#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "run_terms.h"
#include "vb_header.h"

namespace tressol {

// How a way back is written: in the console's syntax, the tool named by its full path.
struct WayBackStyle {
  Shell shell = Shell::Posix;
  std::string toolPath = "tressol";
};

// A word written so that the shell hands it to the tool as it is; nothing where that
// cannot be done (cmd replaces %name% even between quotes, and a quote cannot be quoted)
// or shown (a control character).
std::optional<std::string> ShellWord(const std::string& word, Shell shell);

// A path as the first word of a command in that shell: cmd quotes it always, since a bare
// one would be read up to its first space, and PowerShell calls it with "&". Nothing where
// the shell cannot carry it.
std::optional<std::string> CommandWord(const std::string& path, Shell shell);

// What of a target's way back the command line cannot carry.
struct NoWayBack {
  enum class Part { LibraryName, Lcid, Path };
  Part part = Part::Path;
  std::string library;     // LibraryName: the previous name
  std::uint32_t lcid = 0;  // Lcid: the previous locale
};

// The command that gives a target back its previous settings; nothing where the command
// line cannot carry them, with why in whyNot.
std::optional<std::string> WayBackCommand(Shell shell, const std::string& toolPath,
                                          const LanguageSettings& before,
                                          const std::string& absoluteTarget,
                                          std::optional<NoWayBack>& whyNot);

}  // namespace tressol
