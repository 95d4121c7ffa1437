#include "file_report.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string_view>

#include "json_contract.h"
#include "json_line.h"
#include "kinds.h"
#include "report.h"
#include "shown_text.h"
#include "unicode_text.h"
#include "way_back.h"

namespace tressol {
namespace {

using W = Words;

// Why a file failed, was no VB6 file or was left aside, worded from its facts.
std::string ReasonText(const FileOutcome& outcome) {
  if (outcome.error) return ReasonOf(*outcome.error);
  return outcome.aside ? AsideText(*outcome.aside) : std::string();
}

// An entry as the console shows it: wrapped at its spaces, the next lines indented.
std::string Line(W entry, std::initializer_list<Place> places, const char* indent) {
  return Wrap(Say(entry, places), indent);
}
std::string Line(W entry, std::size_t count, std::initializer_list<Place> places,
                 const char* indent) {
  return Wrap(Say(entry, count, places), indent);
}
std::string Line(W entry, std::size_t count, const char* indent) {
  return Wrap(Say(entry, count), indent);
}
std::string Line(W entry, const char* indent) { return Wrap(Say(entry), indent); }
// An entry on a row of its own, never wrapped.
std::string Row(W entry, std::initializer_list<Place> places = {}) {
  return Say(entry, places) + "\n";
}
std::string Row(W entry, std::size_t count) { return Say(entry, count) + "\n"; }

// Items joined as a list, each a whole noun phrase: "a, b, c".
std::string ListOf(const std::vector<std::string>& items, W joiner = W::ListMore) {
  std::string list;
  for (const std::string& item : items) {
    list = list.empty() ? item : Say(joiner, {{"list", list}, {"item", item}});
  }
  return list;
}

// A change's way back: the command, and why it does not give the same bytes (or, without a
// command, why there is none).
struct WayBack {
  std::optional<std::string> command;
  WayBackCaveat caveat = WayBackCaveat::None;
  std::optional<NoWayBack> none;  // where no command can be written: what it cannot carry
  std::string_view caveatKind;    // the caveat's name, for programs
  bool Exact() const { return command && caveat == WayBackCaveat::None; }
};

// The run's undo: the tool by its full path, --undo and the journal.
std::string UndoCommand(const std::string& journal, const WayBackStyle& style) {
  const auto word = [&style](const std::string& path, bool first) {
    return (first ? CommandWord(path, style.shell) : ShellWord(path, style.shell))
        .value_or("\"" + path + "\"");
  };
  return word(style.toolPath, true) + " --undo " + word(journal, false);
}

// Whether a change's way back is said beside it: where no journal holds it, or where the
// journal's undo could not reopen it.
bool WayBackBesideIt(const FileOutcome& outcome) {
  return outcome.journal.empty() || outcome.caveat == WayBackCaveat::PathTooLong;
}

WayBack WayBackOf(const FileOutcome& outcome, const WayBackStyle& style) {
  WayBack wayBack;
  if (outcome.result != Result::Changed) return wayBack;
  if (outcome.caveat == WayBackCaveat::PathTooLong) {
    wayBack.caveat = outcome.caveat;
    wayBack.caveatKind = "path-too-long";
    return wayBack;
  }
  // The journal gives back the very bytes from before, whatever they were.
  if (!outcome.journal.empty()) {
    wayBack.command = UndoCommand(outcome.journal, style);
    return wayBack;
  }
  wayBack.caveat = outcome.caveat;
  if (outcome.caveat == WayBackCaveat::BytesAfterLibraryName) {
    wayBack.caveatKind = "bytes-after-library-name";
  } else if (outcome.caveat == WayBackCaveat::WrongChecksum) {
    wayBack.caveatKind = "wrong-checksum";
  }
  std::optional<NoWayBack> whyNot;
  wayBack.command =
      WayBackCommand(style.shell, style.toolPath, *outcome.Before(), outcome.absolutePath, whyNot);
  if (whyNot) {
    wayBack.none = whyNot;
    wayBack.caveatKind = whyNot->part == NoWayBack::Part::LibraryName ? "library-name-not-carried"
                         : whyNot->part == NoWayBack::Part::Lcid      ? "lcid-not-carried"
                                                                      : "path-not-carried";
  }
  return wayBack;
}

// The entries that say why a change's way back is not exact: alone, for programs, and under
// the file, where no command is given or where the one given is not exact.
struct CaveatWords {
  W alone;
  W underFile;
};

// Why a change's way back is not exact, and the places its entries take; nothing where it is.
std::optional<CaveatWords> CaveatOf(const FileOutcome& outcome, const WayBack& wayBack,
                                    std::string& library, std::string& lcid, std::string& before) {
  if (wayBack.caveat == WayBackCaveat::PathTooLong) {
    return CaveatWords{W::CaveatPathTooLong, W::NoUndoPathTooLong};
  }
  if (wayBack.none) {
    switch (wayBack.none->part) {
      case NoWayBack::Part::LibraryName:
        library = Named(wayBack.none->library);
        return CaveatWords{W::CaveatLibraryName, W::NoUndoLibraryName};
      case NoWayBack::Part::Lcid:
        lcid = Hex(wayBack.none->lcid);
        return CaveatWords{W::CaveatLcid, W::NoUndoLcid};
      case NoWayBack::Part::Path:
        break;
    }
    return CaveatWords{W::CaveatPath, W::NoUndoPath};
  }
  if (wayBack.caveat == WayBackCaveat::BytesAfterLibraryName) {
    return CaveatWords{W::CaveatBytesAfterName, W::InexactBytesAfterName};
  }
  if (wayBack.caveat == WayBackCaveat::WrongChecksum) {
    before = Hex(outcome.checksum->stored);
    return CaveatWords{W::CaveatWrongChecksum, W::InexactWrongChecksum};
  }
  return std::nullopt;
}

// The caveat's words: alone, or under the file.
std::string CaveatText(const FileOutcome& outcome, const WayBack& wayBack, bool underFile) {
  std::string library, lcid, before;
  const std::optional<CaveatWords> words = CaveatOf(outcome, wayBack, library, lcid, before);
  if (!words) return {};
  const std::string file = Named(outcome.name);
  const std::initializer_list<Place> places = {
      {"file", file}, {"library", library}, {"lcid", lcid}, {"stored", before}};
  return underFile ? Line(words->underFile, places, "    ") : Say(words->alone, places);
}

// How a file's settings differ from those a check expects, field by field, of those that
// the runtime reads in either; library names as Windows finds files, without regard to case.
std::string Differences(const FileOutcome& outcome) {
  const auto sameName = linguarde::unicode::SameIgnoringAsciiCase;
  const LanguageSettings& has = outcome.settings;
  const LanguageSettings& wanted = *outcome.expected;
  const SettingsRead read = ReadByRuntime(has), expected = ReadByRuntime(wanted);
  std::vector<std::string> differences;
  const auto library = [&differences](W entry, const std::string& found,
                                      const std::string& wantedName) {
    differences.push_back(Say(entry, {{"library", Named(found)}, {"expected", Named(wantedName)}}));
  };
  const auto lcid = [&differences](W entry, std::uint32_t found, std::uint32_t wantedLcid) {
    differences.push_back(Say(entry, {{"lcid", Hex(found)}, {"expected", Hex(wantedLcid)}}));
  };
  if (!sameName(has.primaryLibrary, wanted.primaryLibrary)) {
    library(W::DiffersPrimaryLibrary, has.primaryLibrary, wanted.primaryLibrary);
  }
  if ((read.primaryLcid || expected.primaryLcid) && has.primaryLcid != wanted.primaryLcid) {
    lcid(W::DiffersPrimaryLcid, has.primaryLcid, wanted.primaryLcid);
  }
  if ((read.secondaryLibrary || expected.secondaryLibrary) &&
      !sameName(has.secondaryLibrary, wanted.secondaryLibrary)) {
    library(W::DiffersSecondaryLibrary, has.secondaryLibrary, wanted.secondaryLibrary);
  }
  if ((read.secondaryLcid || expected.secondaryLcid) && has.secondaryLcid != wanted.secondaryLcid) {
    lcid(W::DiffersSecondaryLcid, has.secondaryLcid, wanted.secondaryLcid);
  }
  return ListOf(differences);
}

// What was found or done, in the words of a report line, without the file's name.
std::string PlainWords(const FileOutcome& outcome) {
  W entry = W::WordsFailed;
  std::string effect, before, after, differences, stored, actual;
  const auto effectNow = [&] { effect = PlainEffect(outcome.settings); };
  switch (outcome.result) {
    case Result::Shown:
      entry = W::WordsShown;
      effectNow();
      break;
    case Result::Changed:
      entry = outcome.undoing ? W::WordsUndone : W::WordsChanged;
      before = PlainEffect(*outcome.Before());
      after = PlainEffect(outcome.settings);
      break;
    case Result::AlreadySet:
      entry = outcome.ChecksumRepaired() ? W::WordsChecksumRepaired
              : outcome.undoing          ? W::WordsAlreadyUndone
                                         : W::WordsAlreadySet;
      effectNow();
      break;
    case Result::Restorable:
      entry = W::WordsRestorable;
      effectNow();
      break;
    case Result::Matches:
      entry = W::WordsMatches;
      effectNow();
      break;
    case Result::Differs:
      entry = W::WordsDiffers;
      differences = Differences(outcome);
      break;
    case Result::WrongChecksum:
      if (outcome.expected && !SameEffect(outcome.settings, *outcome.expected)) {
        differences = Differences(outcome);
      }
      entry = differences.empty() ? W::WordsWrongChecksum : W::WordsWrongChecksumDiffers;
      stored = Hex(outcome.wrongChecksum->stored);
      actual = Hex(outcome.wrongChecksum->actual);
      break;
    case Result::NotVb6:
      entry = W::WordsNotVb6;
      break;
    case Result::LeftAside:
      entry = W::WordsLeftAside;
      break;
    case Result::NotReached:
      entry = W::WordsNotReached;
      break;
    case Result::Pending:
    case Result::Failed:
    case Result::Busy:
      break;
  }
  return Say(entry, {{"effect", effect},
                     {"before", before},
                     {"after", after},
                     {"differences", differences},
                     {"stored", stored},
                     {"actual", actual},
                     {"reason", ReasonText(outcome)}});
}

std::string Details(const FileOutcome& outcome) {
  const VbHeader& header = *outcome.header;
  const W by = header.foundBy == HeaderFoundBy::EntryPoint ? W::DetailHeaderByEntryPoint
               : header.foundBy == HeaderFoundBy::Exports  ? W::DetailHeaderByExports
                                                           : W::DetailHeaderBySearch;
  std::string text =
      Row(W::DetailsHeading) + Line(W::DetailFile, {{"path", Named(outcome.path)}}, "    ");
  if (outcome.linkTarget) {
    text += Line(W::DetailLink, {{"path", Named(*outcome.linkTarget)}}, "    ");
  }
  text += Row(by, {{"offset", Hex(header.offset)}});
  text += Row(W::DetailRuntime, {{"build", std::to_string(header.runtimeBuild)}});
  if (const std::optional<ChecksumWrite>& checksum = outcome.checksum) {
    text += Row(checksum->written == 0     ? W::DetailChecksumAbsent
                : checksum->storedWasWrong ? W::DetailChecksumRepaired
                                           : W::DetailChecksumMade,
                {{"stored", Hex(checksum->stored)}, {"written", Hex(checksum->written)}});
  }
  if (outcome.signature == Signature::Present) text += Row(W::DetailSigned);
  if (outcome.signature == Signature::OutsideFile) {
    text += Line(W::DetailSignatureOutside, "    ");
  }
  return text;
}

std::string SignatureWarning(const FileOutcome& outcome, const WayBack& wayBack) {
  if (outcome.result != Result::Changed || outcome.signature == Signature::None) return {};
  return Line(wayBack.Exact() ? W::SignatureInvalidUndoable : W::SignatureInvalid, "  ");
}

// The command names the file; where it cannot be exact, the file is named with why.
std::string WayBackLines(const FileOutcome& outcome, const WayBack& wayBack, W commandLine) {
  if (outcome.result != Result::Changed) return {};
  std::string text;
  if (wayBack.command) text = Row(commandLine, {{"command", Kept(*wayBack.command)}});
  return text + CaveatText(outcome, wayBack, true);
}

}  // namespace

// The answer comes last, where the eye lands in a console that shows its last rows: the
// details, the library and the way back above it.
std::string SingleFileReport(const FileOutcome& outcome, const WayBackStyle& style) {
  const bool changed = outcome.result == Result::Changed;
  W entry = W::LineOfFile;
  std::string before, after, differences, words;
  switch (outcome.result) {
    case Result::Changed:
      // The effects, before and after, are the answer's.
      entry = W::AnswerChanged;
      before = PlainEffect(*outcome.Before());
      after = PlainEffect(outcome.settings);
      break;
    case Result::Differs:
      entry = W::AnswerDiffers;
      differences = Differences(outcome);
      before = PlainEffect(outcome.settings);
      after = PlainEffect(*outcome.expected);
      break;
    case Result::AlreadySet:
      entry = outcome.ChecksumRepaired() ? W::AnswerChecksumRepaired : W::AnswerAlreadySet;
      break;
    default:
      words = PlainWords(outcome);
  }
  const std::string answer = Line(entry,
                                  {{"file", Named(FileName(outcome.path))},
                                   {"effect", PlainEffect(outcome.settings)},
                                   {"before", before},
                                   {"after", after},
                                   {"differences", differences},
                                   {"words", words}},
                                  "  ");
  // A check's answer is all it says.
  if (outcome.expected) return answer;
  const WayBack wayBack = WayBackOf(outcome, style);
  std::string text = changed ? Row(W::SettingsBefore) + DescribeSettings(*outcome.Before(), false) +
                                   Row(W::SettingsAfter) + DescribeSettings(outcome.settings, false)
                             : Row(W::SettingsHeading) + DescribeSettings(outcome.settings);
  text += Details(outcome) + SignatureWarning(outcome, wayBack);
  for (const LibraryPresence& library : outcome.libraries) {
    text += DescribeLibrary(library, true);
  }
  // The answer last, followed only by how to give the change back.
  if (changed && WayBackBesideIt(outcome)) {
    return text + answer + Row(W::UndoHeading) + WayBackLines(outcome, wayBack, W::UndoCommandLine);
  }
  return text + answer;
}

namespace {

// The entry of a single file's failure: for programs, or as the console says it.
W FailureEntry(const FileOutcome& outcome, bool set, bool console) {
  const int at = outcome.verdict == Verdict::WriteFailedNotRestored ? 0
                 : outcome.result == Result::NotVb6                 ? 1
                 : set                                              ? 2
                                                                    : 3;
  static constexpr W kEntries[2][4] = {
      {W::FailedWrite, W::FailedNotVb6, W::FailedToSet, W::FailedToRead},
      {W::ToolFailedWrite, W::ToolFailedNotVb6, W::ToolFailedToSet, W::ToolFailedToRead}};
  return kEntries[console][at];
}

}  // namespace

std::string SingleFileFailureWords(const FileOutcome& outcome, bool set) {
  return Say(FailureEntry(outcome, set, false),
             {{"path", Named(outcome.path)}, {"reason", ReasonText(outcome)}});
}

std::string ShortFailureWords(const FileOutcome& outcome) {
  // What to do stays in sight of a short line.
  const W entry = outcome.result == Result::NotVb6                   ? W::WordsNotVb6
                  : outcome.result == Result::LeftAside              ? W::WordsLeftAside
                  : outcome.verdict && AsksForCopy(*outcome.verdict) ? W::ShortDamaged
                                                                     : W::WordsFailed;
  return Say(entry, {{"reason", ReasonText(outcome)}});
}

std::string SingleFileFailure(const FileOutcome& outcome, bool set) {
  std::string text = Line(FailureEntry(outcome, set, true),
                          {{"path", Named(outcome.path)}, {"reason", ReasonText(outcome)}}, "  ");
  if (set && outcome.failure == Failure::Refused) text += Row(W::FileNotChanged);
  return text;
}

std::string FileLine(const FileOutcome& outcome, const WayBackStyle& style) {
  W entry = W::LineOfFile;
  std::string words, stored, written;
  switch (outcome.result) {
    case Result::Shown:
      entry = W::LineShown;
      break;
    case Result::Changed:
    case Result::AlreadySet: {
      const bool unsigned_ = outcome.result == Result::Changed && !outcome.undoing &&
                             outcome.signature != Signature::None;
      entry = unsigned_ ? W::LineUnsigned : W::LineOfFile;
      // A checksum a set found wrong and made right, in the words of a single file's details;
      // the line's words say what was done to the settings.
      if (outcome.ChecksumRepaired()) {
        stored = Hex(outcome.checksum->stored);
        written = Hex(outcome.checksum->written);
        entry = unsigned_ ? W::LineUnsignedChecksumRepaired : W::LineChecksumRepaired;
      } else if (outcome.wrongChecksumRestored) {
        entry = unsigned_ ? W::LineUnsignedChecksumKept : W::LineChecksumKept;
      }
      words = outcome.result == Result::AlreadySet && outcome.ChecksumRepaired()
                  ? Say(W::WordsAlreadySet, {{"effect", PlainEffect(outcome.settings)}})
                  : PlainWords(outcome);
      break;
    }
    case Result::Restorable:
    case Result::Differs:
    case Result::WrongChecksum:
    case Result::Failed:
    case Result::Busy:
    case Result::NotReached:
      words = PlainWords(outcome);
      break;
    case Result::Pending:
    case Result::Matches:
    case Result::NotVb6:
    case Result::LeftAside:
      return {};
  }
  std::string text = Line(entry,
                          {{"file", Named(outcome.name)},
                           {"effect", PlainEffect(outcome.settings)},
                           {"words", words},
                           {"stored", stored},
                           {"written", written}},
                          "  ");
  if (outcome.result == Result::Changed && WayBackBesideIt(outcome)) {
    text += WayBackLines(outcome, WayBackOf(outcome, style), W::LineUndoCommand);
  }
  return text;
}

namespace {

// The folder that the runtime searches, as what it is to this target.
std::string FolderWords(const FileSystem::Folder& folder, bool ofProgram) {
  W entry = W::FolderTargetOnly;
  switch (folder.kind) {
    case FileSystem::FolderKind::Application:
      entry = ofProgram ? W::FolderOfProgram : W::FolderOfFile;
      break;
    case FileSystem::FolderKind::System32:
      entry = W::FolderSystem32;
      break;
    case FileSystem::FolderKind::System16:
      entry = W::FolderSystem16;
      break;
    case FileSystem::FolderKind::Windows:
      entry = W::FolderWindows;
      break;
    case FileSystem::FolderKind::TargetOnly:
      break;
  }
  return Say(entry, {{"folder", Named(folder.path)}});
}

}  // namespace

std::string DescribeLibrary(const LibraryPresence& library, bool advise) {
  // The current folder and the PATH also count when the program starts, and other
  // computers are not this one: the warning says what is known, no more. What the
  // messages are without it, the effect says.
  std::vector<std::string> where;
  W entry = library.file == LibraryFile::Library    ? W::LibraryPresent
            : library.file == LibraryFile::NotImage ? W::LibraryNotImage
            : library.file == LibraryFile::Program  ? W::LibraryIsProgram
            : library.fallsBack                     ? W::LibraryMissingFallsBack
                                                    : W::LibraryMissing;
  if (library.file == LibraryFile::Missing) {
    for (const FileSystem::Folder& searched : library.searched) {
      where.push_back(FolderWords(searched, library.ofProgram));
    }
    if (where.empty()) {
      entry = library.fallsBack ? W::LibraryMissingFallsBackNowhere : W::LibraryMissingNowhere;
    }
  }
  std::string text = Line(entry,
                          {{"library", Named(library.name)},
                           {"folder", Named(library.folder)},
                           {"folders", ListOf(where, W::ListSemicolon)}},
                          "  ");
  // What to do, where the messages need it.
  if (advise && (entry == W::LibraryMissing || entry == W::LibraryMissingNowhere)) {
    text += Line(W::LibraryCopyAdvice, "    ");
  }
  return text;
}

RunCounts CountsOf(const std::vector<FileOutcome>& outcomes) {
  RunCounts counts;
  for (const FileOutcome& outcome : outcomes) {
    // A file whose checksum alone was made right was written: it counts as modified.
    const bool written = outcome.result == Result::AlreadySet && outcome.ChecksumRepaired();
    ++counts.results[written ? Result::Changed : outcome.result];
    counts.dryRun = counts.dryRun || outcome.dryRun;
    if (outcome.result == Result::Shown) {
      ++counts.effects[PlainEffect(outcome.settings)];
      ++counts.shortEffects[ShortEffect(outcome.settings)];
    }
  }
  return counts;
}

std::size_t RunCounts::operator[](Result result) const {
  const auto found = results.find(result);
  return found == results.end() ? 0 : found->second;
}

std::size_t RunCounts::Vb6() const {
  std::size_t vb6 = 0;
  for (const auto& [result, files] : results) {
    if (result != Result::NotVb6 && result != Result::LeftAside && result != Result::Failed &&
        result != Result::NotReached) {
      vb6 += files;
    }
  }
  return vb6;
}

namespace {

// A summary's counts, each with its entry in the console's words and in a window's.
struct CountWords {
  W full;
  W brief;
};

// The VB6 files of a summary by what became of them, the first always said.
std::vector<std::string> VerdictCounts(const RunCounts& counts, Mode mode, bool brief) {
  std::vector<std::pair<std::size_t, CountWords>> parts;
  switch (mode) {
    case Mode::Check:
      parts = {{counts[Result::Matches], {W::CountMatches, W::ShortMatches}},
               {counts[Result::Differs], {W::CountDiffers, W::ShortDiffers}}};
      if (counts[Result::WrongChecksum] > 0) {
        parts.push_back(
            {counts[Result::WrongChecksum], {W::CountWrongChecksum, W::ShortWrongChecksum}});
      }
      break;
    case Mode::Undo:
      parts = {{counts.dryRun ? counts[Result::Restorable] : counts[Result::Changed],
                counts.dryRun ? CountWords{W::CountRestorable, W::ShortRestorable}
                              : CountWords{W::CountUndone, W::ShortUndone}},
               {counts[Result::AlreadySet], {W::CountAlreadyUndone, W::ShortAlreadyUndone}}};
      break;
    case Mode::Set:
      parts = {{counts[Result::Changed], {W::CountChanged, W::ShortChanged}},
               {counts[Result::AlreadySet], {W::CountAlreadySet, W::ShortAlreadySet}}};
      break;
    case Mode::View:
      parts = {{counts[Result::Shown], {W::CountVb6, W::ShortVb6}}};
      break;
  }
  std::vector<std::string> words;
  for (const auto& [files, entries] : parts) {
    if (!brief || files > 0) words.push_back(Say(brief ? entries.brief : entries.full, files));
  }
  return words;
}

// The other files of a summary, by what became of them; `brief` leaves out those none is.
void OtherCounts(const RunCounts& counts, Mode mode, bool brief, std::vector<std::string>& words) {
  const auto add = [&words, brief](std::size_t files, CountWords entries, bool always) {
    if (files > 0 || (always && !brief)) {
      words.push_back(Say(brief ? entries.brief : entries.full, files));
    }
  };
  if (mode != Mode::Undo) add(counts[Result::NotVb6], {W::CountNotVb6, W::ShortNotVb6}, true);
  add(counts[Result::LeftAside], {W::CountLeftAside, W::ShortLeftAside}, false);
  if (!brief) add(counts[Result::Failed], {W::CountFailed, W::ShortFailed}, true);
  add(counts[Result::NotReached], {W::CountNotReached, W::ShortNotReached}, false);
}

}  // namespace

std::string SummaryWords(const RunCounts& counts, Mode mode) {
  std::vector<std::string> words = VerdictCounts(counts, mode, false);
  OtherCounts(counts, mode, false, words);
  return Say(W::Summary, {{"counts", ListOf(words)}});
}

std::string ShortSummary(const RunCounts& counts, Mode mode) {
  // What matters first: the failures, then the VB6 files by what they became, then the rest.
  std::vector<std::string> words;
  if (counts[Result::Failed] > 0) words.push_back(Say(W::ShortFailed, counts[Result::Failed]));
  if (mode != Mode::View) {
    for (std::string& verdict : VerdictCounts(counts, mode, true)) words.push_back(verdict);
  } else if (counts.shortEffects.size() == 1) {
    words.push_back(
        Say(W::ShortVb6, counts[Result::Shown], {{"effect", counts.shortEffects.begin()->first}}));
  } else if (counts[Result::Shown] > 0) {
    std::vector<std::string> effects;
    for (const auto& [effect, files] : counts.shortEffects) {
      effects.push_back(Say(W::ShortEffectCount, files, {{"effect", effect}}));
    }
    words.push_back(Say(W::ShortVb6Effects, counts[Result::Shown], {{"effects", ListOf(effects)}}));
  }
  OtherCounts(counts, mode, true, words);
  return words.empty() ? Say(W::ShortNone) : ListOf(words);
}

namespace {

// Names said one after another: the first few, then how many more. A name is shown (and
// escaped) only if it is said.
struct NameList {
  std::size_t limit = static_cast<std::size_t>(-1);
  std::string list;
  std::size_t count = 0;

  void Add(std::string_view name) {
    if (++count > limit) return;
    const std::string named = Named(name);
    list = list.empty() ? named : Say(W::ListMore, {{"list", list}, {"item", named}});
  }
  std::string Said() const {
    return count > limit ? Say(W::NamesAndOthers, count - limit, {{"files", list}}) : list;
  }
};

constexpr std::size_t kNamed = 5;

}  // namespace

std::string FolderEnd(const std::vector<FileOutcome>& outcomes, Mode mode) {
  std::string text;
  // The language libraries that the files name, each once a folder: the files of a folder
  // share where it is looked for, and what is found; a warning says which files it concerns.
  struct Library {
    const LibraryPresence* presence;
    NameList files;
  };
  std::vector<Library> libraries;
  std::map<std::string, std::size_t> libraryAt;
  for (const FileOutcome& outcome : outcomes) {
    for (const LibraryPresence& library : outcome.libraries) {
      std::string key = library.name + '\n' + library.folder;
      for (const FileSystem::Folder& folder : library.searched) key += '\n' + folder.path;
      const auto [at, added] = libraryAt.emplace(key, libraries.size());
      if (added) libraries.push_back({&library, {kNamed, {}, 0}});
      libraries[at->second].files.Add(outcome.name);
    }
  }
  // The other entries, their names grouped by what they are and why.
  NameList french, onlineOnly;
  // By kind, then reason: "kind\nreason" → the names, listed.
  std::map<std::string, std::string> others, leftAside;
  std::size_t otherFiles = 0, asideFiles = 0;
  for (const FileOutcome& outcome : outcomes) {
    const std::string& name = outcome.name;
    // The French library of the runtime, shipped beside the program: named for what it is,
    // and once, where the libraries say it already.
    if (outcome.result == Result::NotVb6 && IsFrenchLibrary(FileName(outcome.name))) {
      const bool said = std::any_of(libraries.begin(), libraries.end(), [&](const Library& l) {
        return l.presence->file != LibraryFile::Missing &&
               linguarde::unicode::SameIgnoringAsciiCase(l.presence->name, FileName(outcome.name));
      });
      if (!said) french.Add(name);
    } else if (outcome.result == Result::LeftAside && outcome.aside == Aside::OnlineOnly) {
      onlineOnly.Add(name);
    } else if (outcome.result == Result::NotVb6 || outcome.result == Result::LeftAside) {
      const bool notVb6 = outcome.result == Result::NotVb6;
      ++(notVb6 ? otherFiles : asideFiles);
      std::string& names =
          (notVb6 ? others
                  : leftAside)[std::string(ReasonKindOf(outcome)) + '\n' + ReasonText(outcome)];
      const std::string named = Named(name);
      names = names.empty() ? named : Say(W::ListMore, {{"list", names}, {"item", named}});
    }
  }
  if (french.count > 0) {
    text += Line(
        mode == Mode::View || mode == Mode::Check ? W::FrenchLibraries : W::FrenchLibrariesLeft,
        french.count, {{"libraries", french.Said()}}, "  ");
  }
  const auto groups = [&text](W heading, const std::map<std::string, std::string>& grouped,
                              std::size_t files) {
    if (grouped.empty()) return;
    text += Row(heading, files);
    for (const auto& [key, names] : grouped) {
      const std::string reason = key.substr(key.find('\n') + 1);
      text += Line(W::GroupLine, {{"reason", reason}, {"files", names}}, "    ");
    }
  };
  groups(W::NotVb6Heading, others, otherFiles);
  groups(W::LeftAsideHeading, leftAside, asideFiles);
  if (onlineOnly.count > 0) {
    text += Row(W::OnlineOnlyHeading, onlineOnly.count) +
            Line(W::NamesLine, {{"files", onlineOnly.Said()}}, "    ");
  }

  for (const Library& library : libraries) {
    // An undo gives back what was: no advice on what to copy.
    text += DescribeLibrary(*library.presence, mode != Mode::Undo);
    if (library.presence->found || library.presence->fallsBack) continue;
    text +=
        Line(W::LibraryConcerns, library.files.count, {{"files", library.files.Said()}}, "    ");
  }

  // The failures scrolled away above: named again by the summary, a few of them.
  NameList failed{kNamed, {}, 0};
  for (const FileOutcome& outcome : outcomes) {
    if (outcome.result == Result::Failed) failed.Add(outcome.name);
  }
  if (failed.count > 0) text += Line(W::FailedNames, {{"files", failed.Said()}}, "  ");
  const RunCounts counts = CountsOf(outcomes);
  text += Wrap(SummaryWords(counts, mode), "  ");
  if (mode == Mode::View) {
    for (const auto& [effect, files] : counts.effects) {
      text += Line(W::EffectCount, files, {{"effect", effect}}, "    ");
    }
  }
  return text;
}

namespace {

namespace contract = linguarde::contract;

JsonObject& WithSettings(JsonObject& object, const LanguageSettings& s) {
  return object.Text(contract::kPrimaryLibrary, s.primaryLibrary)
      .Number(contract::kPrimaryLcid, s.primaryLcid)
      .Text(contract::kSecondaryLibrary, s.secondaryLibrary)
      .Number(contract::kSecondaryLcid, s.secondaryLcid);
}

std::string_view DoneValue(Result result) {
  switch (result) {
    case Result::Shown:
      return contract::kShown;
    case Result::Changed:
      return contract::kChanged;
    case Result::Restorable:
      return contract::kRestorable;
    case Result::AlreadySet:
      return contract::kAlreadySet;
    case Result::Matches:
    case Result::Differs:
    case Result::WrongChecksum:
      return contract::kChecked;
    case Result::NotVb6:
    case Result::LeftAside:
      return contract::kSkipped;
    case Result::NotReached:
      return contract::kNotReached;
    case Result::Pending:
    case Result::Failed:
    case Result::Busy:
      break;
  }
  return contract::kFailed;
}

// Whether the way back of a changed file gives it back byte for byte.
bool ExactWayBack(const FileOutcome& outcome, const WayBackStyle& style) {
  return WayBackOf(outcome, style).Exact();
}

}  // namespace

std::string JsonLine(const FileOutcome& outcome, const WayBackStyle& style) {
  const bool vb6 = outcome.header.has_value();
  JsonObject line;
  line.Text(contract::kLine, contract::kFileLine).Text(contract::kPath, outcome.path);
  if (!IsUtf8(outcome.path)) line.Text(contract::kPathBytes, linguarde::HexBytes(outcome.path));
  // Unknown, where the file could not be read well enough to tell.
  if (vb6 || outcome.result == Result::NotVb6) {
    line.Bool(contract::kVb6, vb6);
  } else {
    line.Null(contract::kVb6);
  }
  line.Text(contract::kDone, DoneValue(outcome.result));
  if (const std::string reason = ReasonText(outcome); !reason.empty()) {
    line.Text(contract::kReason, Unmarked(reason))
        .Text(contract::kReasonKind, ReasonKindOf(outcome));
  }
  if (outcome.linkTarget) line.Text(contract::kLinkTarget, *outcome.linkTarget);
  if (outcome.expected) {
    line.Bool(contract::kMatches, outcome.result == Result::Matches)
        .Bool(contract::kChecksumRight, !outcome.wrongChecksum);
  }
  if (vb6) {
    line.Bool(contract::kSigned, outcome.signature != Signature::None)
        .Number(contract::kHeaderOffset, outcome.header->offset)
        .Number(contract::kRuntimeBuild, outcome.header->runtimeBuild);
    WithSettings(line, outcome.settings);
    if (const std::optional<LanguageSettings> before = outcome.Before()) {
      JsonObject settings;
      line.Json(contract::kBefore, WithSettings(settings, *before).Object())
          .Bool(contract::kChecksumRepaired, outcome.ChecksumRepaired());
    }
    if (outcome.result == Result::Changed) {
      const WayBack wayBack = WayBackOf(outcome, style);
      if (!outcome.journal.empty()) line.Text(contract::kWayBackScript, outcome.journal);
      if (wayBack.command) {
        line.Text(contract::kWayBack, *wayBack.command);
      } else {
        line.Null(contract::kWayBack);
      }
      line.Bool(contract::kWayBackExact, ExactWayBack(outcome, style));
      if (!wayBack.caveatKind.empty()) {
        line.Text(contract::kWayBackCaveat, Unmarked(CaveatText(outcome, wayBack, false)))
            .Text(contract::kWayBackCaveatKind, wayBack.caveatKind);
      }
    }
    std::string libraries;
    for (const LibraryPresence& library : outcome.libraries) {
      JsonObject presence;
      presence.Text(contract::kName, library.name).Bool(contract::kFound, library.found);
      if (library.found) presence.Text(contract::kFolder, library.folder);
      libraries += (libraries.empty() ? "" : ",") + presence.Object();
    }
    line.Json(contract::kLibraries, "[" + libraries + "]")
        .Text(contract::kEffect, Unmarked(PlainEffect(outcome.settings)));
  }
  // The report's words for the file, for a reader that shows it in a line of its own, and
  // fewer where a failure needs them; its names unmarked, as a console line shows them.
  line.Text(contract::kWords, Unmarked(PlainWords(outcome)));
  if (outcome.result == Result::Failed || outcome.result == Result::NotVb6 ||
      outcome.result == Result::LeftAside) {
    line.Text(contract::kShort, Unmarked(ShortFailureWords(outcome)));
  }
  return line.Line();
}

std::string JsonSummary(const std::vector<FileOutcome>& outcomes, Mode mode,
                        const std::string& journal, const WayBackStyle& style) {
  const RunCounts counts = CountsOf(outcomes);
  const auto changed = [](const FileOutcome& o) { return o.result == Result::Changed; };
  const bool undoExact = !journal.empty() &&
                         std::any_of(outcomes.begin(), outcomes.end(), changed) &&
                         std::all_of(outcomes.begin(), outcomes.end(), [&](const FileOutcome& o) {
                           return !changed(o) || (o.journal == journal && ExactWayBack(o, style));
                         });
  constexpr std::string_view kModes[] = {"view", "set", "check", "undo"};
  JsonObject line;
  line.Text(contract::kLine, contract::kSummaryLine)
      .Text(contract::kMode, kModes[static_cast<int>(mode)])
      .Number(contract::kFiles, outcomes.size())
      .Number(contract::kVb6Files, counts.Vb6())
      .Number(contract::kChangedFiles, counts[Result::Changed])
      .Number(contract::kRestorableFiles, counts[Result::Restorable])
      .Number(contract::kAlreadySetFiles, counts[Result::AlreadySet])
      .Number(contract::kMatchingFiles, counts[Result::Matches])
      .Number(contract::kDifferingFiles, counts[Result::Differs])
      .Number(contract::kWrongChecksumFiles, counts[Result::WrongChecksum])
      .Number(contract::kNotVb6Files, counts[Result::NotVb6])
      .Number(contract::kLeftAsideFiles, counts[Result::LeftAside])
      .Number(contract::kFailedFiles, counts[Result::Failed]);
  if (journal.empty()) {
    line.Null(contract::kJournal);
  } else {
    line.Text(contract::kJournal, journal);
  }
  return line.Bool(contract::kUndoExact, undoExact)
      .Text(contract::kWords, SummaryWords(counts, mode))
      .Text(contract::kShort, ShortSummary(counts, mode))
      .Line();
}

std::string_view MessageKindOf(const ToolError& error) {
  if (const auto* step = dynamic_cast<const StepError*>(&error)) {
    if (step->Which() == IoStep::JournalMissing) return contract::kJournalMissing;
    if (step->Which() == IoStep::JournalBusy) return contract::kJournalBusy;
  }
  return {};
}

std::string_view ReasonKindOf(const FileOutcome& outcome) {
  if (outcome.error) return ReasonKindOf(*outcome.error);
  return outcome.aside ? AsideKindOf(*outcome.aside) : std::string_view();
}

std::string JsonMessage(const std::string& words, int status, const std::string& brief,
                        std::string_view kind, std::string_view reasonKind) {
  if (kind.empty()) {
    kind = status == 0                                    ? contract::kNote
           : status == static_cast<int>(Failure::Usage)   ? contract::kUsage
           : status == static_cast<int>(Failure::Refused) ? contract::kRefused
                                                          : contract::kIo;
  }
  // The console's wrapping and indents are for the console: one line of words here.
  std::string plain;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i] != '\n') {
      plain += words[i];
      continue;
    }
    while (i + 1 < words.size() && words[i + 1] == ' ') ++i;
    if (i + 1 < words.size()) plain += ' ';
  }
  JsonObject line;
  line.Text(contract::kLine, contract::kMessageLine)
      .Number(contract::kStatus, static_cast<std::uint64_t>(status))
      .Text(contract::kKind, kind)
      .Text(contract::kWords, Unmarked(plain));
  if (!reasonKind.empty()) line.Text(contract::kReasonKind, reasonKind);
  if (!brief.empty()) line.Text(contract::kShort, Unmarked(brief));
  return line.Line();
}

std::string MeantChangeHint(const MeantChange& meant, Shell shell, const std::string& toolPath) {
  const std::string tool = CommandWord(toolPath, shell).value_or(toolPath);
  return Line(W::MeantChange, {{"file", Named(meant.target)}, {"settings", meant.settings}}, "  ") +
         Say(W::UndoCommandLine, {{"command", Kept(tool + " --set " + meant.settings + " \"" +
                                                   linguarde::Visible(meant.target) + "\"")}}) +
         "\n";
}

std::string UndoLines(const ConsoleWords& tool, const ConsoleWords& journal, Shell shell,
                      std::size_t changes) {
  W entry = W::UndoRun;
  std::string command = tool.shell + " --undo " + journal.shell;
  std::string powerShell;
  if (shell != Shell::Posix) {
    // cmd and PowerShell both run a path of letters, digits and \ : . _ - as it is; a quoted
    // one or a %VARIABLE% needs PowerShell's own form, on a row of its own.
    const auto bare = [](const ConsoleWords& words) -> std::optional<std::string> {
      const std::string& word = words.shell;
      if (word.size() < 3 || word.front() != '"' || word.back() != '"') return std::nullopt;
      const std::string inner = word.substr(1, word.size() - 2);
      const bool plain = std::all_of(inner.begin(), inner.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) ||
               std::string_view("\\:._-").find(c) != std::string_view::npos;
      });
      return plain ? std::optional<std::string>(inner) : std::nullopt;
    };
    if (const auto toolWord = bare(tool), journalWord = bare(journal); toolWord && journalWord) {
      entry = W::UndoRunBothShells;
      command = *toolWord + " --undo " + *journalWord;
    } else {
      powerShell = "& " + tool.powerShell + " --undo " + journal.powerShell;
    }
  }
  std::string text = Say(entry, changes, {{"command", Kept(command)}}) + "\n";
  if (!powerShell.empty()) {
    text += Say(W::UndoRunPowerShell, {{"command", Kept(powerShell)}}) + "\n";
  }
  return text;
}

std::string MarkKeptElsewhere(const std::string& undone, const std::string& own) {
  return Line(W::MarkKeptElsewhere, {{"journal", Named(undone)}, {"path", Named(own)}}, "  ");
}

std::string JournalState(const JournalContents& contents, const EarlierUndo& earlier) {
  std::string text;
  if (contents.cutRecords > 0) {
    text += Wrap(
        Say(contents.version == 1 ? W::CutRecordsOldJournal : W::CutRecords, contents.cutRecords),
        "  ");
  }
  // An end says only what became of a change: each file is judged as it is now.
  if (contents.cutEnds > 0) text += Line(W::CutEnds, contents.cutEnds, "  ");
  // The last undo says where the files stand; the earlier ones, undone or not, are history.
  switch (earlier.state) {
    case EarlierUndo::State::None:
      break;
    case EarlierUndo::State::Undone:
      text += Wrap(earlier.journal.empty()
                       ? Say(W::AlreadyUndoneUnrecorded)
                       : Say(W::AlreadyUndone, {{"journal", Named(earlier.journal)}}),
                   "  ");
      break;
    case EarlierUndo::State::UndoneAgain:
      text += Line(W::UndoneUndoneAgain, {{"journal", Named(earlier.journal)}}, "  ");
      break;
  }
  return text;
}

std::string UndoOrder() { return Line(W::UndoOrder, "  "); }

std::string NothingToUndo() { return Line(W::NothingToUndo, "  "); }

}  // namespace tressol
