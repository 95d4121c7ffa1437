#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "owners.h"

namespace linguarde {

// The localisation tool run hidden with --json, on a target or a journal: a detached
// process, so no console or terminal window shows, whose output comes through a pipe and
// is read on a thread of its own, so that the window stays free. When the output has
// ended, `done` is posted to the window with `id` as its WPARAM.
class ToolReading {
 public:
  // The options as written, then one argument (a target, a journal), quoted. Throws
  // StepFailed when the tool cannot be started.
  ToolReading(const std::wstring& tool, const std::wstring& options, const std::wstring& argument,
              HWND window, UINT done, WPARAM id);
  // Ends the tool if it still runs (a view writes nothing, so nothing is left half-done) and
  // cancels the thread's read, waiting for it a moment only: a child of the tool may still
  // hold the pipe, or the system defer the tool's end while its I/O is pending (an offline
  // network drive). A thread that has not ended by then ends on its own, later, owning all
  // that it touches, and says nothing to the window.
  ~ToolReading();
  ToolReading(const ToolReading&) = delete;
  ToolReading& operator=(const ToolReading&) = delete;

  // Everything the tool wrote, once `done` has come.
  const std::string& Output() const;

 private:
  // Shared by the reading and its thread: whichever ends last lets it go.
  struct State {
    win32::UniqueHandle process;
    win32::UniqueHandle pipe;  // the read end
    HWND window = nullptr;
    UINT done = 0;
    WPARAM id = 0;
    std::string output;
    std::atomic<bool> abandoned{false};
    std::atomic<int> holders{1};
  };
  struct Letgo {
    void operator()(State* state) const noexcept {
      if (--state->holders == 0) delete state;
    }
  };
  using Held = std::unique_ptr<State, Letgo>;
  static DWORD WINAPI Read(void* state);

  Held state_;
  win32::UniqueHandle thread_;
};

}  // namespace linguarde
