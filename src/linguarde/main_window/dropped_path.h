#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "system_library.h"

namespace linguarde {

// What a drop from Explorer, or the start-up argument, names: its first item, a shortcut
// standing for its target as in the Open dialog. shell32 and COM are loaded at the first
// drop or shortcut, never at start.
class DroppedPath {
 public:
  // Takes the drop, which it frees; empty when the drop names nothing.
  std::wstring Take(HDROP drop);
  // The path, or the target of the shortcut it names.
  std::wstring Resolved(const std::wstring& path);

 private:
  std::wstring ShortcutTarget(const std::wstring& shortcut);

  win32::SystemLibrary shell32_{L"shell32.dll"};
  win32::SystemLibrary ole32_{L"ole32.dll"};
};

}  // namespace linguarde
