#include "way_back.h"

#include <cstring>

#include "cmd_text.h"
#include "report.h"
#include "shown_text.h"

namespace tressol {
namespace {

bool IsBare(char c, Shell shell) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  // cmd neither expands * nor ~; a POSIX shell expands both.
  return std::strchr(shell == Shell::Posix ? "._-+/=,:@%" : "._-+*~", c) != nullptr;
}

}  // namespace

std::optional<std::string> ShellWord(const std::string& word, Shell shell) {
  // A line end or a control shown in a command would forge or erase a line of the report.
  if (!linguarde::ShowsAsItIs(word)) return std::nullopt;
  if (shell == Shell::PowerShell) {
    // Between single quotes only a quote is special, and PowerShell takes the typographic
    // ones (U+2018 to U+201B) for it too: each is doubled.
    std::string quoted = "'";
    for (std::size_t i = 0; i < word.size(); ++i) {
      const bool typographic = word.compare(i, 2, "\xE2\x80") == 0 && i + 2 < word.size() &&
                               static_cast<unsigned char>(word[i + 2]) >= 0x98 &&
                               static_cast<unsigned char>(word[i + 2]) <= 0x9B;
      const std::size_t length = typographic ? 3 : 1;
      const std::string unit = word.substr(i, length);
      quoted += typographic || unit == "'" ? unit + unit : unit;
      i += length - 1;
    }
    return quoted + "'";
  }
  bool bare = !word.empty();
  for (const char c : word) bare = bare && IsBare(c, shell);
  if (bare) return word;
  if (shell == Shell::Posix) {
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
  }
  namespace cmd = linguarde::cmd;
  if (!cmd::CarriedBetweenQuotes(word, shell == Shell::Cmd)) return std::nullopt;
  return cmd::QuotedArgument(word, cmd::Carried::InLine);
}

std::optional<std::string> CommandWord(const std::string& path, Shell shell) {
  const auto word = ShellWord(path, shell);
  if (!word) return std::nullopt;
  if (shell == Shell::PowerShell) return "& " + *word;
  return shell != Shell::Posix && word->front() != '"' ? "\"" + *word + "\"" : *word;
}

std::optional<std::string> WayBackCommand(Shell shell, const std::string& toolPath,
                                          const LanguageSettings& before,
                                          const std::string& absoluteTarget,
                                          std::optional<NoWayBack>& whyNot) {
  for (const std::string* library : {&before.primaryLibrary, &before.secondaryLibrary}) {
    if (!IsLibraryArgument(*library) || !ShellWord(*library, shell)) {
      whyNot = NoWayBack{NoWayBack::Part::LibraryName, *library, 0};
      return std::nullopt;
    }
  }
  for (const std::uint32_t lcid : {before.primaryLcid, before.secondaryLcid}) {
    if (!IsLcidArgument(lcid)) {
      whyNot = NoWayBack{NoWayBack::Part::Lcid, {}, lcid};
      return std::nullopt;
    }
  }
  const auto tool = CommandWord(toolPath, shell);
  const auto target = CommandWord(absoluteTarget, shell);
  if (!tool || !target) {
    whyNot = NoWayBack{};
    return std::nullopt;
  }
  return *tool + " --set " + *ShellWord(before.primaryLibrary, shell) + " " +
         Hex(before.primaryLcid) + " " + *ShellWord(before.secondaryLibrary, shell) + " " +
         Hex(before.secondaryLcid) + " " + *target;
}

}  // namespace tressol
