#pragma once

// How text must be written so that the Windows command interpreter hands it on unchanged:
// in a batch line, in the command line that starts the interpreter, and in a command shown
// to be typed at its prompt. Portable, for narrow (UTF-8) and wide text alike.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "argument_words.h"

namespace linguarde::cmd {

// The longest batch line the interpreter is known to read whole; what it does with a
// longer one is not documented, so longer lines are refused.
inline constexpr std::size_t kLongestLine = 8191;

// How a text reaches the interpreter: written in the batch line, where each % starts an
// expansion, or as the value of a variable that the line expands, which is not expanded
// again. Both are then parsed for operators.
enum class Carried { InLine, InVariable };

namespace detail {

// Blank, the operators, the escape, the expansion sign and the argument delimiters.
inline constexpr std::string_view kSpecial = " &|<>^()%,;=";
// What an unquoted batch argument must escape with ^; % is doubled instead.
inline constexpr std::string_view kEscapedOutsideQuotes = "&|<>^()";

template <class Char>
bool IsOneOf(Char c, std::string_view set) {
  return std::any_of(set.begin(), set.end(), [c](char s) { return Char(s) == c; });
}

// In the line each % doubled: inside quotes the one escape there is.
template <class Char>
std::basic_string<Char> DoubledPercents(std::basic_string_view<Char> text, Carried carried) {
  std::basic_string<Char> out;
  out.reserve(text.size());
  for (const Char c : text) {
    if (c == Char('%') && carried == Carried::InLine) out += c;
    out += c;
  }
  return out;
}

template <class Char>
std::optional<std::size_t> FindUncarriable(std::basic_string_view<Char> text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Compared unsigned: a UTF-8 byte above 0x7F is no control.
    if (text[i] == Char('"') || static_cast<std::make_unsigned_t<Char>>(text[i]) < 0x20) return i;
  }
  return std::nullopt;
}

// Doubling % and quoting commute: % is neither a quote nor a backslash.
template <class Char>
std::basic_string<Char> QuotedArgument(std::basic_string_view<Char> text, Carried carried) {
  return arguments::QuotedArgument(std::basic_string_view<Char>(DoubledPercents(text, carried)));
}

template <class Char>
bool CarriedBetweenQuotes(std::basic_string_view<Char> text, bool atPrompt) {
  return !FindUncarriable(text) &&
         (!atPrompt || text.find(Char('%')) == std::basic_string_view<Char>::npos);
}

}  // namespace detail

// True when a path can stand bare as a command: no blank and no character that the
// interpreter splits, redirects, escapes or expands on.
inline bool IsPlain(std::wstring_view path) {
  return std::none_of(path.begin(), path.end(),
                      [](wchar_t c) { return detail::IsOneOf(c, detail::kSpecial); });
}

// Text inside double quotes: only % needs doubling there, and only in the line.
inline std::wstring InsideQuotes(std::wstring_view text, Carried carried = Carried::InLine) {
  return detail::DoubledPercents(text, carried);
}

// Text outside quotes: the operators escaped with ^, and % doubled in the line.
inline std::wstring OutsideQuotes(std::wstring_view text, Carried carried) {
  std::wstring escaped;
  escaped.reserve(text.size());
  for (const wchar_t c : text) {
    if (detail::IsOneOf(c, detail::kEscapedOutsideQuotes)) escaped += L'^';
    escaped += c;
  }
  // % is no operator: doubling it and escaping them commute.
  return detail::DoubledPercents(std::wstring_view(escaped), carried);
}

// A command's path for a batch line: bare when plain, otherwise in double quotes.
inline std::wstring QuotedCommand(std::wstring_view path) {
  if (IsPlain(path)) return std::wstring(path);
  return L"\"" + InsideQuotes(path) + L"\"";
}

// A program's argument in double quotes, for a batch line. Backslashes before the closing
// quote are doubled: by the argument rules of Windows programs they would escape it.
inline std::wstring QuotedArgument(std::wstring_view text, Carried carried) {
  return detail::QuotedArgument(text, carried);
}
inline std::string QuotedArgument(std::string_view text, Carried carried) {
  return detail::QuotedArgument(text, carried);
}

// The same argument to stand between quotes that the line has already.
inline std::wstring ArgumentInsideQuotes(std::wstring_view text, Carried carried) {
  const std::wstring quoted = QuotedArgument(text, carried);
  return quoted.substr(1, quoted.size() - 2);
}

// The position of the first character that no quoting can carry (a double quote or a
// control character), if any.
inline std::optional<std::size_t> FindUncarriable(std::wstring_view text) {
  return detail::FindUncarriable(text);
}
inline std::optional<std::size_t> FindUncarriable(std::string_view text) {
  return detail::FindUncarriable(text);
}

// Whether text between double quotes reaches the program as it is: nothing that no quoting
// carries and, typed at the interpreter's prompt, no %, which nothing keeps from expanding
// there (in a batch line %% gives %).
inline bool CarriedBetweenQuotes(std::wstring_view text, bool atPrompt) {
  return detail::CarriedBetweenQuotes(text, atPrompt);
}
inline bool CarriedBetweenQuotes(std::string_view text, bool atPrompt) {
  return detail::CarriedBetweenQuotes(text, atPrompt);
}

// A variable's value where the interpreter expands it, once, before the line is parsed.
inline std::wstring Expansion(std::wstring_view name) { return L"%" + std::wstring(name) + L"%"; }

// True when every character is ASCII, which every code page spells alike.
inline bool IsAscii(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

// The interpreter's command line that runs one command: the user's AutoRun command and
// delayed expansion switched off (both would change what the line does), and the command
// in the /s /c form, whose outer quotes the interpreter strips.
inline std::wstring RunCommandLine(std::wstring_view interpreter, std::wstring_view command) {
  return std::wstring(interpreter) + L" /d /v:off /s /c \"" + std::wstring(command) + L"\"";
}

// The command line that runs a batch file, its path quoted within the /s /c form.
inline std::wstring ScriptCommandLine(std::wstring_view scriptPath) {
  return RunCommandLine(L"cmd.exe", L"\"" + std::wstring(scriptPath) + L"\"");
}

// Whether the interpreter would look for the target elsewhere than this program: with a
// network share as the current folder, cmd starts in the Windows folder, where a relative
// path (or one from the root of the current drive) names another file.
inline bool LooksElsewhere(const std::wstring& target, const std::wstring& currentFolder) {
  const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  const bool share =
      currentFolder.size() > 2 && separator(currentFolder[0]) && separator(currentFolder[1]);
  const bool fromDrive = target.size() > 2 && target[1] == L':' && separator(target[2]);
  const bool fromShare = target.size() > 1 && separator(target[0]) && separator(target[1]);
  return share && !fromDrive && !fromShare;
}

}  // namespace linguarde::cmd
