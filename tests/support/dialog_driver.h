#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace linguarde::test {

// A top-level dialog-class window with this caption (of any process when processId is 0),
// once it is visible; nullptr after the time-out (one look when it is zero).
HWND WaitForDialog(const std::wstring& caption, DWORD processId, std::chrono::milliseconds timeout);

// The message of a message box.
std::wstring MessageBoxText(HWND box);
// The texts of a combo box's items.
std::vector<std::wstring> ComboItems(HWND combo);
// The text of any window, also a control of another process.
std::wstring WindowText(HWND window);

// Types a path into the Open dialog's file-name box and presses Open.
void ChooseInOpenDialog(HWND dialog, const std::wstring& path);
void PressCancel(HWND dialog);

// Watches, on a thread of its own, for a dialog with this caption and hands it to the
// action; joined on destruction.
class DialogWatcher {
 public:
  DialogWatcher(std::wstring caption, std::function<void(HWND)> action,
                std::chrono::milliseconds timeout = std::chrono::seconds(30));
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  bool Seen() const { return seen_; }

 private:
  std::atomic<bool> seen_{false};
  std::thread thread_;
};

// Closes a dialog with this caption that a test left open longer than a test waits, and
// keeps its message: an unexpected message box would otherwise hold the test forever.
class StrayDialogGuard {
 public:
  explicit StrayDialogGuard(std::wstring caption,
                            std::chrono::milliseconds patience = std::chrono::seconds(20));
  ~StrayDialogGuard();
  StrayDialogGuard(const StrayDialogGuard&) = delete;
  StrayDialogGuard& operator=(const StrayDialogGuard&) = delete;

  // The messages of the dialogs it closed.
  std::vector<std::wstring> Closed();

 private:
  std::mutex mutex_;
  std::vector<std::wstring> closed_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace linguarde::test
