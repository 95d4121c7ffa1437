#pragma once

#include <string>
#include <string_view>

namespace linguarde {

// What the window's line says after a target's name: only words the tool gave, from its
// JSON lines when run with --json on that target (UTF-8). For a folder or a pattern, the
// short form of its summary; for the file itself, its own words; without a file, what the
// tool said of the run.
std::string TargetWords(std::string_view output);

// Whether the window offers to undo an action, from what the tool wrote for a dry run of
// its journal's undo: only where every change can come back exactly and there is one; else,
// where the tool said why (for a file, or for the run), the words to add to the line. A
// journal that is not there is said apart: after an action, it changed nothing.
struct UndoOffer {
  bool offered = false;
  bool journalMissing = false;
  std::string why;
};
UndoOffer UndoOfferOf(std::string_view output);

}  // namespace linguarde
