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
  // Closes the file and holds it, read only, for the console that StartScript starts:
  // while that console runs, nobody can write the script. False when another process
  // wrote the file between the close and the hold: nothing may then be started.
  virtual bool Close() = 0;
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
  // Creates the file, or truncates it if it exists. Nothing when another process holds
  // it: a console started earlier, by any copy of the program, reads it again at each
  // line from where it stopped. A console of this program is then brought to the front.
  virtual std::unique_ptr<ScriptFile> CreateScript(const std::wstring& path) = 0;
  // Starts the batch file in a console of its own with a normal, focused window, in the
  // program's current directory, and returns without waiting.
  virtual void StartScript(const std::wstring& path) = 0;
};

}  // namespace linguarde
