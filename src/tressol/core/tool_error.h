#pragma once

#include <memory>
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

// Why an entry is left aside, never opened: facts, which the report words (AsideText).
enum class Aside {
  Link,               // a symbolic link or a junction: never followed
  FolderLink,         // a link to a folder, with --recurse
  Folder,             //
  Fifo,               // POSIX: a named pipe
  Socket,             //
  SpecialFile,        // POSIX: a device
  Device,             // Windows
  DeviceOrPipe,       // Windows: opened, it is no file on a disk
  AppExecutionAlias,  // Windows
  Vanished,           // POSIX: gone between the listing and the look at it
  OnlineOnly,         // only in the cloud, with --local-only: never downloaded
};

// Why a front end could not open or read a file, as it finds it; the report words each.
// Where Windows and POSIX differ, each has its own kind.
enum class FileFailure {
  NotFound,
  Folder,
  NotRegular,          // a device, a pipe: Aside() says which
  OpenElsewhere,       // Windows: shared with nobody, running, or a range locked
  Locked,              // POSIX: another program holds the lock
  ReadOnlyAttribute,   // Windows
  NoWritePermission,   // POSIX, also for root
  ReadOnlyDisk,        // POSIX
  AdministratorsOnly,  // Windows: under Program Files
  AccessDenied,        // Windows
  ProtectedFolder,     // Windows: denied where Controlled Folder Access protects by default
  OwnFileDenied,       // POSIX: the user's own file, which the user may open up
  OthersFileDenied,    // POSIX
  Unopenable,
  Unexaminable,
  Replaced,           // an entry of a listing that is another file (or a link) when it is opened
  LinkTargetMissing,  // a symbolic link whose target is not there
};

// A file that a front end could not open. A busy one is tried again before it fails (a
// scanner or an indexer holding a fresh build lets go a moment later); one that is not a
// regular file is left aside within a folder, and never blocks the run.
class FileError : public ToolError {
 public:
  // The facts only: the report words them (ReasonOf).
  FileError(FileFailure why, bool forWriting, std::string systemText = {},
            Aside aside = Aside::SpecialFile)
      : ToolError(why == FileFailure::NotFound || why == FileFailure::LinkTargetMissing ||
                          why == FileFailure::Unopenable || why == FileFailure::Unexaminable
                      ? Failure::Io
                      : Failure::Refused,
                  "file error"),
        why_(why),
        forWriting_(forWriting),
        systemText_(std::move(systemText)),
        aside_(aside) {}
  FileFailure Why() const noexcept { return why_; }
  bool ForWriting() const noexcept { return forWriting_; }
  const std::string& SystemText() const noexcept { return systemText_; }
  Aside WhatItIs() const noexcept { return aside_; }
  bool Busy() const noexcept {
    return why_ == FileFailure::OpenElsewhere || why_ == FileFailure::Locked;
  }
  bool NotRegular() const noexcept {
    return why_ == FileFailure::Folder || why_ == FileFailure::NotRegular;
  }
  // The same failure of a path that a journal recorded, not one the user gave.
  FileError OfRecordedPath() const {
    FileError error(*this);
    error.recordedPath_ = true;
    return error;
  }
  bool RecordedPath() const noexcept { return recordedPath_; }

 private:
  FileFailure why_;
  bool forWriting_;
  std::string systemText_;  // the system's own words for the error, if any
  Aside aside_;             // what it is, where not a regular file
  bool recordedPath_ = false;
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
  FolderReplaced,   // a sub-folder that is another folder, or a link, when it is opened
  OpenJournal,      //
  JournalMissing,   // the journal to undo is not there
  NoJournalFolder,  // name: the environment variables, none of which names a folder
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

// What a file's bytes show: that it is not a VB6 binary, or why they cannot be trusted.
enum class Verdict {
  // Not VB6.
  TooShort,               // for a PE image
  NoMzSignature,          // no PE image at all
  NoPeSignature,          // a DOS or 16-bit program
  DosProgram,             // a DOS program without a new header
  Pe64,                   // PE32+
  NotI386,                // another processor
  NoHeaderOutsideFile,    // none where its code would point, outside the file
  NoHeaderWhereCodeSays,  //
  NoVbSignature,          // no "VB5!" anywhere
  PackedWithoutRuntime,   //
  // Damaged, or not to be trusted: a failure.
  UnreadableImports,     // outside the file
  TruncatedBeforePe,     //
  SectionPastEnd,        // detail: the section's name
  MalformedPe,           // sections or optional header
  FieldPastEnd,          // a field past the data read
  TruncatedStructures,   // the file stops before its structures end
  InvalidHeader,         // the header its code points to
  SearchTooLong,         // no entry point nor export names one, and the search stops
  SeveralHeaders,        // more than one candidate, none chosen at random
  ExportsDisagree,       // its exports name different headers
  PackedWithRuntime,     // its header cannot be read
  SignatureDamaged,      // of a program of the runtime; detail: "MZ" or "PE"
  RuntimeWithoutHeader,  // a program of the runtime whose header is missing: the cause
  PeHeaderElsewhere,     // a program of the runtime whose DOS header names no PE header
  // Not to be changed.
  PastFourGiB,             // more than a PE32 checksum counts
  CertificatesOutside,     // the signature's table leaves the file
  ChecksumUncomputable,    //
  ReadBackDiffers,         // the bytes read back are not those written
  ChangedByAnother,        // written by another program while it was being changed
  NotRecorded,             // detail: why the journal could not hold the change; none made
  WriteFailed,             // detail: why; the file was put back
  WriteFailedNotRestored,  // detail: why; and it could not be put back
  // Not to be undone: it is left as it is.
  AnotherFileNow,   // another file bears the name
  SizeChanged,      //
  ChangedSince,     // detail: the offset, in hexadecimal
  MixedBytes,       // before and after mixed
  ContentChanged,   // the same bytes, another file around them
  OutsideSettings,  // a region neither in the header's language fields nor the checksum
  // A journal that cannot be read: the file given.
  JournalOfAnotherVersion,
  NotAJournal,
  JournalTooLarge,
  JournalNotAFile,        // a folder, a device, a pipe
  JournalLineDamaged,     // detail: the line's number; sound records follow it
  JournalMayMissChanges,  // of version 1, cut: its run may have gone on unrecorded
  // What a run's targets name; detail: the target.
  NoVb6File,             // among all the files
  JournalExists,         // the one asked for: nothing was changed
  TargetMissing,         // one of a set's: nothing was changed
  MeantTargetMissing,    // the whole bare tail, read as one name
  NoPatternMatch,        //
  PatternFolderMissing,  // detail: the folder
  NoTargetInFolder,      // no .exe, .dll or .ocx
};

// A verdict and what it needs to be said: facts, which the report words (ReasonOf). Not
// VB6: the file is left aside, where one that cannot be read well enough to tell fails.
class VerdictError : public ToolError {
 public:
  VerdictError(Failure kind, Verdict verdict, std::string detail = {},
               Verdict cause = Verdict::TooShort)
      : ToolError(kind, "verdict"), verdict_(verdict), cause_(cause), detail_(std::move(detail)) {}
  Verdict Which() const noexcept { return verdict_; }
  Verdict Cause() const noexcept { return cause_; }  // of RuntimeWithoutHeader
  const std::string& Detail() const noexcept { return detail_; }

 private:
  Verdict verdict_;
  Verdict cause_;
  std::string detail_;
};

class NotVb6File : public VerdictError {
 public:
  explicit NotVb6File(Verdict verdict) : VerdictError(Failure::Refused, verdict) {}
};

// An error kept as a fact past its catch, as what it is.
inline std::shared_ptr<const ToolError> Kept(const ToolError& error) {
  if (const auto* file = dynamic_cast<const FileError*>(&error)) {
    return std::make_shared<FileError>(*file);
  }
  if (const auto* step = dynamic_cast<const StepError*>(&error)) {
    return std::make_shared<StepError>(*step);
  }
  if (const auto* verdict = dynamic_cast<const VerdictError*>(&error)) {
    return std::make_shared<VerdictError>(*verdict);
  }
  return std::make_shared<ToolError>(error);
}

[[noreturn]] inline void NotVb6(Verdict verdict) { throw NotVb6File(verdict); }
[[noreturn]] inline void Damaged(Verdict verdict, std::string detail = {}) {
  throw VerdictError(Failure::Refused, verdict, std::move(detail));
}

[[noreturn]] inline void Refuse(const std::string& why) { throw ToolError(Failure::Refused, why); }

}  // namespace tressol
