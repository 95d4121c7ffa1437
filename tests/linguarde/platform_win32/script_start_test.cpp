// Real starts and real failures of LancerAction on the Win32 platform.
#include <gtest/gtest.h>

#include "LancerAction.h"
#include "action_error.h"
#include "owners.h"
#include "win32_script_platform.h"
#include "unstarted_platform.h"
#include "windows_test_support.h"

namespace {

using linguarde::LancerAction;
using linguarde::StepFailed;
using linguarde::test::ReadBytes;
using linguarde::test::TestFolder;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

class ScriptStart : public testing::Test {
 protected:
  void TearDown() override { linguarde::test::EndChildProcesses(); }
};

// The program's own start: a console of its own, nothing waited for. The stand-in tool
// proves that the script ran; the console then waits at "Pause" until the test ends it.
TEST_F(ScriptStart, StartsTheScriptInFoldersThatNeedQuoting) {
  const fs::path recorder = linguarde::test::TestProgramFolder() / L"recording_tool.exe";
  for (const std::wstring ending : {L"", L" avec espaces", L" R&D", L" a^b", L" 100%", L" (x86)"}) {
    TestFolder folder(ending);
    fs::copy_file(recorder, folder.Path() / L"Tressol.exe");
    linguarde::win32::Win32ScriptPlatform platform(folder.Text());
    const auto before = std::chrono::steady_clock::now();
    LancerAction(1, L"C:\\Projets\\Appli.exe", platform);
    // Returning before the tool has even run shows that nothing waits for the console.
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5s);
    // Now and then Wine fails to start the tool in a new console, which then waits at
    // "Pause" with nothing run: the action runs once more; a fault of ours fails both times.
    bool received = linguarde::test::WaitForFile(folder.Path() / L"received.txt", 15s);
    if (!received) {
      linguarde::test::EndChildProcesses();
      LancerAction(1, L"C:\\Projets\\Appli.exe", platform);
      received = linguarde::test::WaitForFile(folder.Path() / L"received.txt", 15s);
    }
    EXPECT_TRUE(received) << testing::PrintToString(folder.Text());
    linguarde::test::EndChildProcesses();
  }
}

TEST_F(ScriptStart, TheScriptInheritsTheProgramsCurrentDirectory) {
  TestFolder folder(L"");
  TestFolder elsewhere(L"");
  const fs::path recorder = linguarde::test::TestProgramFolder() / L"recording_tool.exe";
  fs::copy_file(recorder, folder.Path() / L"Tressol.exe");
  const fs::path saved = fs::current_path();
  fs::current_path(elsewhere.Path());
  linguarde::win32::Win32ScriptPlatform platform(folder.Text());
  LancerAction(0, L"relatif.exe", platform);
  fs::current_path(saved);
  ASSERT_TRUE(linguarde::test::WaitForFile(folder.Path() / L"received.txt", 30s));
  // A relative target is therefore looked for where the program runs, not beside the tool.
  EXPECT_EQ(fs::path(linguarde::test::FromUtf8(ReadBytes(folder.Path() / L"cwd.txt"))),
            elsewhere.Path());
}

TEST_F(ScriptStart, AFailedStepReachesTheCallerAndNothingStarts) {
  TestFolder folder(L"");
  struct Case {
    const char* what;
    std::wstring applicationFolder;
    std::wstring expectedStart;  // the French sentence that must open the message
  };
  // A folder that does not exist, a script name taken by a folder: as root under Wine,
  // Unix write bits would not stop the write.
  fs::create_directories(folder.Path() / L"taken" / L"VBcommand.bat");

  const Case cases[] = {
      {"missing folder", (folder.Path() / L"absent").wstring(), L"Impossible de créer le fichier"},
      {"name is a folder", (folder.Path() / L"taken").wstring(), L"Impossible de créer le fichier"},
  };
  for (const Case& c : cases) {
    linguarde::test::UnstartedPlatform platform(c.applicationFolder);
    try {
      LancerAction(1, L"C:\\Projets\\Appli.exe", platform);
      ADD_FAILURE() << c.what << ": no failure";
    } catch (const StepFailed& failure) {
      EXPECT_EQ(failure.Message().rfind(c.expectedStart, 0), 0u)
          << c.what << ": " << testing::PrintToString(failure.Message());
      // The system's own text follows the sentence.
      EXPECT_GT(failure.Message().size(), failure.Message().find(L" : ") + 4) << c.what;
    }
    EXPECT_TRUE(platform.started.empty()) << c.what;
  }
}

// While a console runs, it holds the script: no copy of the program writes it, however the
// folder is spelled, and neither does any other program. Held by another program without
// sharing, the script is not a failure either, only a refusal.
TEST_F(ScriptStart, AnOpenConsoleHoldsTheScriptForEveryCopyOfTheProgram) {
  TestFolder folder(L"");
  const fs::path recorder = linguarde::test::TestProgramFolder() / L"recording_tool.exe";
  fs::copy_file(recorder, folder.Path() / L"Tressol.exe");
  linguarde::win32::Win32ScriptPlatform first(folder.Text());
  LancerAction(1, L"C:\\Projets\\Appli.exe", first);
  ASSERT_TRUE(linguarde::test::WaitForFile(folder.Path() / L"received.txt", 30s));
  const std::string script = ReadBytes(folder.Path() / L"VBcommand.bat");

  std::wstring upper = folder.Text();
  CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  std::vector<std::wstring> spellings = {folder.Text(), upper};
  const fs::path linked = linguarde::test::AnotherSpelling(folder.Path());
  if (!linked.empty()) spellings.push_back(linked.wstring());
  for (const std::wstring& spelling : spellings) {
    linguarde::win32::Win32ScriptPlatform copy(spelling);
    EXPECT_THROW(LancerAction(0, L"C:\\Autre\\Appli.exe", copy), linguarde::ActionRefused)
        << testing::PrintToString(spelling);
  }
  EXPECT_EQ(ReadBytes(folder.Path() / L"VBcommand.bat"), script);

  linguarde::test::EndChildProcesses();
  {
    const linguarde::win32::UniqueFileHandle scanner(
        CreateFileW((folder.Path() / L"VBcommand.bat").c_str(), GENERIC_READ, 0, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(scanner);
    EXPECT_THROW(LancerAction(0, L"C:\\Autre\\Appli.exe", first), linguarde::ActionRefused);
  }
  linguarde::win32::Win32ScriptPlatform second(spellings.back());
  LancerAction(0, L"C:\\Autre\\Appli.exe", second);
  EXPECT_NE(ReadBytes(folder.Path() / L"VBcommand.bat"), script);
}

// A pseudo-console of a terminal application is hidden: its owner, the terminal, is
// what the user sees.
TEST(ConsoleWindowToRaise, IsTheTerminalForAPseudoConsole) {
  WNDCLASSW pseudo{};
  pseudo.lpfnWndProc = DefWindowProcW;
  pseudo.hInstance = GetModuleHandleW(nullptr);
  pseudo.lpszClassName = L"PseudoConsoleWindow";
  ASSERT_NE(RegisterClassW(&pseudo), 0);
  const auto create = [](const wchar_t* className, HWND owner) {
    return linguarde::win32::UniqueWindow(CreateWindowExW(
        0, className, L"", WS_OVERLAPPED, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr));
  };
  const linguarde::win32::UniqueWindow terminal = create(L"Static", nullptr);
  const linguarde::win32::UniqueWindow owned = create(L"PseudoConsoleWindow", terminal.Get());
  const linguarde::win32::UniqueWindow alone = create(L"PseudoConsoleWindow", nullptr);
  EXPECT_EQ(linguarde::win32::ConsoleWindowToRaise(terminal.Get()), terminal.Get());
  EXPECT_EQ(linguarde::win32::ConsoleWindowToRaise(owned.Get()), terminal.Get());
  EXPECT_EQ(linguarde::win32::ConsoleWindowToRaise(alone.Get()), nullptr);
}

// The user's AutoRun command and DelayedExpansion setting would change what the script
// does; whatever the path, the interpreter named in full runs it with both switched off.
TEST(ScriptStartCommand, RunsTheInterpreterWithTheUsersSettingsOff) {
  wchar_t system[MAX_PATH];
  ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
  for (const std::wstring path : {L"C:\\Outils\\VBcommand.bat", L"C:\\R&D (x86)\\VBcommand.bat"}) {
    const linguarde::win32::ProcessCommand command = linguarde::win32::ScriptStartCommand(path);
    EXPECT_EQ(command.application, std::wstring(system) + L"\\cmd.exe");
    EXPECT_EQ(command.commandLine, L"cmd.exe /d /v:off /s /c \"\"" + path + L"\"\"");
  }
}

}  // namespace
