#pragma once

#include <string>
#include <vector>

#include "localisation_script/script_platform.h"
#include "owners.h"

namespace linguarde::win32 {

// The folder of the running executable, of any length; a drive root keeps its backslash.
std::wstring ExecutableFolder();

// How a batch file is started: the program to run (empty: let the system pick it from
// the command line) and the command line.
struct ProcessCommand {
  std::wstring application;
  std::wstring commandLine;
};
ProcessCommand ScriptStartCommand(const std::wstring& path);

// Starts a batch file as the script is started and returns the interpreter's process.
UniqueHandle StartScriptProcess(const std::wstring& path);

// The code page in which a new console's interpreter reads batch files.
UINT InterpreterCodePage();

class Win32ScriptPlatform final : public ScriptPlatform {
 public:
  // Tests point the script at a folder of their own.
  explicit Win32ScriptPlatform(std::wstring applicationFolder = ExecutableFolder());

  std::wstring ApplicationFolder() override;
  std::optional<std::string> EncodeForInterpreter(std::wstring_view text) override;
  bool ClaimScript(const std::wstring& path) override;
  std::unique_ptr<ScriptFile> CreateScript(const std::wstring& path) override;
  void StartScript(const std::wstring& path) override;

 private:
  void ForgetEndedConsoles();
  void BringConsoleToFront();

  std::wstring applicationFolder_;
  // A named object per script, held from the claim until the console's interpreter has it.
  UniqueHandle claim_;
  // The consoles this program started, newest last; nothing waits for them.
  std::vector<UniqueHandle> consoles_;
};

}  // namespace linguarde::win32
