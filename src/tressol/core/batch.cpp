#include "batch.h"

#include <thread>
#include <utility>

#include "file_report.h"
#include "report.h"

namespace tressol {

void Batch::Add(FileOutcome&& outcome) {
  if (outcome.result == Result::Pending && journal_.Stopped()) {
    outcome = NotReached(std::move(outcome));
  }
  std::unique_ptr<PreparedSet> set;
  if (outcome.result == Result::Pending) {
    Process(outcome, command_, files_, libraries_, journal_, set);
  }
  if (!set && waiting_.empty()) {
    Record(std::move(outcome));
    return;
  }
  sets_ += set ? 1 : 0;
  waiting_.push_back({std::move(outcome), std::move(set)});
  if (sets_ >= files_.FilesABatch()) Commit();
}

std::vector<FileOutcome> Batch::Finish() {
  using Clock = std::chrono::steady_clock;
  Commit();
  const Clock::time_point giveUp = Clock::now() + kBusyPatience;
  while (!busy_.empty() && !journal_.Stopped() && Clock::now() < giveUp) {
    std::this_thread::sleep_for(kBusyRetry);
    std::vector<FileOutcome> held;
    held.swap(busy_);
    for (const FileOutcome& outcome : held) {
      FileOutcome again = Unprocessed(outcome.path, outcome.openPath, outcome.name);
      again.linkTarget = outcome.linkTarget;
      again.listed = outcome.listed;
      again.undoing = outcome.undoing;
      Add(std::move(again));
    }
    Commit();
  }
  for (FileOutcome& outcome : busy_) {
    if (journal_.Stopped()) {
      outcome = NotReached(std::move(outcome));
    } else {
      outcome.result = Result::Failed;
    }
    Record(std::move(outcome));
  }
  busy_.clear();
  journal_.Finish();
  return std::move(done_);
}

FileOutcome Batch::NotReached(FileOutcome outcome) {
  if (const std::shared_ptr<const ToolError> why = journal_.TakeUnsaidStop()) {
    return Failed(std::move(outcome), *why);
  }
  outcome.result = Result::NotReached;
  return outcome;
}

void Batch::Commit() {
  for (Waiting& waiting : waiting_) {
    if (waiting.set) journal_.Reserve(waiting.set->change);
  }
  std::optional<VerdictError> unrecorded;
  if (sets_ > 0) {
    try {
      journal_.Commit();
    } catch (const VerdictError& error) {
      unrecorded = error;
    }
  }
  bool first = true;
  for (Waiting& waiting : waiting_) {
    FileOutcome& outcome = waiting.outcome;
    if (waiting.set && unrecorded) {
      if (first) {
        outcome = Failed(std::move(outcome), *unrecorded);
      } else {
        outcome.result = Result::NotReached;
      }
      first = false;
    } else if (waiting.set) {
      try {
        FinishSet(outcome, *waiting.set, *command_.settings, journal_);
        outcome.libraries = libraries_.Find(outcome.settings, outcome.path);
      } catch (const ToolError& error) {
        outcome = Failed(std::move(outcome), error);
      }
    }
    waiting.set.reset();
    Record(std::move(outcome));
  }
  waiting_.clear();
  sets_ = 0;
}

void Batch::Record(FileOutcome&& outcome) {
  if (outcome.result == Result::Busy) {
    busy_.push_back(std::move(outcome));
    return;
  }
  const WayBackStyle style{output_.shell, output_.toolPath};
  if (command_.json) {
    output_.out += JsonLine(outcome, style);
  } else if (many_) {
    output_.out += FileLine(outcome, style);
  }
  output_.Flush();
  done_.push_back(std::move(outcome));
}

}  // namespace tressol
