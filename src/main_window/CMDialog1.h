#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <string>

#include "owners.h"

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
  // The dialog's library, loaded at the first ShowOpen rather than at start.
  win32::UniqueModule library_;
};

}  // namespace linguarde
