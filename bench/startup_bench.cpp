// Time from process start to the window shown and painted, for Linguarde.exe and for two
// empty Win32 windows (bare, and themed as Linguarde is), started in turn under the same
// system; medians and their ratios.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId && IsWindowVisible(window)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// Milliseconds until the program's window is visible with nothing left to paint.
double TimeToPaintedWindow(const std::filesystem::path& program) {
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = Clock::now();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  while (Clock::now() - start < std::chrono::seconds(30)) {
    Search search{process.dwProcessId, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr && !GetUpdateRect(search.found, nullptr, FALSE)) {
      elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      PostMessageW(search.found, WM_CLOSE, 0, 0);
      break;
    }
    Sleep(1);
  }
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::filesystem::path folder = std::filesystem::path(self).parent_path();
  const std::filesystem::path linguarde = folder / L"Linguarde.exe";
  const std::filesystem::path bare = folder / L"empty_window.exe";
  const std::filesystem::path themed = folder / L"empty_window_themed.exe";

  constexpr int kRounds = 21;
  TimeToPaintedWindow(bare);  // warm the system's caches for all three
  TimeToPaintedWindow(themed);
  std::vector<double> ours;
  std::vector<double> bareFloor;
  std::vector<double> themedFloor;
  for (int round = 0; round < kRounds; ++round) {
    ours.push_back(TimeToPaintedWindow(linguarde));
    bareFloor.push_back(TimeToPaintedWindow(bare));
    themedFloor.push_back(TimeToPaintedWindow(themed));
  }
  const double a = Median(ours);
  const double b = Median(bareFloor);
  const double t = Median(themedFloor);
  std::printf(
      "median ms to a painted window: Linguarde.exe %.0f; empty window %.0f; empty window "
      "with Linguarde's manifest and Common Controls 6 %.0f\n",
      a, b, t);
  std::printf(
      "start-up ratio Linguarde / empty window: %.2f; Linguarde / themed empty window: %.2f "
      "(%d rounds, interleaved)\n",
      a / b, a / t, kRounds);
  std::printf("sizes: Linguarde.exe %llu bytes, empty_window.exe %llu bytes\n",
              static_cast<unsigned long long>(std::filesystem::file_size(linguarde)),
              static_cast<unsigned long long>(std::filesystem::file_size(bare)));
  return 0;
}
