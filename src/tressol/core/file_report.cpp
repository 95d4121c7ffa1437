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

// Why a file failed, was no VB6 file or was left aside, worded from its facts.
std::string ReasonText(const FileOutcome& outcome) {
  if (outcome.error) return ReasonOf(*outcome.error);
  return outcome.aside ? AsideText(*outcome.aside) : std::string();
}

// "messages en français (en anglais sans vb6FR.dll)" without its first word, after an arrow.
std::string AfterArrow(const std::string& effect) { return effect.substr(effect.find(' ') + 1); }

std::string ChecksumWords(const ChecksumWrite& checksum) {
  if (checksum.written == 0) return "absente (0), laissée à 0";
  return Hex(checksum.stored) +
         (checksum.storedWasWrong ? ", fausse, corrigée en " : ", devenue ") +
         Hex(checksum.written);
}

// A change's way back: the command, and why it does not give the same bytes (or, without a
// command, why there is none).
struct WayBack {
  std::optional<std::string> command;
  std::string caveat;
  std::string_view caveatKind;  // the caveat's name, for programs
};

// Why no command can give a file back, in words.
std::string NoWayBackText(const NoWayBack& why) {
  switch (why.part) {
    case NoWayBack::Part::LibraryName:
      return "le nom de bibliothèque précédent, « " + Named(why.library) +
             " », ne peut pas être écrit sur la ligne de commande";
    case NoWayBack::Part::Lcid:
      return "la langue précédente, " + Hex(why.lcid) +
             ", ne peut pas être écrite sur la ligne de commande";
    case NoWayBack::Part::Path:
      break;
  }
  return "le chemin de l'outil ou de la cible ne peut pas être écrit sur la ligne de commande";
}

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

const char kTooLong[] = "son chemin complet est trop long pour que le système le rouvre";

WayBack WayBackOf(const FileOutcome& outcome, const WayBackStyle& style) {
  WayBack wayBack;
  if (outcome.result != Result::Changed) return wayBack;
  if (outcome.caveat == WayBackCaveat::PathTooLong) {
    wayBack.caveat = kTooLong;
    wayBack.caveatKind = "path-too-long";
    return wayBack;
  }
  // The journal gives back the very bytes from before, whatever they were.
  if (!outcome.journal.empty()) {
    wayBack.command = UndoCommand(outcome.journal, style);
    return wayBack;
  }
  if (outcome.caveat == WayBackCaveat::BytesAfterLibraryName) {
    wayBack.caveat =
        "un nom de bibliothèque précédent est suivi d'octets que la commande remet à zéro";
    wayBack.caveatKind = "bytes-after-library-name";
  } else if (outcome.caveat == WayBackCaveat::WrongChecksum) {
    wayBack.caveat = "la somme de contrôle PE précédente, " + Hex(outcome.checksum->stored) +
                     ", n'était pas celle du fichier ; la commande écrit la bonne";
    wayBack.caveatKind = "wrong-checksum";
  }
  std::optional<NoWayBack> whyNot;
  wayBack.command =
      WayBackCommand(style.shell, style.toolPath, *outcome.Before(), outcome.absolutePath, whyNot);
  if (whyNot) {
    wayBack.caveat = NoWayBackText(*whyNot);
    wayBack.caveatKind = whyNot->part == NoWayBack::Part::LibraryName ? "library-name-not-carried"
                         : whyNot->part == NoWayBack::Part::Lcid      ? "lcid-not-carried"
                                                                      : "path-not-carried";
  }
  return wayBack;
}

// How a file's settings differ from those a check expects, field by field; library names
// as Windows finds files, without regard to case.
std::string Differences(const FileOutcome& outcome) {
  const auto sameName = linguarde::unicode::SameIgnoringAsciiCase;
  const LanguageSettings& has = outcome.settings;
  const LanguageSettings& wanted = *outcome.expected;
  std::string text;
  const auto add = [&text](const std::string& what, const std::string& found,
                           const std::string& expected) {
    text += (text.empty() ? "" : ", ") + what + " " + found + " au lieu de " + expected;
  };
  const auto name = [](const std::string& library) { return "« " + Named(library) + " »"; };
  if (!sameName(has.primaryLibrary, wanted.primaryLibrary)) {
    add("bibliothèque principale", name(has.primaryLibrary), name(wanted.primaryLibrary));
  }
  if (has.primaryLcid != wanted.primaryLcid) {
    add("langue principale", Hex(has.primaryLcid), Hex(wanted.primaryLcid));
  }
  if (!sameName(has.secondaryLibrary, wanted.secondaryLibrary)) {
    add("bibliothèque secondaire", name(has.secondaryLibrary), name(wanted.secondaryLibrary));
  }
  if (has.secondaryLcid != wanted.secondaryLcid) {
    add("langue secondaire", Hex(has.secondaryLcid), Hex(wanted.secondaryLcid));
  }
  return text;
}

// What was found or done, in the words of a report line, without the file's name.
std::string PlainWords(const FileOutcome& outcome) {
  switch (outcome.result) {
    case Result::Shown:
      return "fichier VB6, " + PlainEffect(outcome.settings);
    case Result::Changed:
      return std::string(outcome.undoing ? "rétabli, " : "modifié, ") +
             PlainEffect(*outcome.Before()) + " → " + AfterArrow(PlainEffect(outcome.settings));
    case Result::AlreadySet:
      return std::string(outcome.undoing ? "déjà rétabli, " : "déjà réglé, ") +
             PlainEffect(outcome.settings);
    case Result::Restorable:
      return "peut être rétabli exactement, " + PlainEffect(outcome.settings) + " pour l'instant";
    case Result::Matches:
      return "conforme, " + PlainEffect(outcome.settings);
    case Result::Differs:
      return "diffère : " + Differences(outcome);
    case Result::WrongChecksum: {
      const std::string differs = Differences(outcome);
      return "somme de contrôle PE fausse, " + Hex(outcome.wrongChecksum->stored) + " au lieu de " +
             Hex(outcome.wrongChecksum->actual) +
             " : le fichier a changé depuis qu'elle a été faite (endommagé, ou modifié sans "
             "qu'elle soit refaite)" +
             (differs.empty() ? "" : " ; il diffère aussi : " + differs);
    }
    case Result::NotVb6:
      return "n'est pas un fichier VB6 : " + ReasonText(outcome);
    case Result::LeftAside:
      return "laissé de côté : " + ReasonText(outcome);
    case Result::NotReached:
      return "non traité : l'exécution s'est arrêtée avant lui ; il n'a pas été modifié";
    case Result::Pending:
    case Result::Failed:
    case Result::Busy:
      break;
  }
  return "en échec : " + ReasonText(outcome);
}

std::string Details(const FileOutcome& outcome) {
  const VbHeader& header = *outcome.header;
  const char* by = header.foundBy == HeaderFoundBy::EntryPoint ? "désigné par le point d'entrée"
                   : header.foundBy == HeaderFoundBy::Exports  ? "désigné par les exportations"
                                                               : "trouvé par recherche";
  std::string text =
      "Détails :\n  Fichier : " + linguarde::Visible(outcome.path) + "\n" +
      (outcome.linkTarget ? "  Lien vers : " + linguarde::Visible(*outcome.linkTarget) + "\n"
                          : "") +
      "  En-tête VB : position " + Hex(header.offset) + " (" + by + ")\n" +
      "  Moteur d'exécution VB visé : version " + std::to_string(header.runtimeBuild) + "\n";
  if (outcome.checksum)
    text += "  Somme de contrôle PE : " + ChecksumWords(*outcome.checksum) + "\n";
  if (outcome.signature == Signature::Present) text += "  Signature Authenticode : présente\n";
  if (outcome.signature == Signature::OutsideFile) {
    text +=
        "  Signature Authenticode : sa table de certificats dépasse la fin du fichier (image mal "
        "formée, jamais modifiée)\n";
  }
  return text;
}

std::string SignatureWarning(const FileOutcome& outcome, const WayBack& wayBack) {
  if (outcome.result != Result::Changed || outcome.signature == Signature::None) return {};
  return Wrap(std::string("Attention : la signature Authenticode du fichier n'est plus valide") +
                  (wayBack.caveat.empty() ? " ; le retour aux réglages précédents la rend de "
                                            "nouveau valide."
                                          : "."),
              "  ");
}

// The command names the file; where it cannot be exact, the file is named with why.
std::string WayBackLines(const FileOutcome& outcome, const WayBack& wayBack,
                         const std::string& intro) {
  if (outcome.result != Result::Changed) return {};
  if (!wayBack.command) {
    const std::string why =
        " : aucune commande ne peut rétablir exactement les réglages précédents (";
    return Wrap("  " + Named(outcome.name) + why + wayBack.caveat + ").", "    ");
  }
  std::string text = intro + *wayBack.command + "\n";
  if (!wayBack.caveat.empty()) {
    const std::string why = " : ce retour ne rend pas le fichier identique octet pour octet (";
    text += Wrap("    " + Named(outcome.name) + why + wayBack.caveat + ").", "    ");
  }
  return text;
}

}  // namespace

// The answer comes last, where the eye lands in a console that shows its last rows: the
// details, the library and the way back above it.
std::string SingleFileReport(const FileOutcome& outcome, const WayBackStyle& style) {
  const std::string name = Named(FileName(outcome.path));
  const WayBack wayBack = WayBackOf(outcome, style);
  std::string text;
  std::string answer;
  switch (outcome.result) {
    case Result::Changed:
      // The effects, before and after, are the answer's.
      text = "Réglages de langue avant la modification :\n" +
             DescribeSettings(*outcome.Before(), false) +
             "Réglages de langue après la modification :\n" +
             DescribeSettings(outcome.settings, false);
      answer = Wrap(name + " : modifié. Avant : " + PlainEffect(*outcome.Before()) +
                        ". Après : " + PlainEffect(outcome.settings) + ".",
                    "  ");
      break;
    case Result::Matches:
    case Result::WrongChecksum:
      return Wrap(name + " : " + PlainWords(outcome) + ".", "  ");
    case Result::Differs:
      return Wrap(name + " : diffère : " + Differences(outcome) +
                      ". Actuellement : " + PlainEffect(outcome.settings) +
                      ". Attendu : " + PlainEffect(*outcome.expected) + ".",
                  "  ");
    case Result::AlreadySet:
      text = "Réglages de langue :\n" + DescribeSettings(outcome.settings);
      answer = Wrap(name + " : déjà réglé, " + PlainEffect(outcome.settings) +
                        (outcome.ChecksumRepaired()
                             ? " ; seule sa somme de contrôle PE, qui était fausse, a été corrigée."
                             : " ; le fichier n'a pas été modifié."),
                    "  ");
      break;
    default:
      text = "Réglages de langue :\n" + DescribeSettings(outcome.settings);
      answer = Wrap(name + " : " + PlainWords(outcome) + ".", "  ");
  }
  text += Details(outcome) + SignatureWarning(outcome, wayBack);
  for (const LibraryPresence& library : outcome.libraries) {
    text += DescribeLibrary(library);
  }
  if (outcome.result == Result::Changed && WayBackBesideIt(outcome)) {
    text += "Pour rétablir les réglages précédents :\n" + WayBackLines(outcome, wayBack, "  ");
  }
  return text + answer;
}

std::string SingleFileFailureWords(const FileOutcome& outcome, bool set) {
  const std::string name = "« " + Named(outcome.path) + " »";
  if (outcome.verdict == Verdict::WriteFailedNotRestored) {
    return "la modification de " + name + " a échoué : " + ReasonText(outcome);
  }
  return name +
         (outcome.result == Result::NotVb6 ? " n'est pas un fichier VB6 : "
          : set                            ? " ne peut pas être modifié : "
                                           : " ne peut pas être lu : ") +
         ReasonText(outcome);
}

std::string ShortFailureWords(const FileOutcome& outcome) {
  if (outcome.result == Result::NotVb6) return "non VB6 : " + ReasonText(outcome);
  if (outcome.result == Result::LeftAside) return "laissé de côté : " + ReasonText(outcome);
  // What to do stays in sight of a short line.
  if (outcome.verdict && AsksForCopy(*outcome.verdict)) {
    return "endommagé ; recopiez-le depuis l'original";
  }
  return "en échec : " + ReasonText(outcome);
}

std::string SingleFileFailure(const FileOutcome& outcome, bool set) {
  std::string text = Wrap("Tressol : " + SingleFileFailureWords(outcome, set) + ".", "  ");
  if (set && outcome.failure == Failure::Refused) text += "Le fichier n'a pas été modifié.\n";
  return text;
}

std::string FileLine(const FileOutcome& outcome, const WayBackStyle& style) {
  const std::string name = Named(outcome.name);
  // A checksum a set found wrong and made right, in the words of a single file's details.
  const std::string repaired = outcome.ChecksumRepaired()
                                   ? " ; somme de contrôle PE " + ChecksumWords(*outcome.checksum)
                                   : "";
  switch (outcome.result) {
    case Result::Shown:
      return Wrap(name + " : " + PlainEffect(outcome.settings) + ".", "  ");
    case Result::Changed:
      return Wrap(name + " : " + PlainWords(outcome) +
                      (outcome.signature != Signature::None ? " ; sa signature n'est plus valide"
                                                            : "") +
                      (outcome.wrongChecksumRestored
                           ? " ; sa somme de contrôle PE précédente, qui était fausse, est remise "
                             "telle quelle"
                           : "") +
                      repaired + ".",
                  "  ") +
             (WayBackBesideIt(outcome)
                  ? WayBackLines(outcome, WayBackOf(outcome, style), "  Pour le rétablir : ")
                  : "");
    case Result::AlreadySet:
      return Wrap(name + " : " + PlainWords(outcome) + repaired + ".", "  ");
    case Result::Restorable:
    case Result::Differs:
    case Result::WrongChecksum:
    case Result::Failed:
    case Result::Busy:
    case Result::NotReached:
      return Wrap(name + " : " + PlainWords(outcome) + ".", "  ");
    case Result::Pending:
    case Result::Matches:
    case Result::NotVb6:
    case Result::LeftAside:
      break;
  }
  return {};
}

namespace {

std::string FolderWords(FileSystem::FolderKind kind) {
  switch (kind) {
    case FileSystem::FolderKind::Application:
      return "dossier de l'application";
    case FileSystem::FolderKind::System32:
      return "système 32 bits";
    case FileSystem::FolderKind::System16:
      return "système 16 bits";
    case FileSystem::FolderKind::Windows:
      return "Windows";
    case FileSystem::FolderKind::TargetOnly:
      break;
  }
  return "dossier de la cible ; sous Linux, cet outil ne cherche que là";
}

}  // namespace

std::string DescribeLibrary(const LibraryPresence& library) {
  const std::string shown = Named(library.name);
  if (library.found) {
    return Wrap(
        "Bibliothèque de langue " + shown + " : présente dans " + Named(library.folder) + ".",
        "  ");
  }
  // The current folder and the PATH also count when the program starts, and other
  // computers are not this one: the warning says what is known, no more. What the
  // messages are without it, the effect says.
  std::string where;
  for (const FileSystem::Folder& folder : library.searched) {
    where +=
        (where.empty() ? "" : " ; ") + Named(folder.path) + " (" + FolderWords(folder.kind) + ")";
  }
  return Wrap("Attention : la bibliothèque de langue " + shown + " est introuvable" +
                  (where.empty() ? "" : " ; cherchée dans " + where) + ".",
              "  ") +
         "  À faire : copiez-la à côté du programme, sur chaque ordinateur où l'application "
         "s'exécute.\n";
}

RunCounts CountsOf(const std::vector<FileOutcome>& outcomes) {
  RunCounts counts;
  for (const FileOutcome& outcome : outcomes) {
    ++counts.results[outcome.result];
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

// The other files of a summary, by what became of them; `brief` leaves out those none is.
std::string OtherCounts(const RunCounts& counts, Mode mode, bool brief) {
  std::string words;
  const auto add = [&words, brief](std::size_t files, const std::string& what) {
    if (!brief || files > 0) words += ", " + std::to_string(files) + " " + what;
  };
  if (mode != Mode::Undo) add(counts[Result::NotVb6], "non VB6");
  if (counts[Result::LeftAside] > 0) {
    add(counts[Result::LeftAside],
        counts[Result::LeftAside] > 1 ? "laissés de côté" : "laissé de côté");
  }
  if (!brief) add(counts[Result::Failed], "en échec");
  if (counts[Result::NotReached] > 0) {
    add(counts[Result::NotReached], counts[Result::NotReached] > 1
                                        ? "non traités (exécution arrêtée)"
                                        : "non traité (exécution arrêtée)");
  }
  return words;
}

std::string VerdictCounts(const RunCounts& counts, Mode mode) {
  switch (mode) {
    case Mode::Check:
      return Count(counts[Result::Matches], "conforme", "conformes") + ", " +
             Count(counts[Result::Differs], "différent", "différents") +
             (counts[Result::WrongChecksum] > 0
                  ? ", " + Count(counts[Result::WrongChecksum], "somme de contrôle PE fausse",
                                 "sommes de contrôle PE fausses")
                  : "");
    case Mode::Undo:
      if (counts.dryRun) {
        return Count(counts[Result::Restorable], "fichier à rétablir exactement",
                     "fichiers à rétablir exactement") +
               ", " + Count(counts[Result::AlreadySet], "déjà rétabli", "déjà rétablis");
      }
      return Count(counts[Result::Changed], "fichier rétabli", "fichiers rétablis") + ", " +
             Count(counts[Result::AlreadySet], "déjà rétabli", "déjà rétablis");
    case Mode::Set:
      return Count(counts[Result::Changed], "fichier modifié", "fichiers modifiés") + ", " +
             Count(counts[Result::AlreadySet], "déjà réglé", "déjà réglés");
    case Mode::View:
      break;
  }
  return Count(counts[Result::Shown], "fichier VB6", "fichiers VB6");
}

}  // namespace

std::string SummaryWords(const RunCounts& counts, Mode mode) {
  return "Résumé : " + VerdictCounts(counts, mode) + OtherCounts(counts, mode, false) + ".";
}

std::string ShortSummary(const RunCounts& counts, Mode mode) {
  // What matters first: the failures, then the VB6 files by what they became, then the rest.
  std::string words;
  if (counts[Result::Failed] > 0) words = std::to_string(counts[Result::Failed]) + " en échec";
  std::string verdicts;
  if (mode != Mode::View) {
    verdicts = VerdictCounts(counts, mode);
  } else if (counts[Result::Shown] > 0) {
    verdicts = std::to_string(counts[Result::Shown]) + " VB6 (";
    std::size_t i = 0;
    for (const auto& [effect, files] : counts.shortEffects) {
      verdicts += (i++ == 0 ? "" : ", ") +
                  (counts.shortEffects.size() > 1 ? std::to_string(files) + " " : "") + effect;
    }
    verdicts += ")";
  }
  if (!verdicts.empty()) words += (words.empty() ? "" : ", ") + verdicts;
  words += OtherCounts(counts, mode, true);
  if (words.rfind(", ", 0) == 0) words.erase(0, 2);
  return words.empty() ? "aucun fichier VB6" : words;
}

std::string FolderEnd(const std::vector<FileOutcome>& outcomes, Mode mode) {
  std::string text;
  // The other entries, their names grouped by reason.
  std::map<std::string, std::string> others;
  std::map<std::string, std::string> leftAside;
  std::string libraries;
  for (const FileOutcome& outcome : outcomes) {
    // The French library of the runtime, shipped beside the program: named for what it is.
    if (outcome.result == Result::NotVb6 && IsFrenchLibrary(FileName(outcome.name))) {
      libraries += (libraries.empty() ? "" : ", ") + Named(outcome.name);
    } else if (outcome.result == Result::NotVb6 || outcome.result == Result::LeftAside) {
      std::string& names =
          (outcome.result == Result::NotVb6 ? others : leftAside)[ReasonText(outcome)];
      names += (names.empty() ? "" : ", ") + Named(outcome.name);
    }
  }
  if (!libraries.empty()) {
    text += Wrap("Bibliothèque de langue VB6 (français), non modifiée : " + libraries, "  ");
  }
  if (!others.empty()) text += "Fichiers non VB6 :\n";
  for (const auto& [reason, names] : others) text += Wrap("  " + reason + " : " + names, "    ");
  if (!leftAside.empty()) text += "Laissés de côté, car ce ne sont pas des fichiers ordinaires :\n";
  for (const auto& [reason, names] : leftAside) text += Wrap("  " + reason + " : " + names, "    ");

  // Each language library once a folder: the files of a folder share where it is looked
  // for, and what is found.
  std::set<std::string> said;
  for (const FileOutcome& outcome : outcomes) {
    for (const LibraryPresence& library : outcome.libraries) {
      std::string key = library.name + '\n' + library.folder;
      for (const FileSystem::Folder& folder : library.searched) key += '\n' + folder.path;
      if (said.insert(key).second) text += DescribeLibrary(library);
    }
  }

  // The failures scrolled away above: named again by the summary, a few of them.
  constexpr std::size_t kNamed = 5;
  std::string failed;
  std::size_t failures = 0;
  for (const FileOutcome& outcome : outcomes) {
    if (outcome.result != Result::Failed) continue;
    if (++failures <= kNamed) failed += (failed.empty() ? "" : ", ") + Named(outcome.name);
  }
  if (failures > kNamed) failed += " et " + Count(failures - kNamed, "autre", "autres");
  const RunCounts counts = CountsOf(outcomes);
  if (failures > 0) text += Wrap("En échec : " + failed + ".", "  ");
  text += SummaryWords(counts, mode) + "\n";
  if (mode == Mode::View) {
    for (const auto& [effect, files] : counts.effects) {
      text += Wrap("  " + std::to_string(files) + " : " + effect, "    ");
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
  const WayBack wayBack = WayBackOf(outcome, style);
  return wayBack.command && wayBack.caveat.empty();
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
      if (!wayBack.caveat.empty()) {
        line.Text(contract::kWayBackCaveat, Unmarked(wayBack.caveat))
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
  return Wrap("Pour modifier « " + Named(meant.target) +
                  " », mettez son chemin entre guillemets (\"" + Named(meant.target) + "\" " +
                  meant.settings + "), ou écrivez :",
              "  ") +
         "  " + tool + " --set " + meant.settings + " \"" + meant.target + "\"\n";
}

std::string UndoLines(const ConsoleWords& tool, const ConsoleWords& journal, Shell shell) {
  if (shell == Shell::Posix) {
    return "Pour annuler ces modifications : " + tool.shell + " --undo " + journal.shell + "\n";
  }
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
    return "Pour annuler ces modifications (cmd ou PowerShell) : " + *toolWord + " --undo " +
           *journalWord + "\n";
  }
  const std::string command = tool.shell + " --undo " + journal.shell;
  return "Pour annuler ces modifications : " + command + "\n  (depuis PowerShell : & " +
         tool.powerShell + " --undo " + journal.powerShell + ")\n";
}

std::string MarkKeptElsewhere(const std::string& undone, const std::string& own) {
  return Wrap("Le journal « " + Named(undone) +
                  " » ne peut pas être écrit : l'annulation est inscrite dans le journal de cette "
                  "annulation, « " +
                  Named(own) + " ».",
              "  ");
}

std::string JournalState(const JournalContents& contents) {
  std::string text;
  if (contents.cutRecords > 0) {
    text += Wrap(Count(contents.cutRecords, "enregistrement coupé", "enregistrements coupés") +
                     " (exécution interrompue ou disque plein), ignoré" +
                     (contents.cutRecords > 1 ? "s" : "") +
                     (contents.version == 1
                          ? " : un fichier que ce journal ne rétablit pas a son retour dans le "
                            "rapport de cette exécution."
                          : " : la modification qu'il annonçait n'a pas été faite."),
                 "  ");
  }
  // An end says only what became of a change: each file is judged as it is now.
  if (contents.cutEnds > 0) {
    text += Wrap(contents.cutEnds > 1
                     ? std::to_string(contents.cutEnds) +
                           " fins de modification coupées (exécution interrompue ou disque "
                           "plein), ignorées : chaque fichier est vérifié tel qu'il est."
                     : "1 fin de modification coupée (exécution interrompue ou disque plein), "
                       "ignorée : le fichier est vérifié tel qu'il est.",
                 "  ");
  }
  for (const std::string& by : contents.undoneBy) {
    text += Wrap("Ce journal a déjà été annulé" +
                     (by.empty() ? "" : " (journal de l'annulation : " + Named(by) + ")") + ".",
                 "  ");
  }
  return text;
}

std::string NothingToUndo() {
  return "Rien à annuler : ce journal n'inscrit aucune modification restée en place.\n";
}

}  // namespace tressol
