#include "command_line.h"

#include <gtest/gtest.h>

#include <cstring>

#include "argument_words.h"
#include "report.h"
#include "tool_error.h"
#include "unicode_text.h"

namespace tressol {
namespace {

TEST(SplitArguments, FollowsTheWindowsRules) {
  struct Case {
    const char* tail;
    std::vector<std::string> words;
  };
  const Case cases[] = {
      {"", {}},
      {"  a  b\t c ", {"a", "b", "c"}},
      {"\"C:\\Mes Projets\\a.exe\" *", {"C:\\Mes Projets\\a.exe", "*"}},
      {"\"\" x", {"", "x"}},
      {"a\\\\\"b c\"", {"a\\b c"}},
      {"a\\\"b", {"a\"b"}},
      {"C:\\dossier\\", {"C:\\dossier\\"}},
      {"\"  espaces  \"", {"  espaces  "}},
      {"\"C:\\dossier\\\\\" \"a\\\\\\\"b\"", {"C:\\dossier\\", "a\\\"b"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitArguments(c.tail), c.words) << c.tail;
    // Each word, quoted back, reads as itself.
    for (const std::string& word : c.words) {
      const std::string quoted = linguarde::arguments::QuotedArgument(std::string_view(word));
      EXPECT_EQ(SplitArguments(quoted + " " + quoted), (std::vector<std::string>{word, word}))
          << quoted;
    }
  }
}

// The program's name as the C runtime reads it: quoted parts anywhere, no escapes.
TEST(CommandTail, EndsTheProgramsNameAtTheFirstBlankOutsideQuotes) {
  struct Case {
    std::string_view line, tail;
  };
  const Case cases[] = {
      {"Tressol.exe --set x", " --set x"},
      {"\"C:\\Mes Outils\\Tressol.exe\" a", " a"},
      {"\"C:\\Mes Outils\"\\Tressol.exe --set * 0x409 ~ 0x0 a.exe", " --set * 0x409 ~ 0x0 a.exe"},
      {"C:\\Outils\\Tressol.exe", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(linguarde::arguments::CommandTail(c.line), c.tail) << c.line;
  }
}

TEST(ParseCommandLine, SetsWithFourValidSettingsAndViewsAnythingElse) {
  struct Case {
    const char* tail;
    bool set;
    std::vector<std::string> targets;
    LanguageSettings settings;
    bool json = false;
  };
  const Case cases[] = {
      {" C:\\Projets\\Appli.exe", false, {"C:\\Projets\\Appli.exe"}, {}},
      // The view action passes its target bare: the whole tail is the path.
      {" C:\\Mes Projets\\Appli 2.exe  ", false, {"C:\\Mes Projets\\Appli 2.exe"}, {}},
      {" C:\\a b c d e.exe", false, {"C:\\a b c d e.exe"}, {}},
      {" \"C:\\Mes Projets\\Appli.exe\"", false, {"C:\\Mes Projets\\Appli.exe"}, {}},
      // Bare, a target whose last words look like settings is still only a view.
      {" C:\\Outils\\demo a 0x1 b 0x2", false, {"C:\\Outils\\demo a 0x1 b 0x2"}, {}},
      {" C:\\a.exe * 0x409 ~ 0x0", false, {"C:\\a.exe * 0x409 ~ 0x0"}, {}},
      {" C:\\a.exe * 0x409 ~ 0xZZ", false, {"C:\\a.exe * 0x409 ~ 0xZZ"}, {}},
      {" \"C:\\Dossier\\\\\" * 0x409 ~ 0x0", true, {"C:\\Dossier\\"}, {"*", 0x409, "~", 0}},
      // Quoted, a list of targets (files, folders or patterns); --json before them.
      {" \"C:\\a.exe\" \"C:\\App\\*.ocx\" * 0x409 ~ 0x0",
       true,
       {"C:\\a.exe", "C:\\App\\*.ocx"},
       {"*", 0x409, "~", 0}},
      {" \"C:\\a.exe\" \"C:\\App\"", false, {"C:\\a.exe", "C:\\App"}, {}},
      {" --json C:\\Mes Projets", false, {"C:\\Mes Projets"}, {}, true},
      {" --json \"C:\\App\" vb6FR.dll 0x40C * 0x409",
       true,
       {"C:\\App"},
       {"vb6FR.dll", 0x40C, "*", 0x409},
       true},
      {" \"C:\\a.exe\" * 0x409 ~ 0x0", true, {"C:\\a.exe"}, {"*", 0x409, "~", 0}},
      {" \"C:\\a b.exe\" vb6FR.dll 0x40C * 0x409",
       true,
       {"C:\\a b.exe"},
       {"vb6FR.dll", 0x40C, "*", 0x409}},
      {" \"C:\\a.exe\" vb6FR.dll 0x40c ~ 0X409",
       true,
       {"C:\\a.exe"},
       {"vb6FR.dll", 0x40C, "~", 0x409}},
      {" \"C:\\a.exe\" ABCDEFGHI.DLL 0xFFFFF ~ 0x00000000",
       true,
       {"C:\\a.exe"},
       {"ABCDEFGHI.DLL", 0xFFFFF, "~", 0}},
      // --set, as PowerShell builds the line from '*' and 'C:\Program Files\App\App.exe'.
      {" --set vb6FR.dll 0x40C * 0x409 \"C:\\Program Files\\App\\App.exe\"",
       true,
       {"C:\\Program Files\\App\\App.exe"},
       {"vb6FR.dll", 0x40C, "*", 0x409}},
      {" --set * 0x409 ~ 0x0 C:\\Build\\Appli.exe",
       true,
       {"C:\\Build\\Appli.exe"},
       {"*", 0x409, "~", 0}},
      {" --set * 0x409 ~ 0x0 -- -Appli.exe", true, {"-Appli.exe"}, {"*", 0x409, "~", 0}},
      // PowerShell 7.3 and later double a folder's last backslash before the quote.
      {" --set * 0x409 ~ 0x0 \"C:\\Mes Projets\\\\\"",
       true,
       {"C:\\Mes Projets\\"},
       {"*", 0x409, "~", 0}},
      // Python's subprocess with a list, by list2cmdline.
      {" --json --set vb6FR.dll 0x40C * 0x409 \"C:\\Mes Projets\\a.exe\" C:\\b.exe",
       true,
       {"C:\\Mes Projets\\a.exe", "C:\\b.exe"},
       {"vb6FR.dll", 0x40C, "*", 0x409},
       true},
      // Options only at the start: after a bare target, the words are the target's.
      {" C:\\a.exe --set * 0x409 ~ 0x0", false, {"C:\\a.exe --set * 0x409 ~ 0x0"}, {}},
  };
  for (const Case& c : cases) {
    const Command command = ParseCommandLine(c.tail);
    EXPECT_EQ(command.targets, c.targets) << c.tail;
    EXPECT_EQ(command.settings.has_value(), c.set) << c.tail;
    if (c.set && command.settings) {
      EXPECT_TRUE(*command.settings == c.settings) << c.tail;
    }
    EXPECT_EQ(command.json, c.json) << c.tail;
  }
}

TEST(ParseCommandLine, RefusesMissingTargetsAndMalformedSettings) {
  struct Case {
    const char* tail;
    Mistake mistake;
    std::size_t at;  // the wrong setting
  };
  const Case cases[] = {
      {"", Mistake::NoTarget, 0},
      {"   \t ", Mistake::NoTarget, 0},
      {"\"a.exe\" * 0x409 ~ 0xZZ", Mistake::InvalidSettings, 3},
      {"\"a.exe\" * 409 ~ 0x0", Mistake::InvalidSettings, 1},
      {"\"a.exe\" * 0x123456789 ~ 0x0", Mistake::InvalidSettings, 1},
      {"\"a.exe\" * 0x ~ 0x0", Mistake::InvalidSettings, 1},
      {"\"a.exe\" ABCDEFGHIJKLMN 0x40C ~ 0x0", Mistake::InvalidSettings, 0},
      {"\"a.exe\" ..\\x.dll 0x40C ~ 0x0", Mistake::InvalidSettings, 0},
      {"\"a.exe\" C:x.dll 0x40C ~ 0x0", Mistake::InvalidSettings, 0},
      {"\"a.exe\" \"\" 0x40C ~ 0x0", Mistake::EmptyTarget, 0},
      {"\"\" vb6FR.dll 0x40C * 0x409", Mistake::NoTarget, 0},
      {"\"a.exe\" \"\" vb6FR.dll 0x40C * 0x409", Mistake::EmptyTarget, 0},
      {" --set * 0x409 ~ 0x0 a.exe \"\"", Mistake::EmptyTarget, 0},
      {" --set", Mistake::SettingsMissing, 0},
      {" --set * 0x409 ~", Mistake::SettingsMissing, 0},
      {" --set * 0x409 ~ 0x0", Mistake::NoTarget, 0},
      {" --set * 0x409 ~ 0x0 --", Mistake::NoTarget, 0},
      {" --bogus a.exe", Mistake::UnknownOption, 0},
      {" -a.exe", Mistake::UnknownOption, 0},
      {" --set * 0x409 ~ 0x0 --set * 0x409 ~ 0x0 a.exe", Mistake::SetAndCheck, 0},
      {" --set * 0x409 ~ 0xZZ a.exe", Mistake::InvalidSettings, 3},
      // Names the runtime could never look for, and a locale past 20 bits.
      {"\"a.exe\" <>|.dll 0x40C ~ 0x0", Mistake::InvalidSettings, 0},
      {"\"a.exe\" CON 0x40C ~ 0x0", Mistake::InvalidSettings, 0},
      {"\"a.exe\" \" \" 0x40C ~ 0x0", Mistake::InvalidSettings, 0},
      {"\"a.exe\" * 0xFFFFFFFF ~ 0x0", Mistake::InvalidSettings, 1},
      // A library wrong and a locale wrong: the library is named.
      {"\"a.exe\" * 0xZZ CON 0x0", Mistake::InvalidSettings, 2},
      // A fifth value, or an option after a target: nothing may be written.
      {" --set vb6FR.dll 0x40C * 0x409 0x0 f.exe", Mistake::TargetLooksLikeLcid, 0},
      {"\"f.exe\" --set vb6FR.dll 0x40C * 0x409", Mistake::TargetLooksLikeOption, 0},
      {" --set vb6FR.dll 0x40C * 0x409 f.exe --json", Mistake::TargetLooksLikeOption, 0},
      {" --set * 0x409 ~ 0x0 --check * 0x409 ~ 0x0 a.exe", Mistake::SetAndCheck, 0},
      {" --check * 0x409 ~", Mistake::SettingsMissing, 0},
      {"\"f.exe\" \"0x0\" vb6FR.dll 0x40C * 0x409", Mistake::TargetLooksLikeLcid, 0},
      {" --undo", Mistake::UndoWithoutJournal, 0},
      {" --undo j.txt a.exe", Mistake::UndoWithOthers, 0},
      {" --dry-run a.exe", Mistake::DryRunWithoutUndo, 0},
  };
  for (const Case& c : cases) {
    try {
      ParseCommandLine(c.tail);
      ADD_FAILURE() << "accepted: " << c.tail;
    } catch (const UsageMistake& error) {
      EXPECT_EQ(error.Kind(), Failure::Usage) << c.tail;
      EXPECT_EQ(error.Which(), c.mistake) << c.tail;
      if (c.mistake == Mistake::InvalidSettings) {
        EXPECT_EQ(error.At(), c.at) << c.tail;
      }
    }
  }
}

// Each mistake in the words of the shell the tool runs from, then how to see the usage.
TEST(ReasonOf, WordsEachMistake) {
  const std::vector<std::string> lcid = {"*", "0xZZ", "~", "0x0"};
  const std::vector<std::string> path = {"C:x.dll", "0x40C", "~", "0x0"};
  struct Case {
    UsageMistake mistake;
    std::string words;
  };
  const Case cases[] = {
      {{Mistake::UnknownOption, Shell::Posix, "-a.exe"},
       "L'option « -a.exe » n'existe pas. Pour une cible dont le nom commence par un tiret, "
       "écrivez ./-a.exe ou son chemin complet."},
      {{Mistake::NoTarget, Shell::Cmd},
       "Aucun fichier indiqué : dans Linguarde, choisissez-en un avec « Choisir le fichier » ou "
       "tapez son chemin dans la zone de texte ; en ligne de commande, donnez son chemin."},
#ifndef _WIN32  // the POSIX tool's own words, which Tressol.exe does not carry
      // The Linux tool has no window to speak of.
      {{Mistake::NoTarget, Shell::Posix},
       "Aucun fichier indiqué : donnez le chemin d'un fichier ou d'un dossier."},
#endif
      {{Mistake::EmptyTarget, Shell::Cmd},
       "L'une des cibles est vide (\"\") : donnez son chemin ou retirez-la."},
      {{Mistake::SettingsMissing, Shell::Cmd, "--check"},
       "--check attend quatre valeurs, BIB1 LCID1 BIB2 LCID2, puis la cible."},
      {{Mistake::InvalidSettings, Shell::Cmd, {}, lcid, 1},
       "Les réglages « * 0xZZ ~ 0x0 » ne sont pas valides : « 0xZZ » n'est pas une langue (LCID) : "
       "0x "
       "suivi de chiffres hexadécimaux, de 0x0 à 0xFFFFF."},
      {{Mistake::InvalidSettings, Shell::Cmd, {}, path, 0},
       "Les réglages « C:x.dll 0x40C ~ 0x0 » ne sont pas valides : « C:x.dll » n'est pas un nom "
       "de bibliothèque : *, ~ ou un nom de fichier de 1 à 13 caractères, sans chemin, sans < > "
       ": \" / \\ | ? *, et qui n'est pas un nom réservé (CON, NUL…). PowerShell remplace un ~ "
       "sans apostrophes par votre dossier personnel : écrivez '*' et '~' entre apostrophes."},
#ifndef _WIN32
      // The ~ that a POSIX shell expanded is the shell's doing.
      {{Mistake::InvalidSettings, Shell::Posix, {}, {"/home/moi", "0x40C", "~", "0x0"}, 0},
       "Les réglages « /home/moi 0x40C ~ 0x0 » ne sont pas valides : « /home/moi » n'est pas un "
       "nom de bibliothèque : *, ~ ou un nom de fichier de 1 à 13 caractères, sans chemin, sans "
       "< > : \" / \\ | ? *, et qui n'est pas un nom réservé (CON, NUL…). Votre shell remplace "
       "un ~ sans apostrophes par votre dossier personnel : écrivez '*' et '~' entre "
       "apostrophes."},
#endif
      {{Mistake::SetAndCheck, Shell::Cmd},
       "Donnez une seule des options --set et --check, une seule fois."},
      {{Mistake::UndoWithoutJournal, Shell::Cmd},
       "--undo attend le chemin du journal que le rapport d'une modification donne."},
      {{Mistake::UndoWithOthers, Shell::Cmd},
       "--undo prend un journal seul, sans fichier, sans réglages et sans --recurse."},
      {{Mistake::TargetLooksLikeLcid, Shell::Cmd, "0x0"},
       "« 0x0 » est donné comme fichier, mais a la forme d'une langue (LCID) : --set et --check "
       "prennent "
       "exactement quatre réglages. Rien n'a été modifié. Pour un fichier de ce nom, écrivez "
       ".\\0x0."},
      {{Mistake::TargetLooksLikeOption, Shell::Posix, "--json"},
       "« --json » est donné comme fichier, mais a la forme d'une option : les options se "
       "placent avant les cibles. Rien n'a été modifié. Pour un fichier de ce nom, écrivez "
       "./--json."},
  };
  for (const Case& c : cases) {
    const std::string program = c.mistake.ShellUsed() == Shell::Cmd ? "Tressol.exe" : "tressol";
    EXPECT_EQ(Unmarked(ReasonOf(c.mistake)), c.words + "\nAide : " + program + " --help\n");
  }
  // The help fits a console of 30 rows of 80 columns, the usage first, in the words of the
  // shell that runs the tool.
#ifdef _WIN32
  for (const Shell shell : {Shell::Cmd}) {
#else
  for (const Shell shell : {Shell::Cmd, Shell::Posix}) {
#endif
    const std::string help = Usage(shell);
    std::size_t rows = 0;
    for (std::size_t start = 0; start < help.size();) {
      const std::size_t end = help.find('\n', start);
      const std::size_t length =
          linguarde::unicode::CharacterCount(std::string_view(help).substr(start, end - start));
      rows += length == 0 ? 1 : (length + 79) / 80;
      start = end == std::string::npos ? help.size() : end + 1;
    }
    EXPECT_LE(rows, 30u) << help;
    const std::size_t second = help.find('\n') + 1;
    EXPECT_EQ(help.compare(second, 3 + std::strlen(ProgramName(shell)),
                           "  " + std::string(ProgramName(shell)) + " "),
              0)
        << help;
  }
}

}  // namespace
}  // namespace tressol
