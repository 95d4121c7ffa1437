#pragma once

#include <cstdint>
#include <string>

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

}  // namespace tressol
