#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "journal.h"
#include "library_check.h"
#include "run_terms.h"
#include "tool_error.h"
#include "vb_header.h"

namespace tressol {

// An Authenticode certificate table: none, one, or one that lies outside the file, which
// makes a malformed image that is never changed.
enum class Signature { None, Present, OutsideFile };

// What became of one file. Pending: not looked at yet. Busy: held by another program;
// tried again later. LeftAside: an entry of a folder or a pattern that is not a regular
// file (a link, a device…). Matches and Differs: a check's verdicts on the settings;
// WrongChecksum: its verdict on the file itself, whatever its settings. Restorable: an undo's
// dry run finds that it would give the file back exactly. NotReached: the run stopped
// before it, its journal unwritable; the file is as it was.
enum class Result {
  Pending,
  Shown,
  Changed,
  Restorable,
  AlreadySet,
  Matches,
  Differs,
  WrongChecksum,
  NotVb6,
  Failed,
  Busy,
  LeftAside,
  NotReached
};

// What a set wrote into the PE CheckSum field; both zero where the file keeps none.
struct ChecksumWrite {
  std::uint32_t stored = 0;   // before: wrong where it was not the file's
  std::uint32_t written = 0;  // the whole file's, after the change
  bool storedWasWrong = false;
};

// A check's stored PE checksum that is not the whole file's: bytes changed since it was made.
struct ChecksumMismatch {
  std::uint32_t stored = 0;
  std::uint32_t actual = 0;
};

// Why the way back of a change does not give the same bytes, where it does not.
enum class WayBackCaveat {
  None,
  BytesAfterLibraryName,  // a file's command writes zeros after the previous name's end
  WrongChecksum,          // a file's command writes the right checksum, not the wrong one
  PathTooLong,            // the file cannot be opened again by its path from the root
};

struct FileOutcome {
  // Large: copied, moved and ended in one place, not in each room that hands one on.
  FileOutcome();
  FileOutcome(const FileOutcome&);
  FileOutcome(FileOutcome&&) noexcept;
  FileOutcome& operator=(const FileOutcome&);
  FileOutcome& operator=(FileOutcome&&) noexcept;
  ~FileOutcome();

  std::string path;      // as the target named it
  std::string openPath;  // the very entry that is opened: a listed name is never normalised
  std::string listed;    // an entry of a listing: its identity, which each open must find
  std::string name;      // as the report names it: the path, or within a folder the file's name
  std::optional<std::string> linkTarget;  // a target named through a link: where it leads
  Result result = Result::Pending;
  Failure failure = Failure::Io;           // NotVb6 and Failed: the kind of failure
  std::shared_ptr<const ToolError> error;  // NotVb6, Failed and Busy: what made it so
  std::optional<Aside> aside;              // LeftAside: why
  std::optional<Verdict> verdict;          // NotVb6 and Failed: the verdict, where one was given
  std::optional<VbHeader> header;          // as found before anything was written
  Signature signature = Signature::None;
  LanguageSettings settings;                      // as the file holds them now
  std::optional<LanguageSettings> expected;       // a check: what the file should hold
  std::optional<ChecksumMismatch> wrongChecksum;  // a check: where the file's is not stored
  std::optional<ChecksumWrite> checksum;          // a set that wrote: what became of the checksum
  std::string absolutePath;                       // a change: the file, from the root
  WayBackCaveat caveat = WayBackCaveat::None;     // a change
  std::string journal;                            // a change: the run's journal that holds it
  std::optional<JournalChange> undoing;           // --undo: the change to give back
  bool wrongChecksumRestored = false;             // --undo: a wrong checksum put back as it was
  bool dryRun = false;                            // --undo --dry-run: nothing is written
  std::vector<LibraryPresence> libraries;

  // A set's VB6 file (changed or already set): the settings as it held them before.
  std::optional<LanguageSettings> Before() const {
    if (result != Result::Changed && result != Result::AlreadySet) return std::nullopt;
    return header->settings;
  }
  bool ChecksumRepaired() const { return checksum && checksum->storedWasWrong; }
};

}  // namespace tressol
