#include "command_line.h"

#include <optional>

#include "argument_words.h"
#include "tool_error.h"

namespace tressol {
namespace {

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

using linguarde::arguments::ReadArgument;
using linguarde::arguments::SkipBlanks;

std::optional<LanguageSettings> Settings(const std::string* words) {
  const auto lib1 = Library(words[0]);
  const auto lcid1 = Lcid(words[1]);
  const auto lib2 = Library(words[2]);
  const auto lcid2 = Lcid(words[3]);
  if (!lib1 || !lcid1 || !lib2 || !lcid2) return std::nullopt;
  return LanguageSettings{*lib1, *lcid1, *lib2, *lcid2};
}

[[noreturn]] void InvalidSettings(const std::string* words) {
  std::string why = "Les réglages « " + words[0] + " " + words[1] + " " + words[2] + " " +
                    words[3] + " » ne sont pas valides.";
  if (words[0].find_first_of("\\/:") != std::string::npos ||
      words[2].find_first_of("\\/:") != std::string::npos) {
    why +=
        " Un nom de bibliothèque est sans chemin ; PowerShell remplace un ~ sans apostrophes "
        "par votre dossier personnel : écrivez '~' et '*'.";
  }
  Usage(why);
}

// The settings that follow --set, at i.
LanguageSettings SetOption(std::string_view tail, std::size_t& i) {
  std::string words[4];
  for (std::string& word : words) {
    i = SkipBlanks(tail, i);
    if (i >= tail.size()) {
      Usage("--set attend quatre valeurs, BIB1 LCID1 BIB2 LCID2, puis la cible.");
    }
    word = ReadArgument(tail, i);
  }
  const auto settings = Settings(words);
  if (!settings) InvalidSettings(words);
  return *settings;
}

// A bare tail that ends with four settings was meant as a change: say how to ask for it.
std::string SetHint(const std::vector<std::string>& words) {
  const std::size_t n = words.size();
  if (n < 5 || !Settings(&words[n - 4])) return {};
  std::string target = words[0];
  for (std::size_t i = 1; i < n - 4; ++i) target += " " + words[i];
  const std::string settings =
      words[n - 4] + " " + words[n - 3] + " " + words[n - 2] + " " + words[n - 1];
  return "Sans guillemets, toute la ligne désigne une seule cible à afficher. Pour modifier\n"
         "« " +
         target + " », mettez-la entre guillemets (\"" + target + "\" " + settings +
         "),\nou écrivez :\n  Tressol.exe --set " + settings + " \"" + target + "\"\n";
}

}  // namespace

bool IsLibraryArgument(const std::string& word) { return Library(word).has_value(); }

std::vector<std::string> SplitArguments(const std::string& tail) {
  return linguarde::arguments::SplitArguments(std::string_view(tail));
}

Command ParseCommandLine(const std::string& line) {
  const std::string_view tail(line);
  Command command;
  // Options only at the start: a target that merely contains "--set" stays a target.
  std::size_t at = SkipBlanks(tail, 0);
  while (at < tail.size()) {
    std::size_t next = at;
    const std::string word = ReadArgument(tail, next);
    if (word.empty() || word[0] != '-') break;
    at = SkipBlanks(tail, next);
    if (word == "--") break;
    if (word == "--json") {
      command.json = true;
    } else if (word == "--set") {
      if (command.settings) Usage("L'option --set est donnée deux fois.");
      command.settings = SetOption(tail, at);
      at = SkipBlanks(tail, at);
    } else {
      const std::string why =
          " » n'existe pas. Pour une cible dont le nom commence par un "
          "tiret, écrivez .\\";
      Usage("L'option « " + word + why + word + " ou son chemin complet.");
    }
  }
  const std::string rest(tail.substr(at));
  const std::vector<std::string> words = SplitArguments(rest);
  if (words.empty()) {
    Usage("Aucune cible n'est donnée.");
  }
  if (command.settings) {
    command.targets = words;
    return command;
  }
  // A view passes its target bare: an unquoted tail is one target, whole, even where its
  // last words look like settings, so that a view never writes.
  if (rest[0] != '"') {
    const std::size_t last = rest.find_last_not_of(" \t");
    command.targets = {rest.substr(0, last + 1)};
    command.setHint = SetHint(words);
    return command;
  }
  const std::size_t n = words.size();
  if (n >= 5) {
    if (const auto settings = Settings(&words[n - 4])) {
      command.targets.assign(words.begin(), words.end() - 4);
      command.settings = settings;
      return command;
    }
    // Settings shaped as such but malformed are a mistake, not file names.
    if (Lcid(words[n - 3]) || Lcid(words[n - 1]) || words[n - 4] == "*" || words[n - 4] == "~") {
      InvalidSettings(&words[n - 4]);
    }
  }
  command.targets = words;
  return command;
}

}  // namespace tressol
