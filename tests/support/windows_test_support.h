#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "owners.h"
#include "script_platform.h"

namespace linguarde::test {

// A fresh folder under the temporary folder, its last name ending in the given text;
// removed with all it holds at the end of the test.
class TestFolder {
 public:
  explicit TestFolder(const std::wstring& nameEnding);
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::wstring Text() const { return path_.wstring(); }

 private:
  std::filesystem::path path_;
};

// The folder of the running test program, where the build puts its helper programs.
std::filesystem::path TestProgramFolder();

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
std::wstring FromUtf8(const std::string& bytes);
// A text known to be ASCII (a temporary folder's path, say) as bytes.
std::string Ascii(const std::wstring& text);

// The same folder named another way, through a link: under Wine its Unix path on drive
// Z:, which passes through the prefix's link to drive C:; on Windows its 8.3 short name.
// Empty where neither gives another spelling.
std::filesystem::path AnotherSpelling(const std::filesystem::path& folder);

// A shortcut (.lnk) to a target, as Explorer makes one.
void MakeShortcut(const std::filesystem::path& shortcut, const std::filesystem::path& target);

// Polls until the file exists and is not empty; false after the time-out.
bool WaitForFile(const std::filesystem::path& file, std::chrono::milliseconds timeout);

// How a test starts a program: by its full path, with a command line, and optionally
// its standard handles (inherited), a console title, a folder to start in.
struct ProcessStart {
  std::wstring application;
  std::wstring commandLine;
  DWORD flags = 0;
  HANDLE input = nullptr;   // with output: both become the standard handles
  HANDLE output = nullptr;  // standard output and error
  std::wstring title;       // of a new console
  std::filesystem::path currentFolder;
  std::wstring environment;  // a block for CREATE_UNICODE_ENVIRONMENT; empty: this one's
};

// A started process, its handles owned. Empty when it could not be started (GetLastError
// says why).
struct StartedProcess {
  win32::UniqueHandle process;
  win32::UniqueHandle thread;
  DWORD id = 0;
  explicit operator bool() const { return static_cast<bool>(process); }
};
StartedProcess StartProcess(ProcessStart start);

// Waits for the process to end and returns its exit status; ends it and returns
// 0x40000000 when it does not end in time.
unsigned long WaitForExitStatus(const StartedProcess& started, std::chrono::milliseconds timeout);

// Runs a batch file the way the program starts it, but with its input at end of file so
// that "Pause" returns, and its output to a file (or nowhere); waits for the end and
// returns the interpreter's exit status; 0x80000000 plus the error code when it cannot be
// started, 0x40000000 when it does not end within 30 s.
unsigned long RunScriptToEnd(const std::wstring& script, const std::filesystem::path& output = {},
                             const std::vector<ScriptVariable>& environment = {});

// Ends every process that a process started (this test's by default), and theirs, so
// that no console stays open.
void EndChildProcesses(DWORD root = GetCurrentProcessId());

}  // namespace linguarde::test
