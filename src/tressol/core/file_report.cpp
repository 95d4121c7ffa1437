#include "file_report.h"

#include <map>
#include <set>

#include "json_line.h"
#include "report.h"
#include "shown_text.h"
#include "way_back.h"

namespace tressol {
namespace {

// "messages en français, sinon en anglais" without its first word, after an arrow.
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

const char kTooLong[] =
    "son chemin complet est trop long pour que le système le rouvre : rien ne pourra le rétablir";

WayBack WayBackOf(const FileOutcome& outcome, const WayBackStyle& style) {
  WayBack wayBack;
  if (outcome.result != Result::Changed) return wayBack;
  if (outcome.caveat == WayBackCaveat::PathTooLong) {
    wayBack.caveat = kTooLong;
    return wayBack;
  }
  // The journal gives back the very bytes from before, whatever they were.
  if (!outcome.journal.empty()) {
    wayBack.command = UndoCommand(outcome.journal, style);
    return wayBack;
  }
  if (outcome.caveat == WayBackCaveat::BytesAfterLibraryName) {
    wayBack.caveat =
        "un nom de bibliothèque d'avant est suivi d'octets que la commande remet à zéro";
  } else if (outcome.caveat == WayBackCaveat::WrongChecksum) {
    wayBack.caveat = "la somme de contrôle PE d'avant, " + Hex(outcome.checksum->stored) +
                     ", n'était pas celle du fichier ; la commande écrit la bonne";
  }
  wayBack.command = WayBackCommand(style.shell, style.toolPath, *outcome.Before(),
                                   outcome.absolutePath, wayBack.caveat);
  return wayBack;
}

// How a file's settings differ from those a check expects, field by field.
std::string Differences(const FileOutcome& outcome) {
  const LanguageSettings& has = outcome.settings;
  const LanguageSettings& wanted = *outcome.expected;
  std::string text;
  const auto add = [&text](const std::string& what, const std::string& found,
                           const std::string& expected) {
    text += (text.empty() ? "" : ", ") + what + " " + found + " au lieu de " + expected;
  };
  const auto name = [](const std::string& library) { return "« " + library + " »"; };
  if (has.primaryLibrary != wanted.primaryLibrary) {
    add("bibliothèque principale", name(has.primaryLibrary), name(wanted.primaryLibrary));
  }
  if (has.primaryLcid != wanted.primaryLcid) {
    add("langue principale", Hex(has.primaryLcid), Hex(wanted.primaryLcid));
  }
  if (has.secondaryLibrary != wanted.secondaryLibrary) {
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
      return std::string(outcome.undoing ? "déjà dans son état d'avant, " : "déjà réglé, ") +
             PlainEffect(outcome.settings);
    case Result::Matches:
      return "conforme, " + PlainEffect(outcome.settings);
    case Result::Differs:
      return "diffère : " + Differences(outcome);
    case Result::NotVb6:
      return "n'est pas un fichier VB6 : " + outcome.reason;
    case Result::LeftAside:
      return "laissé de côté : " + outcome.reason;
    case Result::Pending:
    case Result::Failed:
    case Result::Busy:
      break;
  }
  return "en échec, " + outcome.reason;
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
      "  En-tête de projet VB : position " + Hex(header.offset) + " (" + by + ")\n" +
      "  Moteur d'exécution VB6 avec lequel il a été compilé : version " +
      std::to_string(header.runtimeBuild) + " (pas celui installé ici)\n";
  if (outcome.checksum)
    text += "  Somme de contrôle PE : " + ChecksumWords(*outcome.checksum) + "\n";
  if (outcome.signature == Signature::Present) text += "  Signature Authenticode : présente\n";
  if (outcome.signature == Signature::OutsideFile) {
    text +=
        "  Signature Authenticode : sa table de certificats sort du fichier (image mal formée, "
        "jamais modifiée)\n";
  }
  return text;
}

std::string SignatureWarning(const FileOutcome& outcome, const WayBack& wayBack) {
  if (outcome.result != Result::Changed || outcome.signature == Signature::None) return {};
  return Wrap(std::string("Attention : la signature Authenticode du fichier n'est plus valide") +
                  (wayBack.caveat.empty() ? " ; le retour aux réglages d'avant la rend de nouveau "
                                            "valide."
                                          : "."),
              "  ");
}

// The command names the file; where it cannot be exact, the file is named with why.
std::string WayBackLines(const FileOutcome& outcome, const WayBack& wayBack,
                         const std::string& intro) {
  if (outcome.result != Result::Changed) return {};
  if (!wayBack.command) {
    const std::string why =
        " : aucune commande ne peut rétablir exactement les réglages d'avant : ";
    return Wrap("  " + outcome.name + why + wayBack.caveat + ".", "    ");
  }
  std::string text = intro + *wayBack.command + "\n";
  if (!wayBack.caveat.empty()) {
    const std::string why = " : ce retour ne rend pas le fichier identique octet pour octet : ";
    text += Wrap("    " + outcome.name + why + wayBack.caveat + ".", "    ");
  }
  return text;
}

}  // namespace

// The answer comes last, where the eye lands in a console that shows its last rows: the
// details, the library and the way back above it.
std::string SingleFileReport(const FileOutcome& outcome, const WayBackStyle& style) {
  const std::string name = linguarde::Visible(FileName(outcome.path));
  const WayBack wayBack = WayBackOf(outcome, style);
  std::string text;
  std::string answer;
  switch (outcome.result) {
    case Result::Changed:
      text = "Réglages de langue avant la modification :\n" + DescribeSettings(*outcome.Before()) +
             "Réglages de langue après la modification :\n" + DescribeSettings(outcome.settings);
      answer = Wrap(name + " : modifié. Avant : " + PlainEffect(*outcome.Before()) +
                        ". Après : " + PlainEffect(outcome.settings) + ".",
                    "  ");
      break;
    case Result::Matches:
      return name + " : " + PlainWords(outcome) + ".\n";
    case Result::Differs:
      return Wrap(name + " : diffère : " + Differences(outcome) +
                      ". Il a : " + PlainEffect(outcome.settings) +
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
      answer = name + " : " + PlainWords(outcome) + ".\n";
  }
  text += Details(outcome) + SignatureWarning(outcome, wayBack);
  for (const LibraryPresence& library : outcome.libraries) {
    text += DescribeLibrary(library, outcome.settings);
  }
  if (outcome.result == Result::Changed && WayBackBesideIt(outcome)) {
    text += "Pour revenir aux réglages d'avant :\n" + WayBackLines(outcome, wayBack, "  ");
  }
  return text + answer;
}

std::string SingleFileFailure(const FileOutcome& outcome, bool set) {
  std::string text = Wrap("Tressol : « " + linguarde::Visible(outcome.path) + " » " +
                              (outcome.result == Result::NotVb6 ? "n'est pas un fichier VB6 : "
                               : set                            ? "ne peut pas être modifié : "
                                                                : "ne peut pas être lu : ") +
                              outcome.reason + ".",
                          "  ");
  if (set && outcome.failure == Failure::Refused) text += "Le fichier n'a pas été modifié.\n";
  return text;
}

std::string FileLine(const FileOutcome& outcome, const WayBackStyle& style) {
  const std::string& name = outcome.name;
  switch (outcome.result) {
    case Result::Shown:
      return name + " : " + PlainEffect(outcome.settings) + ".\n";
    case Result::Changed:
      return name + " : " + PlainWords(outcome) +
             (outcome.signature != Signature::None ? " ; sa signature n'est plus valide" : "") +
             (outcome.wrongChecksumRestored
                  ? " ; sa somme de contrôle PE d'avant, qui était fausse, est remise telle quelle"
                  : "") +
             ".\n" +
             (WayBackBesideIt(outcome)
                  ? WayBackLines(outcome, WayBackOf(outcome, style), "  Pour revenir : ")
                  : "");
    case Result::AlreadySet:
      return name + " : " + PlainWords(outcome) +
             (outcome.ChecksumRepaired() ? " ; somme de contrôle PE fausse, corrigée" : "") + ".\n";
    case Result::Differs:
    case Result::Failed:
    case Result::Busy:
      return Wrap(name + " : " + PlainWords(outcome) + ".", "  ");
    case Result::Pending:
    case Result::Matches:
    case Result::NotVb6:
    case Result::LeftAside:
      break;
  }
  return {};
}

std::string FolderEnd(const std::vector<FileOutcome>& outcomes, Mode mode) {
  std::string text;
  // The other entries, their names grouped by reason.
  std::map<std::string, std::string> others;
  std::map<std::string, std::string> leftAside;
  std::map<Result, std::size_t> counts;
  std::map<std::string, std::size_t> effects;
  std::string libraries;
  for (const FileOutcome& outcome : outcomes) {
    ++counts[outcome.result];
    // The French library of the runtime, shipped beside the program: named for what it is.
    if (outcome.result == Result::NotVb6 && IsFrenchLibrary(FileName(outcome.name))) {
      libraries += (libraries.empty() ? "" : ", ") + outcome.name;
    } else if (outcome.result == Result::NotVb6 || outcome.result == Result::LeftAside) {
      std::string& names = (outcome.result == Result::NotVb6 ? others : leftAside)[outcome.reason];
      names += (names.empty() ? "" : ", ") + outcome.name;
    } else if (outcome.result == Result::Shown) {
      ++effects[PlainEffect(outcome.settings)];
    }
  }
  if (!libraries.empty()) {
    text +=
        Wrap("Bibliothèque de langue VB6 (français), laissée telle quelle : " + libraries, "  ");
  }
  if (!others.empty()) text += "Non VB6, laissés tels quels :\n";
  for (const auto& [reason, names] : others) text += Wrap("  " + reason + " : " + names, "    ");
  if (!leftAside.empty()) text += "Laissés de côté, car ce ne sont pas des fichiers ordinaires :\n";
  for (const auto& [reason, names] : leftAside) text += Wrap("  " + reason + " : " + names, "    ");

  // Each language library once: the files of a folder share where it is looked for.
  std::set<std::string> said;
  for (const FileOutcome& outcome : outcomes) {
    for (const LibraryPresence& library : outcome.libraries) {
      if (said.insert(library.name).second) text += DescribeLibrary(library, outcome.settings);
    }
  }

  const auto count = [&counts](Result result) { return counts[result]; };
  const std::string aside =
      count(Result::LeftAside) > 0
          ? ", " + std::to_string(count(Result::LeftAside)) + " laissés de côté"
          : "";
  if (mode == Mode::Check) {
    text += "Résumé : " + Count(count(Result::Matches), "conforme", "conformes") + ", " +
            Count(count(Result::Differs), "différent", "différents") + ", " +
            std::to_string(count(Result::NotVb6)) + " non VB6" + aside + ", " +
            std::to_string(count(Result::Failed)) + " en échec.\n";
  } else if (mode == Mode::Undo) {
    text += "Résumé : " + Count(count(Result::Changed), "fichier rétabli", "fichiers rétablis") +
            ", " + std::to_string(count(Result::AlreadySet)) + " déjà dans leur état d'avant, " +
            std::to_string(count(Result::Failed)) + " en échec.\n";
  } else if (mode == Mode::Set) {
    text += "Résumé : " + Count(count(Result::Changed), "fichier modifié", "fichiers modifiés") +
            ", " + Count(count(Result::AlreadySet), "déjà réglé", "déjà réglés") + ", " +
            std::to_string(count(Result::NotVb6)) + " non VB6" + aside + ", " +
            std::to_string(count(Result::Failed)) + " en échec.\n";
  } else {
    text += "Résumé : " + Count(count(Result::Shown), "fichier VB6", "fichiers VB6") + ", " +
            std::to_string(count(Result::NotVb6)) + " non VB6" + aside + ", " +
            std::to_string(count(Result::Failed)) + " en échec.\n";
    for (const auto& [effect, files] : effects) {
      text += "  " + std::to_string(files) + " : " + effect + "\n";
    }
  }
  return text;
}

namespace {

std::string JsonSettings(const LanguageSettings& s) {
  return "\"primaryLibrary\":" + JsonString(s.primaryLibrary) +
         ",\"primaryLcid\":" + std::to_string(s.primaryLcid) +
         ",\"secondaryLibrary\":" + JsonString(s.secondaryLibrary) +
         ",\"secondaryLcid\":" + std::to_string(s.secondaryLcid);
}

const char* ResultWord(Result result) {
  switch (result) {
    case Result::Shown:
      return "shown";
    case Result::Changed:
      return "changed";
    case Result::AlreadySet:
      return "already-set";
    case Result::Matches:
    case Result::Differs:
      return "checked";
    case Result::NotVb6:
    case Result::LeftAside:
      return "skipped";
    case Result::Pending:
    case Result::Failed:
    case Result::Busy:
      break;
  }
  return "failed";
}

}  // namespace

std::string JsonLine(const FileOutcome& outcome, const WayBackStyle& style) {
  const bool vb6 = outcome.header.has_value();
  // Unknown, where the file could not be read well enough to tell.
  const char* isVb6 = vb6 ? "true" : outcome.result == Result::NotVb6 ? "false" : "null";
  std::string line = "{\"path\":" + JsonString(outcome.path);
  if (!IsUtf8(outcome.path)) line += ",\"pathBytes\":\"" + HexBytes(outcome.path) + "\"";
  line += std::string(",\"vb6\":") + isVb6 + ",\"done\":\"" + ResultWord(outcome.result) + "\"";
  if (!outcome.reason.empty()) line += ",\"reason\":" + JsonString(outcome.reason);
  if (outcome.linkTarget) line += ",\"linkTarget\":" + JsonString(*outcome.linkTarget);
  if (outcome.expected) {
    line += std::string(",\"matches\":") + (outcome.result == Result::Matches ? "true" : "false");
  }
  if (vb6) {
    line += std::string(",\"signed\":") +
            (outcome.signature != Signature::None ? "true" : "false") +
            ",\"headerOffset\":" + std::to_string(outcome.header->offset) +
            ",\"runtimeBuild\":" + std::to_string(outcome.header->runtimeBuild) + "," +
            JsonSettings(outcome.settings);
    if (const std::optional<LanguageSettings> before = outcome.Before()) {
      line += ",\"before\":{" + JsonSettings(*before) + "}" +
              ",\"checksumRepaired\":" + (outcome.ChecksumRepaired() ? "true" : "false");
    }
    if (outcome.result == Result::Changed) {
      const WayBack wayBack = WayBackOf(outcome, style);
      if (!outcome.journal.empty()) {
        line += ",\"wayBackScript\":" + JsonString(outcome.journal);
      }
      line += ",\"wayBack\":" + (wayBack.command ? JsonString(*wayBack.command) : "null") +
              ",\"wayBackExact\":" + (wayBack.command && wayBack.caveat.empty() ? "true" : "false");
      if (!wayBack.caveat.empty()) line += ",\"wayBackCaveat\":" + JsonString(wayBack.caveat);
    }
    line += ",\"libraries\":[";
    for (std::size_t i = 0; i < outcome.libraries.size(); ++i) {
      const LibraryPresence& library = outcome.libraries[i];
      line += std::string(i == 0 ? "" : ",") + "{\"name\":" + JsonString(library.name) +
              ",\"found\":" + (library.found ? "true" : "false");
      if (library.found) line += ",\"folder\":" + JsonString(library.folder);
      line += "}";
    }
    line += "],\"effect\":" + JsonString(PlainEffect(outcome.settings));
  }
  // The report's words for the file, for a reader that shows it in a line of its own.
  line += ",\"words\":" + JsonString(PlainWords(outcome));
  return line + "}\n";
}

std::string MeantChangeHint(const MeantChange& meant, Shell shell, const std::string& toolPath) {
  const std::string tool = CommandWord(toolPath, shell).value_or(toolPath);
  return Wrap(
             "Sans guillemets, toute la ligne désigne un seul fichier à afficher. Pour modifier "
             "« " +
                 meant.target + " », mettez son chemin entre guillemets (\"" + meant.target +
                 "\" " + meant.settings + "), ou écrivez :",
             "") +
         "  " + tool + " --set " + meant.settings + " \"" + meant.target + "\"\n";
}

std::string UndoLines(const ConsoleWords& tool, const ConsoleWords& journal, Shell shell) {
  const std::string command = tool.shell + " --undo " + journal.shell;
  if (shell == Shell::Posix) return "Pour annuler ces modifications : " + command + "\n";
  return "Pour annuler ces modifications : " + command + "\n  (depuis PowerShell : & " +
         tool.powerShell + " --undo " + journal.powerShell + ")\n";
}

std::string JournalWarning(const std::string& why) {
  return Wrap("Attention : le journal des modifications ne peut pas être écrit (" + why +
                  "). La commande de retour de chaque fichier est donnée après lui ; si "
                  "l'exécution est interrompue, une modification peut rester sans retour.",
              "  ");
}

std::string JournalState(const JournalContents& contents) {
  std::string text;
  if (contents.cutRecords > 0) {
    text += Wrap(Count(contents.cutRecords, "enregistrement coupé", "enregistrements coupés") +
                     " (exécution interrompue ou disque plein), ignoré" +
                     (contents.cutRecords > 1 ? "s" : "") +
                     " : un fichier que ce journal ne rétablit pas a son retour dans le rapport "
                     "de cette exécution.",
                 "  ");
  }
  for (const std::string& by : contents.undoneBy) {
    text += Wrap("Ce journal a déjà été annulé" +
                     (by.empty() ? "" : " (journal de l'annulation : " + by + ")") + ".",
                 "  ");
  }
  return text;
}

std::string NothingToUndo() {
  return "Rien à annuler : ce journal n'inscrit aucune modification restée en place.\n";
}

}  // namespace tressol
