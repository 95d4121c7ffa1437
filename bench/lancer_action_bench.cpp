// What LancerAction costs beyond the process start it ends with: both are timed in turn,
// interleaved, on the same script file, and the median of each is compared.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "LancerAction.h"
#include "win32_script_platform.h"
#include "windows_test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main() {
  constexpr int kRounds = 15;
  const linguarde::test::TestFolder folder(L" bench");
  linguarde::win32::Win32ScriptPlatform platform(folder.Text());
  const std::wstring script = folder.Text() + L"\\VBcommand.bat";

  std::vector<double> action;
  std::vector<double> bareStart;
  for (int round = 0; round < kRounds; ++round) {
    auto start = Clock::now();
    linguarde::LancerAction(2, L"C:\\Projets\\Appli.exe", platform);
    action.push_back(Milliseconds(Clock::now() - start));
    linguarde::test::EndChildProcesses();

    // The interpreter started as LancerAction starts it, without the script to hold.
    start = Clock::now();
    const linguarde::win32::ProcessCommand command = linguarde::win32::ScriptStartCommand(script);
    linguarde::test::ProcessStart bare;
    bare.application = command.application;
    bare.commandLine = command.commandLine;
    bare.flags = CREATE_NEW_CONSOLE;
    bare.title = linguarde::win32::kConsoleTitle;
    const linguarde::test::StartedProcess process = linguarde::test::StartProcess(bare);
    bareStart.push_back(Milliseconds(Clock::now() - start));
    linguarde::test::EndChildProcesses();
  }
  const double a = Median(action);
  const double b = Median(bareStart);
  std::printf("LancerAction: median %.2f ms; bare start of the same script: median %.2f ms\n", a,
              b);
  std::printf("ratio LancerAction / bare start: %.3f (%d rounds, interleaved)\n", a / b, kRounds);
  return 0;
}
