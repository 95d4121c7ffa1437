#include "command_line.h"

#include <optional>

#include "tool_error.h"

namespace tressol {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::optional<std::string> Library(const std::string& word) {
  if (word.empty() || word.size() >= kLibraryNameSize) return std::nullopt;
  for (const char c : word) {
    if (c < 0x20 || c > 0x7E || c == '\\' || c == '/' || c == ':') return std::nullopt;
  }
  return word;
}

std::optional<std::uint32_t> Lcid(const std::string& word) {
  if (word.size() < 3 || word.size() > 10 || word[0] != '0' || (word[1] != 'x' && word[1] != 'X')) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (std::size_t i = 2; i < word.size(); ++i) {
    const char c = word[i];
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return value;
}

[[noreturn]] void Usage(const std::string& why) {
  throw ToolError(Failure::Usage, why + "\n" + kUsage);
}

}  // namespace

std::vector<std::string> SplitArguments(const std::string& tail) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (true) {
    while (i < tail.size() && IsBlank(tail[i])) ++i;
    if (i >= tail.size()) return words;
    std::string word;
    bool quoted = false;
    for (; i < tail.size() && (quoted || !IsBlank(tail[i])); ++i) {
      std::size_t slashes = 0;
      while (i < tail.size() && tail[i] == '\\') {
        ++slashes;
        ++i;
      }
      if (i < tail.size() && tail[i] == '"') {
        // 2n backslashes and a quote: n backslashes, the quote toggles; 2n+1: a literal quote.
        word.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          word += '"';
        } else if (quoted && i + 1 < tail.size() && tail[i + 1] == '"') {
          word += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
      } else {
        word.append(slashes, '\\');
        if (i >= tail.size() || (!quoted && IsBlank(tail[i]))) break;
        word += tail[i];
      }
    }
    words.push_back(word);
  }
}

Command ParseCommandLine(const std::string& tail) {
  Command command;
  std::string rest = tail;
  const std::size_t start = rest.find_first_not_of(" \t");
  constexpr char kJson[] = "--json";
  if (start != std::string::npos && rest.compare(start, 6, kJson) == 0 &&
      (rest.size() == start + 6 || IsBlank(rest[start + 6]))) {
    command.json = true;
    rest.erase(0, start + 6);
  }
  const std::vector<std::string> words = SplitArguments(rest);
  if (words.empty()) {
    Usage("Aucune cible n'est donnée.");
  }
  const std::size_t first = rest.find_first_not_of(" \t");
  // A view passes its target bare: an unquoted tail is one target, whole, even where its
  // last words look like settings, so that a view never writes.
  if (rest[first] != '"') {
    const std::size_t last = rest.find_last_not_of(" \t");
    command.targets = {rest.substr(first, last - first + 1)};
    return command;
  }
  const std::size_t n = words.size();
  if (n >= 5) {
    const auto lib1 = Library(words[n - 4]);
    const auto lcid1 = Lcid(words[n - 3]);
    const auto lib2 = Library(words[n - 2]);
    const auto lcid2 = Lcid(words[n - 1]);
    if (lib1 && lcid1 && lib2 && lcid2) {
      command.targets.assign(words.begin(), words.end() - 4);
      command.settings = LanguageSettings{*lib1, *lcid1, *lib2, *lcid2};
      return command;
    }
    // Settings shaped as such but malformed are a mistake, not file names.
    if (lcid1 || lcid2 || words[n - 4] == "*" || words[n - 4] == "~") {
      Usage("Les réglages « " + words[n - 4] + " " + words[n - 3] + " " + words[n - 2] + " " +
            words[n - 1] + " » ne sont pas valides.");
    }
  }
  command.targets = words;
  return command;
}

}  // namespace tressol
