#include "interpreter_text.h"

#include <algorithm>

#include "argument_words.h"

namespace linguarde::interpreter {
namespace {

// Blank, the operators, the escape, the expansion sign and the argument delimiters.
constexpr std::wstring_view kSpecial = L" &|<>^()%,;=";
// What an unquoted batch argument must escape with ^; % is doubled instead.
constexpr std::wstring_view kEscapedOutsideQuotes = L"&|<>^()";

// Each character of escapeWithCaret preceded by ^, and in the line each % doubled.
std::wstring EscapedForBatchLine(std::wstring_view text, std::wstring_view escapeWithCaret,
                                 Carried carried) {
  std::wstring out;
  out.reserve(text.size());
  for (const wchar_t c : text) {
    if (c == L'%' && carried == Carried::InLine) {
      out += L'%';
    } else if (escapeWithCaret.find(c) != std::wstring_view::npos) {
      out += L'^';
    }
    out += c;
  }
  return out;
}

}  // namespace

bool IsPlain(std::wstring_view path) {
  return path.find_first_of(kSpecial) == std::wstring_view::npos;
}

std::wstring QuotedCommand(std::wstring_view path) {
  if (IsPlain(path)) {
    return std::wstring(path);
  }
  return L"\"" + InsideQuotes(path) + L"\"";
}

std::wstring InsideQuotes(std::wstring_view text, Carried carried) {
  return EscapedForBatchLine(text, {}, carried);
}

std::wstring ArgumentInsideQuotes(std::wstring_view text, Carried carried) {
  const std::wstring quoted = arguments::QuotedArgument(text);
  return InsideQuotes(std::wstring_view(quoted).substr(1, quoted.size() - 2), carried);
}

std::wstring OutsideQuotes(std::wstring_view text, Carried carried) {
  return EscapedForBatchLine(text, kEscapedOutsideQuotes, carried);
}

bool IsAscii(std::wstring_view text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

std::wstring ScriptCommandLine(std::wstring_view scriptPath) {
  return L"cmd.exe /d /v:off /s /c \"\"" + std::wstring(scriptPath) + L"\"\"";
}

std::optional<std::size_t> FindUncarriable(std::wstring_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'"' || text[i] < 0x20) {
      return i;
    }
  }
  return std::nullopt;
}

bool LooksElsewhere(const std::wstring& target, const std::wstring& currentFolder) {
  const auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  const bool share =
      currentFolder.size() > 2 && separator(currentFolder[0]) && separator(currentFolder[1]);
  const bool fromDrive = target.size() > 2 && target[1] == L':' && separator(target[2]);
  const bool fromShare = target.size() > 1 && separator(target[0]) && separator(target[1]);
  return share && !fromDrive && !fromShare;
}

}  // namespace linguarde::interpreter
