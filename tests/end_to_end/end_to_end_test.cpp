// Linguarde used as a person uses it, from outside its process: the real window, mouse
// clicks and typing, the real Open dialog, real consoles read and answered, our real
// Tressol.exe on a copy of a real VB6 program.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <thread>

#include "owners.h"
#include "target_words.h"
#include "dialog_driver.h"
#include "running_linguarde.h"
#include "vb6_samples.h"
#include "windows_test_support.h"
#include "user_input.h"

namespace linguarde::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr wchar_t kDialogTitle[] = L"Choisir un exe, une dll ou un ocx ... ";
constexpr std::size_t kSetupHeader = 0x11E8;

fs::path OutputFolder() {
  const fs::path folder = LINGUARDE_TEST_OUTPUT;
  fs::create_directories(folder);
  return folder;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return condition();
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// Interpreters started by the program that this test has not handled yet.
std::vector<DWORD> NewInterpreters(DWORD parent, std::set<DWORD>& seen) {
  std::vector<DWORD> found;
  const linguarde::win32::UniqueFileHandle snapshot(
      CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ParentProcessID == parent && _wcsicmp(entry.szExeFile, L"cmd.exe") == 0 &&
        seen.insert(entry.th32ProcessID).second) {
      found.push_back(entry.th32ProcessID);
    }
  }
  return found;
}

// Reads the console of an interpreter and answers its "Pause"; the screen's text.
std::string ReadAndAnswerConsole(DWORD interpreter, const fs::path& folder) {
  const fs::path screen = folder / (L"console-" + std::to_wstring(interpreter) + L".txt");
  linguarde::test::ProcessStart start;
  start.application = (TestProgramFolder() / L"console_reader.exe").wstring();
  start.commandLine = L"\"" + start.application + L"\" " + std::to_wstring(interpreter) + L" \"" +
                      screen.wstring() + L"\"";
  start.flags = DETACHED_PROCESS;
  const linguarde::test::StartedProcess started = linguarde::test::StartProcess(start);
  if (!started) return "console reader not started";
  WaitForSingleObject(started.process.Get(), 40000);
  // The reader writes the console's no-break spaces as spaces, as the eye reads them.
  return ReadBytes(screen);
}

bool WaitForExit(DWORD processId, std::chrono::milliseconds timeout) {
  const linguarde::win32::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process) return true;
  return WaitForSingleObject(process.Get(), static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

struct HeaderState {
  std::string primary;
  std::uint8_t primaryLcid;
  std::string secondary;
};

HeaderState ReadHeader(const fs::path& target) {
  const std::string bytes = ReadBytes(target);
  return {bytes.c_str() + kSetupHeader + 6, static_cast<std::uint8_t>(bytes[kSetupHeader + 0x24]),
          bytes.c_str() + kSetupHeader + 0x14};
}

class EndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    target_ = targets_.Path() / L"Mes Projets" / L"Appli.exe";
    if (!CopySample(L"Setup.exe", target_)) {
      GTEST_SKIP() << "the VB6 samples are not in " << SamplesFolder();
    }
  }
  void TearDown() override { EndChildProcesses(); }

  // Clicks "Choisir le fichier", types the copy's path into the real dialog, presses Enter.
  void ChooseTheCopy(RunningLinguarde& linguarde, const std::string& shots) {
    // A click that the virtual display drops now and then is given again: while the dialog
    // is open, the window under it takes no click.
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 3 && dialog == nullptr; ++attempt) {
      ClickCentre(linguarde.Button(L"Choisir le fichier"));
      dialog = WaitForDialog(kDialogTitle, linguarde.Id(), 10s);
    }
    ASSERT_NE(dialog, nullptr) << "the Open dialog never opened";
    std::this_thread::sleep_for(300ms);
    SaveScreenshot(WindowRect(dialog), OutputFolder() / (shots + "-dialogue.bmp"));
    TypeText(target_.wstring());
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(linguarde.ActionBand()) != 0; }, 20s))
        << "the action band never showed";
    EXPECT_EQ(WindowText(linguarde.TextBox()), target_.wstring());
  }

  // The line once the copy has been read, as it was copied.
  static constexpr wchar_t kAsCopied[] = L"Appli.exe\u00A0: fichier VB6, messages en anglais";
  // The line after "Localiser en Français ou Anglais US", in the entry given, with what it
  // names: this test's copy and the library that Wine does not have.
  static std::wstring Said(linguarde::WindowWords entry) {
    const linguarde::Line line(entry,
                               L"fichier VB6, messages en français (en anglais sans vb6FR.dll)",
                               L"library", L"vb6FR.dll", L"Appli.exe");
    return linguarde::LineText(line, L"Appli.exe");
  }
  // The undo button's captions, as the catalog has them.
  const std::wstring undo_ = linguarde::Say(linguarde::WindowWords::UndoCaption);
  const std::wstring redo_ = linguarde::Say(linguarde::WindowWords::RedoCaption);

  // Whether the window shows the button of that caption: the undo's, once offered.
  static bool Shown(RunningLinguarde& linguarde, const wchar_t* caption) {
    const HWND button = linguarde.Button(caption);
    return button != nullptr && IsWindowVisible(button) != FALSE;
  }

  // Clicks a button of the window and returns the console it started, clicking once more if
  // none came within 10 s; 0 for none.
  static DWORD ClickForConsole(RunningLinguarde& linguarde, const wchar_t* caption,
                               std::set<DWORD>& seen) {
    std::vector<DWORD> started;
    for (int attempt = 0; attempt < 2 && started.empty(); ++attempt) {
      ClickCentre(linguarde.Button(caption));
      WaitUntil([&] { return !(started = NewInterpreters(linguarde.Id(), seen)).empty(); }, 10s);
    }
    return started.empty() ? 0 : started.front();
  }

  // The target held as another program holds it, shared with nobody, once whatever has it
  // open now lets it go.
  linguarde::win32::UniqueFileHandle HoldTarget() const {
    linguarde::win32::UniqueFileHandle held;
    WaitUntil(
        [&] {
          held.Reset(
              CreateFileW(target_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
          return static_cast<bool>(held);
        },
        20s);
    return held;
  }

  TestFolder targets_{L" cibles"};
  fs::path target_;
};

void RunEveryAction(const std::wstring& folderEnding, const fs::path& target,
                    const std::function<void(RunningLinguarde&, const std::string&)>& choose) {
  TestFolder application(folderEnding);
  fs::copy_file(TestProgramFolder() / L"Tressol.exe", application.Path() / L"Tressol.exe");
  RunningLinguarde linguarde(application.Path());
  ASSERT_NE(linguarde.Window(), nullptr) << "the window never showed";
  const std::string shots = folderEnding.empty() ? "simple" : "espace-et";
  SaveScreenshot(WindowRect(linguarde.Window()), OutputFolder() / (shots + "-fenetre.bmp"));
  choose(linguarde, shots);
  if (testing::Test::HasFatalFailure()) return;
  SaveScreenshot(WindowRect(linguarde.Window()), OutputFolder() / (shots + "-bande.bmp"));

  const bool plain = application.Text().find_first_of(L" &") == std::wstring::npos;
  std::string tool = Ascii(application.Text()) + "\\Tressol.exe";
  if (!plain) tool = "\"" + tool + "\"";
  const std::string path = Ascii(target.wstring());
  struct Step {
    const wchar_t* caption;
    std::string line;
    HeaderState after;
    const wchar_t* effect;  // as the window's line says it once the console has ended
    const char* answer;     // what the console says last, where the eye lands
  };
  const Step steps[] = {
      {L"Visualiser la localisation",
       tool + " " + path,
       {"*", 0x09, "~"},
       L"messages en anglais",
       " : fichier VB6, messages en anglais."},
      {L"Localiser en Anglais US",
       tool + " \"" + path + "\" * 0x409 ~ 0x0",
       {"*", 0x09, "~"},
       L"messages en anglais",
       " : déjà réglé, messages en anglais ;"},
      {L"Localiser en Français ou Anglais US",
       tool + " \"" + path + "\" vb6FR.dll 0x40C * 0x409",
       {"vb6FR.dll", 0x0C, "*"},
       L"messages en français (en anglais sans vb6FR.dll)",
       " : modifié. Avant : messages en anglais. Après :"},
      {L"Rétablir la localisation Française seule",
       tool + " \"" + path + "\" vb6FR.dll 0x40C ~ 0x409",
       {"vb6FR.dll", 0x0C, "~"},
       L"messages en français (aucun message sans vb6FR.dll)",
       " : modifié. Avant : messages en français"},
  };
  std::set<DWORD> seen;
  for (const Step& step : steps) {
    const std::string what = testing::PrintToString(std::wstring(step.caption));
    ClickCentre(linguarde.Button(step.caption));
    std::vector<DWORD> started;
    ASSERT_TRUE(
        WaitUntil([&] { return !(started = NewInterpreters(linguarde.Id(), seen)).empty(); }, 20s))
        << what << ": no console started";
    EXPECT_EQ(ReadBytes(application.Path() / L"VBcommand.bat"), step.line + "\r\nPause\r\n")
        << what;
    const std::string screen = ReadAndAnswerConsole(started.front(), application.Path());
    if (step.caption == steps[0].caption) {
      SaveScreenshot(ScreenRect(), OutputFolder() / (shots + "-console.bmp"));
    }
    EXPECT_NE(screen.find("position 0x11E8"), std::string::npos) << what << "\n" << screen;
    EXPECT_NE(screen.find(step.answer), std::string::npos) << what << "\n" << screen;
    EXPECT_TRUE(WaitForExit(started.front(), 20s))
        << what << ": the console did not close after the key";
    const HeaderState state = ReadHeader(target);
    EXPECT_EQ(state.primary, step.after.primary) << what;
    EXPECT_EQ(state.primaryLcid, step.after.primaryLcid) << what;
    EXPECT_EQ(state.secondary, step.after.secondary) << what;
    // Wine has no vb6FR.dll: the line says so where the settings name it.
    const bool lacking = step.after.primary == "vb6FR.dll";
    const std::wstring said = linguarde::LineText(
        {lacking ? linguarde::WindowWords::LineLibraryMissing
                 : linguarde::WindowWords::LineToolWords,
         L"fichier VB6, " + std::wstring(step.effect), L"library", L"vb6FR.dll"},
        target.filename().wstring());
    EXPECT_TRUE(WaitUntil([&] { return WindowText(linguarde.TargetLine()) == said; }, 20s))
        << what << ": " << testing::PrintToString(WindowText(linguarde.TargetLine()));
  }
  ASSERT_TRUE(ClickCloseBox(linguarde.Window())) << "no close box";
  EXPECT_EQ(linguarde.ExitCode(20s), std::optional<DWORD>(0));
}

TEST_F(EndToEnd, EveryActionFromAnOrdinaryFolder) {
  RunEveryAction(L"", target_,
                 [this](RunningLinguarde& l, const std::string& s) { ChooseTheCopy(l, s); });
}

TEST_F(EndToEnd, EveryActionFromAFolderWithASpaceAndAnAmpersand) {
  RunEveryAction(L" R&D Outils", target_,
                 [this](RunningLinguarde& l, const std::string& s) { ChooseTheCopy(l, s); });
}

// A console waiting at "Pause" reads the script again from its old offset once answered:
// the next action, of this copy or of another one started through another spelling of the
// same folder, must wait until it has closed, and then run as usual.
TEST_F(EndToEnd, TheNextActionWaitsUntilTheEarlierConsoleHasClosed) {
  TestFolder application(L"");
  fs::copy_file(TestProgramFolder() / L"Tressol.exe", application.Path() / L"Tressol.exe");
  RunningLinguarde linguarde(application.Path());
  ASSERT_NE(linguarde.Window(), nullptr);
  ChooseTheCopy(linguarde, "attente");
  if (HasFatalFailure()) return;
  const fs::path linked = AnotherSpelling(application.Path());
  if (linked.empty()) GTEST_SKIP() << "no other spelling of " << application.Path();
  RunningLinguarde other(linked);
  ASSERT_NE(other.Window(), nullptr);
  // Side by side, so that clicks land on the window they are meant for.
  SetWindowPos(linguarde.Window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(other.Window(), nullptr, 1000, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ASSERT_TRUE(WaitUntil(
      [&] {
        return WindowRect(linguarde.Window()).left == 0 && WindowRect(other.Window()).left == 1000;
      },
      5s));
  std::this_thread::sleep_for(300ms);
  ChooseTheCopy(other, "attente-autre");
  if (HasFatalFailure()) return;

  const fs::path script = application.Path() / L"VBcommand.bat";
  std::set<DWORD> seen;
  std::vector<DWORD> waiting;
  ClickCentre(linguarde.Button(L"Visualiser la localisation"));
  ASSERT_TRUE(
      WaitUntil([&] { return !(waiting = NewInterpreters(linguarde.Id(), seen)).empty(); }, 20s));
  const std::string viewScript = ReadBytes(script);

  for (RunningLinguarde* copy : {&linguarde, &other}) {
    ClickCentre(copy->Button(L"Localiser en Français ou Anglais US"));
    const HWND box = WaitForDialog(L"Linguarde", copy->Id(), 20s);
    ASSERT_NE(box, nullptr) << "no warning";
    SaveScreenshot(WindowRect(box), OutputFolder() / "attente-message.bmp");
    EXPECT_EQ(MessageBoxText(box),
              linguarde::Say(linguarde::WindowWords::ScriptHeld, {{L"file", L"VBcommand.bat"}}))
        << testing::PrintToString(MessageBoxText(box));
    ClickCentre(FindWindowExW(box, nullptr, L"Button", nullptr));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 20s));
    EXPECT_EQ(ReadBytes(script), viewScript);
    EXPECT_TRUE(NewInterpreters(copy->Id(), seen).empty()) << "a second console started";
  }

  ReadAndAnswerConsole(waiting.front(), application.Path());
  ASSERT_TRUE(WaitForExit(waiting.front(), 20s));
  ClickCentre(other.Button(L"Localiser en Français ou Anglais US"));
  std::vector<DWORD> started;
  ASSERT_TRUE(
      WaitUntil([&] { return !(started = NewInterpreters(other.Id(), seen)).empty(); }, 20s))
      << "the action did not run once the console had closed";
  const std::string screen = ReadAndAnswerConsole(started.front(), application.Path());
  // The answer's line is short enough not to wrap in the console, whatever the folder's name.
  EXPECT_NE(screen.find("\nAppli.exe : modifié."), std::string::npos) << screen;
  EXPECT_EQ(ReadHeader(target_).primary, "vb6FR.dll");
  for (RunningLinguarde* copy : {&linguarde, &other}) {
    ASSERT_TRUE(ClickCloseBox(copy->Window()));
    EXPECT_EQ(copy->ExitCode(20s), std::optional<DWORD>(0));
  }
}

// A whole application typed into the box: the batch line passes the folder as it is, and
// the tool handles each binary in it.
TEST_F(EndToEnd, AFolderTypedIntoTheBoxIsHandledFileByFile) {
  const fs::path app = targets_.Path() / L"Mon Appli";
  ASSERT_TRUE(CopySample(L"Dictionary.dll", app / L"Dictionary.dll"));
  ASSERT_TRUE(CopySample(L"SmallListView.ocx", app / L"SmallListView.ocx"));
  fs::copy_file(target_, app / L"Appli.exe");
  WriteBytes(app / L"Aide.dll", "pas un binaire VB6");
  TestFolder application(L"");
  fs::copy_file(TestProgramFolder() / L"Tressol.exe", application.Path() / L"Tressol.exe");
  RunningLinguarde linguarde(application.Path());
  ASSERT_NE(linguarde.Window(), nullptr);
  ChooseTheCopy(linguarde, "dossier");
  if (HasFatalFailure()) return;
  // The box now holds the folder, as if the user had edited the chosen path.
  SendMessageW(linguarde.TextBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(app.c_str()));

  struct Step {
    const wchar_t* caption;
    const char* summary;
  };
  const Step steps[] = {
      {L"Visualiser la localisation", "Résumé : 3 fichiers VB6, 1 non VB6"},
      {L"Localiser en Français ou Anglais US",
       "Résumé : 3 fichiers modifiés, 0 déjà réglé, 1 non VB6"},
  };
  std::set<DWORD> seen;
  for (const Step& step : steps) {
    ClickCentre(linguarde.Button(step.caption));
    std::vector<DWORD> started;
    ASSERT_TRUE(
        WaitUntil([&] { return !(started = NewInterpreters(linguarde.Id(), seen)).empty(); }, 20s));
    const std::string screen = ReadAndAnswerConsole(started.front(), application.Path());
    EXPECT_NE(screen.find(step.summary), std::string::npos) << screen;
    ASSERT_TRUE(WaitForExit(started.front(), 20s));
  }
  EXPECT_EQ(ReadHeader(app / L"Appli.exe").primary, "vb6FR.dll");
  EXPECT_EQ(ReadBytes(app / L"Aide.dll"), "pas un binaire VB6");
  ASSERT_TRUE(ClickCloseBox(linguarde.Window()));
  EXPECT_EQ(linguarde.ExitCode(20s), std::optional<DWORD>(0));
}

// Characters that no 8-bit code page holds all of, in Linguarde's folder and in the target,
// reach the tool whatever code page the console settings ask for.
TEST_F(EndToEnd, AnyCharacterReachesTheToolWhateverTheConsoleCodePage) {
  const fs::path target = targets_.Path() / L"\x0153uvre \x20AC" / L"\u6587\u4EF6" / L"Appli.exe";
  fs::create_directories(target.parent_path());
  fs::copy_file(target_, target);
  TestFolder application(L" \x00E9t\x00E9 \x0153");
  fs::copy_file(TestProgramFolder() / L"Tressol.exe", application.Path() / L"Tressol.exe");
  RunningLinguarde linguarde(application.Path());
  ASSERT_NE(linguarde.Window(), nullptr);
  ChooseTheCopy(linguarde, "unicode");
  if (HasFatalFailure()) return;
  SendMessageW(linguarde.TextBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));

  struct Step {
    DWORD codePage;  // saved under HKCU\Console; 0: none
    const wchar_t* caption;
    const char* primary;
  };
  const Step steps[] = {
      {0, L"Localiser en Français ou Anglais US", "vb6FR.dll"},
      {65001, L"Localiser en Anglais US", "*"},
  };
  std::set<DWORD> seen;
  for (const Step& step : steps) {
    if (step.codePage == 0) {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Console", L"CodePage");
    } else {
      RegSetKeyValueW(HKEY_CURRENT_USER, L"Console", L"CodePage", REG_DWORD, &step.codePage,
                      sizeof step.codePage);
    }
    ClickCentre(linguarde.Button(step.caption));
    std::vector<DWORD> started;
    ASSERT_TRUE(
        WaitUntil([&] { return !(started = NewInterpreters(linguarde.Id(), seen)).empty(); }, 20s));
    const std::string screen = ReadAndAnswerConsole(started.front(), application.Path());
    ASSERT_TRUE(WaitForExit(started.front(), 20s));
    EXPECT_NE(screen.find("\nAppli.exe : modifié."), std::string::npos) << step.codePage << screen;
    EXPECT_EQ(ReadHeader(target).primary, step.primary) << step.codePage;
  }
  RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Console", L"CodePage");
  ASSERT_TRUE(ClickCloseBox(linguarde.Window()));
  EXPECT_EQ(linguarde.ExitCode(20s), std::optional<DWORD>(0));
}

TEST_F(EndToEnd, AScriptThatCannotBeWrittenIsReportedThenTheProgramEnds) {
  TestFolder application(L" bloque");
  // A folder under the script's name: no user, root included, can create the file.
  fs::create_directories(application.Path() / L"VBcommand.bat");
  RunningLinguarde linguarde(application.Path());
  ASSERT_NE(linguarde.Window(), nullptr);
  ChooseTheCopy(linguarde, "echec");
  if (HasFatalFailure()) return;
  ClickCentre(linguarde.Button(L"Localiser en Anglais US"));
  const HWND box = WaitForDialog(L"Linguarde", linguarde.Id(), 20s);
  ASSERT_NE(box, nullptr) << "no error box";
  SaveScreenshot(WindowRect(box), OutputFolder() / "echec-message.bmp");
  EXPECT_EQ(MessageBoxText(box).rfind(L"Impossible de créer le fichier", 0), 0u)
      << testing::PrintToString(MessageBoxText(box));
  ClickCentre(FindWindowExW(box, nullptr, L"Button", nullptr));
  const std::optional<DWORD> status = linguarde.ExitCode(20s);
  ASSERT_TRUE(status.has_value()) << "the program did not end after the report";
  EXPECT_NE(*status, 0u);
  std::set<DWORD> seen;
  EXPECT_TRUE(NewInterpreters(linguarde.Id(), seen).empty()) << "a console was started";
}

// An action undone where it was made: the window offers the undo once the action's console
// has closed, runs it in a console of its own, and the file comes back byte for byte; the
// undo, with its own journal, is offered in turn. The batch file keeps the action's lines.
TEST_F(EndToEnd, AnActionIsUndoneFromTheWindow) {
  TestFolder application(L"");
  fs::copy_file(TestProgramFolder() / L"Tressol.exe", application.Path() / L"Tressol.exe");
  RunningLinguarde linguarde(application.Path());
  ASSERT_NE(linguarde.Window(), nullptr);
  ChooseTheCopy(linguarde, "annuler");
  if (HasFatalFailure()) return;
  const std::string original = ReadBytes(target_);
  const auto line = [&] { return WindowText(linguarde.TargetLine()); };
  const auto offered = [&] { return Shown(linguarde, undo_.c_str()); };
  const std::wstring before = kAsCopied;
  ASSERT_TRUE(WaitUntil([&] { return line() == before; }, 20s)) << testing::PrintToString(line());
  EXPECT_FALSE(offered()) << "an undo offered before any action";

  std::set<DWORD> seen;
  std::vector<DWORD> started;
  ClickCentre(linguarde.Button(L"Localiser en Français ou Anglais US"));
  ASSERT_TRUE(
      WaitUntil([&] { return !(started = NewInterpreters(linguarde.Id(), seen)).empty(); }, 20s));
  const std::string script = ReadBytes(application.Path() / L"VBcommand.bat");
  ReadAndAnswerConsole(started.front(), application.Path());
  ASSERT_TRUE(WaitForExit(started.front(), 20s));
  ASSERT_TRUE(WaitUntil(offered, 30s)) << "no undo offered: " << testing::PrintToString(line());
  EXPECT_EQ(line(), Said(linguarde::WindowWords::LineLibraryMissing));
  EXPECT_NE(ReadBytes(target_), original);
  SaveScreenshot(WindowRect(linguarde.Window()), OutputFolder() / "annuler-offert.bmp");

  ClickCentre(linguarde.Button(undo_.c_str()));
  ASSERT_TRUE(
      WaitUntil([&] { return !(started = NewInterpreters(linguarde.Id(), seen)).empty(); }, 20s))
      << "no console for the undo";
  std::string screen = ReadAndAnswerConsole(started.front(), application.Path());
  // The console's lines wrap at its width, the next ones indented: read them as one.
  for (std::size_t at; (at = screen.find("\n  ")) != std::string::npos;) screen.replace(at, 3, " ");
  EXPECT_NE(screen.find("Résumé : 1 modification annulée,"), std::string::npos) << screen;
  ASSERT_TRUE(WaitForExit(started.front(), 20s));
  EXPECT_EQ(ReadBytes(target_), original) << "the file is not as it was";
  EXPECT_EQ(ReadBytes(application.Path() / L"VBcommand.bat"), script);
  const auto redo = [&] { return Shown(linguarde, redo_.c_str()); };
  EXPECT_TRUE(WaitUntil(redo, 30s)) << "the undo is not offered in turn";
  // What that button does now, said after the file's words.
  const std::wstring redone = linguarde::LineText(
      {linguarde::WindowWords::LineRedoOffered, L"fichier VB6, messages en anglais"}, L"Appli.exe");
  EXPECT_TRUE(WaitUntil([&] { return line() == redone; }, 20s)) << testing::PrintToString(line());
  ASSERT_TRUE(ClickCloseBox(linguarde.Window()));
  EXPECT_EQ(linguarde.ExitCode(20s), std::optional<DWORD>(0));
}

// An undo refused while another program holds the target is offered again at a later
// reading of it, once the file is free: refused at the check after the action's console, or
// refused by the undo's own console.
TEST_F(EndToEnd, AnUndoRefusedWhileTheFileIsHeldIsOfferedAgain) {
  TestFolder application(L"");
  fs::copy_file(TestProgramFolder() / L"Tressol.exe", application.Path() / L"Tressol.exe");
  RunningLinguarde linguarde(application.Path());
  ASSERT_NE(linguarde.Window(), nullptr);
  ChooseTheCopy(linguarde, "refus");
  if (HasFatalFailure()) return;
  const std::string original = ReadBytes(target_);
  const auto line = [&] { return WindowText(linguarde.TargetLine()); };
  const auto offered = [&] { return Shown(linguarde, undo_.c_str()); };
  const std::wstring before = kAsCopied;
  ASSERT_TRUE(WaitUntil([&] { return line() == before; }, 20s)) << testing::PrintToString(line());

  std::set<DWORD> seen;
  const DWORD action = ClickForConsole(linguarde, L"Localiser en Français ou Anglais US", seen);
  ASSERT_NE(action, 0u) << "no console for the action";
  // Held once the action has written, before its console closes.
  ASSERT_TRUE(WaitUntil(
      [&] {
        const std::string now = ReadBytes(target_);
        return !now.empty() && now != original;
      },
      20s));
  linguarde::win32::UniqueFileHandle held = HoldTarget();
  ASSERT_TRUE(held);
  ReadAndAnswerConsole(action, application.Path());
  ASSERT_TRUE(WaitForExit(action, 20s));
  // After the tool's words for the file held: what to do, not that the undo is inexact.
  const std::wstring said = linguarde::LineText(
      {linguarde::WindowWords::LineUndoHeld, L"\x1", L"", L"", L"Appli.exe"}, L"Appli.exe");
  const std::wstring tail = said.substr(said.find(L'\x1') + 1);
  ASSERT_TRUE(WaitUntil([&] { return line().find(tail) != std::wstring::npos; }, 20s))
      << testing::PrintToString(line());
  EXPECT_FALSE(offered());
  held.Reset();
  // Enter in the box reads the target again; once more if a click or key was dropped.
  for (int attempt = 0; attempt < 2 && !offered(); ++attempt) {
    SetForegroundWindow(linguarde.Window());
    ClickCentre(linguarde.TextBox());
    WaitUntil([&] { return GetForegroundWindow() == linguarde.Window(); }, 2s);
    PressKey(VK_RETURN);
    WaitUntil(offered, 10s);
  }
  ASSERT_TRUE(offered()) << "not offered again: " << testing::PrintToString(line());

  // The undo refused by its console: the offer comes back once that console has closed.
  held = HoldTarget();
  ASSERT_TRUE(held);
  const DWORD refused = ClickForConsole(linguarde, undo_.c_str(), seen);
  ASSERT_NE(refused, 0u) << "no console for the undo";
  ReadAndAnswerConsole(refused, application.Path());
  held.Reset();
  ASSERT_TRUE(WaitForExit(refused, 20s));
  EXPECT_NE(ReadBytes(target_), original) << "undone while held";
  ASSERT_TRUE(WaitUntil(offered, 20s)) << "not offered again: " << testing::PrintToString(line());

  const DWORD undo = ClickForConsole(linguarde, undo_.c_str(), seen);
  ASSERT_NE(undo, 0u) << "no console for the undo";
  ReadAndAnswerConsole(undo, application.Path());
  ASSERT_TRUE(WaitForExit(undo, 20s));
  EXPECT_EQ(ReadBytes(target_), original) << "the file is not as it was";
  ASSERT_TRUE(ClickCloseBox(linguarde.Window()));
  EXPECT_EQ(linguarde.ExitCode(20s), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace linguarde::test
