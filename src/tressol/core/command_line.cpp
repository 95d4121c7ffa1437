#include "command_line.h"

#include <algorithm>
#include <optional>

#include "argument_words.h"
#include "report.h"
#include "tool_error.h"

namespace tressol {
namespace {

std::optional<std::string> Library(const std::string& word) {
  return IsLibraryArgument(word) ? std::optional<std::string>(word) : std::nullopt;
}

std::optional<std::uint32_t> Lcid(const std::string& word) {
  if (word.size() < 3 || word.size() > 10 || word[0] != '0' || (word[1] != 'x' && word[1] != 'X')) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (std::size_t i = 2; i < word.size(); ++i) {
    const char c = word[i];
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

bool LooksLikeLcid(const std::string& word) { return Lcid(word).has_value(); }

std::optional<std::uint32_t> ValidLcid(const std::string& word) {
  const auto lcid = Lcid(word);
  if (!lcid || !IsLcidArgument(*lcid)) return std::nullopt;
  return lcid;
}

const char* ProgramName(Shell shell) { return shell == Shell::Cmd ? "Tressol.exe" : "tressol"; }

// The mistake, then how to see the usage: the usage itself would push the mistake out of
// sight.
[[noreturn]] void UsageError(const std::string& why, Shell shell) {
  throw ToolError(Failure::Usage,
                  Wrap(why, "  ") + "Pour l'utilisation : " + ProgramName(shell) + " --help\n");
}
const char* HereFolder(Shell shell) { return shell == Shell::Cmd ? ".\\" : "./"; }

using linguarde::arguments::ReadArgument;
using linguarde::arguments::SkipBlanks;

std::optional<LanguageSettings> Settings(const std::string* words) {
  const auto lib1 = Library(words[0]);
  const auto lcid1 = ValidLcid(words[1]);
  const auto lib2 = Library(words[2]);
  const auto lcid2 = ValidLcid(words[3]);
  if (!lib1 || !lcid1 || !lib2 || !lcid2) return std::nullopt;
  return LanguageSettings{*lib1, *lcid1, *lib2, *lcid2};
}

// Names the value that is wrong and its rule.
[[noreturn]] void InvalidSettings(const std::string* words, Shell shell) {
  std::string why = "Les réglages « " + words[0] + " " + words[1] + " " + words[2] + " " +
                    words[3] + " » ne sont pas valides : ";
  for (const std::size_t i : {0, 2}) {
    if (Library(words[i])) continue;
    why += "« " + words[i] +
           " » n'est pas un nom de bibliothèque : * , ~ ou un nom de fichier de 1 à 13 "
           "caractères, sans chemin, sans < > : \" / \\ | ? * et qui n'est pas un nom réservé "
           "(CON, NUL…).";
    if (words[i].find_first_of("\\/:") != std::string::npos) {
      why +=
          " PowerShell remplace un ~ sans apostrophes par votre dossier personnel : écrivez "
          "'~' et '*'.";
    }
    UsageError(why, shell);
  }
  for (const std::size_t i : {1, 3}) {
    if (ValidLcid(words[i])) continue;
    UsageError(why + "« " + words[i] +
                   " » n'est pas un LCID : 0x suivi de chiffres hexadécimaux, de 0x0 à 0xFFFFF.",
               shell);
  }
  UsageError(why, shell);
}

// The settings that follow --set or --check, at i.
LanguageSettings SettingsOption(const std::string& option, std::string_view tail, std::size_t& i,
                                Shell shell) {
  std::string words[4];
  for (std::string& word : words) {
    i = SkipBlanks(tail, i);
    if (i >= tail.size()) {
      UsageError(option + " attend quatre valeurs, BIB1 LCID1 BIB2 LCID2, puis la cible.", shell);
    }
    word = ReadArgument(tail, i);
  }
  const auto settings = Settings(words);
  if (!settings) InvalidSettings(words, shell);
  return *settings;
}

// A target of a set that reads as a setting or an option is a mistake in the line, such as
// a fifth value or an option after the targets: the run stops before anything is written.
void CheckSetTargets(const std::vector<std::string>& targets, bool optionsToo, Shell shell) {
  for (const std::string& target : targets) {
    if (LooksLikeLcid(target)) {
      UsageError(
          "« " + target +
              " » est donné comme fichier, mais a la forme d'un LCID : --set et --check prennent "
              "exactement quatre réglages. Rien n'a été modifié. Pour un fichier de ce nom, "
              "écrivez " +
              HereFolder(shell) + target + ".",
          shell);
    }
    if (optionsToo && target.size() > 1 && target[0] == '-') {
      UsageError("« " + target +
                     " » est donné comme fichier, mais a la forme d'une option : les options se "
                     "placent avant les cibles. Rien n'a été modifié. Pour un fichier de ce nom, "
                     "écrivez " +
                     HereFolder(shell) + target + ".",
                 shell);
    }
  }
}

// A bare tail that ends with four settings was meant as a change.
std::optional<MeantChange> ChangeMeant(const std::vector<std::string>& words) {
  const std::size_t n = words.size();
  if (n < 5 || !Settings(&words[n - 4])) return std::nullopt;
  MeantChange meant{words[0],
                    words[n - 4] + " " + words[n - 3] + " " + words[n - 2] + " " + words[n - 1]};
  for (std::size_t i = 1; i < n - 4; ++i) meant.target += " " + words[i];
  return meant;
}

}  // namespace

std::vector<std::string> SplitArguments(const std::string& tail) {
  return linguarde::arguments::SplitArguments(std::string_view(tail));
}

bool AsksForJson(const std::string& tail) {
  for (const std::string& word : SplitArguments(tail)) {
    if (word == "--") return false;
    if (word == "--json") return true;
  }
  return false;
}

Command ParseCommandLine(const std::string& line, Shell shell) {
  const std::string_view tail(line);
  Command command;
  // Options only at the start: a target that merely contains "--set" stays a target.
  std::size_t at = SkipBlanks(tail, 0);
  bool optionsEnded = false;  // by "--", after which a dash starts a name
  while (at < tail.size()) {
    std::size_t next = at;
    const std::string word = ReadArgument(tail, next);
    if (word.empty() || word[0] != '-') break;
    at = SkipBlanks(tail, next);
    optionsEnded = word == "--";
    if (optionsEnded) break;
    if (word == "--help" || word == "-h") {
      command.help = true;
      return command;
    }
    if (word == "--version") {
      command.version = true;
      return command;
    }
    if (word == "--json") {
      command.json = true;
    } else if (word == "--recurse") {
      command.recurse = true;
    } else if (word == "--local-only") {
      command.localOnly = true;
    } else if (word == "--undo") {
      const std::string journal = at < tail.size() ? ReadArgument(tail, at) : std::string();
      if (journal.empty()) {
        UsageError("--undo attend le chemin du journal que le rapport d'une modification donne.",
                   shell);
      }
      command.undo = journal;
      at = SkipBlanks(tail, at);
    } else if (word == "--set" || word == "--check") {
      if (command.settings || command.expected) {
        UsageError("Une seule des options --set et --check est donnée, une seule fois.", shell);
      }
      (word == "--set" ? command.settings : command.expected) =
          SettingsOption(word, tail, at, shell);
      at = SkipBlanks(tail, at);
    } else {
      const std::string why =
          " » n'existe pas. Pour une cible dont le nom commence par un "
          "tiret, écrivez ";
      UsageError("L'option « " + word + why + HereFolder(shell) + word + " ou son chemin complet.",
                 shell);
    }
  }
  const std::string rest(tail.substr(at));
  if (command.undo) {
    if (!rest.empty() || command.settings || command.expected || command.recurse) {
      UsageError("--undo prend un journal seul, sans fichier, réglages ni --recurse.", shell);
    }
    return command;
  }
  const std::vector<std::string> words = SplitArguments(rest);
  // The help as Windows programs give it.
  if (shell == Shell::Cmd && words.size() == 1 && words[0] == "/?") {
    command.help = true;
    return command;
  }
  // An empty box in Linguarde gives an empty line, or "" for a change.
  if (words.empty() || std::find(words.begin(), words.end(), "") != words.end()) {
    UsageError(
        "Aucun fichier n'est donné. Dans Linguarde, choisissez-le avec « Choisir le fichier » "
        "ou tapez son chemin dans la zone de texte ; en ligne de commande, donnez son chemin.",
        shell);
  }
  if (command.settings || command.expected) {
    CheckSetTargets(words, !optionsEnded, shell);
    command.targets = words;
    return command;
  }
  // A view passes its target bare: an unquoted tail is one target, whole, even where its
  // last words look like settings, so that a view never writes.
  if (rest[0] != '"') {
    const std::size_t last = rest.find_last_not_of(" \t");
    command.targets = {rest.substr(0, last + 1)};
    command.meant = ChangeMeant(words);
    return command;
  }
  const std::size_t n = words.size();
  if (n >= 5) {
    if (const auto settings = Settings(&words[n - 4])) {
      command.targets.assign(words.begin(), words.end() - 4);
      CheckSetTargets(command.targets, true, shell);
      command.settings = settings;
      return command;
    }
    // Settings shaped as such but malformed are a mistake, not file names.
    if (Lcid(words[n - 3]) || Lcid(words[n - 1]) || words[n - 4] == "*" || words[n - 4] == "~") {
      InvalidSettings(&words[n - 4], shell);
    }
  }
  command.targets = words;
  return command;
}

namespace {

constexpr char kUsageCmd[] =
    "Utilisation :\n"
    "  Tressol.exe [--json] CIBLE\n"
    "      affiche la langue des messages VB de la cible ;\n"
    "  Tressol.exe [--json] --set BIB1 LCID1 BIB2 LCID2 [--] CIBLE [CIBLE...]\n"
    "      la modifie ; les cibles sont entre guillemets ou non, comme les passent cmd,\n"
    "      PowerShell ou un script (depuis PowerShell, écrivez '*' et '~' entre apostrophes,\n"
    "      et ne terminez pas un dossier entre guillemets par \\ dans Windows PowerShell 5.1) ;\n"
    "  Tressol.exe [--json] \"CIBLE\" [\"CIBLE\"...] BIB1 LCID1 BIB2 LCID2\n"
    "      la modifie aussi, les cibles entre guillemets : sans guillemets, toute la ligne\n"
    "      désigne une seule cible à afficher, et rien n'est modifié.\n"
    "  Tressol.exe [--json] --check BIB1 LCID1 BIB2 LCID2 [--] CIBLE [CIBLE...]\n"
    "      vérifie, sans rien écrire, que chaque fichier VB6 a ces réglages.\n"
    "  Tressol.exe [--json] --undo JOURNAL\n"
    "      annule les modifications qu'une exécution a inscrites dans son journal.\n"
    "  CIBLE : un fichier, un dossier (ses fichiers .exe, .dll et .ocx ; avec --recurse,\n"
    "      ceux de ses sous-dossiers aussi) ou un motif (* et ? dans le dernier élément, par\n"
    "      exemple C:\\MonAppli\\*.ocx ; avec --recurse, dans chaque sous-dossier) ; chaque\n"
    "      fichier est traité seul, tout ou rien. Une cible dont le nom commence par un tiret\n"
    "      s'écrit .\\-nom.exe.\n";

constexpr char kUsagePosix[] =
    "Utilisation :\n"
    "  tressol [--json] CIBLE\n"
    "      affiche la langue des messages VB de la cible ;\n"
    "  tressol [--json] --set BIB1 LCID1 BIB2 LCID2 [--] CIBLE [CIBLE...]\n"
    "      la modifie ; écrivez '*' et '~' entre apostrophes, que le shell laisse tels quels ;\n"
    "  tressol [--json] CIBLE [CIBLE...] BIB1 LCID1 BIB2 LCID2\n"
    "      la modifie aussi.\n"
    "  tressol [--json] --check BIB1 LCID1 BIB2 LCID2 [--] CIBLE [CIBLE...]\n"
    "      vérifie, sans rien écrire, que chaque fichier VB6 a ces réglages.\n"
    "  tressol [--json] --undo JOURNAL\n"
    "      annule les modifications qu'une exécution a inscrites dans son journal.\n"
    "  CIBLE : un fichier ou un dossier (ses fichiers .exe, .dll et .ocx ; avec --recurse,\n"
    "      ceux de ses sous-dossiers aussi) ; le shell développe les motifs. Chaque fichier\n"
    "      est traité seul, tout ou rien. Une cible dont le nom commence par un tiret\n"
    "      s'écrit ./-nom.exe.\n";

constexpr char kUsageBoth[] =
    "  BIB : * (messages en anglais du moteur), ~ (aucune bibliothèque) ou le nom d'une\n"
    "      bibliothèque de langue (1 à 13 caractères, sans chemin, par exemple vb6FR.dll) ;\n"
    "      LCID : un nombre hexadécimal de 0x0 à 0xFFFFF, par exemple 0x409 (anglais)\n"
    "      ou 0x40C (français).\n"
    "  --json : une ligne JSON par fichier (chemin, fichier VB6 ou non, signé ou non,\n"
    "      position de l'en-tête, bibliothèques et langues, celles d'avant pour une\n"
    "      modification, ce qui a été fait, présence de la bibliothèque) au lieu du rapport.\n"
    "  --recurse : un dossier avec tous ses sous-dossiers, sans suivre les liens.\n"
    "  --local-only : un fichier qui n'est que dans le nuage (OneDrive…) est laissé de côté,\n"
    "      sans être téléchargé.\n"
    "  --help, -h : cette aide ; --version : la version de l'outil.\n"
    "  --check compare les noms de bibliothèque sans distinction de casse, comme Windows\n"
    "      cherche les fichiers.\n"
    "  Chaque exécution qui modifie des fichiers inscrit chaque modification dans un journal\n"
    "  avant de la faire ; la dernière ligne du rapport donne la commande --undo qui l'annule.\n"
    "  Le journal est dans %LOCALAPPDATA%\\Tressol\\Retours (sous Linux ~/.local/state/tressol),\n"
    "  ou au chemin que donne la variable d'environnement TRESSOL_JOURNAL.\n"
    "Codes de sortie : 0 fait, 2 utilisation, 3 en échec (non VB6, en lecture seule, ouvert\n"
    "ailleurs ou illisible), 4 erreur d'entrée-sortie, 5 réglages différents (--check) ;\n"
    "pour plusieurs fichiers, 0 seulement si aucun n'est en échec ni différent, et un échec\n"
    "l'emporte sur une différence.\n";

}  // namespace

std::string Usage(Shell shell) {
  return std::string(shell == Shell::Cmd ? kUsageCmd : kUsagePosix) + kUsageBoth;
}

}  // namespace tressol
