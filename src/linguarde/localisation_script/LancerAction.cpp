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

namespace linguarde {
namespace {

// What a refusal leaves: before the write, and after it.
constexpr std::wstring_view kNothingDone = L" Rien n'a été écrit ni lancé.";
constexpr std::wstring_view kNothingStarted = L" Rien n'a été lancé.";

constexpr std::wstring_view kCloseIt =
    L"Fermez cette console (appuyez sur une touche dans celle-ci), puis recommencez.";

[[noreturn]] void RefuseHeldScript(std::wstring_view nothingDone) {
  throw ActionRefused(
      L"Le script VBcommand.bat est encore utilisé, sans doute par la console d'une action "
      L"précédente (lancée par cette copie de Linguarde, une autre copie ou un autre "
      L"utilisateur) ou par un autre programme, un antivirus par exemple. " +
      std::wstring(kCloseIt) + std::wstring(nothingDone));
}

std::wstring CodePointName(char32_t codePoint) {
  constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring digits;
  for (char32_t rest = codePoint; rest != 0 || digits.size() < 4; rest >>= 4) {
    digits.insert(digits.begin(), kHex[rest & 0xF]);
  }
  return L"U+" + digits;
}

// "8 191": thousands apart, with a space that never breaks.
std::wstring Grouped(std::size_t number) {
  std::wstring digits = Decimal(number);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L'\u00A0');
  return digits;
}

// Who holds a text, and what the user can do about one of its characters.
struct Holder {
  std::wstring_view name;
  std::wstring_view remedy;
};
constexpr Holder kTarget{L"Le chemin du fichier",
                         L"Renommez le fichier, ou copiez-le dans un dossier dont le nom n'a pas "
                         L"ce caractère."};
constexpr Holder kLinguardeFolder{
    L"Le dossier de Linguarde",
    L"Placez Linguarde dans un dossier dont le nom n'a pas ce caractère."};

void RefuseUncarriable(std::wstring_view text, const Holder& holder) {
  const auto position = cmd::FindUncarriable(text);
  if (!position) {
    return;
  }
  const wchar_t c = text[*position];
  // Explorer's "Copy as path" puts the path between quotes.
  if (c == L'"' && text.size() > 2 && text.front() == L'"' && text.back() == L'"') {
    throw ActionRefused(std::wstring(holder.name) +
                        L" est entre guillemets, comme la copie « Copier en tant que chemin "
                        L"d'accès » : retirez ces guillemets, puis recommencez." +
                        std::wstring(kNothingDone));
  }
  // No Windows name holds one: it was typed or pasted into the path.
  if (c == L'"') {
    throw ActionRefused(std::wstring(holder.name) +
                        L" contient un guillemet (\"), qu'aucun nom Windows ne contient : "
                        L"retirez-le du chemin, puis recommencez." +
                        std::wstring(kNothingDone));
  }
  throw ActionRefused(std::wstring(holder.name) + L" contient un caractère de contrôle (" +
                      CodePointName(c) +
                      L"), par exemple un saut de ligne collé, qui ferait exécuter une autre "
                      L"commande. Retapez le chemin sur une seule ligne." +
                      std::wstring(kNothingDone));
}

// The tool reads a leading dash as an option: a view of "--set ..." would become a change.
void RefuseOptionLike(const std::wstring& cible) {
  const std::size_t first = cible.find_first_not_of(L" \t");
  if (first != std::wstring::npos && cible[first] == L'-') {
    throw ActionRefused(L"Le fichier « " + cible +
                        L" » commence par un tiret, que l'outil prendrait pour une option. Pour un "
                        L"fichier dont le nom commence ainsi, écrivez son chemin complet, ou .\\" +
                        cible.substr(first) + L"." + std::wstring(kNothingDone));
  }
}

// The console of an action starts where the program is; from a network share, cmd starts in
// the Windows folder instead, and a relative path would name a file there.
void RefuseElsewhere(const std::wstring& cible, const std::wstring& current) {
  if (cmd::LooksElsewhere(cible, current)) {
    throw ActionRefused(L"Le chemin « " + Visible(std::wstring_view(cible)) +
                        L" » est relatif et le dossier courant est un dossier réseau : l'action "
                        L"le chercherait dans le dossier de Windows ; donnez le chemin complet." +
                        std::wstring(kNothingDone));
  }
}

// Starting a batch file expands %name% in its path, whatever the quoting.
void RefuseUnstartable(const std::wstring& folder) {
  if (std::count(folder.begin(), folder.end(), L'%') >= 2) {
    throw ActionRefused(
        L"Le dossier de Linguarde « " + folder +
        L" » contient au moins deux signes %, que l'interpréteur de commandes prendrait "
        L"pour une variable au lancement du script. Placez Linguarde dans un "
        L"dossier dont le nom a au plus un signe %." +
        std::wstring(kNothingDone));
  }
}

void RefuseLoneSurrogate(std::wstring_view text, const Holder& holder) {
  if (const auto position = unicode::FindLoneSurrogate<wchar_t>(text)) {
    throw ActionRefused(std::wstring(holder.name) + L" contient un demi-caractère isolé (" +
                        CodePointName(text[*position]) +
                        L"), qui n'est pas un texte Unicode valide : l'outil recevrait un "
                        L"autre nom. " +
                        std::wstring(holder.remedy) + std::wstring(kNothingDone));
  }
}

// The interpreter reads at most so many characters of a line, as written and once
// expanded.
void RefuseTooLong(const ActionLine& line) {
  if (std::max(line.text.size(), line.expanded.size()) > cmd::kLongestLine) {
    throw ActionRefused(
        L"Le chemin est trop long : la ligne du script dépasserait " + Grouped(cmd::kLongestLine) +
        L" caractères, le plus que l'interpréteur de commandes lit d'une ligne. Copiez le "
        L"fichier dans un dossier au chemin plus court." +
        std::wstring(kNothingDone));
  }
}

}  // namespace

std::wstring ConsoleStillOpen() {
  return L"La console de l'action précédente est encore ouverte. " + std::wstring(kCloseIt) +
         std::wstring(kNothingStarted);
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
    RefuseUncarriable(folder, kLinguardeFolder);
    RefuseUncarriable(cible, kTarget);
    RefuseLoneSurrogate(folder, kLinguardeFolder);
    RefuseLoneSurrogate(cible, kTarget);
  }
  const std::optional<ActionLine> line = LigneAction(folder, cible, Index);
  if (line) {
    RefuseTooLong(*line);
  }

  const std::unique_ptr<ScriptFile> script = platform.CreateScript(scriptPath);
  if (!script) {
    RefuseHeldScript(kNothingDone);
  }
  if (line) {
    script->WriteLine(line->text);
  }
  script->WriteLine("Pause");
  std::unique_ptr<HeldScript> held = script->Close();
  if (!held) {
    // Another copy rewrote the script for a console of its own.
    RefuseHeldScript(kNothingStarted);
  }
  std::vector<ScriptVariable> environment;
  if (line) {
    environment = line->environment;
    environment.push_back({std::wstring(kJournalVariable),
                           kActions[static_cast<std::size_t>(Index)].writes ? journal : L""});
  }
  return platform.StartScript(scriptPath, std::move(held), environment);
}

bool CanCarry(std::wstring_view cible) { return !cmd::FindUncarriable(cible); }

}  // namespace linguarde
