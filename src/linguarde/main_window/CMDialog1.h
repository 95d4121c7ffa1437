#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <string>

#include "system_library.h"

namespace linguarde {

// The Open dialog was cancelled or could not be shown, and CancelError asked to be told.
class DialogCancelled : public std::exception {
 public:
  const char* what() const noexcept override { return "Open dialog cancelled"; }
};

// The common dialog control of the window, over the system's Open dialog, with the
// control's own property names.
class CommonDialog {
 public:
  std::wstring DialogTitle;
  // Descriptions and patterns alternate, separated by "|".
  std::wstring Filter;
  std::uint32_t Flags = 0;
  bool CancelError = false;
  std::wstring FileName;

  // Modal. On success FileName holds the chosen path, whatever its length.
  void ShowOpen(HWND owner);

 private:
  // comdlg32 and what it pulls in cost tens of milliseconds at start-up: loaded at the
  // first ShowOpen.
  win32::SystemLibrary library_{L"comdlg32.dll"};
};

}  // namespace linguarde
