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

// How a text reaches the interpreter: written in the batch line, where each % starts an
// expansion, or as the value of a variable that the line expands, which is not expanded
// again. Both are then parsed for operators.
enum class Carried { InLine, InVariable };

// Whether the interpreter would look for the target elsewhere than this program: with a
// network share as the current folder, cmd starts in the Windows folder, where a relative
// path (or one from the root of the current drive) names another file.
bool LooksElsewhere(const std::wstring& target, const std::wstring& currentFolder);

// A command's path for a batch line: bare when plain, otherwise in double quotes.
std::wstring QuotedCommand(std::wstring_view path);

// Text inside double quotes: only % needs doubling there, and only in the line.
std::wstring InsideQuotes(std::wstring_view text, Carried carried = Carried::InLine);

// A program's argument to stand between double quotes. Backslashes before the closing
// quote are doubled: by the argument rules of Windows programs they would escape it.
std::wstring ArgumentInsideQuotes(std::wstring_view text, Carried carried);

// Text outside quotes: the operators escaped with ^, and % doubled in the line.
std::wstring OutsideQuotes(std::wstring_view text, Carried carried);

// True when every character is ASCII, which every code page spells alike.
bool IsAscii(std::wstring_view text);

// The interpreter's command line that runs a batch file: the user's AutoRun command and
// delayed expansion switched off (both would change what the line does), and the path
// in the /s /c form, whose outer quotes the interpreter strips.
std::wstring ScriptCommandLine(std::wstring_view scriptPath);

// The position of the first character that no quoting can carry (a double quote or a
// control character), if any.
std::optional<std::size_t> FindUncarriable(std::wstring_view text);

}  // namespace linguarde::interpreter
