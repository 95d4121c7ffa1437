#include "run_journal.h"

#include <algorithm>
#include <utility>

#include "report.h"
#include "tool_error.h"

namespace tressol {
namespace {

// A file that ends before a region was shortened by another program: it does not hold it.
bool Holds(TargetFile& file, const std::vector<Region>& regions,
           std::vector<std::uint8_t> Region::*bytes) {
  return std::all_of(regions.begin(), regions.end(), [&](const Region& region) {
    std::vector<std::uint8_t> now((region.*bytes).size());
    try {
      file.ReadAt(region.offset, now.data(), now.size());
    } catch (const StepError& error) {
      if (error.Which() != IoStep::ReadShort) throw;
      return false;
    }
    return now == region.*bytes;
  });
}

}  // namespace

void RunJournal::Record(const std::string& record, bool durable) {
  if (file_) {
    file_->Append(record, durable);
    return;
  }
  // The first line with the first record: one flush less.
  file_ = files_.CreateJournal(given_);
  file_->Append(JournalHeader(run_) + record);
}

void RunJournal::End(std::uint64_t sequence, ChangeEnd end) {
  // After a line that could not be written whole, no other: it would read as damage.
  if (none_ || stopped_) return;
  try {
    Record(EndRecord(sequence, end, run_), false);
    endsPending_ = true;
  } catch (const ToolError& error) {
    stopped_ = true;
    unsaid_ = std::make_shared<VerdictError>(Failure::Io, Verdict::NotRecorded, ReasonOf(error));
  }
}

std::shared_ptr<const ToolError> RunJournal::TakeUnsaidStop() { return std::move(unsaid_); }

void RunJournal::Finish() {
  if (!file_ || !endsPending_) return;
  try {
    file_->Append({}, true);
    endsPending_ = false;
  } catch (const ToolError&) {
    // The changes are recorded; an end lost says only that a change may not have been made.
  }
}

std::string RunJournal::Apply(TargetFile& file, JournalChange change) {
  Reserve(change);
  Commit();
  return Write(file, change);
}

void RunJournal::Reserve(JournalChange& change) {
  change.sequence = ++sequence_;
  if (!none_) reserved_ += ChangeRecord(change, run_);
}

void RunJournal::Commit() {
  if (stopped_) throw VerdictError(Failure::Io, Verdict::NotRecorded);
  if (reserved_.empty()) return;
  try {
    Record(std::exchange(reserved_, {}));
    endsPending_ = false;
  } catch (const ToolError& error) {
    stopped_ = true;
    throw VerdictError(Failure::Io, Verdict::NotRecorded, ReasonOf(error));
  }
}

std::string RunJournal::Write(TargetFile& file, const JournalChange& change) {
  // A file that cannot be opened again by its path is not one an undo can give back.
  const bool reopens = files_.CanReopen(change.path);
  const std::vector<Region>& regions = change.regions;
  // Just before the first write: the file is still the one read, not one that a build or
  // a copy wrote over in place meanwhile.
  if (file.ChangedSinceOpened() || !Holds(file, regions, &Region::before)) {
    End(change.sequence, ChangeEnd::Interfered);
    throw VerdictError(Failure::Refused, Verdict::ChangedByAnother);
  }
  try {
    for (const Region& region : regions) {
      file.WriteAt(region.offset, region.after.data(), region.after.size());
    }
  } catch (const ToolError& error) {
    bool restored = true;
    try {
      for (const Region& region : regions) {
        file.WriteAt(region.offset, region.before.data(), region.before.size());
      }
      file.Flush();
      restored = Holds(file, regions, &Region::before);
    } catch (const ToolError&) {
      restored = false;
    }
    holdsChanges_ = holdsChanges_ || !restored;
    everyChangeReopens_ = everyChangeReopens_ && (restored || reopens);
    End(change.sequence, restored ? ChangeEnd::RolledBack : ChangeEnd::Unknown);
    throw VerdictError(Failure::Io,
                       restored ? Verdict::WriteFailed : Verdict::WriteFailedNotRestored,
                       ReasonOf(error));
  }
  // What reads back otherwise was written by another program after this one: putting the
  // bytes from before back would write the old file's bytes into the new one.
  if (!Holds(file, regions, &Region::after)) {
    End(change.sequence, ChangeEnd::Interfered);
    throw VerdictError(Failure::Refused, Verdict::ChangedByAnother);
  }
  holdsChanges_ = true;
  everyChangeReopens_ = everyChangeReopens_ && reopens;
  End(change.sequence, ChangeEnd::Done);
  return none_ ? std::string() : file_->Path();
}

bool RunJournal::MarkUndone(JournalFile& undone, const JournalContents& contents,
                            const std::string& text) {
  if (undone.Writable()) {
    try {
      // After a record that a kill cut, on a line of its own.
      const std::string cut = !text.empty() && text.back() != '\n' ? "\n" : "";
      undone.Append(cut + UndoneRecord(file_ ? file_->Path() : std::string(), contents.run));
      return true;
    } catch (const ToolError&) {
      // Said where it is kept instead.
    }
  }
  if (file_ && !none_) {
    try {
      file_->Append(UndoesRecord(undone.Path(), run_));
    } catch (const ToolError&) {
      // The undo is done; only the note is missing, and a second undo finds every file
      // as it was already.
    }
  }
  return false;
}

}  // namespace tressol
