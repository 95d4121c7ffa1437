// The proof that the tool receives exactly the target: a stand-in tool records its raw
// command line while the real interpreter runs the script that LancerAction wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

#include "LancerAction.h"
#include "command_line.h"
#include "text_encoding.h"
#include "win32_script_platform.h"
#include "unstarted_platform.h"
#include "windows_test_support.h"

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

// The tool's own path as the interpreter hands it on: quoted when the line names it through
// the script's own folder, or where the interpreter would split it.
std::wstring ToolAsWritten(const std::wstring& tool) {
  const bool ascii = std::all_of(tool.begin(), tool.end(), [](wchar_t c) { return c < 0x80; });
  const bool plain = ascii && tool.find_first_of(L" &|<>^()%,;=") == std::wstring::npos;
  return plain ? tool : L"\"" + tool + L"\"";
}

// Checks what the tool receives. A view takes its whole tail as the target, so the tail
// must be exactly the target; a set splits its tail by the argument rules of Windows
// programs, which must give back the target and the action's four settings.
void ExpectTheToolReceives(const std::wstring& received, const std::wstring& tool,
                           const std::wstring& target, std::int16_t index) {
  const std::wstring self = ToolAsWritten(tool);
  ASSERT_EQ(received.rfind(self + L" ", 0), 0u) << testing::PrintToString(received);
  const std::wstring tail = received.substr(self.size() + 1);
  // Each action's settings as the tool must receive them.
  const std::vector<std::string> kSettings[] = {
      {},
      {"*", "0x409", "~", "0x0"},
      {"vb6FR.dll", "0x40C", "*", "0x409"},
      {"vb6FR.dll", "0x40C", "~", "0x409"},
  };
  if (index == 0) {
    EXPECT_EQ(tail, target) << "action " << index;
    return;
  }
  std::vector<std::string> expected = {linguarde::win32::ToUtf8(target)};
  const std::vector<std::string>& settings = kSettings[index];
  expected.insert(expected.end(), settings.begin(), settings.end());
  EXPECT_EQ(tressol::SplitArguments(linguarde::win32::ToUtf8(tail)), expected)
      << "action " << index << ": " << testing::PrintToString(tail);
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
    L"C:\\\x0153uvre \x20AC\\\u6587\u4EF6 & (x) a^b.exe",
    L"C:\\Données\\été\\",
    L"   espaces autour.dll  ",
    L"..\\relatif\\Appli.exe",
    L"",
    kLongTarget,
    L"C:\\Dossier\\",
    L"C:\\",
    L"\\\\serveur\\partage\\",
};

// Folders that the interpreter would split, escape or expand on.
const std::vector<std::wstring> kFolderEndings = {
    L"",     L" avec espaces",      L" R&D", L" a^b", L" 100%", L" (x86)", L" !bang",
    L" été", L"\x0153\x20AC\u6587",
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
        ending.empty()
            ? kTargets
            : std::vector<std::wstring>{kTargets[1], kTargets[2], kTargets[3], kTargets[6]};
    for (const std::wstring& target : targets) {
      for (std::int16_t index = 0; index <= 3; ++index) {
        fs::remove(folder.Path() / L"received.txt");
        linguarde::test::UnstartedPlatform platform(folder.Text());
        linguarde::LancerAction(index, target, platform);
        const fs::path shown = folder.Path() / L"interpreter.txt";
        const auto run = [&] {
          return linguarde::test::RunScriptToEnd(folder.Text() + L"\\VBcommand.bat", shown,
                                                 platform.environment);
        };
        unsigned long status = run();
        // Now and then Wine fails to start a process: the interpreter itself, or the tool,
        // and then the interpreter answers 9009 with nothing run. The same bytes run again;
        // a fault of ours would fail every time, and more than a few repeats fail the test.
        const auto notStarted = [&] {
          return (status == kCommandNotStarted || (status & kInterpreterNotStarted) != 0) &&
                 !fs::exists(folder.Path() / L"received.txt");
        };
        while (notStarted() && ++repeats <= kRepeatsAllowed) {
          status = run();
        }
        ASSERT_EQ(status, 0u) << testing::PrintToString(folder.Text() + L" | " + target)
                              << " action " << index << "; the interpreter showed:\n"
                              << linguarde::test::ReadBytes(shown);
        const std::vector<std::wstring> received = ReceivedCommandLines(folder.Path());
        ASSERT_EQ(received.size(), 1u)
            << testing::PrintToString(folder.Text() + L" | " + target) << " action " << index;
        ExpectTheToolReceives(received[0], tool, target, index);
      }
    }
  }
  if (repeats > 0) {
    std::printf("note: %d run(s) that Wine failed to start were repeated\n", repeats);
  }
}

// The interpreter reads 8191 characters of a line: a line of exactly that length still
// hands the tool the whole target.
TEST(ArgumentRoundTrip, TheLongestLineTheInterpreterReadsReachesTheToolWhole) {
  TestFolder folder(L"");
  fs::copy_file(linguarde::test::TestProgramFolder() / L"recording_tool.exe",
                folder.Path() / L"Tressol.exe");
  const std::wstring tool = folder.Text() + L"\\Tressol.exe";
  const std::wstring target = L"C:\\" + std::wstring(8191 - tool.size() - 4, L'a');
  linguarde::test::UnstartedPlatform platform(folder.Text());
  linguarde::LancerAction(0, target, platform);
  ASSERT_EQ(linguarde::test::ReadBytes(folder.Path() / L"VBcommand.bat").find("\r\n"), 8191u);
  ASSERT_EQ(linguarde::test::RunScriptToEnd(folder.Text() + L"\\VBcommand.bat"), 0u);
  const std::vector<std::wstring> received = ReceivedCommandLines(folder.Path());
  ASSERT_EQ(received.size(), 1u);
  ExpectTheToolReceives(received[0], tool, target, 0);
}

}  // namespace
