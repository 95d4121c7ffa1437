#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "window_words.h"

namespace linguarde {

// A line under the target: one entry of the catalog and its places, "{file}" apart, which
// the window fills with the target's name as far as it fits. No entry: nothing to say.
struct Line {
  Line() = default;
  Line(WindowWords said, std::wstring toolWords = {}, std::wstring_view morePlace = {},
       std::wstring moreValue = {}, std::wstring aboutName = {})
      : entry(said),
        words(std::move(toolWords)),
        place(morePlace),
        value(std::move(moreValue)),
        name(std::move(aboutName)) {}

  WindowWords entry = WindowWords::kEnd;
  std::wstring words;       // "{words}", the tool's
  std::wstring_view place;  // one more place, if any
  std::wstring value;
  std::wstring name;  // "{name}", the file that words of the window are about
};

// The line's text with the name given.
std::wstring LineText(const Line& line, std::wstring_view name);

// The name a target is shown by: its last component, or the whole text for a root; what
// would act on the text around it shown escaped.
std::wstring ShownName(std::wstring_view target);

// What the window's line says of a target from the tool's JSON lines when run with --json
// on it (UTF-8): the tool's own words, for a folder or a pattern the short form of its
// summary, for the file itself its own words and the language libraries it lacks; without
// a file, what the tool said of the run; where the tool said nothing it can read, so.
Line TargetLine(std::string_view output);

// Whether the window offers to undo an action, from what the tool wrote for a dry run of
// its journal's undo: only where every change can come back exactly and there is one; else,
// where the tool said why (for a file, or for the run), the entry that says it after the
// tool's words, with the reason and the file. A journal that is not there is said apart:
// after an action, it changed nothing.
struct UndoOffer {
  bool offered = false;
  bool journalMissing = false;
  WindowWords why = WindowWords::kEnd;
  std::wstring reason;  // the tool's words
  std::wstring name;    // of the file that cannot come back
};
UndoOffer UndoOfferOf(std::string_view output);

// The line of the tool's words with what follows them: why there is no undo, or what the
// redo offered does. A line of other words stays as it is.
Line Followed(const Line& line, WindowWords entry, const UndoOffer& offer = {});

}  // namespace linguarde
