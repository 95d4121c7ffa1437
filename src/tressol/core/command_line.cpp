#include "command_line.h"

#include <algorithm>
#include <optional>

#include "argument_words.h"
#include "report.h"
#include "shown_text.h"
#include "tool_error.h"

namespace tressol {
namespace {

std::optional<std::string> Library(const std::string& word) {
  return IsLibraryArgument(word) ? std::optional<std::string>(word) : std::nullopt;
}

std::optional<std::uint32_t> Lcid(const std::string& word) {
  if (word.size() < 3 || word.size() > 10 || word[0] != '0' || (word[1] != 'x' && word[1] != 'X')) {
    return std::nullopt;
  }
  // Typed by a user: either case, as the system's own tools take it.
  const auto value = linguarde::HexNumber<linguarde::HexLetters::Either>(
      std::string_view(word.data() + 2, word.size() - 2));
  if (!value) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

bool LooksLikeLcid(const std::string& word) { return Lcid(word).has_value(); }

std::optional<std::uint32_t> ValidLcid(const std::string& word) {
  const auto lcid = Lcid(word);
  if (!lcid || !IsLcidArgument(*lcid)) return std::nullopt;
  return lcid;
}

using linguarde::arguments::ReadArgument;
using linguarde::arguments::SkipBlanks;

std::optional<LanguageSettings> Settings(const std::string* words) {
  const auto lib1 = Library(words[0]);
  const auto lcid1 = ValidLcid(words[1]);
  const auto lib2 = Library(words[2]);
  const auto lcid2 = ValidLcid(words[3]);
  if (!lib1 || !lcid1 || !lib2 || !lcid2) return std::nullopt;
  return LanguageSettings{*lib1, *lcid1, *lib2, *lcid2};
}

// Names the value that is wrong: a library first, then a locale.
[[noreturn]] void InvalidSettings(const std::string* words, Shell shell) {
  std::size_t at = 3;
  for (const std::size_t i : {3, 1, 2, 0}) {
    if (i % 2 == 0 ? !Library(words[i]) : !ValidLcid(words[i])) at = i;
  }
  throw UsageMistake(Mistake::InvalidSettings, shell, {}, {words, words + 4}, at);
}

// The settings that follow --set or --check, at i.
LanguageSettings SettingsOption(const std::string& option, std::string_view tail, std::size_t& i,
                                Shell shell) {
  std::string words[4];
  for (std::string& word : words) {
    i = SkipBlanks(tail, i);
    if (i >= tail.size()) {
      throw UsageMistake(Mistake::SettingsMissing, shell, option);
    }
    word = ReadArgument(tail, i);
  }
  const auto settings = Settings(words);
  if (!settings) InvalidSettings(words, shell);
  return *settings;
}

// A target of a set that reads as a setting or an option is a mistake in the line, such as
// a fifth value or an option after the targets: the run stops before anything is written.
void CheckSetTargets(const std::vector<std::string>& targets, bool optionsToo, Shell shell) {
  for (const std::string& target : targets) {
    if (LooksLikeLcid(target)) {
      throw UsageMistake(Mistake::TargetLooksLikeLcid, shell, target);
    }
    if (optionsToo && target.size() > 1 && target[0] == '-') {
      throw UsageMistake(Mistake::TargetLooksLikeOption, shell, target);
    }
  }
}

// A bare tail that ends with four settings was meant as a change.
std::optional<MeantChange> ChangeMeant(const std::vector<std::string>& words) {
  const std::size_t n = words.size();
  if (n < 5 || !Settings(&words[n - 4])) return std::nullopt;
  MeantChange meant{words[0],
                    words[n - 4] + " " + words[n - 3] + " " + words[n - 2] + " " + words[n - 1]};
  for (std::size_t i = 1; i < n - 4; ++i) meant.target += " " + words[i];
  return meant;
}

}  // namespace

std::vector<std::string> SplitArguments(const std::string& tail) {
  return linguarde::arguments::SplitArguments(std::string_view(tail));
}

bool AsksForJson(const std::string& tail) {
  for (const std::string& word : SplitArguments(tail)) {
    if (word == "--") return false;
    if (word == "--json") return true;
  }
  return false;
}

Command ParseCommandLine(const std::string& line, Shell shell) {
  const std::string_view tail(line);
  Command command;
  // Options only at the start: a target that merely contains "--set" stays a target.
  std::size_t at = SkipBlanks(tail, 0);
  bool optionsEnded = false;  // by "--", after which a dash starts a name
  while (at < tail.size()) {
    std::size_t next = at;
    const std::string word = ReadArgument(tail, next);
    if (word.empty() || word[0] != '-') break;
    at = SkipBlanks(tail, next);
    optionsEnded = word == "--";
    if (optionsEnded) break;
    if (word == "--help" || word == "-h") {
      command.help = true;
      return command;
    }
    if (word == "--version") {
      command.version = true;
      return command;
    }
    if (word == "--json") {
      command.json = true;
    } else if (word == "--recurse") {
      command.recurse = true;
    } else if (word == "--local-only") {
      command.localOnly = true;
    } else if (word == "--dry-run") {
      command.dryRun = true;
    } else if (word == "--no-journal") {
      command.noJournal = true;
    } else if (word == "--undo") {
      const std::string journal = at < tail.size() ? ReadArgument(tail, at) : std::string();
      if (journal.empty()) {
        throw UsageMistake(Mistake::UndoWithoutJournal, shell);
      }
      command.undo = journal;
      at = SkipBlanks(tail, at);
    } else if (word == "--set" || word == "--check") {
      if (command.settings || command.expected) {
        throw UsageMistake(Mistake::SetAndCheck, shell);
      }
      (word == "--set" ? command.settings : command.expected) =
          SettingsOption(word, tail, at, shell);
      at = SkipBlanks(tail, at);
    } else {
      throw UsageMistake(Mistake::UnknownOption, shell, word);
    }
  }
  const std::string rest(tail.substr(at));
  if (command.undo) {
    if (!rest.empty() || command.settings || command.expected || command.recurse) {
      throw UsageMistake(Mistake::UndoWithOthers, shell);
    }
    return command;
  }
  if (command.dryRun) throw UsageMistake(Mistake::DryRunWithoutUndo, shell);
  const std::vector<std::string> words = SplitArguments(rest);
  // The help as Windows programs give it.
  if (shell == Shell::Cmd && words.size() == 1 && words[0] == "/?") {
    command.help = true;
    return command;
  }
  // An empty box in Linguarde gives an empty line, or "" for a change; an empty target
  // beside others is a slip of its own.
  if (words.empty()) throw UsageMistake(Mistake::NoTarget, shell);
  if (std::find(words.begin(), words.end(), "") != words.end()) {
    const bool trailingSettings = !command.settings && !command.expected && words.size() >= 5 &&
                                  Settings(&words[words.size() - 4]);
    const auto targetsEnd = words.end() - (trailingSettings ? 4 : 0);
    const bool named = std::any_of(words.begin(), targetsEnd,
                                   [](const std::string& word) { return !word.empty(); });
    throw UsageMistake(named ? Mistake::EmptyTarget : Mistake::NoTarget, shell);
  }
  if (command.settings || command.expected) {
    CheckSetTargets(words, !optionsEnded, shell);
    command.targets = words;
    return command;
  }
  // A view passes its target bare: an unquoted tail is one target, whole, even where its
  // last words look like settings, so that a view never writes.
  if (rest[0] != '"') {
    const std::size_t last = rest.find_last_not_of(" \t");
    command.targets = {rest.substr(0, last + 1)};
    command.meant = ChangeMeant(words);
    return command;
  }
  const std::size_t n = words.size();
  if (n >= 5) {
    if (const auto settings = Settings(&words[n - 4])) {
      command.targets.assign(words.begin(), words.end() - 4);
      CheckSetTargets(command.targets, true, shell);
      command.settings = settings;
      return command;
    }
    // Settings shaped as such but malformed are a mistake, not file names.
    if (Lcid(words[n - 3]) || Lcid(words[n - 1]) || words[n - 4] == "*" || words[n - 4] == "~") {
      InvalidSettings(&words[n - 4], shell);
    }
  }
  command.targets = words;
  return command;
}

}  // namespace tressol
