#pragma once

#include <windows.h>

#include <string>

#include "owners.h"

namespace linguarde {

// The localisation tool run hidden on one target with --json: a detached process, so no
// console or terminal window shows, whose output comes through a pipe and is read on a
// thread of its own, so that the window stays free. When the output has ended, `done` is
// posted to the window with `id` as its WPARAM.
class ToolReading {
 public:
  // Throws Win32Error when the tool cannot be started.
  ToolReading(const std::wstring& tool, const std::wstring& target, HWND window, UINT done,
              WPARAM id);
  // Ends the tool if it still runs (a view writes nothing, so nothing is left half-done),
  // then waits for the reading thread.
  ~ToolReading();
  ToolReading(const ToolReading&) = delete;
  ToolReading& operator=(const ToolReading&) = delete;

  // Everything the tool wrote; waits for the end of the output if `done` has not come yet.
  const std::string& Output() const;

 private:
  static DWORD WINAPI Read(void* reading);

  win32::UniqueHandle process_;
  win32::UniqueHandle pipe_;  // the read end
  HWND window_;
  UINT done_;
  WPARAM id_;
  std::string output_;
  win32::UniqueHandle thread_;
};

}  // namespace linguarde
