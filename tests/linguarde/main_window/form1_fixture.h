#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
#include <filesystem>

#include "Form1.h"
#include "win32_script_platform.h"
#include "dialog_driver.h"
#include "windows_test_support.h"

namespace linguarde::test {

// The real window, shown, with its application folder in a test folder that holds the
// recording stand-in as its tool.
class Form1Test : public testing::Test {
 protected:
  Form1Test()
      : folder_(L" app"), platform_(folder_.Text()), form_(GetModuleHandleW(nullptr), platform_) {
    std::filesystem::copy_file(TestProgramFolder() / L"recording_tool.exe",
                               folder_.Path() / L"Tressol.exe");
    form_.Show(SW_SHOWNORMAL);
    Pump();
  }
  ~Form1Test() override { EndChildProcesses(); }

  void TearDown() override {
    EXPECT_EQ(strays_.Closed(), std::vector<std::wstring>{}) << "message boxes nobody expected";
  }

  void SetUp() override {
    const UINT dpi = GetDpiForWindow(form_.Handle());
    if (const char* only = std::getenv("LINGUARDE_ONLY_AT_DPI"); only && dpi != std::stoul(only)) {
      GTEST_SKIP() << "the display is at " << dpi << " DPI, not " << only;
    }
  }

  // Runs the queued messages the way the program's loop does.
  void Pump() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(form_.Handle(), &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }

  // Runs the messages until the condition holds, or the time is out; whether it holds.
  bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > end) return false;
      Pump();
      Sleep(10);
    }
    return true;
  }

  // A key pressed and released on the focused control.
  void PressKey(UINT key) {
    const HWND focus = GetFocus();
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(focus, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageW(focus, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
    Pump();
  }

  HWND Control(std::size_t row) const { return form_.Control(row); }
  std::filesystem::path Script() const { return folder_.Path() / L"VBcommand.bat"; }

  TestFolder folder_;
  win32::Win32ScriptPlatform platform_;
  Form1 form_;
  StrayDialogGuard strays_{std::wstring(kForm1Caption)};
};

inline int Pixels(int twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

}  // namespace linguarde::test
