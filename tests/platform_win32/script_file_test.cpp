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

TEST(ScriptFile, AccentsAreWrittenInTheInterpretersCodePage) {
  const UINT codePage = linguarde::win32::InterpreterCodePage();
  if (codePage != 437 && codePage != 850) {
    GTEST_SKIP() << "expected bytes are written down for code pages 437 and 850, not " << codePage;
  }
  TestFolder folder(L"");
  UnstartedPlatform platform(folder.Text());
  LancerAction(1, L"C:\\Données\\été Ü ç.exe", platform);
  // é 0x82, Ü 0x9A, ç 0x87 in both code pages; no byte-order mark.
  const std::string expected = Ascii(folder.Text()) +
                               "\\Tressol.exe \"C:\\Donn\x82"
                               "es\\\x82t\x82 \x9A \x87.exe\" "
                               "* 0x409 ~ 0x0\r\nPause\r\n";
  EXPECT_EQ(ReadBytes(folder.Path() / L"VBcommand.bat"), expected);
}

TEST(ScriptFile, CharactersMissingFromTheCodePageAreRefusedNotReplaced) {
  TestFolder folder(L"");
  linguarde::test::WriteBytes(folder.Path() / L"VBcommand.bat", "earlier\r\n");
  UnstartedPlatform platform(folder.Text());
  // U+2603 and U+0141 are in neither 437 nor 850; a best-fit "?" or "L" would name another file.
  for (const wchar_t* target : {L"C:\\\x2603.exe",
                                L"C:\\\x0141"
                                L"odz.exe"}) {
    EXPECT_THROW(LancerAction(0, target, platform), linguarde::ActionRefused);
  }
  EXPECT_EQ(ReadBytes(folder.Path() / L"VBcommand.bat"), "earlier\r\n");
  EXPECT_TRUE(platform.started.empty());
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
