#include "window_words.h"

#include <string>

#include "shown_text.h"
#include "unicode_text.h"

namespace linguarde {
namespace {

using catalog::Entry;

// The places given, as Fill reads them.
struct Span {
  const WidePlace* first;
  std::size_t count;
  const WidePlace* begin() const { return first; }
  const WidePlace* end() const { return first + count; }
};

struct Row {
  WindowWords id;
  Entry<char> text;
};

// In French typography, with plain spaces: Typeset makes those before « : ; ! ? » and inside
// « » no-break as the entry is said. The apostrophe is the typographer's, as in a window.
// Kept in UTF-8, half the size of the UTF-16 that the window is given.
// clang-format off
constexpr Row kRows[] = {
    // The line under the target.
    {WindowWords::LineToolWords, {"{file} : {words}", nullptr}},
    {WindowWords::LineUnreadable, {"{file} : réponse de l’outil illisible", nullptr}},
    {WindowWords::LineSilent, {"{file} : l’outil n’a rien répondu", nullptr}},
    {WindowWords::LineReading, {"{file} : lecture en cours…", nullptr}},
    {WindowWords::LineNoAnswer,
     {"{file} : lecture arrêtée, l’outil n’a pas répondu en 60\u00A0s", nullptr}},
    {WindowWords::LineActionConsole,
     {"{file} : action en cours dans une console ; ligne relue à sa fermeture",
      nullptr}},
    {WindowWords::LineUndoConsole,
     {"{file} : annulation en cours dans une console ; ligne relue à sa fermeture",
      nullptr}},
    {WindowWords::LineRedoConsole,
     {"{file} : modification annulée en train d’être refaite dans une console ; ligne relue à "
      "sa fermeture",
      nullptr}},
    {WindowWords::LineActionConsoleUnfollowed,
     {"{file} : action en cours dans une console ; une fois celle-ci fermée, appuyez sur Entrée "
      "dans la zone de texte pour relire la ligne",
      nullptr}},
    {WindowWords::LineUndoConsoleUnfollowed,
     {"{file} : annulation en cours dans une console ; une fois celle-ci fermée, appuyez sur "
      "Entrée dans la zone de texte pour relire la ligne",
      nullptr}},
    {WindowWords::LineRedoConsoleUnfollowed,
     {"{file} : modification annulée en train d’être refaite dans une console ; une fois "
      "celle-ci fermée, "
      "appuyez sur Entrée dans la zone de texte pour relire la ligne",
      nullptr}},
    {WindowWords::LineRelativeOnNetwork,
     {"{file} : chemin relatif refusé, car le dossier courant est un dossier réseau et l’action "
      "chercherait le fichier dans le dossier de Windows ; donnez le chemin complet",
      nullptr}},
    {WindowWords::LineQuote,
     {"{file} : chemin refusé, car il contient un guillemet ({character})", nullptr}},
    {WindowWords::LineControlCharacter,
     {"{file} : chemin refusé, car il contient un caractère de contrôle ({character})", nullptr}},
    {WindowWords::LineToolMissing,
     {"{file} : Tressol.exe introuvable ; placez-le à côté de Linguarde.exe", nullptr}},
    {WindowWords::LineToolUnstartable,
     {"{file} : l’outil ne peut pas être lancé ({system})", nullptr}},
    {WindowWords::LineLibraryMissing,
     {"{file} : {words} ; bibliothèque de langue {library} absente de cet ordinateur", nullptr}},
    {WindowWords::LineLibrariesMissing,
     {"{file} : {words} ; bibliothèques de langue {libraries} absentes de cet ordinateur", nullptr}},
    {WindowWords::LineRedoOffered,
     {"{file} : {words} ; « Refaire » remet la modification annulée", nullptr}},
    {WindowWords::LineJournalGone,
     {"{file} : {words} ; pas d’annulation : journal de la dernière modification introuvable",
      nullptr}},
    {WindowWords::LineJournalBusy,
     {"{file} : {words} ; pas d’annulation pour l’instant : une autre exécution de l’outil "
      "utilise le journal ; appuyez plus tard sur Entrée dans la zone de texte pour revérifier",
      nullptr}},
    {WindowWords::LineUndoRefused, {"{file} : {words} ; pas d’annulation : {reason}", nullptr}},
    {WindowWords::LineUndoHeld,
     {"{file} : {words} ; pas d’annulation pour l’instant : « {name} » est ouvert ou verrouillé "
      "par un autre programme ; fermez-le, puis appuyez sur Entrée dans la zone de texte pour "
      "revérifier",
      nullptr}},
    {WindowWords::LineUndoReadOnly,
     {"{file} : {words} ; pas d’annulation pour l’instant : « {name} » est en lecture seule ; "
      "rendez-le modifiable, puis appuyez sur Entrée dans la zone de texte pour revérifier",
      nullptr}},
    {WindowWords::LineUndoDenied,
     {"{file} : {words} ; pas d’annulation pour l’instant : Windows refuse de modifier "
      "« {name} » ; une fois la cause levée, appuyez sur Entrée dans la zone "
      "de texte pour revérifier",
      nullptr}},
    {WindowWords::LineUndoInexact,
     {"{file} : {words} ; pas d’annulation exacte de « {name} » : {reason}", nullptr}},

    // The undo button.
    {WindowWords::UndoCaption, {"Annuler", nullptr}},
    {WindowWords::RedoCaption, {"Refaire", nullptr}},

    // One console at a time.
    {WindowWords::ActionConsoleOpen,
     {"La console de l’action précédente est encore ouverte. Fermez-la (appuyez sur une touche "
      "dans celle-ci), puis recommencez. Rien n’a été lancé.",
      nullptr}},
    {WindowWords::UndoConsoleOpen,
     {"La console de l’annulation est encore ouverte. Fermez-la (appuyez sur une touche dans "
      "celle-ci), puis recommencez. Rien n’a été lancé.",
      nullptr}},
    {WindowWords::RedoConsoleOpen,
     {"La console qui refait la modification annulée est encore ouverte. Fermez-la (appuyez sur "
      "une touche dans celle-ci), puis recommencez. Rien n’a été lancé.",
      nullptr}},

    // The script's refusals.
    {WindowWords::ScriptHeld,
     {"Le script {file} est encore utilisé, sans doute par la console d’une action précédente "
      "(de cette copie de Linguarde, d’une autre ou d’un autre utilisateur) ou par un autre "
      "programme, un antivirus par exemple. Fermez cette console (appuyez sur une touche "
      "dans celle-ci), puis recommencez. Rien n’a été écrit ni lancé.",
      nullptr}},
    {WindowWords::ScriptRewritten,
     {"Le script {file} vient d’être réécrit par une autre copie de Linguarde, dont la console "
      "l’exécute. Fermez cette console (appuyez sur une touche dans celle-ci), puis recommencez. "
      "Rien n’a été lancé.",
      nullptr}},
    {WindowWords::TargetQuoted,
     {"Le chemin du fichier est entre guillemets, comme les met « Copier en tant que chemin "
      "d’accès » : retirez ces guillemets, puis recommencez. Rien n’a été écrit ni lancé.",
      nullptr}},
    {WindowWords::TargetQuote,
     {"Le chemin du fichier contient un guillemet ({character}), qu’aucun nom Windows ne "
      "contient : retirez-le du chemin, puis recommencez. Rien n’a été écrit ni lancé.",
      nullptr}},
    {WindowWords::TargetControlCharacter,
     {"Le chemin du fichier contient un caractère de contrôle ({character}), un saut de ligne collé "
      "par exemple, qui ferait exécuter une autre commande. Retapez le chemin sur une seule "
      "ligne. Rien n’a été écrit ni lancé.",
      nullptr}},
    {WindowWords::FolderUncarriable,
     {"Le chemin du dossier de Linguarde contient un caractère ({character}) que le script ne "
      "peut pas transmettre. Placez Linguarde dans un dossier dont le chemin n’a pas ce "
      "caractère. Rien n’a été écrit ni lancé.",
      nullptr}},
    {WindowWords::TargetLoneSurrogate,
     {"Le chemin du fichier contient un demi-caractère isolé ({character}), qui n’est pas un "
      "texte Unicode valide : l’outil recevrait un autre nom. Renommez le fichier, ou copiez-le "
      "dans un dossier dont le chemin n’a pas ce caractère. Rien n’a été écrit ni lancé.",
      nullptr}},
    {WindowWords::FolderLoneSurrogate,
     {"Le chemin du dossier de Linguarde contient un demi-caractère isolé ({character}), qui "
      "n’est pas un texte Unicode valide : l’outil recevrait un autre nom. Placez Linguarde dans "
      "un dossier dont le chemin n’a pas ce caractère. Rien n’a été écrit ni lancé.",
      nullptr}},
    {WindowWords::TargetOptionLike,
     {"Le chemin « {file} » commence par un tiret, que l’outil prendrait pour une option. Écrivez "
      "le chemin complet, ou .\\{name}. Rien n’a été écrit ni lancé.",
      nullptr}},
    {WindowWords::TargetRelativeOnNetwork,
     {"Le chemin « {path} » est relatif et le dossier courant est un dossier réseau : l’action "
      "le chercherait dans le dossier de Windows ; donnez le chemin complet. Rien n’a été écrit "
      "ni lancé.",
      nullptr}},
    {WindowWords::FolderPercents,
     {"Le chemin du dossier de Linguarde « {folder} » contient au moins deux signes %, que "
      "l’interpréteur de commandes prendrait pour une variable au lancement du script. Placez "
      "Linguarde dans un dossier dont le chemin a au plus un signe %. Rien n’a été écrit ni "
      "lancé.",
      nullptr}},
    {WindowWords::ScriptLineTooLong,
     {"Le chemin est trop long : la ligne du script dépasserait {limit} caractères, la longueur "
      "maximale d’une ligne pour l’interpréteur de commandes. Copiez le fichier dans un dossier au chemin "
      "plus court. Rien n’a été écrit ni lancé.",
      nullptr}},

    // A step that failed.
    {WindowWords::ScriptUnreadable,
     {"Impossible de relire le fichier « {path} » : {system}.", nullptr}},
    {WindowWords::ScriptUnwritable,
     {"Impossible d’écrire dans le fichier « {path} » : {system}.", nullptr}},
    {WindowWords::ScriptUnclosable,
     {"Impossible de fermer le fichier « {path} » : {system}.", nullptr}},
    {WindowWords::ScriptUnreopenable,
     {"Impossible de rouvrir le fichier « {path} » : {system}.", nullptr}},
    {WindowWords::ScriptUncreatable,
     {"Impossible de créer le fichier « {path} » : {system}. Placez Linguarde dans un dossier "
      "où vous pouvez écrire, C:\\Outils ou un dossier de %LOCALAPPDATA%\\Programs par exemple "
      "(l’Accès contrôlé aux dossiers peut protéger les Documents et le Bureau).",
      nullptr}},
    {WindowWords::ScriptUnstartable,
     {"Impossible de lancer le script « {path} » : {system}.", nullptr}},
    {WindowWords::ScriptNotHeld,
     {"Impossible de lancer le script « {path} » : Linguarde ne le tient plus ouvert, et un autre "
      "programme pourrait l’avoir changé.",
      nullptr}},
    {WindowWords::SystemFolderUnknown,
     {"Impossible de trouver le dossier système : {system}.", nullptr}},
    {WindowWords::ApplicationFolderUnknown,
     {"Impossible de trouver le dossier de Linguarde : {system}.", nullptr}},
    {WindowWords::UndoUnstartable, {"Impossible de lancer l’annulation : {system}.", nullptr}},
    {WindowWords::ToolUnstartable, {"Impossible de lancer « {path} » : {system}.", nullptr}},
    {WindowWords::WindowClassFailed,
     {"Impossible d’enregistrer la classe de fenêtre : {system}.", nullptr}},
    {WindowWords::WindowFailed, {"Impossible de créer la fenêtre : {system}.", nullptr}},
    {WindowWords::UnexpectedFailure,
     {"Une erreur inattendue s’est produite, sans doute un manque de mémoire.", nullptr}},
    {WindowWords::ActionFailed,
     {"L’action a échoué : mémoire insuffisante ou erreur inattendue.", nullptr}},
    {WindowWords::Closing, {"Linguarde va se fermer.", nullptr}},
    {WindowWords::ListNext, {"{list}, {item}", nullptr}},
};
// clang-format on

constexpr bool InOrder() {
  std::size_t i = 0;
  for (const Row& row : kRows) {
    if (static_cast<std::size_t>(row.id) != i++) return false;
  }
  return i == kWindowWordsCount;
}
static_assert(InOrder(), "the rows follow the entries, one each");

// The texts alone, by entry: the rows' names are for the check above and for the reader.
struct Entries {
  Entry<char> at[kWindowWordsCount];
};
constexpr Entries TextsOf() {
  Entries entries{};
  for (std::size_t i = 0; i < kWindowWordsCount; ++i) entries.at[i] = kRows[i].text;
  return entries;
}
constexpr Entries kEntries = TextsOf();

std::wstring Rendered(const char* text, const WidePlace* first, std::size_t count) {
  const Span places{first, count};
  std::wstring filled = catalog::Fill<wchar_t>(Typeset(Widened(text)), places);
#ifdef LINGUARDE_PSEUDO_LOCALE
  filled = catalog::Pseudo(std::move(filled), std::char_traits<char>::length(text),
                           catalog::kWidePseudoStart, catalog::kWidePseudoEnd);
#endif
  return filled;
}

}  // namespace

const Entry<char>& EntryAt(WindowWords entry) {
  return kEntries.at[static_cast<std::size_t>(entry)];
}

std::wstring Say(WindowWords entry, std::initializer_list<WidePlace> places) {
  return Rendered(EntryAt(entry).one, places.begin(), places.size());
}

std::wstring Widened(std::string_view text) {
  std::wstring wide;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = unicode::Utf8SequenceAt(text, i);
    unicode::AppendUtf16(wide,
                         length == 0 ? char32_t{0xFFFD} : unicode::Utf8CodePoint(text, i, length));
    i += length == 0 ? 1 : length;
  }
  return wide;
}
std::wstring Typeset(std::wstring text) { return catalog::Typeset<wchar_t>(text); }

std::wstring Grouped(std::uint64_t number) {
  std::wstring digits = Digits<wchar_t>(number);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, L'\u00A0');
  return digits;
}

std::wstring CodePointName(char32_t codePoint) {
  std::wstring name = L"U+" + Digits<wchar_t>(codePoint, 16, 4);
  // As Unicode writes it: capital hexadecimal digits.
  for (wchar_t& c : name) {
    if (c >= L'a' && c <= L'f') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return name;
}

}  // namespace linguarde
