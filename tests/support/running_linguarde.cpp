#include "running_linguarde.h"

#include <string>
#include <thread>

#include "windows_test_support.h"

namespace linguarde::test {
namespace {

using namespace std::chrono_literals;

HWND WaitForMainWindow(DWORD processId, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    for (HWND window = FindWindowExW(nullptr, nullptr, L"Linguarde.Form1", L"Linguarde");
         window != nullptr;
         window = FindWindowExW(nullptr, window, L"Linguarde.Form1", L"Linguarde")) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == processId && IsWindowVisible(window)) return window;
    }
    std::this_thread::sleep_for(50ms);
  }
  return nullptr;
}

}  // namespace

RunningLinguarde::RunningLinguarde(const std::filesystem::path& folder,
                                   const std::wstring& arguments) {
  const std::filesystem::path program = folder / L"Linguarde.exe";
  if (!std::filesystem::exists(program)) {
    std::filesystem::copy_file(TestProgramFolder() / L"Linguarde.exe", program);
  }
  ProcessStart start;
  start.application = program.wstring();
  start.commandLine = L"\"" + program.wstring() + L"\"" + arguments;
  start.currentFolder = folder;
  if (StartedProcess started = StartProcess(start)) {
    process_ = std::move(started.process);
    id_ = started.id;
    window_ = WaitForMainWindow(id_, 30s);
  }
}

RunningLinguarde::~RunningLinguarde() {
  // Its consoles first: once it is gone they could no longer be told from others.
  if (id_ != 0) EndChildProcesses(id_);
  if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    // Closed as a user closes it, so that it ends the reading it may be starting: a process
    // whose parent is killed while Wine creates it never runs, and holds every handle it
    // inherited (Wine gives a child all of them), the test runner's output among them.
    if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.Get(), 5000) == WAIT_TIMEOUT) {
      TerminateProcess(process_.Get(), 99);
      WaitForSingleObject(process_.Get(), 5000);
    }
  }
}

HWND RunningLinguarde::FilePanel() const {
  return FindWindowExW(window_, nullptr, L"Linguarde.Panel", nullptr);
}
HWND RunningLinguarde::ActionBand() const {
  return FindWindowExW(window_, nullptr, L"Linguarde.Band", nullptr);
}
HWND RunningLinguarde::Button(const wchar_t* caption) const {
  const HWND inFile = FindWindowExW(FilePanel(), nullptr, L"Button", caption);
  return inFile != nullptr ? inFile : FindWindowExW(ActionBand(), nullptr, L"Button", caption);
}
HWND RunningLinguarde::TextBox() const {
  return FindWindowExW(FilePanel(), nullptr, L"Edit", nullptr);
}
HWND RunningLinguarde::TargetLine() const {
  return FindWindowExW(FilePanel(), nullptr, L"Static", nullptr);
}

std::optional<DWORD> RunningLinguarde::ExitCode(std::chrono::milliseconds timeout) const {
  if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return code;
}

}  // namespace linguarde::test
