// The built program driven from outside its process, as the system and the user see it.
#include <gtest/gtest.h>

#include "support/dialog_driver.h"
#include "support/running_linguarde.h"
#include "support/windows_test_support.h"

namespace linguarde::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

TEST(LinguardeProcess, TheCloseBoxEndsTheProgramWithStatusZero) {
  TestFolder folder(L" clos");
  RunningLinguarde linguarde(folder.Path());
  ASSERT_NE(linguarde.Window(), nullptr);
  PostMessageW(linguarde.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(linguarde.ExitCode(20s), std::optional<DWORD>(0));
  // Nothing is saved on the way out.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(LinguardeProcess, AFailedActionIsReportedAndEndsTheProgramWithANonZeroStatus) {
  TestFolder folder(L" R&D");
  // The script's name is taken by a folder: it cannot be created, even by root.
  fs::create_directories(folder.Path() / L"VBcommand.bat");
  RunningLinguarde linguarde(folder.Path());
  ASSERT_NE(linguarde.Window(), nullptr);

  const HWND band = linguarde.ActionBand();
  const HWND text = linguarde.TextBox();
  const HWND button = linguarde.Button(L"Localiser en Anglais US");
  ASSERT_NE(button, nullptr);
  SendMessageW(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\Projets\\Appli.exe"));
  ShowWindow(band, SW_SHOW);
  PostMessageW(button, BM_CLICK, 0, 0);

  const HWND box = WaitForDialog(L"Linguarde", linguarde.Id(), 20s);
  ASSERT_NE(box, nullptr);
  const std::wstring message = MessageBoxText(box);
  EXPECT_EQ(message.rfind(L"Impossible de créer le fichier « " + folder.Text() +
                              L"\\VBcommand.bat » : ",
                          0),
            0u)
      << testing::PrintToString(message);
  // Until the report is closed the program waits.
  EXPECT_EQ(linguarde.ExitCode(500ms), std::nullopt);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const std::optional<DWORD> code = linguarde.ExitCode(20s);
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0u);
}

}  // namespace
}  // namespace linguarde::test
