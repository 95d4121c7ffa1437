#pragma once

#include <memory>
#include <string>

#include "file_system.h"
#include "journal.h"
#include "target_file.h"

namespace tressol {

// The run's journal, made at its first change. No change is made without its record: where
// the journal cannot be made or written, that change is not made and the run stops, its
// journal holding every change made before. Without a journal (asked for), changes are
// made unrecorded.
class RunJournal {
 public:
  RunJournal(FileSystem& files, std::string given, bool none = false)
      : files_(files), given_(std::move(given)), none_(none) {}

  // Records the change (Reserve, Commit) and makes it (Write).
  std::string Apply(TargetFile& file, JournalChange change);
  // Numbers a change and adds its record to those the next Commit writes.
  void Reserve(JournalChange& change);
  // Writes the records reserved, durably, in one flush: a batch of changes costs one.
  // Throws VerdictError(NotRecorded) where they could not be written, and the run has then
  // stopped: none of them may be made.
  void Commit();
  // Checks that no other program wrote the file since it was opened, writes each region of
  // a change committed in one positioned write and reads back. A failed write puts the
  // bytes before back; another program's write is said, never undone over it. Records what
  // became of the change. The file is not flushed, nor the end record: an undo finds a
  // change recorded but lost in a crash as a file still as it was, which it accepts.
  // Returns the journal that holds it, empty without one. Throws ToolError.
  std::string Write(TargetFile& file, const JournalChange& change);
  // Marks another journal, whose text was read, as undone by this one. Where that journal
  // cannot be written, the mark goes into this run's own journal. Returns whether the
  // undone journal holds it.
  bool MarkUndone(JournalFile& undone, const JournalContents& contents, const std::string& text);

  // The journal, once a change is recorded in it.
  const JournalFile* File() const { return file_.get(); }
  // Whether this run's journal gives back every change the run left in place.
  bool OffersUndo() const { return file_ && holdsChanges_ && everyChangeReopens_; }
  // A record could not be written: no other change may be made.
  bool Stopped() const { return stopped_; }
  // Why the run stopped where no change said it yet (an end record could not be written),
  // once: the first file not reached says it.
  std::shared_ptr<const ToolError> TakeUnsaidStop();
  // Makes the last end records durable: the run's one flush beside its changes' records.
  void Finish();

 private:
  void Record(const std::string& record, bool durable = true);
  // An end record; one that cannot be written stops the run, but the change it closes
  // stays as the undo will find it.
  void End(std::uint64_t sequence, ChangeEnd end);

  FileSystem& files_;
  std::string given_;
  bool none_;
  std::string run_ = NewRunId();
  std::unique_ptr<JournalFile> file_;
  bool stopped_ = false;
  bool holdsChanges_ = false;
  bool everyChangeReopens_ = true;
  bool endsPending_ = false;  // written, not yet durable
  std::shared_ptr<const ToolError> unsaid_;
  std::string reserved_;  // records not yet written
  std::uint64_t sequence_ = 0;
};

}  // namespace tressol
