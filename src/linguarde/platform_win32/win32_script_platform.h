#pragma once

#include <string>
#include <vector>

#include "script_platform.h"
#include "user_error.h"
#include "window_words.h"
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

// This process's environment block with the variables added or put in place of those of
// the same name, one of empty value taken out, sorted as the system expects, for
// CREATE_UNICODE_ENVIRONMENT.
std::wstring EnvironmentBlockWith(const std::vector<ScriptVariable>& variables);

// The window to bring to the front for a console: its own, or for a pseudo-console that
// a terminal application shows (Windows Terminal), that terminal's window if it owns it.
HWND ConsoleWindowToRaise(HWND console);

// Starts a program with no console and no window, at below-normal priority, its standard
// output and error to `output`, the one handle of this process that it inherits; every
// process of Linguarde is started here. Throws StepFailed, saying `failure` of the program.
UniqueHandle StartHiddenProgram(const std::wstring& program, std::wstring commandLine,
                                HANDLE output, WindowWords failure);

// A step that failed, said by its entry: "{path}" the path given, "{system}" the system's
// words for the last error, whose code it keeps.
StepFailed LastErrorSaid(WindowWords entry, const std::wstring& path = {});

// Linguarde's folder, the running program's. Throws StepFailed where Windows gives none.
std::wstring ProgramFolder();
[[noreturn]] void FailSaying(WindowWords entry, const std::wstring& path = {});

class Win32ScriptPlatform final : public ScriptPlatform {
 public:
  // Tests point the script at a folder of their own.
  explicit Win32ScriptPlatform(std::wstring applicationFolder = ProgramFolder());

  std::wstring ApplicationFolder() override;
  std::wstring CurrentFolder() override;
  std::unique_ptr<ScriptFile> CreateScript(const std::wstring& path) override;
  std::unique_ptr<Console> StartScript(const std::wstring& path, std::unique_ptr<HeldScript> script,
                                       const std::vector<ScriptVariable>& environment) override;
  // In %LOCALAPPDATA%\Tressol\Retours, made if need be.
  std::wstring NewJournalPath() override;
  std::unique_ptr<Console> StartUndo(const std::wstring& tool, const std::wstring& journal,
                                     const std::vector<ScriptVariable>& environment) override;

 private:
  // A console started: kept to be brought to the front, and handed to the caller.
  std::unique_ptr<Console> Kept(UniqueHandle console);
  void ForgetEndedConsoles();
  void BringConsoleToFront();

  std::wstring applicationFolder_;
  // The consoles this program started, newest last, to bring the newest to the front.
  std::vector<UniqueHandle> consoles_;
};

}  // namespace linguarde::win32
