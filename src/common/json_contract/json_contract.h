#pragma once

#include <string_view>

// What Tressol writes with --json, one JSON object a line, and what Linguarde reads of it:
// the one contract between the two programs. Each line says what it is in kLine.
namespace linguarde::contract {

inline constexpr std::string_view kLine = "line";
inline constexpr std::string_view kFileLine = "file";        // one a file, as it is done
inline constexpr std::string_view kSummaryLine = "summary";  // last, for several files
inline constexpr std::string_view kMessageLine = "message";  // what the tool says of the run

// Every line: the report's words for it, without the file's name.
inline constexpr std::string_view kWords = "words";

// A file line.
inline constexpr std::string_view kPath = "path";
inline constexpr std::string_view kPathBytes = "pathBytes";
inline constexpr std::string_view kVb6 = "vb6";
inline constexpr std::string_view kDone = "done";
inline constexpr std::string_view kReason = "reason";
inline constexpr std::string_view kReasonKind = "reasonKind";  // the reason's name, for programs
inline constexpr std::string_view kLinkTarget = "linkTarget";
inline constexpr std::string_view kMatches = "matches";
inline constexpr std::string_view kChecksumRight = "checksumRight";  // a check's, of the file
inline constexpr std::string_view kSigned = "signed";
inline constexpr std::string_view kHeaderOffset = "headerOffset";
inline constexpr std::string_view kRuntimeBuild = "runtimeBuild";
inline constexpr std::string_view kPrimaryLibrary = "primaryLibrary";
inline constexpr std::string_view kPrimaryLcid = "primaryLcid";
inline constexpr std::string_view kSecondaryLibrary = "secondaryLibrary";
inline constexpr std::string_view kSecondaryLcid = "secondaryLcid";
inline constexpr std::string_view kBefore = "before";
inline constexpr std::string_view kChecksumRepaired = "checksumRepaired";
inline constexpr std::string_view kWayBack = "wayBack";
inline constexpr std::string_view kWayBackExact = "wayBackExact";
inline constexpr std::string_view kWayBackCaveat = "wayBackCaveat";
inline constexpr std::string_view kWayBackCaveatKind = "wayBackCaveatKind";
inline constexpr std::string_view kWayBackScript = "wayBackScript";
inline constexpr std::string_view kLibraries = "libraries";
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kFound = "found";
inline constexpr std::string_view kFolder = "folder";
inline constexpr std::string_view kEffect = "effect";

// The values of kDone.
inline constexpr std::string_view kShown = "shown";
inline constexpr std::string_view kChanged = "changed";
inline constexpr std::string_view kRestorable = "restorable";  // an undo's dry run: exactly
inline constexpr std::string_view kAlreadySet = "already-set";
inline constexpr std::string_view kChecked = "checked";
inline constexpr std::string_view kSkipped = "skipped";
inline constexpr std::string_view kFailed = "failed";
// Not looked at: the run stopped before it, its journal unwritable; the file is as it was.
inline constexpr std::string_view kNotReached = "not-reached";

// The summary line: the run's counts, its journal (null where it wrote none) and whether
// undoing it would give every changed file back byte for byte; kWords is the console's
// summary, kShort the same counts in the few words of the window's line.
inline constexpr std::string_view kMode = "mode";
inline constexpr std::string_view kFiles = "files";
inline constexpr std::string_view kVb6Files = "vb6Files";
inline constexpr std::string_view kChangedFiles = "changedFiles";
inline constexpr std::string_view kRestorableFiles = "restorableFiles";
inline constexpr std::string_view kAlreadySetFiles = "alreadySetFiles";
inline constexpr std::string_view kMatchingFiles = "matchingFiles";
inline constexpr std::string_view kDifferingFiles = "differingFiles";
inline constexpr std::string_view kWrongChecksumFiles = "wrongChecksumFiles";
inline constexpr std::string_view kNotVb6Files = "notVb6Files";
inline constexpr std::string_view kLeftAsideFiles = "leftAsideFiles";
inline constexpr std::string_view kFailedFiles = "failedFiles";
inline constexpr std::string_view kJournal = "journal";
inline constexpr std::string_view kUndoExact = "undoExact";
inline constexpr std::string_view kShort = "short";

// A message line: kWords, the exit status it ends the run with (0 for a warning), and what
// it is about, for a program to act on without reading the words.
inline constexpr std::string_view kStatus = "status";
inline constexpr std::string_view kKind = "kind";

// The values of kKind: a warning; the exit status's kind; two a window acts on.
inline constexpr std::string_view kNote = "note";
inline constexpr std::string_view kUsage = "usage";
inline constexpr std::string_view kRefused = "refused";
inline constexpr std::string_view kIo = "io";
inline constexpr std::string_view kJournalMissing = "journal-missing";  // the one to undo
inline constexpr std::string_view kJournalBusy = "journal-busy";        // another run holds it

}  // namespace linguarde::contract
