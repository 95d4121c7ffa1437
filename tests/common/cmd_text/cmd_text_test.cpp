// How text is written for the Windows command interpreter.
#include <gtest/gtest.h>

#include <string>

#include "cmd_text.h"

namespace {

// Where the action's interpreter would start in the Windows folder, a relative target is
// not read here, where it names another file.
TEST(TargetLine, ARelativeTargetFromANetworkShareIsNotRead) {
  struct Case {
    const wchar_t* target;
    const wchar_t* current;
    bool elsewhere;
  };
  const Case cases[] = {
      {L"Appli.exe", L"\\\\serveur\\partage\\Appli", true},
      {L"\\Appli\\Appli.exe", L"\\\\serveur\\partage", true},
      {L"C:\\Appli\\Appli.exe", L"\\\\serveur\\partage", false},
      {L"\\\\serveur\\partage\\Appli.exe", L"\\\\serveur\\partage", false},
      {L"Appli.exe", L"C:\\Appli", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(linguarde::cmd::LooksElsewhere(c.target, c.current), c.elsewhere) << c.target;
  }
}

// What a prompt carries between quotes, in the tool's UTF-8 as in the window's UTF-16: a
// byte above 0x7F is no control.
TEST(CmdText, APromptCarriesAllButQuotesControlsAndPercent) {
  struct Case {
    std::string utf8;
    std::wstring wide;
    bool carried;
  };
  const Case cases[] = {
      {"C:\\Outils\\\xC3\xA9t\xC3\xA9 & (2)\\a.exe", L"C:\\Outils\\\u00E9t\u00E9 & (2)\\a.exe",
       true},
      {"", L"", true},
      {"a\"b", L"a\"b", false},
      {"a\x1F"
       "b",
       L"a\x1F"
       L"b",
       false},
      {"100%", L"100%", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(linguarde::cmd::CarriedBetweenQuotes(c.utf8, true), c.carried) << c.utf8;
    EXPECT_EQ(linguarde::cmd::CarriedBetweenQuotes(c.wide, true), c.carried) << c.utf8;
  }
}

}  // namespace
