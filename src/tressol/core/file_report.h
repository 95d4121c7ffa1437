#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "journal.h"
#include "library_check.h"
#include "outcome.h"
#include "tool_error.h"
#include "way_back.h"
#include "words.h"

namespace tressol {

// A single file's report: the settings, the technical details, the language library and
// the way back, then the answer last (the file, what was done, the effect in plain words).
std::string SingleFileReport(const FileOutcome& outcome, const WayBackStyle& style);
// Why a single file was neither viewed nor set, naming it: in a sentence of its own, and as
// the console says it.
std::string SingleFileFailureWords(const FileOutcome& outcome, bool set);
// The same in the few words of a window's line: the kind first, what to do in sight.
std::string ShortFailureWords(const FileOutcome& outcome);
std::string SingleFileFailure(const FileOutcome& outcome, bool set);

// The report's lines about one of them: where it is, or a warning that says what its
// absence, or a file of its name that is none, means; advise: what to do, where it helps.
std::string DescribeLibrary(const LibraryPresence& library, bool advise);

// A folder's or a pattern's report: a line a VB6 file as each is done; at the end, the
// other files grouped by reason, each language library once, the summary.
std::string FileLine(const FileOutcome& outcome, const WayBackStyle& style);
std::string FolderEnd(const std::vector<FileOutcome>& outcomes, Mode mode);

// What became of the files of a run, and the effects of those shown.
struct RunCounts {
  std::map<Result, std::size_t> results;
  std::map<std::string, std::size_t> effects;       // of the files shown, in plain words
  std::map<std::string, std::size_t> shortEffects;  // and in short ones
  bool dryRun = false;                              // an undo's: nothing written

  std::size_t operator[](Result result) const;
  std::size_t Vb6() const;  // the VB6 files that did not fail
};
RunCounts CountsOf(const std::vector<FileOutcome>& outcomes);
// The console's summary sentence, and the same counts in the few words of a window's line.
std::string SummaryWords(const RunCounts& counts, Mode mode);
std::string ShortSummary(const RunCounts& counts, Mode mode);

// A path as a word of the console's shell, and of PowerShell.
struct ConsoleWords {
  std::string shell;
  std::string powerShell;
};
// How to undo the run's changes, from each shell that the console may run.
std::string UndoLines(const ConsoleWords& tool, const ConsoleWords& journal, Shell shell,
                      std::size_t changes);
// An undone journal that could not be written itself: where the mark that it was undone is.
std::string MarkKeptElsewhere(const std::string& undone, const std::string& own);
// The last run that undid a journal, as its own journal says: an undo that was itself undone
// leaves the journal's changes in place again.
struct EarlierUndo {
  enum class State { None, Undone, UndoneAgain } state = State::None;
  std::string journal;  // the undo's, empty where it kept none
};
// What --undo finds in a journal before it gives anything back: cut records, an earlier undo.
std::string JournalState(const JournalContents& contents, const EarlierUndo& earlier);
// Said once an undo gives back more than one change: in which order.
std::string UndoOrder();
std::string NothingToUndo();

// How to ask for the change that a bare tail was meant as.
std::string MeantChangeHint(const MeantChange& meant, Shell shell, const std::string& toolPath);

// One JSON object on one line: a file's; the summary that ends a run over several files
// (journal: the run's, or empty); what the tool says of the run, with its exit status and
// its kind (by default the status's: a note, usage, refused, io).
std::string JsonLine(const FileOutcome& outcome, const WayBackStyle& style);
std::string JsonSummary(const std::vector<FileOutcome>& outcomes, Mode mode,
                        const std::string& journal, const WayBackStyle& style);
std::string JsonMessage(const std::string& words, int status, const std::string& brief = {},
                        std::string_view kind = {}, std::string_view reasonKind = {});
// The name of why a single file failed, was no VB6 file or was left aside, for programs.
std::string_view ReasonKindOf(const FileOutcome& outcome);
// The kind of the message an error ends a run with.
std::string_view MessageKindOf(const ToolError& error);

}  // namespace tressol
