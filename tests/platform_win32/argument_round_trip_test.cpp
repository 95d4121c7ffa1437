// The proof that the tool receives exactly the target: a stand-in tool records its raw
// command line while the real interpreter runs the script that LancerAction wrote.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <vector>

#include "localisation_script/LancerAction.h"
#include "localisation_script/action_table.h"
#include "platform_win32/win32_script_platform.h"
#include "support/unstarted_platform.h"
#include "support/windows_test_support.h"

namespace {

using linguarde::test::TestFolder;
namespace fs = std::filesystem;

std::vector<std::wstring> ReceivedCommandLines(const fs::path& folder) {
  std::vector<std::wstring> lines;
  std::istringstream in(linguarde::test::ReadBytes(folder / L"received.txt"));
  for (std::string line; std::getline(in, line);) {
    lines.push_back(linguarde::test::FromUtf8(line));
  }
  return lines;
}

// The command line that the tool must see: its own path as the batch line names it,
// then exactly the target and the action's settings.
std::wstring ExpectedCommandLine(const std::wstring& tool, const std::wstring& target,
                                 std::int16_t index) {
  const bool plain = tool.find_first_of(L" &|<>^()%,;=") == std::wstring::npos;
  const std::wstring self = plain ? tool : L"\"" + tool + L"\"";
  const linguarde::ActionRow& row = linguarde::kActionTable[static_cast<std::size_t>(index)];
  if (!row.targetQuoted) {
    return self + L" " + target;
  }
  return self + L" \"" + target + L"\"" + std::wstring(row.settings);
}

const std::wstring kLongTarget =
    L"C:\\" + std::wstring(155, L'a') + L"\\" + std::wstring(140, L'b') + L".exe";

const std::vector<std::wstring> kTargets = {
    L"C:\\Projets\\Appli.exe",
    L"C:\\Mes Projets\\Appli.exe",
    L"C:\\R&D\\a^b\\100% (x86)\\!x;y,z=1.exe",
    L"%PATH%\\%1 %%.exe",
    L"a|b<c>d.exe",
    L"C:\\Données\\été ü ç.ocx",
    L"   espaces autour.dll  ",
    L"..\\relatif\\Appli.exe",
    L"",
    kLongTarget,
};

// Folders that the interpreter would split, escape or expand on.
const std::vector<std::wstring> kFolderEndings = {
    L"", L" avec espaces", L" R&D", L" a^b", L" 100%", L" (x86)", L" !bang", L" été",
};

constexpr unsigned long kCommandNotStarted = 9009;
constexpr unsigned long kInterpreterNotStarted = 0x80000000ul;
constexpr int kRepeatsAllowed = 3;

TEST(ArgumentRoundTrip, TheToolRunsOnceWithExactlyTheTarget) {
  int repeats = 0;
  fs::path recorder = linguarde::test::TestProgramFolder() / L"recording_tool.exe";
  ASSERT_TRUE(fs::exists(recorder)) << recorder;
  for (const std::wstring& ending : kFolderEndings) {
    TestFolder folder(ending);
    fs::copy_file(recorder, folder.Path() / L"Tressol.exe");
    const std::wstring tool = folder.Text() + L"\\Tressol.exe";
    // Every target in the ordinary folder; in the others, a few that mix their troubles.
    const std::vector<std::wstring> targets =
        ending.empty() ? kTargets
                       : std::vector<std::wstring>{kTargets[1], kTargets[2], kTargets[3]};
    for (const std::wstring& target : targets) {
      for (std::int16_t index = 0; index <= 3; ++index) {
        fs::remove(folder.Path() / L"received.txt");
        linguarde::test::UnstartedPlatform platform(folder.Text());
        linguarde::LancerAction(index, target, platform);
        const fs::path shown = folder.Path() / L"interpreter.txt";
        unsigned long status =
            linguarde::test::RunScriptToEnd(folder.Text() + L"\\VBcommand.bat", shown);
        // Now and then Wine fails to start a process: the interpreter itself, or the tool,
        // and then the interpreter answers 9009 with nothing run. The same bytes run again;
        // a fault of ours would fail every time, and more than a few repeats fail the test.
        const auto notStarted = [&] {
          return (status == kCommandNotStarted || (status & kInterpreterNotStarted) != 0) &&
                 !fs::exists(folder.Path() / L"received.txt");
        };
        while (notStarted() && ++repeats <= kRepeatsAllowed) {
          status = linguarde::test::RunScriptToEnd(folder.Text() + L"\\VBcommand.bat", shown);
        }
        ASSERT_EQ(status, 0u) << testing::PrintToString(folder.Text() + L" | " + target)
                              << " action " << index << "; the interpreter showed:\n"
                              << linguarde::test::ReadBytes(shown);
        const std::vector<std::wstring> received = ReceivedCommandLines(folder.Path());
        ASSERT_EQ(received.size(), 1u)
            << testing::PrintToString(folder.Text() + L" | " + target) << " action " << index;
        EXPECT_EQ(received[0], ExpectedCommandLine(tool, target, index)) << "action " << index;
      }
    }
  }
  if (repeats > 0) {
    std::printf("note: %d run(s) that Wine failed to start were repeated\n", repeats);
  }
}

}  // namespace
