#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "owners.h"

namespace linguarde::test {

// Linguarde.exe copied from the build into a folder, unless it is there already, and
// started from there, as a user starts it; ended at destruction if it still runs.
class RunningLinguarde {
 public:
  // arguments: the command line after the program's name.
  explicit RunningLinguarde(const std::filesystem::path& folder,
                            const std::wstring& arguments = L"");
  ~RunningLinguarde();
  RunningLinguarde(const RunningLinguarde&) = delete;
  RunningLinguarde& operator=(const RunningLinguarde&) = delete;

  // The main window once visible, or nullptr if it did not show within 30 s.
  HWND Window() const { return window_; }
  DWORD Id() const { return id_; }
  // The controls by their window class and text, through the panels.
  HWND FilePanel() const;
  HWND ActionBand() const;
  HWND Button(const wchar_t* caption) const;
  HWND TextBox() const;
  // The line beside "Choisir le fichier" that says what the target is.
  HWND TargetLine() const;

  // The exit status, once the process has ended within the time-out.
  std::optional<DWORD> ExitCode(std::chrono::milliseconds timeout) const;

 private:
  win32::UniqueHandle process_;
  DWORD id_ = 0;
  HWND window_ = nullptr;
};

}  // namespace linguarde::test
