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
  const std::vector<std::string> words = SplitArguments(tail);
  if (words.empty()) {
    Usage("Aucune cible n'est donnée.");
  }
  const std::size_t first = tail.find_first_not_of(" \t");
  // A set needs its target in double quotes: a view passes its target bare, and a bare
  // path whose last words look like settings must still be only viewed, never written.
  if (words.size() == 5 && tail[first] == '"') {
    const auto lib1 = Library(words[1]);
    const auto lcid1 = Lcid(words[2]);
    const auto lib2 = Library(words[3]);
    const auto lcid2 = Lcid(words[4]);
    if (lib1 && lcid1 && lib2 && lcid2) {
      return SetCommand{words[0], {*lib1, *lcid1, *lib2, *lcid2}};
    }
    // Settings shaped as such but malformed are a mistake, not a file name.
    if (lcid1 || lcid2 || words[1] == "*" || words[1] == "~") {
      Usage("Les réglages « " + words[1] + " " + words[2] + " " + words[3] + " " + words[4] +
            " » ne sont pas valides.");
    }
  }
  if (words.size() == 1) {
    return ViewCommand{words[0]};
  }
  const std::size_t last = tail.find_last_not_of(" \t");
  return ViewCommand{tail.substr(first, last - first + 1)};
}

}  // namespace tressol
