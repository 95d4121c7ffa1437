#include "words.h"

#include <array>
#include <iterator>
#include <utility>
#include <vector>

namespace tressol {
namespace {

using linguarde::catalog::Entry;

struct Row {
  Words id;
  Entry<char> text;
};

// clang-format off
constexpr Row kRows[] = {
    // The report's.
    {Words::FilesCount, {"{count} fichier", "{count} fichiers"}},

    // A file's report, a folder's end, the summary, the way back, the undo.
    // Lists: each item a whole noun phrase.
    {Words::ListMore, {"{list}, {item}", nullptr}},
    {Words::ListSemicolon, {"{list} ; {item}", nullptr}},
    // A file's words, for a line of its own (JSON words) and after its name.
    {Words::WordsShown, {"fichier VB6, {effect}", nullptr}},
    {Words::WordsChanged, {"modifié, {before} → {after}", nullptr}},
    {Words::WordsUndone, {"modification annulée, {before} → {after}", nullptr}},
    {Words::WordsChecksumRepaired, {"somme de contrôle PE corrigée, réglages déjà en place : {effect}", nullptr}},
    {Words::WordsAlreadySet, {"déjà réglé, {effect}", nullptr}},
    {Words::WordsAlreadyUndone, {"modification déjà annulée, {effect}", nullptr}},
    {Words::WordsRestorable, {"modification annulable exactement, {effect} pour l'instant", nullptr}},
    {Words::WordsMatches, {"conforme, {effect}", nullptr}},
    {Words::WordsDiffers, {"différent de l'attendu : {detail}", nullptr}},
    {Words::WordsWrongChecksum, {"somme de contrôle PE fausse, {before} au lieu de {after} : le fichier a changé depuis qu'elle a été faite, car il est endommagé ou a été modifié sans qu'elle soit refaite", nullptr}},
    {Words::WordsWrongChecksumDiffers, {"somme de contrôle PE fausse, {before} au lieu de {after} : le fichier a changé depuis qu'elle a été faite, car il est endommagé ou a été modifié sans qu'elle soit refaite ; il est aussi différent de l'attendu : {detail}", nullptr}},
    {Words::WordsNotVb6, {"non VB6 : {reason}", nullptr}},
    {Words::WordsLeftAside, {"laissé de côté : {reason}", nullptr}},
    {Words::WordsNotReached, {"non traité : l'exécution s'est arrêtée avant lui ; il n'a pas été modifié", nullptr}},
    {Words::WordsFailed, {"en échec : {reason}", nullptr}},
    {Words::ShortDamaged, {"endommagé ; recopiez-le depuis l'original", nullptr}},
    // How a check's settings differ, each a noun phrase of a list.
    {Words::DiffersPrimaryLibrary, {"bibliothèque principale « {library} » au lieu de « {expected} »", nullptr}},
    {Words::DiffersPrimaryLcid, {"langue principale {lcid} au lieu de {expected}", nullptr}},
    {Words::DiffersSecondaryLibrary, {"bibliothèque secondaire « {library} » au lieu de « {expected} »", nullptr}},
    {Words::DiffersSecondaryLcid, {"langue secondaire {lcid} au lieu de {expected}", nullptr}},
    // A file's line in a folder's report.
    {Words::LineShown, {"{file} : {effect}.", nullptr}},
    {Words::LineOfFile, {"{file} : {words}.", nullptr}},
    {Words::LineUnsigned, {"{file} : {words} ; sa signature n'est plus valide.", nullptr}},
    {Words::LineChecksumRepaired, {"{file} : {words} ; somme de contrôle PE {before}, fausse, corrigée en {after}.", nullptr}},
    {Words::LineUnsignedChecksumRepaired, {"{file} : {words} ; sa signature n'est plus valide ; somme de contrôle PE {before}, fausse, corrigée en {after}.", nullptr}},
    {Words::LineChecksumKept, {"{file} : {words} ; sa somme de contrôle PE précédente, qui était fausse, est remise telle quelle.", nullptr}},
    {Words::LineUnsignedChecksumKept, {"{file} : {words} ; sa signature n'est plus valide ; sa somme de contrôle PE précédente, qui était fausse, est remise telle quelle.", nullptr}},
    {Words::LineUndoCommand, {"  Pour annuler cette modification : {command}", nullptr}},
    // A single file's report.
    {Words::SettingsHeading, {"Réglages de langue :", nullptr}},
    {Words::SettingsBefore, {"Réglages de langue avant la modification :", nullptr}},
    {Words::SettingsAfter, {"Réglages de langue après la modification :", nullptr}},
    {Words::AnswerChanged, {"{file} : modifié. Avant : {before}. Après : {after}.", nullptr}},
    {Words::AnswerChecksumRepaired, {"{file} : réglages déjà en place, {effect} ; seule sa somme de contrôle PE, qui était fausse, a été corrigée.", nullptr}},
    {Words::AnswerAlreadySet, {"{file} : déjà réglé, {effect} ; le fichier n'a pas été modifié.", nullptr}},
    {Words::AnswerDiffers, {"{file} : différent de l'attendu : {detail}. Actuellement : {before}. Attendu : {after}.", nullptr}},
    {Words::DetailsHeading, {"Détails :", nullptr}},
    {Words::DetailFile, {"  Fichier : {path}", nullptr}},
    {Words::DetailLink, {"  Lien vers : {path}", nullptr}},
    {Words::DetailHeaderByEntryPoint, {"  En-tête VB : position {offset}, désignée par le point d'entrée", nullptr}},
    {Words::DetailHeaderByExports, {"  En-tête VB : position {offset}, désignée par les exportations", nullptr}},
    {Words::DetailHeaderBySearch, {"  En-tête VB : position {offset}, trouvée par recherche", nullptr}},
    {Words::DetailRuntime, {"  Moteur d'exécution VB visé : build {build}", nullptr}},
    {Words::DetailChecksumAbsent, {"  Somme de contrôle PE : absente (0), laissée à 0", nullptr}},
    {Words::DetailChecksumMade, {"  Somme de contrôle PE : {before}, devenue {after}", nullptr}},
    {Words::DetailChecksumRepaired, {"  Somme de contrôle PE : {before}, fausse, corrigée en {after}", nullptr}},
    {Words::DetailSigned, {"  Signature Authenticode : présente", nullptr}},
    {Words::DetailSignatureOutside, {"  Signature Authenticode : sa table de certificats dépasse la fin du fichier ; cette image mal formée n'est jamais modifiée", nullptr}},
    {Words::SignatureInvalidUndoable, {"Attention : la signature Authenticode du fichier n'est plus valide ; l'annulation de cette modification la rend de nouveau valide.", nullptr}},
    {Words::SignatureInvalid, {"Attention : la signature Authenticode du fichier n'est plus valide.", nullptr}},
    {Words::UndoHeading, {"Pour annuler cette modification :", nullptr}},
    {Words::UndoCommandLine, {"  {command}", nullptr}},
    // A change that no command undoes exactly, and why; the same alone for programs.
    {Words::NoUndoPathTooLong, {"  {file} : aucune commande ne peut annuler exactement cette modification, car son chemin complet est trop long pour que le système le rouvre.", nullptr}},
    {Words::NoUndoLibraryName, {"  {file} : aucune commande ne peut annuler exactement cette modification, car le nom de bibliothèque précédent, « {library} », ne peut pas être écrit sur la ligne de commande.", nullptr}},
    {Words::NoUndoLcid, {"  {file} : aucune commande ne peut annuler exactement cette modification, car la langue précédente, {lcid}, ne peut pas être écrite sur la ligne de commande.", nullptr}},
    {Words::NoUndoPath, {"  {file} : aucune commande ne peut annuler exactement cette modification, car le chemin de l'outil ou du fichier ne peut pas être écrit sur la ligne de commande.", nullptr}},
    {Words::InexactBytesAfterName, {"    {file} : cette annulation ne rend pas le fichier identique octet pour octet, car un nom de bibliothèque précédent est suivi d'octets que la commande remet à zéro.", nullptr}},
    {Words::InexactWrongChecksum, {"    {file} : cette annulation ne rend pas le fichier identique octet pour octet, car la somme de contrôle PE précédente, {before}, n'était pas celle du fichier ; la commande écrit la bonne.", nullptr}},
    {Words::CaveatPathTooLong, {"Le chemin complet du fichier est trop long pour que le système le rouvre.", nullptr}},
    {Words::CaveatLibraryName, {"Le nom de bibliothèque précédent, « {library} », ne peut pas être écrit sur la ligne de commande.", nullptr}},
    {Words::CaveatLcid, {"La langue précédente, {lcid}, ne peut pas être écrite sur la ligne de commande.", nullptr}},
    {Words::CaveatPath, {"Le chemin de l'outil ou du fichier ne peut pas être écrit sur la ligne de commande.", nullptr}},
    {Words::CaveatBytesAfterName, {"Un nom de bibliothèque précédent est suivi d'octets que la commande remet à zéro.", nullptr}},
    {Words::CaveatWrongChecksum, {"La somme de contrôle PE précédente, {before}, n'était pas celle du fichier ; la commande écrit la bonne.", nullptr}},
    // A single file that failed, alone: for programs, and as the console says it.
    {Words::FailedNotVb6, {"« {path} » n'est pas un fichier VB6 : {reason}.", nullptr}},
    {Words::FailedToSet, {"« {path} » ne peut pas être modifié : {reason}.", nullptr}},
    {Words::FailedToRead, {"« {path} » ne peut pas être lu : {reason}.", nullptr}},
    {Words::FailedWrite, {"La modification de « {path} » a échoué : {reason}.", nullptr}},
    {Words::ToolFailedNotVb6, {"Tressol : « {path} » n'est pas un fichier VB6 : {reason}.", nullptr}},
    {Words::ToolFailedToSet, {"Tressol : « {path} » ne peut pas être modifié : {reason}.", nullptr}},
    {Words::ToolFailedToRead, {"Tressol : « {path} » ne peut pas être lu : {reason}.", nullptr}},
    {Words::ToolFailedWrite, {"Tressol : la modification de « {path} » a échoué : {reason}.", nullptr}},
    {Words::ToolFailed, {"Tressol : {reason}.", nullptr}},
    {Words::ReasonSentence, {"{reason}.", nullptr}},
    {Words::FileNotChanged, {"Le fichier n'a pas été modifié.", nullptr}},
    // A language library: where it is, or what its absence or its file means.
    {Words::LibraryPresent, {"Bibliothèque de langue « {library} » : présente dans « {folder} ».", nullptr}},
    {Words::LibraryMissing, {"Attention : la bibliothèque de langue « {library} » est introuvable ; cherchée dans {detail}.", nullptr}},
    {Words::LibraryMissingFallsBack, {"Bibliothèque de langue « {library} » : absente de ce système, ce que ces réglages prévoient ; cherchée dans {detail}.", nullptr}},
    {Words::LibraryMissingNowhere, {"Attention : la bibliothèque de langue « {library} » est introuvable.", nullptr}},
    {Words::LibraryMissingFallsBackNowhere, {"Bibliothèque de langue « {library} » : absente de ce système, ce que ces réglages prévoient.", nullptr}},
    {Words::LibraryNotImage, {"Attention : « {library} » dans « {folder} » n'est pas une bibliothèque de langue, car ce n'est pas un fichier de programme Windows ; le moteur d'exécution ne peut pas la charger.", nullptr}},
    {Words::LibraryIsProgram, {"Attention : « {library} » dans « {folder} » est un programme, pas une bibliothèque de langue : un * non protégé sur la ligne de commande a sans doute été remplacé par le shell par les noms des fichiers du dossier ; écrivez-le entre apostrophes ou entre guillemets.", nullptr}},
    {Words::LibraryCopyAdvice, {"  À faire : copiez-la à côté du programme, sur chaque ordinateur où l'application s'exécute.", nullptr}},
    {Words::LibraryConcerns, {"  Fichier concerné : {detail}", "  Fichiers concernés, {count} : {detail}"}},
    {Words::FolderOfProgram, {"« {folder} », dossier du programme", nullptr}},
    {Words::FolderOfFile, {"« {folder} », dossier du fichier", nullptr}},
    {Words::FolderSystem32, {"« {folder} », dossier système 32 bits", nullptr}},
    {Words::FolderSystem16, {"« {folder} », dossier système 16 bits", nullptr}},
    {Words::FolderWindows, {"« {folder} », dossier de Windows", nullptr}},
    {Words::FolderTargetOnly, {"« {folder} », dossier du fichier, le seul où cherche cet outil sous Linux", nullptr}},
    // A folder's end.
    {Words::FrenchLibraries, {"Bibliothèque de langue VB6 en français : {detail}", "Bibliothèques de langue VB6 en français : {detail}"}},
    {Words::FrenchLibrariesLeft, {"Bibliothèque de langue VB6 en français, laissée telle quelle : {detail}", "Bibliothèques de langue VB6 en français, laissées telles quelles : {detail}"}},
    {Words::NotVb6Heading, {"Fichier non VB6 :", "Fichiers non VB6 :"}},
    {Words::LeftAsideHeading, {"Laissé de côté, car ce n'est pas un fichier ordinaire :", "Laissés de côté, car ce ne sont pas des fichiers ordinaires :"}},
    {Words::OnlineOnlyHeading, {"Laissé de côté sans être lu, car il n'est que dans le nuage :", "Laissés de côté sans être lus, car ils ne sont que dans le nuage :"}},
    {Words::GroupLine, {"  {reason} : {detail}", nullptr}},
    {Words::NamesLine, {"  {detail}", nullptr}},
    {Words::FailedNames, {"En échec : {detail}.", nullptr}},
    {Words::NamesAndOthers, {"{detail} et {count} autre", "{detail} et {count} autres"}},
    {Words::EffectCount, {"  {count} fichier : {effect}", "  {count} fichiers : {effect}"}},
    {Words::Summary, {"Résumé : {detail}.", nullptr}},
    // Counts, in the summary: 0 and 1 take the singular.
    {Words::CountVb6, {"{count} fichier VB6", "{count} fichiers VB6"}},
    {Words::CountChanged, {"{count} fichier modifié", "{count} fichiers modifiés"}},
    {Words::CountAlreadySet, {"{count} déjà réglé", "{count} déjà réglés"}},
    {Words::CountMatches, {"{count} conforme", "{count} conformes"}},
    {Words::CountDiffers, {"{count} différent", "{count} différents"}},
    {Words::CountWrongChecksum, {"{count} somme de contrôle PE fausse", "{count} sommes de contrôle PE fausses"}},
    {Words::CountUndone, {"{count} modification annulée", "{count} modifications annulées"}},
    {Words::CountAlreadyUndone, {"{count} déjà annulée", "{count} déjà annulées"}},
    {Words::CountRestorable, {"{count} modification à annuler exactement", "{count} modifications à annuler exactement"}},
    {Words::CountNotVb6, {"{count} non VB6", nullptr}},
    {Words::CountLeftAside, {"{count} laissé de côté", "{count} laissés de côté"}},
    {Words::CountFailed, {"{count} en échec", nullptr}},
    {Words::CountNotReached, {"{count} non traité, exécution arrêtée", "{count} non traités, exécution arrêtée"}},
    // The same in a window's line: the kind first, the same short words for every count.
    {Words::ShortVb6, {"{count} VB6 ({effect})", nullptr}},
    {Words::ShortVb6Effects, {"{count} VB6 ({detail})", nullptr}},
    {Words::ShortEffectCount, {"{count} {effect}", nullptr}},
    {Words::ShortChanged, {"{count} modifié", "{count} modifiés"}},
    {Words::ShortAlreadySet, {"{count} déjà réglé", "{count} déjà réglés"}},
    {Words::ShortMatches, {"{count} conforme", "{count} conformes"}},
    {Words::ShortDiffers, {"{count} différent", "{count} différents"}},
    {Words::ShortWrongChecksum, {"{count} somme PE fausse", "{count} sommes PE fausses"}},
    {Words::ShortUndone, {"{count} modification annulée", "{count} modifications annulées"}},
    {Words::ShortAlreadyUndone, {"{count} déjà annulée", "{count} déjà annulées"}},
    {Words::ShortRestorable, {"{count} à annuler", "{count} à annuler"}},
    {Words::ShortNotVb6, {"{count} non VB6", nullptr}},
    {Words::ShortLeftAside, {"{count} laissé de côté", "{count} laissés de côté"}},
    {Words::ShortFailed, {"{count} en échec", nullptr}},
    {Words::ShortNotReached, {"{count} non traité", "{count} non traités"}},
    {Words::ShortNone, {"aucun fichier VB6", nullptr}},
    // How to undo a run, where it changed something.
    {Words::UndoRun, {"Pour annuler cette modification : {command}", "Pour annuler ces modifications : {command}"}},
    {Words::UndoRunBothShells, {"Pour annuler cette modification, depuis cmd ou PowerShell : {command}", "Pour annuler ces modifications, depuis cmd ou PowerShell : {command}"}},
    {Words::UndoRunPowerShell, {"  Depuis PowerShell : {command}", nullptr}},
    {Words::MeantChange, {"Pour modifier « {file} », mettez son chemin entre guillemets, « \"{file}\" {settings} », ou écrivez :", nullptr}},
    // What an undo finds in its journal before it gives anything back.
    {Words::CutRecords, {"{count} enregistrement coupé par une exécution interrompue ou un disque plein, ignoré : la modification qu'il annonçait n'a pas été faite.", "{count} enregistrements coupés par une exécution interrompue ou un disque plein, ignorés : les modifications qu'ils annonçaient n'ont pas été faites."}},
    {Words::CutRecordsOldJournal, {"{count} enregistrement coupé par une exécution interrompue ou un disque plein, ignoré : l'exécution qui a écrit ce journal a pu modifier ensuite d'autres fichiers sans les y inscrire.", "{count} enregistrements coupés par une exécution interrompue ou un disque plein, ignorés : l'exécution qui a écrit ce journal a pu modifier ensuite d'autres fichiers sans les y inscrire."}},
    {Words::CutEnds, {"{count} fin de modification coupée par une exécution interrompue ou un disque plein, ignorée : le fichier est vérifié tel qu'il est.", "{count} fins de modification coupées par une exécution interrompue ou un disque plein, ignorées : chaque fichier est vérifié tel qu'il est."}},
    {Words::AlreadyUndone, {"Ce journal a déjà été annulé ; le journal de cette annulation est « {journal} ».", nullptr}},
    {Words::AlreadyUndoneUnrecorded, {"Ce journal a déjà été annulé par une exécution sans journal.", nullptr}},
    {Words::UndoneUndoneAgain, {"Ce journal a été annulé, puis cette annulation, inscrite dans « {journal} », a été annulée à son tour : ses modifications sont de nouveau en place.", nullptr}},
    {Words::UndoOrder, {"Les modifications sont annulées de la dernière à la première, pour que celles faites l'une sur l'autre le soient dans l'ordre.", nullptr}},
    {Words::MarkKeptElsewhere, {"Le journal « {journal} » ne peut pas être écrit : son annulation est inscrite dans le journal de cette annulation, « {path} ».", nullptr}},
    {Words::NothingToUndo, {"Rien à annuler : aucune modification inscrite dans ce journal n'est restée en place.", nullptr}},
    // The tool and its version.
    {Words::VersionLine, {"Tressol {version}", nullptr}},
    // A fault of ours, said without a byte of memory more.
    {Words::InternalError, {"Tressol : erreur interne, rien de plus n'a été fait.", nullptr}},
};
// clang-format on

constexpr bool InOrder() {
  std::size_t i = 0;
  for (const Row& row : kRows) {
    if (static_cast<std::size_t>(row.id) != i++) return false;
  }
  return i == static_cast<std::size_t>(Words::kEnd);
}
static_assert(InOrder(), "the rows follow the entries, one each");

template <typename Places>
std::string Rendered(const char* text, const Places& places) {
  std::string filled = linguarde::catalog::Fill<char>(text, places);
#ifdef TRESSOL_PSEUDO_LOCALE
  filled =
      linguarde::catalog::Pseudo(std::move(filled), std::char_traits<char>::length(text),
                                 linguarde::catalog::kPseudoStart, linguarde::catalog::kPseudoEnd);
#endif
  return filled;
}

// The texts alone, in the entries' order: the rows' names are for the check above, and
// would double the table's size in the program.
template <std::size_t... I>
constexpr std::array<Entry<char>, sizeof...(I)> TextsOf(std::index_sequence<I...>) {
  return {{kRows[I].text...}};
}
constexpr auto kTexts = TextsOf(std::make_index_sequence<std::size(kRows)>());

}  // namespace

const Entry<char>& EntryAt(Words entry) { return kTexts[static_cast<std::size_t>(entry)]; }

std::string Say(Words entry, std::initializer_list<Place> places) {
  return Rendered(EntryAt(entry).one, places);
}

std::string Say(Words entry, std::uint64_t count, std::initializer_list<Place> places) {
  const Entry<char>& text = EntryAt(entry);
  const std::string digits = std::to_string(count);
  std::vector<Place> all(places);
  all.push_back({"count", digits});
  const bool singular = linguarde::catalog::TakesSingular(count) || text.other == nullptr;
  return Rendered(singular ? text.one : text.other, all);
}

}  // namespace tressol
