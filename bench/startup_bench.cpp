// Time from process start to the window shown and painted, for Linguarde.exe and for two
// empty Win32 windows (bare, and themed as Linguarde is), started in turn under the same
// system; medians and their ratios.
//   startup_bench [--target PATH] [OTHER\Linguarde.exe ...]
// --target starts every Linguarde with that target, which it reads once painted; other
// builds of Linguarde are timed in the same rounds.
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
double TimeToPaintedWindow(const std::filesystem::path& program, const std::wstring& target = L"") {
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  if (!target.empty()) commandLine += L" \"" + target + L"\"";
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

int wmain(int argc, wchar_t** argv) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::filesystem::path folder = std::filesystem::path(self).parent_path();
  std::vector<std::filesystem::path> linguardes = {folder / L"Linguarde.exe"};
  std::wstring target;
  for (int i = 1; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--target" && i + 1 < argc) {
      target = argv[++i];
    } else {
      linguardes.emplace_back(argv[i]);
    }
  }
  const std::filesystem::path bare = folder / L"empty_window.exe";
  const std::filesystem::path themed = folder / L"empty_window_themed.exe";

  constexpr int kRounds = 21;
  TimeToPaintedWindow(bare);  // warm the system's caches
  TimeToPaintedWindow(themed);
  std::vector<std::vector<double>> ours(linguardes.size());
  std::vector<double> bareFloor;
  std::vector<double> themedFloor;
  for (int round = 0; round < kRounds; ++round) {
    // Each build in turn starts first: the first start after the floors' may pay for them.
    for (std::size_t i = 0; i < linguardes.size(); ++i) {
      const std::size_t k = (i + static_cast<std::size_t>(round)) % linguardes.size();
      ours[k].push_back(TimeToPaintedWindow(linguardes[k], target));
    }
    bareFloor.push_back(TimeToPaintedWindow(bare));
    themedFloor.push_back(TimeToPaintedWindow(themed));
  }
  const double b = Median(bareFloor);
  const double t = Median(themedFloor);
  std::printf(
      "median ms to a painted window: empty window %.0f; empty window with Linguarde's "
      "manifest and Common Controls 6 %.0f (%d rounds, interleaved)%s\n",
      b, t, kRounds, target.empty() ? "" : "; Linguarde given a target");
  for (std::size_t k = 0; k < linguardes.size(); ++k) {
    const double a = Median(ours[k]);
    std::printf(
        "%ls (%llu bytes): %.0f ms; ratio to the empty window %.2f, to the themed one %.2f\n",
        linguardes[k].c_str(),
        static_cast<unsigned long long>(std::filesystem::file_size(linguardes[k])), a, a / b,
        a / t);
  }
  return 0;
}
