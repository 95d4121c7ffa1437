#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tool_error.h"

// What the command line, the reports, the way back and the file systems all speak of: the
// run's mode, the shell that reads the tool's lines, and the arguments a change is made of.
namespace tressol {

// What a run does to each VB6 file: shows it, sets it (--set), checks it (--check), or
// gives it back what a journal recorded (--undo).
enum class Mode { View, Set, Check, Undo };

// How the console that runs the tool reads a command line; CmdScript: how cmd reads a line
// of a batch file (a % doubled, so that every path can be written).
enum class Shell { Cmd, CmdScript, Posix, PowerShell };

// Whether a library name can be given on the command line: "*" or "~", or 1 to 13 printable
// characters that make a Windows file name (no path, no reserved name such as CON).
bool IsLibraryArgument(const std::string& word);
// Whether a locale ID can be: a 20-bit one (sort and language), 0x0 being none.
bool IsLcidArgument(std::uint32_t lcid);

// A mistake in the command line, found before anything is done.
enum class Mistake {
  UnknownOption,        // word: the option
  NoTarget,             // none given, or only an empty one
  EmptyTarget,          // an empty one beside others
  DryRunWithoutUndo,    //
  SettingsMissing,      // word: --set or --check, short of its four values
  InvalidSettings,      // settings: the four words; at: the first wrong one
  SetAndCheck,          // more than one of them
  UndoWithoutJournal,   //
  UndoWithOthers,       // a target, settings or --recurse beside --undo
  TargetLooksLikeLcid,  // word: a set's target
  TargetLooksLikeOption,
};

// That mistake and what the report needs to say it, in the words of the shell the tool
// runs from: facts, which the report words (ReasonOf).
class UsageMistake : public ToolError {
 public:
  UsageMistake(Mistake mistake, Shell shell, std::string word = {},
               std::vector<std::string> settings = {}, std::size_t at = 0)
      : ToolError(Failure::Usage, "usage"),
        mistake_(mistake),
        shell_(shell),
        word_(std::move(word)),
        settings_(std::move(settings)),
        at_(at) {}
  Mistake Which() const noexcept { return mistake_; }
  Shell ShellUsed() const noexcept { return shell_; }
  const std::string& Word() const noexcept { return word_; }
  const std::vector<std::string>& Settings() const noexcept { return settings_; }
  std::size_t At() const noexcept { return at_; }

 private:
  Mistake mistake_;
  Shell shell_;
  std::string word_;
  std::vector<std::string> settings_;
  std::size_t at_;
};

}  // namespace tressol
