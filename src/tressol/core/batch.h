#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "command_line.h"
#include "file_system.h"
#include "library_check.h"
#include "one_file.h"
#include "outcome.h"
#include "run_journal.h"
#include "run_output.h"

namespace tressol {

// Busy files are set aside so that the others go on; then they are tried again, all of
// them within one patience for the whole run, and those still held fail. Changes are made
// in batches: each file of a batch prepared and held, their records written in one flush,
// then each change made. Files are reported in order, as soon as their batch is done.
class Batch {
 public:
  Batch(const Command& command, FileSystem& files, Output& output, bool many)
      : command_(command),
        files_(files),
        output_(output),
        many_(many),
        libraries_(files),
        journal_(files, output.journalPath, command.noJournal) {}

  // Once the journal has stopped the run, the files left are not looked at.
  void Add(FileOutcome&& outcome);

  RunJournal& Journal() { return journal_; }
  bool Empty() const { return done_.empty() && busy_.empty(); }

  // An outcome is large: kept in place, not moved again as the list grows.
  void Expect(std::size_t files) { done_.reserve(files); }

  std::vector<FileOutcome> Finish();

 private:
  static constexpr std::chrono::milliseconds kBusyPatience{2000};
  static constexpr std::chrono::milliseconds kBusyRetry{100};
  struct Waiting {
    FileOutcome outcome;
    std::unique_ptr<PreparedSet> set;
  };

  // The batch's records in one flush, then its changes; where the records cannot be
  // written, none of its changes is made: the first says why, the others were not reached.
  void Commit();
  // A file the run stopped before; the first after a stop that nothing said says why.
  FileOutcome NotReached(FileOutcome outcome);

  void Record(FileOutcome&& outcome);

  const Command& command_;
  FileSystem& files_;
  Output& output_;
  bool many_;
  LibraryFinder libraries_;
  RunJournal journal_;
  std::vector<FileOutcome> busy_;
  std::vector<FileOutcome> done_;
  std::vector<Waiting> waiting_;  // in the order given, from the batch's first set
  std::size_t sets_ = 0;
};

}  // namespace tressol
