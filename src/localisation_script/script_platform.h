#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace linguarde {

// The script file while it is being written. Failures throw ActionFailed.
class ScriptFile {
 public:
  virtual ~ScriptFile() = default;
  // Writes the bytes and the CR LF that ends the line.
  virtual void WriteLine(std::string_view bytes) = 0;
  virtual void Close() = 0;
};

// What running an action needs from the system. Failures throw ActionFailed.
class ScriptPlatform {
 public:
  virtual ~ScriptPlatform() = default;
  // The folder of the program's own executable.
  virtual std::wstring ApplicationFolder() = 0;
  // The text in the 8-bit code page in which the interpreter reads batch files, or
  // nothing when some character has no exact form there.
  virtual std::optional<std::string> EncodeForInterpreter(std::wstring_view text) = 0;
  // Takes the script for one action. False when a console started earlier from this
  // folder, by this program or another copy of it, is still running: it reads the script
  // again at each line, from where it stopped. That console is then brought to the front
  // where the system allows. The claim passes to the console that StartScript starts.
  virtual bool ClaimScript(const std::wstring& path) = 0;
  // Creates the file, or truncates it if it exists.
  virtual std::unique_ptr<ScriptFile> CreateScript(const std::wstring& path) = 0;
  // Starts the batch file in a console of its own with a normal, focused window, in the
  // program's current directory, and returns without waiting.
  virtual void StartScript(const std::wstring& path) = 0;
};

}  // namespace linguarde
