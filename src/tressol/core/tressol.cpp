#include "tressol.h"

#include <algorithm>
#include <optional>

#include "batch.h"
#include "command_line.h"
#include "file_report.h"
#include "journal.h"
#include "kinds.h"
#include "one_file.h"
#include "outcome.h"
#include "report.h"
#include "run_end.h"
#include "run_journal.h"
#include "targets.h"
#include "tool_error.h"

namespace tressol {
namespace {

// What ends a run that an error stopped, said once, and its status.
int Said(const ToolError& error, const std::string& hint, Output& output) {
  const int status = static_cast<int>(error.Kind());
  if (output.json) {
    output.out += JsonMessage(ReasonOf(error) + hint, status, ShortReasonOf(error),
                              MessageKindOf(error), ReasonKindOf(error));
  } else {
    output.err += error.Kind() == Failure::Usage ? ReasonOf(error) : Wrap(StoppedBy(error), "  ");
    output.err += hint;
  }
  return status;
}

// How to undo the run, last: only where it changed something.
std::string UndoEnd(Batch& batch, FileSystem& files, const Output& output) {
  const JournalFile* journal = batch.Journal().File();
  if (!batch.Journal().OffersUndo() || output.json) return {};
  const auto words = [&files, &output](const std::string& path) {
    return ConsoleWords{files.ConsoleWord(path, output.shell),
                        files.ConsoleWord(path, Shell::PowerShell)};
  };
  return UndoLines(words(output.toolPath), words(journal->Path()), output.shell);
}

// The end of a run over several files: the summary, in JSON or in the report's words with
// how to undo the run.
std::string ManyFilesEnd(const std::vector<FileOutcome>& outcomes, Mode mode, Batch& batch,
                         FileSystem& files, const Output& output) {
  if (output.json) {
    const JournalFile* journal = batch.Journal().File();
    return JsonSummary(outcomes, mode, batch.Journal().OffersUndo() ? journal->Path() : "",
                       WayBackStyle{output.shell, output.toolPath});
  }
  return FolderEnd(outcomes, mode) + UndoEnd(batch, files, output);
}

// --undo: each change of the journal given back, the last first, so that changes made one
// over another come undone in order. A damaged record fails the run; the sound ones are
// each checked against the file before anything is written.
int Undo(const Command& command, FileSystem& files, Output& output) {
  // The journal the environment named for the run undone, most often: the undo's own goes
  // where a journal goes by default, and its last line says where.
  if (!output.journalPath.empty() && files.Exists(output.journalPath)) output.journalPath.clear();
  const std::unique_ptr<JournalFile> undone =
      files.OpenJournal(*command.undo, command.dryRun ? JournalUse::Look : JournalUse::Undo);
  const std::string text = undone->ReadAll();
  const JournalContents contents = ParseJournal(text);
  if (const std::string state = JournalState(contents); !state.empty()) {
    output.out += output.json ? JsonMessage(state, 0) : state;
  }
  Batch batch(command, files, output, true);
  batch.Expect(contents.changes.size() + contents.damagedLines.size() + 1);
  const auto journalFails = [&](Verdict verdict, const std::string& detail) {
    batch.Add(Failed(Unprocessed(undone->Path(), undone->Path(), undone->Path()),
                     VerdictError(Failure::Refused, verdict, detail)));
  };
  for (const std::size_t line : contents.damagedLines) {
    journalFails(Verdict::JournalLineDamaged, std::to_string(line));
  }
  // 1.4.0 went on changing files when its journal could not be written: after a cut record,
  // its journal may miss changes that no undo of it gives back.
  if (contents.version == 1 && contents.cutRecords + contents.cutEnds > 0) {
    journalFails(Verdict::JournalMayMissChanges, {});
  }
  std::size_t changes = 0;
  for (auto change = contents.changes.rbegin(); change != contents.changes.rend(); ++change) {
    // Put back, or written over by another program: no change of this run's is there.
    const auto end = contents.ends.find(change->sequence);
    if (end != contents.ends.end() &&
        (end->second == ChangeEnd::RolledBack || end->second == ChangeEnd::Interfered)) {
      continue;
    }
    FileOutcome outcome = Unprocessed(change->path, change->path, change->path);
    outcome.undoing = *change;
    outcome.dryRun = command.dryRun;
    if (command.localOnly && files.OnlineOnly(change->path)) {
      outcome.result = Result::LeftAside;
      outcome.aside = Aside::OnlineOnly;
    }
    batch.Add(std::move(outcome));
    ++changes;
  }
  if (changes == 0 && batch.Empty()) {
    output.out += output.json ? JsonMessage(NothingToUndo(), 0) : NothingToUndo();
    return 0;
  }
  const std::vector<FileOutcome> outcomes = batch.Finish();
  // Marked only when every file is as it was: a file left changed can still be undone.
  if (!command.dryRun && std::none_of(outcomes.begin(), outcomes.end(), [](const FileOutcome& o) {
        return o.result == Result::Failed || o.result == Result::NotReached;
      })) {
    const JournalFile* own = batch.Journal().File();
    if (!batch.Journal().MarkUndone(*undone, contents, text) && own) {
      const std::string words = MarkKeptElsewhere(undone->Path(), own->Path());
      output.out += output.json ? JsonMessage(words, 0) : words;
    }
  }
  output.out += ManyFilesEnd(outcomes, Mode::Undo, batch, files, output);
  return EndOf(outcomes, Mode::Undo).status;
}

// The end of a run over one file: its failure, said alone, or its report and how to undo it.
int OneFileEnd(const FileOutcome& outcome, const Command& command, Batch& batch, FileSystem& files,
               const std::string& hint, Output& output) {
  if (outcome.result == Result::NotVb6 || outcome.result == Result::Failed ||
      outcome.result == Result::LeftAside) {
    const int status = static_cast<int>(outcome.failure);
    const bool set = command.settings.has_value();
    if (output.json) {
      output.out += JsonMessage(SingleFileFailureWords(outcome, set) + hint, status,
                                ShortFailureWords(outcome), {}, ReasonKindOf(outcome));
    } else {
      output.err += SingleFileFailure(outcome, set) + hint;
    }
    return status;
  }
  if (!command.json) {
    output.out += SingleFileReport(outcome, WayBackStyle{output.shell, output.toolPath}) +
                  UndoEnd(batch, files, output);
  }
  return outcome.result == Result::WrongChecksum ? kWrongChecksum
         : outcome.result == Result::Differs     ? kDiffers
                                                 : 0;
}

}  // namespace

int Run(const std::string& tail, FileSystem& files, Output& output) {
  std::string hint;
  output.json = AsksForJson(tail);
  try {
    const Command command = ParseCommandLine(tail, output.shell);
    if (command.help || command.version) {
      const std::string text =
          command.help ? Usage(output.shell) : VersionText(LINGUARDE_VERSION) + "\n";
      output.out += output.json ? JsonMessage(text, 0) : text;
      return 0;
    }
    if (command.undo) return Undo(command, files, output);
    // A journal the environment names is made new: the run must not write into another's.
    if (command.settings && !command.noJournal && !output.journalPath.empty() &&
        files.Exists(output.journalPath)) {
      Damaged(Verdict::JournalExists, output.journalPath);
    }
    if (command.meant) hint = MeantChangeHint(*command.meant, output.shell, output.toolPath);
    bool many = false;
    std::vector<FileOutcome> pending = ListTargets(command, files, many);
    Batch batch(command, files, output, many);
    batch.Expect(pending.size());
    for (FileOutcome& outcome : pending) batch.Add(std::move(outcome));
    const std::vector<FileOutcome> outcomes = batch.Finish();

    if (!many) return OneFileEnd(outcomes.front(), command, batch, files, hint, output);
    output.out += ManyFilesEnd(outcomes, command.Doing(), batch, files, output);
    const RunEnd end = EndOf(outcomes, command.Doing());
    // Nothing to do is refused after the summary, which says why.
    return end.refusal ? Said(VerdictError(Failure::Refused, *end.refusal), hint, output)
                       : end.status;
  } catch (const ToolError& error) {
    return Said(error, hint, output);
  }
}

}  // namespace tressol
