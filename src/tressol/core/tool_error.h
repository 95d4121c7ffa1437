#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace tressol {

// Each kind has its own exit status.
enum class Failure { Usage = 2, Refused = 3, Io = 4 };

// A French message (UTF-8) for the user and the kind of failure.
class ToolError : public std::runtime_error {
 public:
  ToolError(Failure kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Failure Kind() const noexcept { return kind_; }

 private:
  Failure kind_;
};

// Why a front end could not open or read a file, as it finds it; the report words each.
// Where Windows and POSIX differ, each has its own kind.
enum class FileFailure {
  NotFound,
  Folder,
  NotRegular,          // a device, a pipe; the detail says which
  OpenElsewhere,       // Windows: shared with nobody, running, or a range locked
  Locked,              // POSIX: another program holds the lock
  ReadOnlyAttribute,   // Windows
  NoWritePermission,   // POSIX, also for root
  ReadOnlyDisk,        // POSIX
  AdministratorsOnly,  // Windows: under Program Files
  AccessDenied,        // Windows
  OwnFileDenied,       // POSIX: the user's own file, which the user may open up
  OthersFileDenied,    // POSIX
  Unopenable,
  Unexaminable,
  Replaced,  // an entry of a listing that is another file (or a link) when it is opened
};

// A file that a front end could not open. A busy one is tried again before it fails (a
// scanner or an indexer holding a fresh build lets go a moment later); one that is not a
// regular file is left aside within a folder, and never blocks the run.
class FileError : public ToolError {
 public:
  // The facts only: the report words them (ReasonOf).
  FileError(FileFailure why, bool forWriting, std::string systemText = {}, std::string detail = {})
      : ToolError(why == FileFailure::NotFound || why == FileFailure::Unopenable ||
                          why == FileFailure::Unexaminable
                      ? Failure::Io
                      : Failure::Refused,
                  "file error"),
        why_(why),
        forWriting_(forWriting),
        systemText_(std::move(systemText)),
        detail_(std::move(detail)) {}
  FileFailure Why() const noexcept { return why_; }
  bool ForWriting() const noexcept { return forWriting_; }
  const std::string& SystemText() const noexcept { return systemText_; }
  const std::string& Detail() const noexcept { return detail_; }
  bool Busy() const noexcept {
    return why_ == FileFailure::OpenElsewhere || why_ == FileFailure::Locked;
  }
  bool NotRegular() const noexcept {
    return why_ == FileFailure::Folder || why_ == FileFailure::NotRegular;
  }

 private:
  FileFailure why_;
  bool forWriting_;
  std::string systemText_;  // the system's own words for the error, if any
  std::string detail_;      // what kind of file it is, where not regular
};

// A step on an open file, a folder or a journal that the system failed.
enum class IoStep {
  Size,             // a file's size could not be read
  Read,             //
  ReadShort,        // the file ends before what its size said
  Write,            //
  WriteShort,       // the system wrote less than asked, or nothing
  Flush,            // the data could not be saved on the disk
  Attributes,       //
  ListFolder,       // a folder's entries could not be read
  ListFolderWhole,  // nor all of them
  OpenJournal,      //
  JournalBusy,      // another run holds the journal
  WriteJournal,     // without the system's words: the disk is full
  ReadJournal,      //
};

// That step, the name it was on where the report says it, and the system's own words:
// facts, which the report words (ReasonOf).
class StepError : public ToolError {
 public:
  StepError(IoStep step, std::string systemText, std::string name = {})
      : ToolError(step == IoStep::JournalBusy ? Failure::Refused : Failure::Io, "step error"),
        step_(step),
        systemText_(std::move(systemText)),
        name_(std::move(name)) {}
  IoStep Which() const noexcept { return step_; }
  const std::string& SystemText() const noexcept { return systemText_; }
  const std::string& Name() const noexcept { return name_; }

 private:
  IoStep step_;
  std::string systemText_;
  std::string name_;
};

// The file is shown not to be a VB6 binary: it is left aside, where a file that cannot be
// read well enough to tell is a failure.
class NotVb6File : public ToolError {
 public:
  explicit NotVb6File(const std::string& message) : ToolError(Failure::Refused, message) {}
};

[[noreturn]] inline void NotVb6(const std::string& why) { throw NotVb6File(why); }

[[noreturn]] inline void Refuse(const std::string& why) { throw ToolError(Failure::Refused, why); }

}  // namespace tressol
