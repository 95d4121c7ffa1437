#include "report.h"

#include <cctype>
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
  std::vector<const std::string*> libraries;
  bool SameAs(const Spoken& other) const {
    return language && other.language ? language->noun == other.language->noun
                                      : !language && !other.language && lcid == other.lcid;
  }
};

struct Choices {
  std::vector<Spoken> spoken;
  bool english = false;  // the runtime's own English at the end, else no message
};

Choices ChoicesOf(const LanguageSettings& s) {
  Choices choices;
  const std::pair<const std::string*, std::uint32_t> steps[] = {
      {&s.primaryLibrary, s.primaryLcid}, {&s.secondaryLibrary, s.secondaryLcid}};
  for (const auto& [library, lcid] : steps) {
    if (*library == "*") {
      choices.english = true;
      break;
    }
    if (!NamesALibraryFile(*library)) continue;
    // The same file again: missing the first time, it is missing the second.
    if (!choices.spoken.empty() && linguarde::unicode::SameIgnoringAsciiCase(
                                       *choices.spoken.front().libraries.front(), *library)) {
      continue;
    }
    Spoken spoken{Find(lcid), lcid, {library}};
    if (!choices.spoken.empty() && choices.spoken.back().SameAs(spoken)) {
      choices.spoken.back().libraries.push_back(library);
    } else {
      choices.spoken.push_back(spoken);
    }
  }
  // English from a library, then the runtime's English: English either way.
  if (choices.english && !choices.spoken.empty() && choices.spoken.back().language &&
      choices.spoken.back().language->noun == Words::LanguageEnglish) {
    choices.spoken.pop_back();
  }
  return choices;
}

// An effect in the words of one family of entries (each in the order of EffectEnglish to
// EffectByIdThenOtherById): the shape, then a language known by its name or only by its ID.
std::string EffectIn(Words family, const LanguageSettings& settings) {
  const Choices c = ChoicesOf(settings);
  if (c.spoken.empty()) return Say(Offset(family, c.english ? 0 : 1));
  const Spoken& first = c.spoken.front();
  const Spoken* second = c.spoken.size() > 1 ? &c.spoken[1] : nullptr;
  const std::string& library2 = second                       ? *second->libraries.front()
                                : first.libraries.size() > 1 ? *first.libraries[1]
                                                             : *first.libraries.front();
  const int shape = c.english ? 2 : second ? 8 : first.libraries.size() > 1 ? 6 : 4;
  const int byId =
      second ? (first.language ? 0 : 2) + (second->language ? 0 : 1) : (first.language ? 0 : 1);
  const std::string language = first.language ? Say(first.language->noun) : std::string();
  const std::string language2 =
      second && second->language ? Say(second->language->noun) : std::string();
  return Say(Offset(family, shape + byId), {{"language", language},
                                            {"lcid", Hex(first.lcid)},
                                            {"library", Named(*first.libraries.front())},
                                            {"language2", language2},
                                            {"lcid2", Hex(second ? second->lcid : 0)},
                                            {"library2", Named(library2)}});
}

static_assert(static_cast<int>(Words::EffectByIdThenOtherById) -
                          static_cast<int>(Words::EffectEnglish) ==
                      11 &&
                  static_cast<int>(Words::ShortEffectByIdThenOtherById) -
                          static_cast<int>(Words::ShortEffectEnglish) ==
                      11 &&
                  static_cast<int>(Words::EffectSentenceByIdThenOtherById) -
                          static_cast<int>(Words::EffectSentenceEnglish) ==
                      11,
              "each family of effects has its twelve forms in the same order");

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
  return EffectIn(Words::EffectSentenceEnglish, s);
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

std::string Named(std::string_view name) {
  return kNameStart + linguarde::Visible(name) + kNameEnd;
}

std::string Unmarked(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (const char c : text) {
    if (c != kNameStart && c != kNameEnd) plain += c;
  }
  return plain;
}

namespace {

// A line's words: cut at its spaces, never within a name; an opening « stays with the word
// after it.
std::vector<std::string> WordsOf(const std::string& line, std::size_t start) {
  std::vector<std::string> words(1);
  bool inName = false;
  for (std::size_t i = start; i < line.size(); ++i) {
    const char c = line[i];
    inName = c == kNameStart || (inName && c != kNameEnd);
    if (c != ' ' || inName || words.back() == "«") {
      words.back() += c;
    } else {
      words.emplace_back();
    }
  }
  return words;
}

}  // namespace

std::string Wrap(const std::string& line, const std::string& indent) {
  constexpr std::size_t kWidth = 99;
  const auto length = linguarde::unicode::CharacterCount;
  std::string text;
  // The line's own indent stays.
  const std::size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) return line + "\n";
  // Most lines fit: one for each file of a folder.
  if (std::string plain = Unmarked(line); length(plain) <= kWidth) return plain + "\n";
  std::string current = line.substr(0, start);
  const std::string lineIndent = current;
  for (const std::string& marked : WordsOf(line, start)) {
    const std::string word = Unmarked(marked);
    const bool first = current == lineIndent || current == indent;
    // A sign stays with the word before it: no line starts with ":" or ";". A name is no sign,
    // whatever it starts with.
    const bool sign =
        marked.rfind(kNameStart, 0) != 0 &&
        (word.rfind("»", 0) == 0 ||
         (!word.empty() && std::string_view(":;!?").find(word[0]) != std::string_view::npos));
    if (!first && !sign && length(current) + 1 + length(word) > kWidth) {
      text += current + "\n";
      current = indent + word;
    } else {
      current += (first ? "" : " ") + word;
    }
  }
  return text + current + "\n";
}

std::string Count(std::size_t count, const std::string& singular, const std::string& plural) {
  return std::to_string(count) + " " + (count > 1 ? plural : singular);
}

namespace {

// An entry, or its twin that ends with the system's own words, given as they are.
std::string WithSystem(Words without, Words with, const std::string& system,
                       const Place& place = {}) {
  if (system.empty()) return Say(without, {place});
  return Say(with, {place, {"system", system}});
}

std::string StepText(const StepError& error) {
  const std::string& system = error.SystemText();
  const std::string name = Named(error.Name());
  switch (error.Which()) {
    case IoStep::Size:
      return WithSystem(Words::StepSize, Words::StepSizeSystem, system);
    case IoStep::Read:
      return WithSystem(Words::StepRead, Words::StepReadSystem, system);
    case IoStep::ReadShort:
      return Say(Words::StepReadShort);
    case IoStep::Write:
      return WithSystem(Words::StepWrite, Words::StepWriteSystem, system);
    case IoStep::WriteShort:
      return Say(Words::StepWriteShort);
    case IoStep::Flush:
      return WithSystem(Words::StepFlush, Words::StepFlushSystem, system);
    case IoStep::Attributes:
      return WithSystem(Words::StepAttributes, Words::StepAttributesSystem, system);
    case IoStep::ListFolder:
      return WithSystem(Words::StepListFolder, Words::StepListFolderSystem, system,
                        {"folder", name});
    case IoStep::ListFolderWhole:
      return WithSystem(Words::StepListFolderWhole, Words::StepListFolderWholeSystem, system,
                        {"folder", name});
    case IoStep::FolderReplaced:
      return Say(Words::StepFolderReplaced, {{"folder", name}});
    case IoStep::OpenJournal:
      return WithSystem(Words::StepOpenJournal, Words::StepOpenJournalSystem, system,
                        {"journal", name});
    case IoStep::NoJournalFolder:
      return Say(Words::StepNoJournalFolder, {{"variable", error.Name()}});
    case IoStep::JournalMissing:
      return WithSystem(Words::StepJournalMissing, Words::StepJournalMissingSystem, system,
                        {"journal", name});
    case IoStep::JournalBusy:
      return Say(Words::StepJournalBusy, {{"journal", name}});
    case IoStep::WriteJournal:
      // Without the system's words, the one cause the journal's writer knows: a full disk.
      return WithSystem(Words::StepWriteJournalFull, Words::StepWriteJournalSystem, system,
                        {"journal", name});
    case IoStep::ReadJournal:
      break;
  }
  return WithSystem(Words::StepReadJournal, Words::StepReadJournalSystem, system,
                    {"journal", name});
}

// A verdict's entry where it takes no data; the others are said below.
Words VerdictWords(Verdict verdict) {
  switch (verdict) {
    case Verdict::TooShort:
      return Words::VerdictTooShort;
    case Verdict::NoMzSignature:
      return Words::VerdictNoMzSignature;
    case Verdict::NoPeSignature:
      return Words::VerdictNoPeSignature;
    case Verdict::DosProgram:
      return Words::VerdictDosProgram;
    case Verdict::Pe64:
      return Words::VerdictPe64;
    case Verdict::NotI386:
      return Words::VerdictNotI386;
    case Verdict::NoHeaderOutsideFile:
      return Words::VerdictNoHeaderOutsideFile;
    case Verdict::NoHeaderWhereCodeSays:
      return Words::VerdictNoHeaderWhereCodeSays;
    case Verdict::NoVbSignature:
      return Words::VerdictNoVbSignature;
    case Verdict::PackedWithoutRuntime:
      return Words::VerdictPackedWithoutRuntime;
    case Verdict::UnreadableImports:
      return Words::VerdictUnreadableImportsCopy;
    case Verdict::TruncatedBeforePe:
      return Words::VerdictTruncatedBeforePeCopy;
    case Verdict::MalformedPe:
      return Words::VerdictMalformedPe;
    case Verdict::FieldPastEnd:
      return Words::VerdictFieldPastEndCopy;
    case Verdict::TruncatedStructures:
      return Words::VerdictTruncatedStructuresCopy;
    case Verdict::InvalidHeader:
      return Words::VerdictInvalidHeader;
    case Verdict::SearchTooLong:
      return Words::VerdictSearchTooLong;
    case Verdict::SeveralHeaders:
      return Words::VerdictSeveralHeaders;
    case Verdict::ExportsDisagree:
      return Words::VerdictExportsDisagree;
    case Verdict::PackedWithRuntime:
      return Words::VerdictPackedWithRuntime;
    case Verdict::PeHeaderElsewhere:
      return Words::VerdictPeHeaderElsewhereCopy;
    case Verdict::PastFourGiB:
      return Words::VerdictPastFourGiB;
    case Verdict::CertificatesOutside:
      return Words::VerdictCertificatesOutside;
    case Verdict::ChecksumUncomputable:
      return Words::VerdictChecksumUncomputable;
    case Verdict::ReadBackDiffers:
      return Words::VerdictReadBackDiffers;
    case Verdict::ChangedByAnother:
      return Words::VerdictChangedByAnother;
    case Verdict::AnotherFileNow:
      return Words::VerdictAnotherFileNow;
    case Verdict::SizeChanged:
      return Words::VerdictSizeChanged;
    case Verdict::MixedBytes:
      return Words::VerdictMixedBytes;
    case Verdict::ContentChanged:
      return Words::VerdictContentChanged;
    case Verdict::OutsideSettings:
      return Words::VerdictOutsideSettings;
    case Verdict::JournalOfAnotherVersion:
      return Words::VerdictJournalOfAnotherVersion;
    case Verdict::NotAJournal:
      return Words::VerdictNotAJournal;
    case Verdict::JournalTooLarge:
      return Words::VerdictJournalTooLarge;
    case Verdict::JournalNotAFile:
      return Words::VerdictJournalNotAFile;
    case Verdict::JournalMayMissChanges:
      return Words::VerdictJournalMayMissChanges;
    case Verdict::NoVb6File:
      return Words::VerdictNoVb6File;
    default:
      return Words::kEnd;
  }
}

std::string VerdictText(Verdict verdict, Verdict cause, const std::string& detail) {
  if (const Words words = VerdictWords(verdict); words != Words::kEnd) return Say(words);
  const std::string name = Named(detail);
  switch (verdict) {
    case Verdict::SectionPastEnd:
      return Say(Words::VerdictSectionPastEndCopy, {{"section", name}});
    case Verdict::SignatureDamaged:
      return Say(Words::VerdictSignatureDamagedCopy, {{"signature", detail}});
    case Verdict::NotRecorded:
      return detail.empty() ? Say(Words::VerdictNotRecorded)
                            : Say(Words::VerdictNotRecordedBecause, {{"reason", detail}});
    case Verdict::WriteFailed:
      return Say(Words::VerdictWriteFailed, {{"reason", detail}});
    case Verdict::WriteFailedNotRestored:
      return Say(Words::VerdictWriteFailedNotRestored, {{"reason", detail}});
    case Verdict::ChangedSince:
      return Say(Words::VerdictChangedSince, {{"offset", detail}});
    case Verdict::JournalLineDamaged:
      return Say(Words::VerdictJournalLineDamaged, {{"line", detail}});
    case Verdict::JournalExists:
      return Say(Words::VerdictJournalExists, {{"journal", name}});
    case Verdict::TargetMissing:
      return Say(Words::VerdictTargetMissing, {{"path", name}});
    case Verdict::MeantTargetMissing:
      return Say(Words::VerdictMeantTargetMissing, {{"path", name}});
    case Verdict::NoPatternMatch:
      return Say(Words::VerdictNoPatternMatch, {{"path", name}});
    case Verdict::PatternFolderMissing:
      return Say(Words::VerdictPatternFolderMissing, {{"folder", name}});
    case Verdict::NoTargetInFolder:
      return Say(Words::VerdictNoTargetInFolder, {{"folder", name}});
    default:
      break;
  }
  // A program of the runtime whose header its code names is expected there: its absence is
  // said as a loss.
  switch (cause) {
    case Verdict::NoHeaderWhereCodeSays:
      return Say(Words::VerdictRuntimeHeaderAbsentCopy);
    case Verdict::NoHeaderOutsideFile:
      return Say(Words::VerdictRuntimeHeaderOutsideCopy);
    case Verdict::NoVbSignature:
      return Say(Words::VerdictRuntimeNoVbSignatureCopy);
    default:
      return Say(Words::VerdictRuntimeNoHeaderCopy);
  }
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
  // A path where a library goes: a ~ that the shell made the user's folder.
  const Words entry = mistake.At() % 2 == 1 ? Words::MistakeInvalidLcid
                      : wrong.find_first_of("\\/:") == std::string::npos
                          ? Words::MistakeInvalidLibrary
                      : posix ? Words::MistakeInvalidLibraryPosix
                              : Words::MistakeInvalidLibraryPowerShell;
  return Say(entry, {{"settings", settings}, {"word", Named(wrong)}});
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

std::string StoppedBy(const ToolError& error) {
  return Say(Words::RunStopped, {{"reason", ReasonOf(error)}});
}

std::string VersionText(const char* version) { return Say(Words::Version, {{"build", version}}); }

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
static_assert(static_cast<int>(Words::AsideOnlineOnly) - static_cast<int>(Words::AsideLink) ==
                  static_cast<int>(Aside::OnlineOnly),
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

std::string Typeset(const std::string& text) {
  static constexpr char kNoBreak[] = "\xC2\xA0";
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\n';
    const char after = i + 2 < text.size() ? text[i + 2] : '\n';
    const bool beforeSign = text[i] == ' ' &&
                            std::string_view(":;!?").find(next) != std::string_view::npos &&
                            (after == ' ' || after == '\n');
    const bool beforeClose = text.compare(i, 3, " »") == 0;
    const bool afterOpen = text[i] == ' ' && i >= 2 && text.compare(i - 2, 2, "«") == 0;
    if (beforeSign || beforeClose || afterOpen) {
      out += kNoBreak;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace tressol
