// The window in use: keyboard, the real Open dialog, a drop, and the action buttons.
#include <shlobj.h>

#include <cstring>
#include <vector>

#include "form1_fixture.h"
#include "target_line.h"
#include "vb6_samples.h"

namespace linguarde::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr wchar_t kDialogTitle[] = L"Choisir un exe, une dll ou un ocx ... ";

TEST_F(Form1Test, TabVisitsOnlyVisibleControlsInTabIndexOrder) {
  std::vector<HWND> visited;
  for (int i = 0; i < 3; ++i) {
    visited.push_back(GetFocus());
    PressKey(VK_TAB);
  }
  EXPECT_EQ(visited, (std::vector<HWND>{Control(rows::Command1), Control(rows::Text1),
                                        Control(rows::Command1)}));

  form_.ShowActionBand();
  SetFocus(Control(rows::Command1));
  visited.clear();
  for (int i = 0; i < 7; ++i) {
    visited.push_back(GetFocus());
    PressKey(VK_TAB);
  }
  const std::vector<HWND> expected = {Control(rows::Command1),     Control(rows::Text1),
                                      Control(rows::Command2),     Control(rows::Command2 + 1),
                                      Control(rows::Command2 + 2), Control(rows::Command2 + 3),
                                      Control(rows::Command1)};
  EXPECT_EQ(visited, expected);
}

TEST_F(Form1Test, EnterAndEscOnTheTextBoxDoNothing) {
  SetFocus(Control(rows::Text1));
  SetWindowTextW(Control(rows::Text1), L"C:\\Projets\\Appli.exe");
  form_.ShowActionBand();
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(IsWindowVisible(form_.Handle()));
  EXPECT_FALSE(fs::exists(Script()));
  EXPECT_EQ(WindowText(Control(rows::Text1)), L"C:\\Projets\\Appli.exe");
}

TEST_F(Form1Test, EnterAndSpacePressTheFocusedButtonAndEscNever) {
  SetWindowTextW(Control(rows::Text1), L"a.exe");
  form_.ShowActionBand();
  for (const UINT key : {UINT{VK_RETURN}, UINT{VK_SPACE}, UINT{VK_ESCAPE}}) {
    for (int index = 0; index <= 3; ++index) {
      fs::remove(Script());
      SetFocus(Control(rows::Command2 + index));
      PressKey(key);
      EXPECT_EQ(fs::exists(Script()), key != VK_ESCAPE) << "key " << key << " index " << index;
      EndChildProcesses();
    }
  }
  // On Command1 the keys open the Open dialog, which the watcher cancels.
  for (const UINT key : {UINT{VK_RETURN}, UINT{VK_SPACE}}) {
    SetFocus(Control(rows::Command1));
    DialogWatcher watcher(
        kDialogTitle, [](HWND dialog) { PressCancel(dialog); }, 20s);
    PressKey(key);
    Pump();
    EXPECT_TRUE(watcher.Seen()) << key;
  }
  EXPECT_TRUE(IsWindow(form_.Handle()));
}

TEST_F(Form1Test, TheOpenDialogHasTheTitleAndTheFourFilters) {
  std::vector<std::wstring> filters;
  {
    DialogWatcher watcher(kDialogTitle, [&filters](HWND dialog) {
      filters = ComboItems(GetDlgItem(dialog, 0x470));
      PressCancel(dialog);
    });
    form_.Command1_Click();
    EXPECT_TRUE(watcher.Seen());
  }
  EXPECT_EQ(filters, (std::vector<std::wstring>{L"Executables (*.exe)", L"ActiveX Controls (*.ocx)",
                                                L"Dlls (*.dll)", L"Tous les fichiers (*.*)"}));
}

// Runs one choice in the real dialog: the watcher types the name and presses Open.
void Choose(Form1& form, const std::wstring& path) {
  DialogWatcher watcher(kDialogTitle, [&path](HWND dialog) { ChooseInOpenDialog(dialog, path); });
  form.Command1_Click();
  EXPECT_TRUE(watcher.Seen());
}

void Cancel(Form1& form) {
  DialogWatcher watcher(kDialogTitle, [](HWND dialog) { PressCancel(dialog); });
  form.Command1_Click();
  EXPECT_TRUE(watcher.Seen());
}

TEST_F(Form1Test, AChoiceFillsTheTextAndShowsTheBand) {
  struct Case {
    const char* what;
    fs::path file;
    bool create;
  };
  const Case cases[] = {
      {"existing program", folder_.Path() / L"Appli.exe", true},
      {"any type under all files", folder_.Path() / L"notes.txt", true},
      {"new name in an existing folder", folder_.Path() / L"Nouveau.ocx", false},
      {"name with accents and spaces", folder_.Path() / L"Contrôle été.ocx", true},
  };
  for (const Case& c : cases) {
    if (c.create) WriteBytes(c.file, "MZ");
    SetWindowTextW(Control(rows::Text1), L"saisi à la main");
    Choose(form_, c.file.wstring());
    EXPECT_EQ(WindowText(Control(rows::Text1)), c.file.wstring()) << c.what;
    EXPECT_TRUE(IsWindowVisible(Control(rows::Picture2))) << c.what;
  }
}

// A drop as Explorer makes it: a DROPFILES block followed by the wide paths.
HDROP DropOf(const std::vector<fs::path>& items) {
  std::wstring list;
  for (const fs::path& item : items) list += item.wstring() + L'\0';
  list += L'\0';
  const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(Form1Test, ADropFillsTheTextWithItsFirstItemAndAnActionTakesIt) {
  const fs::path program = folder_.Path() / L"Appli.exe";
  const fs::path control = folder_.Path() / L"Contrôle.ocx";
  WriteBytes(program, "MZ");
  WriteBytes(control, "MZ");
  MakeShortcut(folder_.Path() / L"Raccourci.lnk", program);
  struct Case {
    const char* what;
    std::vector<fs::path> dropped;
    fs::path shown;
  };
  const Case cases[] = {
      {"several files", {control, program}, control},
      {"a folder", {folder_.Path()}, folder_.Path()},
      {"a shortcut", {folder_.Path() / L"Raccourci.lnk"}, program},
  };
  for (const Case& c : cases) {
    ShowWindow(Control(rows::Picture2), SW_HIDE);
    PostMessageW(form_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf(c.dropped)), 0);
    Pump();
    EXPECT_EQ(WindowText(Control(rows::Text1)), c.shown.wstring()) << c.what;
    EXPECT_TRUE(IsWindowVisible(Control(rows::Picture2))) << c.what;
    fs::remove(folder_.Path() / L"received.txt");
    SendMessageW(Control(rows::Command2 + 1), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitForFile(folder_.Path() / L"received.txt", 30s)) << c.what;
    const std::wstring received = FromUtf8(ReadBytes(folder_.Path() / L"received.txt"));
    EXPECT_NE(received.find(L" \"" + c.shown.wstring() + L"\" * 0x409 ~ 0x0"), std::wstring::npos)
        << c.what << testing::PrintToString(received);
    EndChildProcesses();
  }
}

TEST_F(Form1Test, ACancelHidesTheBandAndKeepsTheText) {
  Cancel(form_);
  EXPECT_EQ(WindowText(Control(rows::Text1)), L"");
  EXPECT_FALSE(IsWindowVisible(Control(rows::Picture2)));

  const fs::path file = folder_.Path() / L"Appli.exe";
  WriteBytes(file, "MZ");
  Choose(form_, file.wstring());
  ASSERT_TRUE(IsWindowVisible(Control(rows::Picture2)));
  Cancel(form_);
  EXPECT_EQ(WindowText(Control(rows::Text1)), file.wstring());
  EXPECT_FALSE(IsWindowVisible(Control(rows::Picture2)));
}

TEST_F(Form1Test, ANameInAMissingFolderIsNotAccepted) {
  const std::wstring path = (folder_.Path() / L"absent" / L"Appli.exe").wstring();
  bool stayed = false;
  {
    DialogWatcher watcher(kDialogTitle, [&](HWND dialog) {
      ChooseInOpenDialog(dialog, path);
      // The dialog answers with a message box of its own and stays open.
      const auto end = std::chrono::steady_clock::now() + 10s;
      while (std::chrono::steady_clock::now() < end && IsWindow(dialog)) {
        const HWND box = GetLastActivePopup(dialog);
        if (box != dialog && box != nullptr && IsWindowVisible(box)) {
          stayed = true;
          PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
          break;
        }
        std::this_thread::sleep_for(50ms);
      }
      std::this_thread::sleep_for(300ms);
      PressCancel(dialog);
    });
    form_.Command1_Click();
    EXPECT_TRUE(watcher.Seen());
  }
  EXPECT_TRUE(stayed);
  EXPECT_EQ(WindowText(Control(rows::Text1)), L"");
  EXPECT_FALSE(IsWindowVisible(Control(rows::Picture2)));
}

TEST_F(Form1Test, EachActionButtonRunsItsActionOnTheTextOfTheBox) {
  const std::string tool = Ascii(folder_.Text()) + "\\Tressol.exe";
  // folder_ holds a space, so the tool's path is quoted.
  const std::string quoted = "\"" + tool + "\"";
  const std::string settings[] = {"", " * 0x409 ~ 0x0", " vb6FR.dll 0x40C * 0x409",
                                  " vb6FR.dll 0x40C ~ 0x409"};
  const fs::path chosen = folder_.Path() / L"Appli.exe";
  WriteBytes(chosen, "MZ");
  Choose(form_, chosen.wstring());
  for (int index = 0; index <= 3; ++index) {
    // Typed after the choice: the click takes whatever the box holds.
    const std::wstring typed = L"C:\\Mes Projets\\Appli" + std::to_wstring(index) + L".exe";
    SetWindowTextW(Control(rows::Text1), typed.c_str());
    fs::remove(folder_.Path() / L"received.txt");
    SendMessageW(Control(rows::Command2 + index), BM_CLICK, 0, 0);
    const std::string target = Ascii(typed);
    const std::string line = index == 0 ? quoted + " C:\\Mes Projets\\Appli0.exe"
                                        : quoted + " \"" + target + "\"" + settings[index];
    EXPECT_EQ(ReadBytes(Script()), line + "\r\nPause\r\n") << index;
    // The script really started: the stand-in ran.
    EXPECT_TRUE(WaitForFile(folder_.Path() / L"received.txt", 30s)) << index;
    EndChildProcesses();
  }
  EXPECT_TRUE(IsWindow(form_.Handle()));
}

TEST_F(Form1Test, ARefusedTextShowsAWarningAndTheWindowStays) {
  form_.ShowActionBand();
  SetWindowTextW(Control(rows::Text1), L"C:\\a\"b.exe");
  std::wstring message;
  {
    DialogWatcher watcher(L"Linguarde", [&message](HWND box) {
      message = MessageBoxText(box);
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    SendMessageW(Control(rows::Command2 + 1), BM_CLICK, 0, 0);
    EXPECT_TRUE(watcher.Seen());
  }
  EXPECT_NE(message.find(L"guillemet"), std::wstring::npos) << testing::PrintToString(message);
  EXPECT_TRUE(IsWindow(form_.Handle()));
  EXPECT_EQ(form_.ExitCode(), 0);
  EXPECT_FALSE(fs::exists(Script()));
}

// The line beside "Choisir le fichier" says what the real tool says of the target: given,
// or typed and confirmed with Enter; and what keeps the tool from saying it.
TEST_F(Form1Test, TheLineSaysWhatTheToolSaysOfTheTarget) {
  const fs::path projects = folder_.Path() / L"Mes Projets";
  if (!CopySample(L"Setup.exe", projects / L"Setup.exe")) {
    GTEST_SKIP() << "the VB6 samples are not in " << SamplesFolder();
  }
  WriteBytes(projects / L"Aide.dll", "pas un binaire VB6");
  const fs::path tool = folder_.Path() / L"Tressol.exe";
  fs::copy_file(TestProgramFolder() / L"Tressol.exe", tool, fs::copy_options::overwrite_existing);
  const auto type = [this](const fs::path& text) {
    SetFocus(Control(rows::Text1));
    SetWindowTextW(Control(rows::Text1), text.c_str());
    PressKey(VK_RETURN);
  };
  struct Case {
    const char* what;
    std::function<void()> choose;
    std::wstring line;  // how it starts
  };
  const Case cases[] = {
      {"given", [&] { form_.ShowTarget((projects / L"Setup.exe").wstring()); },
       L"Setup.exe\u00A0: fichier VB6, messages en anglais"},
      {"a folder typed", [&] { type(projects); },
       L"Mes Projets\u00A0: 1 VB6 (en anglais), 1 non VB6"},
      {"a name that names nothing", [&] { type(projects / L"Absent.exe"); },
       L"Absent.exe\u00A0: en échec\u00A0: introuvable\u00A0; vérifiez le chemin"},
      {"without the tool",
       [&] {
         fs::remove(tool);
         type(projects / L"Setup.exe");
       },
       LineText(Line(WindowWords::LineToolMissing), L"Setup.exe")},
  };
  for (const Case& c : cases) {
    SetWindowTextW(Control(rows::Label2), L"");
    c.choose();
    EXPECT_TRUE(
        PumpUntil([&] { return WindowText(Control(rows::Label2)).rfind(c.line, 0) == 0; }, 20s))
        << c.what << ": " << testing::PrintToString(WindowText(Control(rows::Label2)));
  }
}

// A reading whose output a child of the tool still holds is given up at once: the window
// never waits for it, and the next reading starts.
TEST_F(Form1Test, AReadingHeldByAChildOfTheToolIsGivenUpAtOnce) {
  SetFocus(Control(rows::Text1));
  SetWindowTextW(Control(rows::Text1), L"tenace");
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil(
      [&] {
        return WindowText(Control(rows::Label2)).find(L"lecture en cours") != std::wstring::npos;
      },
      10s));
  const auto start = std::chrono::steady_clock::now();
  SetWindowTextW(Control(rows::Text1), L"C:\\autre.exe");
  PressKey(VK_RETURN);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_TRUE(PumpUntil(
      [&] {
        return ReadBytes(folder_.Path() / L"read.txt").find("autre.exe") != std::string::npos;
      },
      10s));
}

// Only a choice or Enter reads the target: typing and moving the focus do not.
TEST_F(Form1Test, TheFocusLeavingTheBoxStartsNoReading) {
  form_.ShowActionBand();
  SetFocus(Control(rows::Text1));
  SetWindowTextW(Control(rows::Text1), L"C:\\Mes Projets\\");
  PressKey(VK_TAB);
  PumpUntil([] { return false; }, 500ms);
  EXPECT_FALSE(fs::exists(folder_.Path() / L"read.txt"));
  SetFocus(Control(rows::Text1));
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return fs::exists(folder_.Path() / L"read.txt"); }, 20s));
  EXPECT_EQ(
      FromUtf8(ReadBytes(folder_.Path() / L"read.txt")),
      L"\"" + folder_.Text() + L"\\Tressol.exe\" --json --local-only -- \"C:\\Mes Projets\\\\\"\n");
}

}  // namespace
}  // namespace linguarde::test
