#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace linguarde {

// A variable that the script's interpreter alone is given in its environment; an empty
// value takes the variable out of the environment.
struct ScriptVariable {
  std::wstring name;
  std::wstring value;
};

// Where the tool writes the journal of a run that changes files.
inline constexpr std::wstring_view kJournalVariable = L"TRESSOL_JOURNAL";

// The script held read only, from its close until the console's interpreter has it: while
// that console runs, nobody can write the script.
class HeldScript {
 public:
  virtual ~HeldScript() = default;
};

// A console that an action started; it ends once a key has been pressed at "Pause".
class Console {
 public:
  virtual ~Console() = default;
  // What the system lets a caller wait on until the console has ended (on Windows, the
  // interpreter's process handle); valid while this object lives, nothing where the
  // system could give none.
  virtual void* WaitHandle() const = 0;
};

// The script file while it is being written. Failures throw StepFailed.
class ScriptFile {
 public:
  virtual ~ScriptFile() = default;
  // Writes the bytes and the CR LF that ends the line.
  virtual void WriteLine(std::string_view bytes) = 0;
  // Closes the file and holds it for the console that StartScript starts. Nothing when
  // another process wrote the file between the close and the hold: nothing may then be
  // started.
  virtual std::unique_ptr<HeldScript> Close() = 0;
};

// What running an action needs from the system. Failures throw StepFailed.
class ScriptPlatform {
 public:
  virtual ~ScriptPlatform() = default;
  // The folder of the program's own executable.
  virtual std::wstring ApplicationFolder() = 0;
  // The program's current folder, where a console it starts begins.
  virtual std::wstring CurrentFolder() = 0;
  // Creates the file, or truncates it if it exists. Nothing when another process holds
  // it: a console started earlier, by any copy of the program, reads it again at each
  // line from where it stopped. A console of this program is then brought to the front.
  virtual std::unique_ptr<ScriptFile> CreateScript(const std::wstring& path) = 0;
  // Starts the batch file in a console of its own with a normal, focused window, in the
  // program's current directory, with the program's environment and these variables;
  // hands its interpreter the held script before it reads a line, and returns the console
  // without waiting for it.
  virtual std::unique_ptr<Console> StartScript(const std::wstring& path,
                                               std::unique_ptr<HeldScript> script,
                                               const std::vector<ScriptVariable>& environment) = 0;
  // A path for the journal of the next action that writes, where no file is yet, in the
  // tool's own folder of journals; nothing where that folder is not known.
  virtual std::wstring NewJournalPath() = 0;
  // Starts "tool --undo journal" in a console of its own, as StartScript starts a script,
  // that waits for a key once the tool has ended.
  virtual std::unique_ptr<Console> StartUndo(const std::wstring& tool, const std::wstring& journal,
                                             const std::vector<ScriptVariable>& environment) = 0;
};

}  // namespace linguarde
