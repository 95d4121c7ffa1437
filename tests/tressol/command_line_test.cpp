#include "core/command_line.h"

#include <gtest/gtest.h>

#include "core/tool_error.h"

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
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitArguments(c.tail), c.words) << c.tail;
  }
}

TEST(ParseCommandLine, SetsWithFourValidSettingsAndViewsAnythingElse) {
  struct Case {
    const char* tail;
    bool set;
    std::string target;
    LanguageSettings settings;
  };
  const Case cases[] = {
      {" C:\\Projets\\Appli.exe", false, "C:\\Projets\\Appli.exe", {}},
      // The view action passes its target bare: the whole tail is the path.
      {" C:\\Mes Projets\\Appli 2.exe  ", false, "C:\\Mes Projets\\Appli 2.exe", {}},
      {" C:\\a b c d e.exe", false, "C:\\a b c d e.exe", {}},
      {" \"C:\\Mes Projets\\Appli.exe\"", false, "C:\\Mes Projets\\Appli.exe", {}},
      // Bare, a target whose last words look like settings is still only a view.
      {" C:\\Outils\\demo a 0x1 b 0x2", false, "C:\\Outils\\demo a 0x1 b 0x2", {}},
      {" C:\\a.exe * 0x409 ~ 0x0", false, "C:\\a.exe * 0x409 ~ 0x0", {}},
      {" C:\\a.exe * 0x409 ~ 0xZZ", false, "C:\\a.exe * 0x409 ~ 0xZZ", {}},
      {" \"C:\\Dossier\\\\\" * 0x409 ~ 0x0", true, "C:\\Dossier\\", {"*", 0x409, "~", 0}},
      {" \"C:\\a.exe\" * 0x409 ~ 0x0", true, "C:\\a.exe", {"*", 0x409, "~", 0}},
      {" \"C:\\a b.exe\" vb6FR.dll 0x40C * 0x409",
       true,
       "C:\\a b.exe",
       {"vb6FR.dll", 0x40C, "*", 0x409}},
      {" \"C:\\a.exe\" vb6FR.dll 0x40c ~ 0X409",
       true,
       "C:\\a.exe",
       {"vb6FR.dll", 0x40C, "~", 0x409}},
      {" \"C:\\a.exe\" ABCDEFGHI.DLL 0xFFFFFFFF ~ 0x00000000",
       true,
       "C:\\a.exe",
       {"ABCDEFGHI.DLL", 0xFFFFFFFF, "~", 0}},
  };
  for (const Case& c : cases) {
    const Command command = ParseCommandLine(c.tail);
    if (c.set) {
      ASSERT_TRUE(std::holds_alternative<SetCommand>(command)) << c.tail;
      EXPECT_EQ(std::get<SetCommand>(command).target, c.target);
      EXPECT_TRUE(std::get<SetCommand>(command).settings == c.settings) << c.tail;
    } else {
      ASSERT_TRUE(std::holds_alternative<ViewCommand>(command)) << c.tail;
      EXPECT_EQ(std::get<ViewCommand>(command).target, c.target);
    }
  }
}

TEST(ParseCommandLine, RefusesMissingTargetsAndMalformedSettings) {
  for (const char* tail :
       {"", "   \t ", "\"a.exe\" * 0x409 ~ 0xZZ", "\"a.exe\" * 409 ~ 0x0",
        "\"a.exe\" * 0x123456789 ~ 0x0", "\"a.exe\" * 0x ~ 0x0",
        "\"a.exe\" ABCDEFGHIJKLMN 0x40C ~ 0x0", "\"a.exe\" ..\\x.dll 0x40C ~ 0x0",
        "\"a.exe\" C:x.dll 0x40C ~ 0x0", "\"a.exe\" \"\" 0x40C ~ 0x0"}) {
    try {
      ParseCommandLine(tail);
      ADD_FAILURE() << "accepted: " << tail;
    } catch (const ToolError& error) {
      EXPECT_EQ(error.Kind(), Failure::Usage) << tail;
      EXPECT_NE(std::string(error.what()).find("Usage"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace tressol
