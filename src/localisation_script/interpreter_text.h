#pragma once

#include <optional>
#include <string>
#include <string_view>

// How text must be written so that the Windows command interpreter hands it on unchanged,
// in a batch line and in the command line that starts a batch file.
namespace linguarde::interpreter {

// The longest batch line the interpreter is known to read whole; what it does with a
// longer one is not documented, so longer lines are refused.
inline constexpr std::size_t kLongestLine = 8191;

// True when a path can stand bare as a command: no blank and no character that the
// interpreter splits, redirects, escapes or expands on.
bool IsPlain(std::wstring_view path);

// A command's path for a batch line: bare when plain, otherwise in double quotes.
std::wstring QuotedCommand(std::wstring_view path);

// Text for a batch line inside double quotes: only % needs doubling there.
std::wstring InsideQuotes(std::wstring_view text);

// A program's argument in double quotes, for a batch line. Backslashes before the closing
// quote are doubled: by the argument rules of Windows programs they would escape it.
std::wstring QuotedArgument(std::wstring_view text);

// Text for a batch line outside quotes: % doubled, the other operators escaped with ^.
std::wstring OutsideQuotes(std::wstring_view text);

// The interpreter's command line that runs a batch file: the user's AutoRun command and
// delayed expansion switched off (both would change what the line does), and the path
// in the /s /c form, whose outer quotes the interpreter strips.
std::wstring ScriptCommandLine(std::wstring_view scriptPath);

// The position of the first character that no quoting can carry (a double quote or a
// control character), if any.
std::optional<std::size_t> FindUncarriable(std::wstring_view text);

}  // namespace linguarde::interpreter
