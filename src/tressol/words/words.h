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

  // Languages: the name shown after an ID, and the noun a sentence takes.
  LanguageEnglishUnitedStates,
  LanguageEnglishUnitedKingdom,
  LanguageFrenchFrance,
  LanguageFrenchBelgium,
  LanguageFrenchCanada,
  LanguageFrenchSwitzerland,
  LanguageFrenchLuxembourg,
  LanguageGermanGermany,
  LanguageGermanSwitzerland,
  LanguageGermanAustria,
  LanguageItalianItaly,
  LanguageSpanishTraditional,
  LanguageSpanishSpain,
  LanguageSpanishMexico,
  LanguageDutchNetherlands,
  LanguageDutchBelgium,
  LanguagePortugueseBrazil,
  LanguagePortuguesePortugal,
  LanguageNorwegianBokmal,
  LanguageChineseSimplified,
  LanguageChineseTraditional,
  LanguageEnglish,
  LanguageFrench,
  LanguageGerman,
  LanguageItalian,
  LanguageSpanish,
  LanguageDutch,
  LanguagePortuguese,
  LanguageDanish,
  LanguageSwedish,
  LanguageNorwegian,
  LanguageFinnish,
  LanguageGreek,
  LanguagePolish,
  LanguageCzech,
  LanguageHungarian,
  LanguageRussian,
  LanguageTurkish,
  LanguageJapanese,
  LanguageKorean,
  LanguageChinese,

  // What the settings do. Each family in the same order, which the report counts on: the
  // runtime's English alone, no message, a language then English, a language alone (one
  // library, then two), a language then another; a language known by its name or only by
  // its ID, the first before the second.
  EffectEnglish,
  EffectNone,
  EffectThenEnglish,
  EffectThenEnglishById,
  EffectAlone,
  EffectAloneById,
  EffectAloneTwo,
  EffectAloneTwoById,
  EffectThenOther,
  EffectThenOtherById,
  EffectByIdThenOther,
  EffectByIdThenOtherById,
  ShortEffectEnglish,
  ShortEffectNone,
  ShortEffectThenEnglish,
  ShortEffectThenEnglishById,
  ShortEffectAlone,
  ShortEffectAloneById,
  ShortEffectAloneTwo,
  ShortEffectAloneTwoById,
  ShortEffectThenOther,
  ShortEffectThenOtherById,
  ShortEffectByIdThenOther,
  ShortEffectByIdThenOtherById,

  // The settings of Linguarde's buttons, in the words of its labels.
  EffectButtonEnglish,
  EffectButtonFrenchOrEnglish,
  EffectButtonFrenchOnly,

  // The four settings, a line each, and the effect's.
  SettingsLibraryEngine,
  SettingsLibraryNone,
  SettingsLibraryEmpty,
  SettingsPrimaryLibrary,
  SettingsSecondaryLibrary,
  SettingsSecondaryLibraryAfterEngine,
  SettingsPrimaryLanguage,
  SettingsPrimaryLanguageById,
  SettingsPrimaryLanguageWithEngine,
  SettingsPrimaryLanguageNoLibrary,
  SettingsSecondaryLanguage,
  SettingsSecondaryLanguageById,
  SettingsSecondaryLanguageWithEngine,
  SettingsSecondaryLanguageNoLibrary,
  SettingsSecondaryLanguageAfterEngine,
  SettingsEffect,

  // Why an entry is left aside: what it is.
  AsideLink,
  AsideFolderLink,
  AsideFolder,
  AsideFifo,
  AsideSocket,
  AsideSpecialFile,
  AsideDevice,
  AsideDeviceOrPipe,
  AsideAppExecutionAlias,
  AsideVanished,
  AsideOnlineOnly,

  // Why a file could not be opened; "System": with the system's own words.
  FileNotFound,
  FileRecordedNotFound,
  FileLinkTargetMissing,
  FileFolder,
  FileNotRegular,
  FileOpenElsewhere,
  FileLocked,
  FileReadOnlyAttribute,
  FileNoWritePermission,
  FileReadOnlyDisk,
  FileReadOnlyDiskSystem,
  FileAdministratorsOnly,
  FileAccessDenied,
  FileAccessDeniedSystem,
  FileProtectedFolder,
  FileProtectedFolderSystem,
  FileOwnDeniedReading,
  FileOwnDeniedReadingSystem,
  FileOwnDeniedWriting,
  FileOwnDeniedWritingSystem,
  FileOthersDeniedReading,
  FileOthersDeniedReadingSystem,
  FileOthersDeniedWriting,
  FileOthersDeniedWritingSystem,
  FileReplacedReading,
  FileReplacedWriting,
  FileUnexaminable,
  FileUnexaminableSystem,
  FileUnopenable,
  FileUnopenableSystem,

  // A step that the system failed.
  StepSize,
  StepSizeSystem,
  StepRead,
  StepReadSystem,
  StepReadShort,
  StepWrite,
  StepWriteSystem,
  StepWriteShort,
  StepFlush,
  StepFlushSystem,
  StepAttributes,
  StepAttributesSystem,
  StepListFolder,
  StepListFolderSystem,
  StepListFolderWhole,
  StepListFolderWholeSystem,
  StepFolderReplaced,
  StepOpenJournal,
  StepOpenJournalSystem,
  StepNoJournalFolder,
  StepJournalMissing,
  StepJournalMissingSystem,
  StepJournalBusy,
  StepWriteJournalFull,
  StepWriteJournalSystem,
  StepReadJournal,
  StepReadJournalSystem,

  // What a file's bytes show; "Copy": damaged, to be copied again from its original.
  VerdictTooShort,
  VerdictNoMzSignature,
  VerdictNoPeSignature,
  VerdictDosProgram,
  VerdictPe64,
  VerdictNotI386,
  VerdictNoHeaderOutsideFile,
  VerdictNoHeaderWhereCodeSays,
  VerdictNoVbSignature,
  VerdictPackedWithoutRuntime,
  VerdictUnreadableImportsCopy,
  VerdictTruncatedBeforePeCopy,
  VerdictSectionPastEndCopy,
  VerdictMalformedPe,
  VerdictFieldPastEndCopy,
  VerdictTruncatedStructuresCopy,
  VerdictInvalidHeader,
  VerdictSearchTooLong,
  VerdictSeveralHeaders,
  VerdictExportsDisagree,
  VerdictPackedWithRuntime,
  VerdictSignatureDamagedCopy,
  VerdictRuntimeHeaderAbsentCopy,
  VerdictRuntimeHeaderOutsideCopy,
  VerdictRuntimeNoVbSignatureCopy,
  VerdictPeHeaderElsewhereCopy,
  VerdictPastFourGiB,
  VerdictCertificatesOutside,
  VerdictChecksumUncomputable,
  VerdictReadBackDiffers,
  VerdictChangedByAnother,
  VerdictNotRecorded,
  VerdictNotRecordedBecause,
  VerdictWriteFailed,
  VerdictWriteFailedNotRestored,
  VerdictAnotherFileNow,
  VerdictSizeChanged,
  VerdictChangedSince,
  VerdictMixedBytes,
  VerdictContentChanged,
  VerdictOutsideSettings,
  VerdictJournalOfAnotherVersion,
  VerdictNotAJournal,
  VerdictJournalTooLarge,
  VerdictJournalNotAFile,
  VerdictJournalLineDamaged,
  VerdictJournalMayMissChanges,
  VerdictNoVb6File,
  VerdictJournalExists,
  VerdictTargetMissing,
  VerdictMeantTargetMissing,
  VerdictNoPatternMatch,
  VerdictPatternFolderMissing,
  VerdictNoTargetInFolder,

  // The same in the few words of a window's line.
  ShortNoTargetInFolder,
  ShortNoPatternMatch,
  ShortPatternFolderMissing,
  ShortMeantTargetMissing,

  // A run that an error stopped, and the version.
  RunStopped,
  Version,

  // Mistakes in the command line, each followed by where the help is; "Posix": the Linux
  // tool's, whose shell expands patterns and ~.
  MistakeHelp,
  MistakeUnknownOption,
  MistakeNoTarget,
  MistakeNoTargetPosix,
  MistakeEmptyTarget,
  MistakeSettingsMissing,
  MistakeSetAndCheck,
  MistakeUndoWithoutJournal,
  MistakeDryRunWithoutUndo,
  MistakeUndoWithOthers,
  MistakeTargetLooksLikeLcid,
  MistakeTargetLooksLikeOption,
  MistakeInvalidLcid,
  MistakeInvalidLibrary,
  MistakeTildePowerShell,
  MistakeTildePosix,

  // The help, whole, as each tool's shell writes its command lines: at most 30 lines of 80
  // columns, the usage first.
  HelpCmd,
  HelpPosix,

  // A file's report, a folder's end, the summary, the way back, the undo.
  SummaryPlaceholder,

  kEnd
};

using Place = linguarde::catalog::Place<char>;

// The entry with its places filled.
std::string Say(Words entry, std::initializer_list<Place> places = {});
// The form that the count takes, with "{count}" its digits.
std::string Say(Words entry, std::uint64_t count, std::initializer_list<Place> places = {});

// The catalog in its order, for those who read it whole.
linguarde::catalog::Entry<char> EntryAt(Words entry);

}  // namespace tressol
