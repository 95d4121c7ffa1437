#pragma once

#include <optional>
#include <string>
#include <string_view>

// How text must be written so that the Windows command interpreter hands it on unchanged,
// in a batch line and in the command line that starts a batch file.
namespace linguarde::interpreter {

// True when a path can stand bare as a command: no blank and no character that the
// interpreter splits, redirects, escapes or expands on.
bool IsPlain(std::wstring_view path);

// A command's path for a batch line: bare when plain, otherwise in double quotes.
std::wstring QuotedCommand(std::wstring_view path);

// Text for a batch line inside double quotes: only % needs doubling there.
std::wstring InsideQuotes(std::wstring_view text);

// Text for a batch line outside quotes: % doubled, the other operators escaped with ^.
std::wstring OutsideQuotes(std::wstring_view text);

// The command line that starts a batch file. A plain path is the command line itself;
// any other goes through the interpreter's /s /c form, whose outer quotes it strips.
std::wstring ScriptCommandLine(std::wstring_view scriptPath);

// The position of the first character that no quoting can carry (a double quote or a
// control character), if any.
std::optional<std::size_t> FindUncarriable(std::wstring_view text);

}  // namespace linguarde::interpreter
