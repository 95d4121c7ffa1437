#include "report.h"

#include <cctype>
#include <iterator>
#include <string_view>
#include <vector>

#include "tool_error.h"
#include "shown_text.h"
#include "unicode_text.h"

namespace tressol {
namespace {

struct Language {
  std::uint32_t lcid;
  Words name;  // as shown after the ID
  Words noun;  // as a sentence says it: "messages en {language}"
};

// clang-format off
constexpr Language kLanguages[] = {
    {0x409, Words::LanguageEnglishUnitedStates,  Words::LanguageEnglish},
    {0x809, Words::LanguageEnglishUnitedKingdom, Words::LanguageEnglish},
    {0x40C, Words::LanguageFrenchFrance,         Words::LanguageFrench},
    {0x80C, Words::LanguageFrenchBelgium,        Words::LanguageFrench},
    {0xC0C, Words::LanguageFrenchCanada,         Words::LanguageFrench},
    {0x100C, Words::LanguageFrenchSwitzerland,   Words::LanguageFrench},
    {0x140C, Words::LanguageFrenchLuxembourg,    Words::LanguageFrench},
    {0x407, Words::LanguageGermanGermany,        Words::LanguageGerman},
    {0x807, Words::LanguageGermanSwitzerland,    Words::LanguageGerman},
    {0xC07, Words::LanguageGermanAustria,        Words::LanguageGerman},
    {0x410, Words::LanguageItalianItaly,         Words::LanguageItalian},
    {0x40A, Words::LanguageSpanishTraditional,   Words::LanguageSpanish},
    {0xC0A, Words::LanguageSpanishSpain,         Words::LanguageSpanish},
    {0x80A, Words::LanguageSpanishMexico,        Words::LanguageSpanish},
    {0x413, Words::LanguageDutchNetherlands,     Words::LanguageDutch},
    {0x813, Words::LanguageDutchBelgium,         Words::LanguageDutch},
    {0x416, Words::LanguagePortugueseBrazil,     Words::LanguagePortuguese},
    {0x816, Words::LanguagePortuguesePortugal,   Words::LanguagePortuguese},
    {0x406, Words::LanguageDanish,               Words::LanguageDanish},
    {0x41D, Words::LanguageSwedish,              Words::LanguageSwedish},
    {0x414, Words::LanguageNorwegianBokmal,      Words::LanguageNorwegian},
    {0x40B, Words::LanguageFinnish,              Words::LanguageFinnish},
    {0x408, Words::LanguageGreek,                Words::LanguageGreek},
    {0x415, Words::LanguagePolish,               Words::LanguagePolish},
    {0x405, Words::LanguageCzech,                Words::LanguageCzech},
    {0x40E, Words::LanguageHungarian,            Words::LanguageHungarian},
    {0x419, Words::LanguageRussian,              Words::LanguageRussian},
    {0x41F, Words::LanguageTurkish,              Words::LanguageTurkish},
    {0x411, Words::LanguageJapanese,             Words::LanguageJapanese},
    {0x412, Words::LanguageKorean,               Words::LanguageKorean},
    {0x804, Words::LanguageChineseSimplified,    Words::LanguageChinese},
    {0x404, Words::LanguageChineseTraditional,   Words::LanguageChinese},
};
// clang-format on

const Language* Find(std::uint32_t lcid) {
  for (const Language& language : kLanguages) {
    if (language.lcid == lcid) return &language;
  }
  return nullptr;
}

bool IsFrench(const std::string& library, std::uint32_t lcid) {
  return IsFrenchLibrary(library) && lcid == 0x40C;
}

Words Offset(Words first, int by) { return static_cast<Words>(static_cast<int>(first) + by); }

// What the messages can be, in the order the runtime tries the primary setting, then the
// secondary one: "*" is its own English messages and ends the search, "~" or nothing is
// skipped, a library file is used if present. Each language that a library file gives, in
// that order (neighbours in the same language are one), then the runtime's English or no
// message at all.
struct Spoken {
  const Language* language;  // null for an ID without a known name
  std::uint32_t lcid;
  const std::string* library;
  const std::string* library2;  // another file in the same language, tried next
};

struct Choices {
  Spoken spoken[2];
  std::size_t count = 0;
  bool english = false;  // the runtime's own English at the end, else no message
};

Choices ChoicesOf(const LanguageSettings& s) {
  Choices c;
  const std::pair<const std::string*, std::uint32_t> steps[] = {
      {&s.primaryLibrary, s.primaryLcid}, {&s.secondaryLibrary, s.secondaryLcid}};
  for (const auto& [library, lcid] : steps) {
    if (*library == "*") {
      c.english = true;
      break;
    }
    if (!NamesALibraryFile(*library)) continue;
    // The same file again: missing the first time, it is missing the second.
    if (c.count > 0 && linguarde::unicode::SameIgnoringAsciiCase(*c.spoken[0].library, *library)) {
      continue;
    }
    const Language* language = Find(lcid);
    Spoken* last = c.count > 0 ? &c.spoken[c.count - 1] : nullptr;
    if (last && (last->language && language ? last->language->noun == language->noun
                                            : !last->language && !language && last->lcid == lcid)) {
      last->library2 = library;
    } else {
      c.spoken[c.count++] = {language, lcid, library, nullptr};
    }
  }
  // English from a library, then the runtime's English: English either way.
  if (c.english && c.count > 0 && c.spoken[c.count - 1].language &&
      c.spoken[c.count - 1].language->noun == Words::LanguageEnglish) {
    --c.count;
  }
  return c;
}

// An effect in the words of one family of entries (each in the order of EffectEnglish to
// EffectByIdThenOtherById): the shape, then a language known by its name or only by its ID.
std::string EffectIn(Words family, const LanguageSettings& settings) {
  const Choices c = ChoicesOf(settings);
  if (c.count == 0) return Say(Offset(family, c.english ? 0 : 1));
  const Spoken& first = c.spoken[0];
  const Spoken& second = c.spoken[c.count - 1];
  const int shape = c.english ? 2 : c.count > 1 ? 8 : first.library2 ? 6 : 4;
  const int byId =
      c.count > 1 ? (first.language ? 0 : 2) + (second.language ? 0 : 1) : (first.language ? 0 : 1);
  // The first language and its file; the second language, or the second file of the first.
  std::string words[6];
  for (int i = 0; i < 2; ++i) {
    const Spoken& spoken = i == 0 ? first : second;
    if (spoken.language) words[i] = Say(spoken.language->noun);
    words[2 + i] = Hex(spoken.lcid);
  }
  words[4] = Named(*first.library);
  words[5] = Named(c.count > 1 ? *second.library : first.library2 ? *first.library2 : "");
  return Say(Offset(family, shape + byId), {{"language", words[0]},
                                            {"language2", words[1]},
                                            {"lcid", words[2]},
                                            {"lcid2", words[3]},
                                            {"library", words[4]},
                                            {"library2", words[5]}});
}

constexpr int Gap(Words from, Words to) { return static_cast<int>(to) - static_cast<int>(from); }
static_assert(Gap(Words::EffectEnglish, Words::EffectByIdThenOtherById) == 11 &&
                  Gap(Words::ShortEffectEnglish, Words::ShortEffectByIdThenOtherById) == 11,
              "each family of effects has its twelve forms in the same order");
static_assert(Gap(Words::SettingsPrimaryLanguage, Words::SettingsPrimaryLanguageNoLibrary) == 3 &&
                  Gap(Words::SettingsSecondaryLanguage,
                      Words::SettingsSecondaryLanguageAfterEngine) == 4,
              "each language line has its forms in the same order");

}  // namespace

std::string Hex(std::uint64_t value) {
  std::string digits = linguarde::Digits<char>(value, 16);
  for (char& digit : digits)
    digit = static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
  return "0x" + digits;
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFrenchLibrary(const std::string& library) {
  return linguarde::unicode::SameIgnoringAsciiCase(library, "vb6fr.dll");
}

std::string PlainEffect(const LanguageSettings& s) { return EffectIn(Words::EffectEnglish, s); }

std::string ShortEffect(const LanguageSettings& s) {
  return EffectIn(Words::ShortEffectEnglish, s);
}

std::string Effect(const LanguageSettings& s) {
  // The buttons' own words, for the settings that the buttons write.
  if (s.primaryLibrary == "*") return Say(Words::EffectButtonEnglish);
  if (IsFrench(s.primaryLibrary, s.primaryLcid) && s.secondaryLibrary == "*") {
    return Say(Words::EffectButtonFrenchOrEnglish);
  }
  if (IsFrench(s.primaryLibrary, s.primaryLcid) && s.secondaryLibrary == "~") {
    return Say(Words::EffectButtonFrenchOnly);
  }
  return PlainEffect(s);
}

std::string DescribeSettings(const LanguageSettings& s, bool withEffect) {
  const auto library = [](const std::string& name) {
    if (name == "*") return Say(Words::SettingsLibraryEngine);
    if (name == "~") return Say(Words::SettingsLibraryNone);
    if (name.empty()) return Say(Words::SettingsLibraryEmpty);
    return linguarde::Visible(name);
  };
  // A language counts only with a library file, and nothing after "*" is ever used. Each
  // line's entries in the order of SettingsPrimaryLanguage to ...NoLibrary.
  const auto language = [](Words first, const std::string& name, std::uint32_t lcid, bool reached) {
    const Language* known = Find(lcid);
    const int form = !reached ? 4 : name == "*" ? 2 : !NamesALibraryFile(name) ? 3 : known ? 0 : 1;
    return Say(Offset(first, form),
               {{"lcid", Hex(lcid)}, {"language", known ? Say(known->name) : std::string()}}) +
           "\n";
  };
  const bool secondaryReached = s.primaryLibrary != "*";
  return Say(Words::SettingsPrimaryLibrary, {{"library", library(s.primaryLibrary)}}) + "\n" +
         language(Words::SettingsPrimaryLanguage, s.primaryLibrary, s.primaryLcid, true) +
         Say(secondaryReached ? Words::SettingsSecondaryLibrary
                              : Words::SettingsSecondaryLibraryAfterEngine,
             {{"library", library(s.secondaryLibrary)}}) +
         "\n" +
         language(Words::SettingsSecondaryLanguage, s.secondaryLibrary, s.secondaryLcid,
                  secondaryReached) +
         (withEffect ? Wrap(Say(Words::SettingsEffect, {{"effect", Effect(s)}}), "          ")
                     : "");
}

namespace {

// An entry, or its twin that ends with the system's own words, given as they are.
std::string WithSystem(Words without, Words with, const std::string& system,
                       const Place& place = {}) {
  if (system.empty()) return Say(without, {place});
  return Say(with, {place, {"system", system}});
}

// Each failed step's entry, its twin with the system's words (the same where the system has
// none to add), and the place its name goes in, if any.
struct StepWords {
  Words without, with;
  const char* place;
};
// clang-format off
constexpr StepWords kStepWords[] = {
    {Words::StepSize,            Words::StepSizeSystem,            nullptr},
    {Words::StepRead,            Words::StepReadSystem,            nullptr},
    {Words::StepReadShort,       Words::StepReadShort,             nullptr},
    {Words::StepWrite,           Words::StepWriteSystem,           nullptr},
    {Words::StepWriteShort,      Words::StepWriteShort,            nullptr},
    {Words::StepFlush,           Words::StepFlushSystem,           nullptr},
    {Words::StepAttributes,      Words::StepAttributesSystem,      nullptr},
    {Words::StepListFolder,      Words::StepListFolderSystem,      "folder"},
    {Words::StepListFolderWhole, Words::StepListFolderWholeSystem, "folder"},
    {Words::StepFolderReplaced,  Words::StepFolderReplaced,        "folder"},
    {Words::StepOpenJournal,     Words::StepOpenJournalSystem,     "journal"},
    {Words::StepJournalMissing,  Words::StepJournalMissingSystem,  "journal"},
    {Words::StepNoJournalFolder, Words::StepNoJournalFolder,       nullptr},
    {Words::StepJournalBusy,     Words::StepJournalBusy,           "journal"},
    // Without the system's words, the one cause the journal's writer knows: a full disk.
    {Words::StepWriteJournalFull, Words::StepWriteJournalSystem,   "journal"},
    {Words::StepReadJournal,     Words::StepReadJournalSystem,     "journal"},
};
// clang-format on
static_assert(std::size(kStepWords) == static_cast<std::size_t>(IoStep::ReadJournal) + 1,
              "the words of each step, in its order");

std::string StepText(const StepError& error) {
  if (error.Which() == IoStep::NoJournalFolder) {
    return Say(Words::StepNoJournalFolder, {{"variable", error.Name()}});
  }
  const StepWords& words = kStepWords[static_cast<std::size_t>(error.Which())];
  return WithSystem(words.without, words.with, error.SystemText(),
                    {words.place ? words.place : "", Named(error.Name())});
}

// Each verdict's entry, and the place its detail goes in, if any: as a name, or as it is.
struct VerdictWords {
  Words words;
  const char* place;
  bool named;
};
// clang-format off
constexpr VerdictWords kVerdictWords[] = {
    {Words::VerdictTooShort,                nullptr, false},
    {Words::VerdictNoMzSignature,           nullptr, false},
    {Words::VerdictNoPeSignature,           nullptr, false},
    {Words::VerdictDosProgram,              nullptr, false},
    {Words::VerdictPe64,                    nullptr, false},
    {Words::VerdictNotI386,                 nullptr, false},
    {Words::VerdictNoHeaderOutsideFile,     nullptr, false},
    {Words::VerdictNoHeaderWhereCodeSays,   nullptr, false},
    {Words::VerdictNoVbSignature,           nullptr, false},
    {Words::VerdictPackedWithoutRuntime,    nullptr, false},
    {Words::VerdictUnreadableImportsCopy,   nullptr, false},
    {Words::VerdictTruncatedBeforePeCopy,   nullptr, false},
    {Words::VerdictSectionPastEndCopy,      "section", true},
    {Words::VerdictMalformedPe,             nullptr, false},
    {Words::VerdictFieldPastEndCopy,        nullptr, false},
    {Words::VerdictTruncatedStructuresCopy, nullptr, false},
    {Words::VerdictInvalidHeader,           nullptr, false},
    {Words::VerdictSearchTooLong,           nullptr, false},
    {Words::VerdictSeveralHeaders,          nullptr, false},
    {Words::VerdictExportsDisagree,         nullptr, false},
    {Words::VerdictPackedWithRuntime,       nullptr, false},
    {Words::VerdictSignatureDamagedCopy,    "signature", false},
    {Words::VerdictRuntimeHeaderAbsentCopy, nullptr, false},  // by its cause, below
    {Words::VerdictPeHeaderElsewhereCopy,   nullptr, false},
    {Words::VerdictPastFourGiB,             nullptr, false},
    {Words::VerdictCertificatesOutside,     nullptr, false},
    {Words::VerdictChecksumUncomputable,    nullptr, false},
    {Words::VerdictReadBackDiffers,         nullptr, false},
    {Words::VerdictChangedByAnother,        nullptr, false},
    {Words::VerdictNotRecordedBecause,      "reason", false},  // without one, below
    {Words::VerdictWriteFailed,             "reason", false},
    {Words::VerdictWriteFailedNotRestored,  "reason", false},
    {Words::VerdictAnotherFileNow,          nullptr, false},
    {Words::VerdictSizeChanged,             nullptr, false},
    {Words::VerdictChangedSince,            "offset", false},
    {Words::VerdictMixedBytes,              nullptr, false},
    {Words::VerdictContentChanged,          nullptr, false},
    {Words::VerdictOutsideSettings,         nullptr, false},
    {Words::VerdictJournalOfAnotherVersion, nullptr, false},
    {Words::VerdictNotAJournal,             nullptr, false},
    {Words::VerdictJournalTooLarge,         nullptr, false},
    {Words::VerdictJournalNotAFile,         nullptr, false},
    {Words::VerdictJournalLineDamaged,      "line", false},
    {Words::VerdictJournalMayMissChanges,   nullptr, false},
    {Words::VerdictNoVb6File,               nullptr, false},
    {Words::VerdictJournalExists,           "journal", true},
    {Words::VerdictTargetMissing,           "path", true},
    {Words::VerdictMeantTargetMissing,      "path", true},
    {Words::VerdictNoPatternMatch,          "path", true},
    {Words::VerdictPatternFolderMissing,    "folder", true},
    {Words::VerdictNoTargetInFolder,        "folder", true},
};
// clang-format on
static_assert(std::size(kVerdictWords) == static_cast<std::size_t>(Verdict::NoTargetInFolder) + 1,
              "the words of each verdict, in its order");

std::string VerdictText(Verdict verdict, Verdict cause, const std::string& detail) {
  VerdictWords words = kVerdictWords[static_cast<std::size_t>(verdict)];
  if (verdict == Verdict::NotRecorded && detail.empty())
    words = {Words::VerdictNotRecorded, nullptr, false};
  // A program of the runtime whose header its code names is expected there: its absence is
  // said as a loss.
  if (verdict == Verdict::RuntimeWithoutHeader) {
    words.words = cause == Verdict::NoHeaderOutsideFile ? Words::VerdictRuntimeHeaderOutsideCopy
                  : cause == Verdict::NoVbSignature     ? Words::VerdictRuntimeNoVbSignatureCopy
                                                        : Words::VerdictRuntimeHeaderAbsentCopy;
  }
  return Say(words.words, {{words.place ? words.place : "", words.named ? Named(detail) : detail}});
}

const char* HereFolder(Shell shell) { return shell == Shell::Posix ? "./" : ".\\"; }

std::string MistakeText(const UsageMistake& mistake) {
  // The words as typed, kept whole as names are.
  const std::string word = Named(mistake.Word());
  const bool posix = mistake.ShellUsed() == Shell::Posix;
  const Place here{"here", HereFolder(mistake.ShellUsed())};
  switch (mistake.Which()) {
    case Mistake::UnknownOption:
      return Say(Words::MistakeUnknownOption, {{"option", word}, here});
    case Mistake::NoTarget:
      return Say(posix ? Words::MistakeNoTargetPosix : Words::MistakeNoTarget);
    case Mistake::EmptyTarget:
      return Say(Words::MistakeEmptyTarget);
    case Mistake::SettingsMissing:
      return Say(Words::MistakeSettingsMissing, {{"option", word}});
    case Mistake::InvalidSettings:
      break;
    case Mistake::SetAndCheck:
      return Say(Words::MistakeSetAndCheck);
    case Mistake::UndoWithoutJournal:
      return Say(Words::MistakeUndoWithoutJournal);
    case Mistake::DryRunWithoutUndo:
      return Say(Words::MistakeDryRunWithoutUndo);
    case Mistake::UndoWithOthers:
      return Say(Words::MistakeUndoWithOthers);
    case Mistake::TargetLooksLikeLcid:
      return Say(Words::MistakeTargetLooksLikeLcid, {{"word", word}, here});
    case Mistake::TargetLooksLikeOption:
      return Say(Words::MistakeTargetLooksLikeOption, {{"word", word}, here});
  }
  // The four words as typed, each a name.
  const std::vector<std::string>& words = mistake.Settings();
  const std::string settings =
      Named(words[0]) + " " + Named(words[1]) + " " + Named(words[2]) + " " + Named(words[3]);
  const std::string& wrong = words[mistake.At()];
  const std::string said =
      Say(mistake.At() % 2 == 1 ? Words::MistakeInvalidLcid : Words::MistakeInvalidLibrary,
          {{"settings", settings}, {"word", Named(wrong)}});
  // A path where a library goes: a ~ that the shell made the user's folder, said after.
  if (mistake.At() % 2 == 1 || wrong.find_first_of("\\/:") == std::string::npos) return said;
  return said + " " + Say(posix ? Words::MistakeTildePosix : Words::MistakeTildePowerShell);
}

}  // namespace

std::string Usage(Shell shell) {
  return Say(shell == Shell::Posix ? Words::HelpPosix : Words::HelpCmd) + "\n";
}

const char* ProgramName(Shell shell) { return shell == Shell::Posix ? "tressol" : "Tressol.exe"; }

std::string ReasonOf(const ToolError& error) {
  // The mistake, then how to see the help: the help itself would push the mistake out of
  // sight.
  if (const auto* mistake = dynamic_cast<const UsageMistake*>(&error)) {
    return Wrap(MistakeText(*mistake), "  ") +
           Say(Words::MistakeHelp, {{"program", ProgramName(mistake->ShellUsed())}}) + "\n";
  }
  if (const auto* verdict = dynamic_cast<const VerdictError*>(&error)) {
    return VerdictText(verdict->Which(), verdict->Cause(), verdict->Detail());
  }
  if (const auto* file = dynamic_cast<const FileError*>(&error)) return FileFailureText(*file);
  if (const auto* step = dynamic_cast<const StepError*>(&error)) return StepText(*step);
  return error.what();
}

bool AsksForCopy(Verdict verdict) {
  switch (verdict) {
    case Verdict::UnreadableImports:
    case Verdict::TruncatedBeforePe:
    case Verdict::SectionPastEnd:
    case Verdict::FieldPastEnd:
    case Verdict::TruncatedStructures:
    case Verdict::SignatureDamaged:
    case Verdict::RuntimeWithoutHeader:
    case Verdict::PeHeaderElsewhere:
      return true;
    default:
      return false;
  }
}

std::string ShortReasonOf(const ToolError& error) {
  const auto* verdict = dynamic_cast<const VerdictError*>(&error);
  if (verdict == nullptr) return {};
  switch (verdict->Which()) {
    case Verdict::NoTargetInFolder:
      return Say(Words::ShortNoTargetInFolder);
    case Verdict::NoPatternMatch:
      return Say(Words::ShortNoPatternMatch);
    case Verdict::PatternFolderMissing:
      return Say(Words::ShortPatternFolderMissing);
    case Verdict::MeantTargetMissing:
      return Say(Words::ShortMeantTargetMissing);
    default:
      return {};
  }
}

std::string AsideText(Aside aside) {
  // In the order of Aside.
  return Say(Offset(Words::AsideLink, static_cast<int>(aside)));
}
static_assert(Gap(Words::AsideLink, Words::AsideOnlineOnly) == static_cast<int>(Aside::OnlineOnly),
              "an entry for each aside, in its order");

std::string FileFailureText(const FileError& error) {
  const std::string& system = error.SystemText();
  const bool writing = error.ForWriting();
  switch (error.Why()) {
    case FileFailure::NotFound:
      // The system's own words would say it again. A path that a journal recorded was right
      // when the change was made.
      return Say(error.RecordedPath() ? Words::FileRecordedNotFound : Words::FileNotFound);
    case FileFailure::LinkTargetMissing:
      return Say(Words::FileLinkTargetMissing);
    case FileFailure::Folder:
      return Say(Words::FileFolder);
    case FileFailure::NotRegular:
      return Say(Words::FileNotRegular, {{"reason", AsideText(error.WhatItIs())}});
    case FileFailure::OpenElsewhere:
      return Say(Words::FileOpenElsewhere);
    case FileFailure::Locked:
      return Say(Words::FileLocked);
    case FileFailure::ReadOnlyAttribute:
      return Say(Words::FileReadOnlyAttribute);
    case FileFailure::NoWritePermission:
      return Say(Words::FileNoWritePermission);
    case FileFailure::ReadOnlyDisk:
      return WithSystem(Words::FileReadOnlyDisk, Words::FileReadOnlyDiskSystem, system);
    case FileFailure::AdministratorsOnly:
      return Say(Words::FileAdministratorsOnly);
    case FileFailure::AccessDenied:
      return WithSystem(Words::FileAccessDenied, Words::FileAccessDeniedSystem, system);
    case FileFailure::ProtectedFolder:
      return WithSystem(Words::FileProtectedFolder, Words::FileProtectedFolderSystem, system);
    case FileFailure::OwnFileDenied:
      return writing ? WithSystem(Words::FileOwnDeniedWriting, Words::FileOwnDeniedWritingSystem,
                                  system)
                     : WithSystem(Words::FileOwnDeniedReading, Words::FileOwnDeniedReadingSystem,
                                  system);
    case FileFailure::OthersFileDenied:
      return writing ? WithSystem(Words::FileOthersDeniedWriting,
                                  Words::FileOthersDeniedWritingSystem, system)
                     : WithSystem(Words::FileOthersDeniedReading,
                                  Words::FileOthersDeniedReadingSystem, system);
    case FileFailure::Replaced:
      return Say(writing ? Words::FileReplacedWriting : Words::FileReplacedReading);
    case FileFailure::Unexaminable:
      return WithSystem(Words::FileUnexaminable, Words::FileUnexaminableSystem, system);
    case FileFailure::Unopenable:
      break;
  }
  return WithSystem(Words::FileUnopenable, Words::FileUnopenableSystem, system);
}

}  // namespace tressol
