// The built program driven from outside its process, as the system and the user see it.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

#include "dialog_driver.h"
#include "running_linguarde.h"
#include "vb6_samples.h"
#include "windows_test_support.h"
#include "version.h"

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

  // The action band is built at the first choice: a new name in an existing folder.
  PostMessageW(linguarde.Button(L"Choisir le fichier"), BM_CLICK, 0, 0);
  const HWND dialog = WaitForDialog(L"Choisir un exe, une dll ou un ocx ... ", linguarde.Id(), 20s);
  ASSERT_NE(dialog, nullptr);
  ChooseInOpenDialog(dialog, folder.Text() + L"\\Appli.exe");
  HWND button = nullptr;
  for (int tries = 0; tries < 400 && !IsWindowVisible(button); ++tries) {
    Sleep(50);
    button = linguarde.Button(L"Localiser en Anglais US");
  }
  ASSERT_TRUE(IsWindowVisible(button)) << "no action band after the choice";
  PostMessageW(button, BM_CLICK, 0, 0);

  const HWND box = WaitForDialog(L"Linguarde", linguarde.Id(), 20s);
  ASSERT_NE(box, nullptr);
  const std::wstring message = MessageBoxText(box);
  // No-break spaces keep the signs with their words.
  EXPECT_EQ(message.rfind(L"Impossible de créer le fichier «\x00A0" + folder.Text() +
                              L"\\VBcommand.bat\x00A0»\x00A0: ",
                          0),
            0u)
      << testing::PrintToString(message);
  EXPECT_NE(message.find(L"Placez Linguarde dans un dossier où vous pouvez écrire"),
            std::wstring::npos);
  EXPECT_EQ(message.substr(message.size() - 23), L"Linguarde va se fermer.");
  // Until the report is closed the program waits.
  EXPECT_EQ(linguarde.ExitCode(500ms), std::nullopt);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const std::optional<DWORD> code = linguarde.ExitCode(20s);
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0u);
}

TEST(LinguardeProcess, StartedWithPathsShowsTheFirstAndAnActionTakesIt) {
  TestFolder folder(L" envoi");
  fs::copy_file(TestProgramFolder() / L"recording_tool.exe", folder.Path() / L"Tressol.exe");
  // As Explorer starts it for a file dropped on its icon or sent to it.
  const std::wstring target = folder.Text() + L"\\Mes Projets\\Appli été.exe";
  RunningLinguarde linguarde(folder.Path(), L" \"" + target + L"\" C:\\Autre.exe");
  ASSERT_NE(linguarde.Window(), nullptr);
  EXPECT_EQ(WindowText(linguarde.TextBox()), target);
  const HWND button = linguarde.Button(L"Localiser en Anglais US");
  ASSERT_TRUE(IsWindowVisible(button));
  PostMessageW(button, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForFile(folder.Path() / L"received.txt", 30s));
  const std::wstring received = FromUtf8(ReadBytes(folder.Path() / L"received.txt"));
  EXPECT_NE(received.find(L"Tressol.exe\" \"" + target + L"\" * 0x409 ~ 0x0"), std::wstring::npos)
      << testing::PrintToString(received);
  // A shortcut given at start stands for its target, as a dropped one does.
  fs::create_directories(fs::path(target).parent_path());
  WriteBytes(target, "MZ");
  linguarde::test::MakeShortcut(folder.Path() / L"Raccourci.lnk", target);
  RunningLinguarde started(folder.Path(), L" \"" + folder.Text() + L"\\Raccourci.lnk\"");
  ASSERT_NE(started.Window(), nullptr);
  EXPECT_EQ(WindowText(started.TextBox()), target);
}

// Given at start, a VB6 program is said in the line within a second of the window's first
// paint; a folder of 1,000 copies is read while the window keeps answering.
TEST(LinguardeProcess, TheLineSaysWhatTheTargetGivenAtStartIs) {
  TestFolder folder(L" lecture");
  fs::copy_file(TestProgramFolder() / L"Tressol.exe", folder.Path() / L"Tressol.exe");
  const fs::path copies = folder.Path() / L"Copies";
  if (!CopySample(L"Setup.exe", copies / L"Setup.exe")) {
    GTEST_SKIP() << "the VB6 samples are not in " << SamplesFolder();
  }
  for (int i = 1; i < 1000; ++i) {
    fs::copy_file(copies / L"Setup.exe", copies / (L"Setup" + std::to_wstring(i) + L".exe"));
  }
  struct Case {
    fs::path target;
    std::wstring line;
    std::chrono::milliseconds within;
  };
  const Case cases[] = {
      {copies / L"Setup.exe", L"Setup.exe\u00A0: fichier VB6, messages en anglais", 1s},
      {copies, L"Copies\u00A0: 1000 VB6 (en anglais)", 20s},
  };
  for (const Case& c : cases) {
    RunningLinguarde linguarde(folder.Path(), L" \"" + c.target.wstring() + L"\"");
    ASSERT_NE(linguarde.Window(), nullptr);
    const auto shown = std::chrono::steady_clock::now();
    bool answered = true;
    while (WindowText(linguarde.TargetLine()) != c.line &&
           std::chrono::steady_clock::now() - shown < 20s) {
      DWORD_PTR ignored = 0;
      answered = answered && SendMessageTimeoutW(linguarde.Window(), WM_NULL, 0, 0,
                                                 SMTO_ABORTIFHUNG, 200, &ignored) != 0;
      Sleep(5);
    }
    const auto took = std::chrono::steady_clock::now() - shown;
    EXPECT_EQ(WindowText(linguarde.TargetLine()), c.line);
    EXPECT_LE(took, c.within)
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
    EXPECT_TRUE(answered) << "the window stopped answering while it read " << c.target;
  }
}

std::wstring VersionValue(const fs::path& program, const wchar_t* name) {
  DWORD ignored = 0;
  std::vector<char> data(GetFileVersionInfoSizeW(program.c_str(), &ignored));
  if (data.empty() ||
      !GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) {
    return {};
  }
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\040C04B0\\") + name;
  if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
    return {};
  return value;
}

// The latest release that CHANGELOG.md names: "## 1.1.0" and the like.
std::string ReleasedVersion() {
  std::istringstream changelog(ReadBytes(LINGUARDE_CHANGELOG));
  std::string line;
  while (std::getline(changelog, line)) {
    if (line.size() > 3 && line.rfind("## ", 0) == 0 &&
        std::isdigit(static_cast<unsigned char>(line[3]))) {
      return line.substr(3, line.find_first_of(" \r", 3) - 3);
    }
  }
  return "no release in " LINGUARDE_CHANGELOG;
}

TEST(Executables, CarryTheBuildsVersionInFrench) {
  const std::string text = ReleasedVersion();
  for (const wchar_t* name : {L"Linguarde.exe", L"Tressol.exe"}) {
    const fs::path program = TestProgramFolder() / name;
    EXPECT_EQ(VersionValue(program, L"ProductName"), L"Linguarde") << program;
    EXPECT_EQ(VersionValue(program, L"ProductVersion"), std::wstring(text.begin(), text.end()));
    EXPECT_EQ(VersionValue(program, L"OriginalFilename"), name);
  }
}

TEST(Executables, LinguardesManifestAsksForWhatTheWindowNeeds) {
  const fs::path program = TestProgramFolder() / L"Linguarde.exe";
  const HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  const HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(found, nullptr);
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
  const std::string manifest(bytes, SizeofResource(image, found));
  const bool hasIcon = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON) != nullptr;
  FreeLibrary(image);
  EXPECT_TRUE(hasIcon);
  for (const char* part :
       {"<dpiAwareness "
        "xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2",
        "Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "level=\"asInvoker\"",
        ">true</longPathAware>"}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace linguarde::test
