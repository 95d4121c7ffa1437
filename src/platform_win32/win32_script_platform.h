#pragma once

#include <string>
#include <vector>

#include "script_platform.h"
#include "owners.h"
#include "system_folders.h"

namespace linguarde::win32 {

// How a batch file is started: the program to run, named in full, and the command line.
struct ProcessCommand {
  std::wstring application;
  std::wstring commandLine;
};
ProcessCommand ScriptStartCommand(const std::wstring& path);

// The title of the script's console. The console host applies the settings saved under
// that title, so only settings made for Linguarde's consoles apply, not those of every
// cmd.exe.
inline constexpr wchar_t kConsoleTitle[] = L"Linguarde - VBcommand";

// The code page that a new console titled so starts with, and so the one its interpreter
// reads batch files in: CodePage under the title's subkey of the console settings key
// (under HKEY_CURRENT_USER), else under that key itself, else the OEM code page. A code
// page that is not installed counts as absent.
UINT ConsoleCodePage(const std::wstring& consoleKey, std::wstring_view title);
UINT InterpreterCodePage();

// The window to bring to the front for a console: its own, or for a pseudo-console that
// a terminal application shows (Windows Terminal), that terminal's window if it owns it.
HWND ConsoleWindowToRaise(HWND console);

class Win32ScriptPlatform final : public ScriptPlatform {
 public:
  // Tests point the script at a folder of their own.
  explicit Win32ScriptPlatform(std::wstring applicationFolder = ExecutableFolder());

  std::wstring ApplicationFolder() override;
  std::optional<std::string> EncodeForInterpreter(std::wstring_view text) override;
  std::unique_ptr<ScriptFile> CreateScript(const std::wstring& path) override;
  std::unique_ptr<Console> StartScript(const std::wstring& path,
                                       std::unique_ptr<HeldScript> script) override;

 private:
  void ForgetEndedConsoles();
  void BringConsoleToFront();

  std::wstring applicationFolder_;
  // The consoles this program started, newest last, to bring the newest to the front.
  std::vector<UniqueHandle> consoles_;
};

}  // namespace linguarde::win32
