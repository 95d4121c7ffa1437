#include "command_line.h"

#include <gtest/gtest.h>

#include "argument_words.h"
#include "tool_error.h"

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
  for (const char* tail :
       {"", "   \t ", "\"a.exe\" * 0x409 ~ 0xZZ", "\"a.exe\" * 409 ~ 0x0",
        "\"a.exe\" * 0x123456789 ~ 0x0", "\"a.exe\" * 0x ~ 0x0",
        "\"a.exe\" ABCDEFGHIJKLMN 0x40C ~ 0x0", "\"a.exe\" ..\\x.dll 0x40C ~ 0x0",
        "\"a.exe\" C:x.dll 0x40C ~ 0x0", "\"a.exe\" \"\" 0x40C ~ 0x0", " --set", " --set * 0x409 ~",
        " --set * 0x409 ~ 0x0", " --set * 0x409 ~ 0x0 --", " --bogus a.exe", " -a.exe",
        " --set * 0x409 ~ 0x0 --set * 0x409 ~ 0x0 a.exe", " --set * 0x409 ~ 0xZZ a.exe",
        // Names the runtime could never look for, and a locale past 20 bits.
        "\"a.exe\" <>|.dll 0x40C ~ 0x0", "\"a.exe\" CON 0x40C ~ 0x0", "\"a.exe\" \" \" 0x40C ~ 0x0",
        "\"a.exe\" * 0xFFFFFFFF ~ 0x0",
        // A fifth value, or an option after a target: nothing may be written.
        " --set vb6FR.dll 0x40C * 0x409 0x0 f.exe", "\"f.exe\" --set vb6FR.dll 0x40C * 0x409",
        " --set vb6FR.dll 0x40C * 0x409 f.exe --json",
        " --set * 0x409 ~ 0x0 --check * 0x409 ~ 0x0 a.exe", " --check * 0x409 ~",
        "\"f.exe\" \"0x0\" vb6FR.dll 0x40C * 0x409"}) {
    try {
      ParseCommandLine(tail);
      ADD_FAILURE() << "accepted: " << tail;
    } catch (const ToolError& error) {
      EXPECT_EQ(error.Kind(), Failure::Usage) << tail;
      const std::string text = error.what();
      EXPECT_TRUE(text.find("Pour l'utilisation : Tressol.exe --help\n") != std::string::npos ||
                  text.find("Utilisation :") != std::string::npos)
          << text;
    }
  }
  // The POSIX tool's usage names it and its own way to write a name that starts with a dash.
  EXPECT_NE(Usage(Shell::Posix).find("  tressol [--json] CIBLE\n"), std::string::npos);
  try {
    ParseCommandLine(" -a.exe", Shell::Posix);
    ADD_FAILURE() << "accepted: -a.exe";
  } catch (const ToolError& error) {
    const std::string text = error.what();
    EXPECT_NE(text.find("./-a.exe"), std::string::npos) << text;
    EXPECT_NE(text.find("tressol --help"), std::string::npos) << text;
    EXPECT_EQ(text.find("Tressol.exe"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace tressol
