#pragma once

#include <functional>
#include <memory>
#include <string>

#include "file_system.h"
#include "journal.h"
#include "target_file.h"

namespace tressol {

// The run's journal, made at its first change. Where it cannot be written, the run goes on
// without it and says so once, before that change.
class RunJournal {
 public:
  using Warn = std::function<void(const std::string& why)>;
  RunJournal(FileSystem& files, std::string given, Warn warn)
      : files_(files), given_(std::move(given)), warn_(std::move(warn)) {}

  // Records the change, then writes each region in one positioned write, flushes and reads
  // back; on any failure puts the bytes before back, and records what became of it.
  // Returns the journal that holds the change, empty where none does. Throws ToolError.
  std::string Apply(TargetFile& file, JournalChange change);
  // Marks another journal, whose text was read, as undone by this one.
  void MarkUndone(JournalFile& undone, const std::string& text);

  // The journal, once a change is recorded in it.
  const JournalFile* File() const { return file_.get(); }
  // Whether a recorded change may have left a file changed that an undo can give back.
  bool HoldsChanges() const { return holdsChanges_; }

 private:
  bool Record(const std::string& record);

  FileSystem& files_;
  std::string given_;
  Warn warn_;
  std::unique_ptr<JournalFile> file_;
  bool unwritable_ = false;
  bool holdsChanges_ = false;
  std::uint64_t sequence_ = 0;
};

}  // namespace tressol
