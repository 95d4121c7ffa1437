// The script as it lands on disk, byte for byte.
#include <gtest/gtest.h>

#include "LancerAction.h"
#include "action_error.h"
#include "win32_script_platform.h"
#include "unstarted_platform.h"
#include "windows_test_support.h"

namespace {

using linguarde::LancerAction;
using linguarde::test::Ascii;
using linguarde::test::ReadBytes;
using linguarde::test::TestFolder;
using linguarde::test::UnstartedPlatform;

TEST(ScriptFile, HoldsTheActionLineAndPauseEndedByCrLf) {
  TestFolder folder(L"");
  const std::string tool = Ascii(folder.Text()) + "\\Tressol.exe ";
  struct Case {
    std::int16_t index;
    const wchar_t* target;
    std::string expected;
  };
  const Case cases[] = {
      {0, L"C:\\Projets\\Appli.exe", tool + "C:\\Projets\\Appli.exe\r\nPause\r\n"},
      {1, L"C:\\Projets\\Appli.exe",
       tool + "\"C:\\Projets\\Appli.exe\" * 0x409 ~ 0x0\r\nPause\r\n"},
      {2, L"C:\\Projets\\Appli.exe",
       tool + "\"C:\\Projets\\Appli.exe\" vb6FR.dll 0x40C * 0x409\r\nPause\r\n"},
      {3, L"C:\\Projets\\Appli.exe",
       tool + "\"C:\\Projets\\Appli.exe\" vb6FR.dll 0x40C ~ 0x409\r\nPause\r\n"},
      {0, L"", tool + "\r\nPause\r\n"},
      {1, L"", tool + "\"\" * 0x409 ~ 0x0\r\nPause\r\n"},
      {4, L"C:\\Projets\\Appli.exe", "Pause\r\n"},
      {-1, L"", "Pause\r\n"},
  };
  for (const Case& c : cases) {
    UnstartedPlatform platform(folder.Text());
    LancerAction(c.index, c.target, platform);
    EXPECT_EQ(ReadBytes(folder.Path() / L"VBcommand.bat"), c.expected) << c.index;
    ASSERT_EQ(platform.started.size(), 1u);
    EXPECT_EQ(platform.started[0], folder.Text() + L"\\VBcommand.bat");
  }
}

// Whatever code page the console reads the script in, its bytes are ASCII: the folder is
// the script's own and the target is in the interpreter's environment.
TEST(ScriptFile, IsAsciiWhateverTheFolderAndTarget) {
  TestFolder folder(L" \x0153\x20AC\u6587");
  UnstartedPlatform platform(folder.Text());
  LancerAction(1, L"C:\\Donn\x00E9es\\\u6587\u4EF6.exe", platform);
  EXPECT_EQ(ReadBytes(folder.Path() / L"VBcommand.bat"),
            "\"%~dp0Tressol.exe\" \"%LINGUARDE_CIBLE%\" * 0x409 ~ 0x0\r\nPause\r\n");
  ASSERT_EQ(platform.environment.size(), 2u);  // the target, and the journal's variable
  EXPECT_EQ(platform.environment[0].value, L"C:\\Donn\x00E9es\\\u6587\u4EF6.exe");
}

// A variable given replaces the program's own of that name, without regard to case; one given
// empty is taken out, so that a view's tool never inherits a journal.
TEST(EnvironmentBlock, ReplacesOrTakesOutAVariable) {
  SetEnvironmentVariableW(L"tressol_journal", L"C:\\hérité.txt");
  const auto entries = [](const std::wstring& block) {
    std::vector<std::wstring> found;
    for (std::size_t at = 0; at < block.size() && block[at] != L'\0';) {
      const std::wstring entry(block.c_str() + at);
      if (_wcsnicmp(entry.c_str(), L"TRESSOL_JOURNAL=", 16) == 0) found.push_back(entry);
      at += entry.size() + 1;
    }
    return found;
  };
  using linguarde::win32::EnvironmentBlockWith;
  EXPECT_EQ(entries(EnvironmentBlockWith({{L"TRESSOL_JOURNAL", L"C:\\j.txt"}})),
            std::vector<std::wstring>{L"TRESSOL_JOURNAL=C:\\j.txt"});
  EXPECT_TRUE(entries(EnvironmentBlockWith({{L"TRESSOL_JOURNAL", L""}})).empty());
  SetEnvironmentVariableW(L"tressol_journal", nullptr);
}

TEST(ScriptFile, EachActionReplacesTheWholeFile) {
  TestFolder folder(L"");
  UnstartedPlatform platform(folder.Text());
  LancerAction(2, L"C:\\un chemin bien plus long que le suivant\\Appli.exe", platform);
  LancerAction(0, L"a.exe", platform);
  EXPECT_EQ(ReadBytes(folder.Path() / L"VBcommand.bat"),
            Ascii(folder.Text()) + "\\Tressol.exe a.exe\r\nPause\r\n");
}

}  // namespace
