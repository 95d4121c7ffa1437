// The built program driven from outside its process, as the system and the user see it.
#include <gtest/gtest.h>

#include "platform_win32/unique_handle.h"
#include "support/dialog_driver.h"
#include "support/windows_test_support.h"

namespace linguarde::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Linguarde.exe copied into a folder of the test's and started from there.
class RunningLinguarde {
 public:
  explicit RunningLinguarde(const fs::path& folder) {
    const fs::path program = folder / L"Linguarde.exe";
    fs::copy_file(TestProgramFolder() / L"Linguarde.exe", program);
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &process)) {
      process_.Reset(process.hProcess);
      CloseHandle(process.hThread);
      id_ = process.dwProcessId;
      window_ = WaitForWindow(30s);
    }
  }
  ~RunningLinguarde() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.Get(), 99);
      WaitForSingleObject(process_.Get(), 5000);
    }
  }

  HWND Window() const { return window_; }
  DWORD Id() const { return id_; }

  // The exit status, once the process has ended within the time-out.
  std::optional<DWORD> ExitCode(std::chrono::milliseconds timeout) const {
    if (WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
      return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
  }

 private:
  HWND WaitForWindow(std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      for (HWND window = FindWindowExW(nullptr, nullptr, L"Linguarde.Form1", L"Linguarde");
           window != nullptr;
           window = FindWindowExW(nullptr, window, L"Linguarde.Form1", L"Linguarde")) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == id_ && IsWindowVisible(window)) return window;
      }
      std::this_thread::sleep_for(50ms);
    }
    return nullptr;
  }

  win32::UniqueHandle process_;
  DWORD id_ = 0;
  HWND window_ = nullptr;
};

TEST(LinguardeProcess, TheCloseBoxEndsTheProgramWithStatusZero) {
  TestFolder folder(L" clos");
  RunningLinguarde linguarde(folder.Path());
  ASSERT_NE(linguarde.Window(), nullptr);
  PostMessageW(linguarde.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(linguarde.ExitCode(20s), std::optional<DWORD>(0));
  // Nothing is saved on the way out.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(LinguardeProcess, AFailedActionIsReportedAndEndsTheProgramWithANonZeroStatus) {
  TestFolder folder(L" R&D");
  // The script's name is taken by a folder: it cannot be created, even by root.
  fs::create_directories(folder.Path() / L"VBcommand.bat");
  RunningLinguarde linguarde(folder.Path());
  ASSERT_NE(linguarde.Window(), nullptr);

  const HWND band = FindWindowExW(linguarde.Window(), nullptr, L"Linguarde.Band", nullptr);
  const HWND panel = FindWindowExW(linguarde.Window(), nullptr, L"Linguarde.Panel", nullptr);
  const HWND text = FindWindowExW(panel, nullptr, L"Edit", nullptr);
  const HWND button = FindWindowExW(band, nullptr, L"Button", L"Localiser en Anglais US");
  ASSERT_NE(button, nullptr);
  SendMessageW(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\Projets\\Appli.exe"));
  ShowWindow(band, SW_SHOW);
  PostMessageW(button, BM_CLICK, 0, 0);

  const HWND box = WaitForDialog(L"Linguarde", linguarde.Id(), 20s);
  ASSERT_NE(box, nullptr);
  const std::wstring message = MessageBoxText(box);
  EXPECT_EQ(message.rfind(L"Impossible de créer le fichier « " + folder.Text() +
                              L"\\VBcommand.bat » : ",
                          0),
            0u)
      << testing::PrintToString(message);
  // Until the report is closed the program waits.
  EXPECT_EQ(linguarde.ExitCode(500ms), std::nullopt);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const std::optional<DWORD> code = linguarde.ExitCode(20s);
  ASSERT_TRUE(code.has_value());
  EXPECT_NE(*code, 0u);
}

}  // namespace
}  // namespace linguarde::test
