#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "catalog_text.h"

// Every text the tool shows, each once: the report, the help, the usage mistakes, the JSON
// lines' words. The report chooses an entry and gives its data; the words are here.
namespace tressol {

enum class Words : std::uint16_t {
  // The report's: settings and effects, failures, verdicts, usage and help.
  FilesCount,

  // A file's report, a folder's end, the summary, the way back, the undo.
  // Lists: each item a whole noun phrase.
  ListMore,
  ListSemicolon,
  // A file's words, for a line of its own (JSON words) and after its name.
  WordsShown,
  WordsChanged,
  WordsUndone,
  WordsChecksumRepaired,
  WordsAlreadySet,
  WordsAlreadyUndone,
  WordsRestorable,
  WordsMatches,
  WordsDiffers,
  WordsWrongChecksum,
  WordsWrongChecksumDiffers,
  WordsNotVb6,
  WordsLeftAside,
  WordsNotReached,
  WordsFailed,
  ShortDamaged,
  // How a check's settings differ, each a noun phrase of a list.
  DiffersPrimaryLibrary,
  DiffersPrimaryLcid,
  DiffersSecondaryLibrary,
  DiffersSecondaryLcid,
  // A file's line in a folder's report.
  LineShown,
  LineOfFile,
  LineUnsigned,
  LineChecksumRepaired,
  LineUnsignedChecksumRepaired,
  LineChecksumKept,
  LineUnsignedChecksumKept,
  LineUndoCommand,
  // A single file's report.
  SettingsHeading,
  SettingsBefore,
  SettingsAfter,
  AnswerChanged,
  AnswerChecksumRepaired,
  AnswerAlreadySet,
  AnswerDiffers,
  DetailsHeading,
  DetailFile,
  DetailLink,
  DetailHeaderByEntryPoint,
  DetailHeaderByExports,
  DetailHeaderBySearch,
  DetailRuntime,
  DetailChecksumAbsent,
  DetailChecksumMade,
  DetailChecksumRepaired,
  DetailSigned,
  DetailSignatureOutside,
  SignatureInvalidUndoable,
  SignatureInvalid,
  UndoHeading,
  UndoCommandLine,
  // A change that no command undoes exactly, and why; the same alone for programs.
  NoUndoPathTooLong,
  NoUndoLibraryName,
  NoUndoLcid,
  NoUndoPath,
  InexactBytesAfterName,
  InexactWrongChecksum,
  CaveatPathTooLong,
  CaveatLibraryName,
  CaveatLcid,
  CaveatPath,
  CaveatBytesAfterName,
  CaveatWrongChecksum,
  // A single file that failed, alone: for programs, and as the console says it.
  FailedNotVb6,
  FailedToSet,
  FailedToRead,
  FailedWrite,
  ToolFailedNotVb6,
  ToolFailedToSet,
  ToolFailedToRead,
  ToolFailedWrite,
  ToolFailed,
  ReasonSentence,
  FileNotChanged,
  // A language library: where it is, or what its absence or its file means.
  LibraryPresent,
  LibraryMissing,
  LibraryMissingFallsBack,
  LibraryMissingNowhere,
  LibraryMissingFallsBackNowhere,
  LibraryNotImage,
  LibraryIsProgram,
  LibraryCopyAdvice,
  LibraryConcerns,
  FolderOfProgram,
  FolderOfFile,
  FolderSystem32,
  FolderSystem16,
  FolderWindows,
  FolderTargetOnly,
  // A folder's end.
  FrenchLibraries,
  FrenchLibrariesLeft,
  NotVb6Heading,
  LeftAsideHeading,
  OnlineOnlyHeading,
  GroupLine,
  NamesLine,
  FailedNames,
  NamesAndOthers,
  EffectCount,
  Summary,
  // Counts, in the summary: 0 and 1 take the singular.
  CountVb6,
  CountChanged,
  CountAlreadySet,
  CountMatches,
  CountDiffers,
  CountWrongChecksum,
  CountUndone,
  CountAlreadyUndone,
  CountRestorable,
  CountNotVb6,
  CountLeftAside,
  CountFailed,
  CountNotReached,
  // The same in a window's line: the kind first, the same short words for every count.
  ShortVb6,
  ShortVb6Effects,
  ShortEffectCount,
  ShortChanged,
  ShortAlreadySet,
  ShortMatches,
  ShortDiffers,
  ShortWrongChecksum,
  ShortUndone,
  ShortAlreadyUndone,
  ShortRestorable,
  ShortNotVb6,
  ShortLeftAside,
  ShortFailed,
  ShortNotReached,
  ShortNone,
  // How to undo a run, where it changed something.
  UndoRun,
  UndoRunBothShells,
  UndoRunPowerShell,
  MeantChange,
  // What an undo finds in its journal before it gives anything back.
  CutRecords,
  CutRecordsOldJournal,
  CutEnds,
  AlreadyUndone,
  AlreadyUndoneUnrecorded,
  UndoneUndoneAgain,
  UndoOrder,
  MarkKeptElsewhere,
  NothingToUndo,
  // The tool and its version.
  VersionLine,
  // A fault of ours, said without a byte of memory more.
  InternalError,

  kEnd
};

using Place = linguarde::catalog::Place<char>;

// The entry with its places filled.
std::string Say(Words entry, std::initializer_list<Place> places = {});
// The form that the count takes, with "{count}" its digits.
std::string Say(Words entry, std::uint64_t count, std::initializer_list<Place> places = {});

// The catalog in its order, for those who read it whole.
const linguarde::catalog::Entry<char>& EntryAt(Words entry);

}  // namespace tressol
