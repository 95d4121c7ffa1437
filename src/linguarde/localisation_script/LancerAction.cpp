#include "LancerAction.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "action_error.h"
#include "action_table.h"
#include "cmd_text.h"
#include "modOperationFichier.h"
#include "shown_text.h"
#include "unicode_text.h"
#include "window_words.h"

namespace linguarde {
namespace {

[[noreturn]] void Refuse(WindowWords entry, std::initializer_list<WidePlace> places = {}) {
  throw ActionRefused(Say(entry, places));
}

// Whose text holds a character the line cannot carry: each refusal is its own entry.
enum class Holder { Target, Folder };

void RefuseUncarriable(std::wstring_view text, Holder holder) {
  const auto position = cmd::FindUncarriable(text);
  if (!position) {
    return;
  }
  const wchar_t c = text[*position];
  const std::wstring character = CodePointName(c);
  // No Windows name holds one: Linguarde's own folder has none unless its path was made
  // by hand.
  if (holder == Holder::Folder) Refuse(WindowWords::FolderUncarriable, {{L"character", character}});
  // Explorer's "Copy as path" puts the path between quotes.
  if (c == L'"' && text.size() > 2 && text.front() == L'"' && text.back() == L'"') {
    Refuse(WindowWords::TargetQuoted);
  }
  // No Windows name holds one: it was typed or pasted into the path.
  Refuse(c == L'"' ? WindowWords::TargetQuote : WindowWords::TargetControlCharacter,
         {{L"character", character}});
}

// The tool reads a leading dash as an option: a view of "--set ..." would become a change.
void RefuseOptionLike(const std::wstring& cible) {
  const std::size_t first = cible.find_first_not_of(L" \t");
  if (first != std::wstring::npos && cible[first] == L'-') {
    Refuse(WindowWords::TargetOptionLike,
           {{L"file", Visible(std::wstring_view(cible))},
            {L"name", Visible(std::wstring_view(cible).substr(first))}});
  }
}

// The console of an action starts where the program is; from a network share, cmd starts in
// the Windows folder instead, and a relative path would name a file there.
void RefuseElsewhere(const std::wstring& cible, const std::wstring& current) {
  if (cmd::LooksElsewhere(cible, current)) {
    Refuse(WindowWords::TargetRelativeOnNetwork, {{L"path", Visible(std::wstring_view(cible))}});
  }
}

// Starting a batch file expands %name% in its path, whatever the quoting.
void RefuseUnstartable(const std::wstring& folder) {
  if (std::count(folder.begin(), folder.end(), L'%') >= 2) {
    Refuse(WindowWords::FolderPercents, {{L"folder", Visible(std::wstring_view(folder))}});
  }
}

void RefuseLoneSurrogate(std::wstring_view text, Holder holder) {
  if (const auto position = unicode::FindLoneSurrogate<wchar_t>(text)) {
    Refuse(holder == Holder::Target ? WindowWords::TargetLoneSurrogate
                                    : WindowWords::FolderLoneSurrogate,
           {{L"character", CodePointName(text[*position])}});
  }
}

// The interpreter reads at most so many characters of a line, as written and once
// expanded.
void RefuseTooLong(const ActionLine& line) {
  if (std::max(line.text.size(), line.expanded.size()) > cmd::kLongestLine) {
    Refuse(WindowWords::ScriptLineTooLong, {{L"limit", Grouped(cmd::kLongestLine)}});
  }
}

}  // namespace

std::wstring ConsoleStillOpen(ConsoleOf console) {
  return Say(console == ConsoleOf::Undo   ? WindowWords::UndoConsoleOpen
             : console == ConsoleOf::Redo ? WindowWords::RedoConsoleOpen
                                          : WindowWords::ActionConsoleOpen);
}

std::unique_ptr<Console> LancerAction(std::int16_t Index, const std::wstring& cible,
                                      ScriptPlatform& platform, const std::wstring& journal) {
  const std::wstring folder = platform.ApplicationFolder();
  const std::wstring scriptPath = modOperationFichier::CheminDansDossier(folder, kScriptName);

  // Everything that can be refused is decided before the line is built and the file
  // touched; an index outside the table writes "Pause" alone.
  RefuseUnstartable(folder);
  const bool action = Index >= 0 && static_cast<std::size_t>(Index) < kActions.size();
  if (action) {
    RefuseOptionLike(cible);
    RefuseElsewhere(cible, platform.CurrentFolder());
    RefuseUncarriable(folder, Holder::Folder);
    RefuseUncarriable(cible, Holder::Target);
    RefuseLoneSurrogate(folder, Holder::Folder);
    RefuseLoneSurrogate(cible, Holder::Target);
  }
  const std::optional<ActionLine> line = LigneAction(folder, cible, Index);
  if (line) {
    RefuseTooLong(*line);
  }

  const std::unique_ptr<ScriptFile> script = platform.CreateScript(scriptPath);
  if (!script) {
    Refuse(WindowWords::ScriptHeld, {{L"file", kScriptName}});
  }
  if (line) {
    script->WriteLine(line->text);
  }
  script->WriteLine("Pause");
  std::unique_ptr<HeldScript> held = script->Close();
  if (!held) {
    // Another copy rewrote the script for a console of its own.
    Refuse(WindowWords::ScriptRewritten, {{L"file", kScriptName}});
  }
  std::vector<ScriptVariable> environment;
  if (line) {
    environment = line->environment;
    environment.push_back({std::wstring(kJournalVariable),
                           kActions[static_cast<std::size_t>(Index)].writes ? journal : L""});
  }
  return platform.StartScript(scriptPath, std::move(held), environment);
}

}  // namespace linguarde
