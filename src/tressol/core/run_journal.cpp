#include "run_journal.h"

#include "report.h"
#include "tool_error.h"

namespace tressol {
namespace {

std::vector<std::uint8_t> Read(TargetFile& file, const Region& region) {
  std::vector<std::uint8_t> bytes(region.after.size());
  file.ReadAt(region.offset, bytes.data(), bytes.size());
  return bytes;
}

}  // namespace

bool RunJournal::Record(const std::string& record) {
  if (unwritable_) return false;
  try {
    if (!file_) {
      file_ = files_.CreateJournal(given_);
      file_->Append(JournalHeader());
    }
    file_->Append(record);
    return true;
  } catch (const ToolError& error) {
    // A record cut by a full disk is known as cut; nothing is written after it.
    unwritable_ = true;
    warn_(ReasonOf(error));
    return false;
  }
}

std::string RunJournal::Apply(TargetFile& file, JournalChange change) {
  change.sequence = ++sequence_;
  const bool recorded = Record(ChangeRecord(change));
  // A file that cannot be opened again by its path is not one an undo can give back.
  const bool undoable = recorded && files_.CanReopen(change.path);
  const std::vector<Region>& regions = change.regions;
  try {
    for (const Region& region : regions) {
      file.WriteAt(region.offset, region.after.data(), region.after.size());
    }
    file.Flush();
    for (const Region& region : regions) {
      if (Read(file, region) != region.after) {
        throw VerdictError(Failure::Io, Verdict::ReadBackDiffers);
      }
    }
  } catch (const ToolError& error) {
    bool restored = true;
    try {
      for (const Region& region : regions) {
        file.WriteAt(region.offset, region.before.data(), region.before.size());
      }
      file.Flush();
      for (const Region& region : regions)
        restored = restored && Read(file, region) == region.before;
    } catch (const ToolError&) {
      restored = false;
    }
    holdsChanges_ = holdsChanges_ || (undoable && !restored);
    if (recorded) {
      Record(EndRecord(change.sequence, restored ? ChangeEnd::RolledBack : ChangeEnd::Unknown));
    }
    throw VerdictError(Failure::Io,
                       restored ? Verdict::WriteFailed : Verdict::WriteFailedNotRestored,
                       ReasonOf(error));
  }
  holdsChanges_ = holdsChanges_ || undoable;
  if (!recorded) return {};
  Record(EndRecord(change.sequence, ChangeEnd::Done));
  return file_->Path();
}

void RunJournal::MarkUndone(JournalFile& undone, const std::string& text) {
  try {
    // After a record that a kill cut, on a line of its own.
    const std::string cut = !text.empty() && text.back() != '\n' ? "\n" : "";
    undone.Append(cut + UndoneRecord(file_ ? file_->Path() : std::string()));
  } catch (const ToolError&) {
    // The undo is done; only the note that says so is missing, and a second undo finds
    // every file as it was already.
  }
}

}  // namespace tressol
