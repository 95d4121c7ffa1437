#include "words.h"

#include <array>
#include <iterator>
#include <utility>
#include <vector>

namespace tressol {
namespace {

using linguarde::catalog::Entry;

// Words that only the POSIX tool says (its shell, its file system's refusals): Tressol.exe,
// whose size is counted, carries them empty.
#ifdef _WIN32
#define PosixOnly(text) ""
#else
#define PosixOnly(text) text
#endif

struct Row {
  Words id;
  Entry<char> text;
};

// clang-format off
constexpr Row kRows[] = {
    // The report's.
    {Words::FilesCount, {"{count} fichier", "{count} fichiers"}},

    // Languages: the name shown after an ID, and the noun a sentence takes.
    {Words::LanguageEnglishUnitedStates, {"anglais (États-Unis)", nullptr}},
    {Words::LanguageEnglishUnitedKingdom, {"anglais (Royaume-Uni)", nullptr}},
    {Words::LanguageFrenchFrance, {"français (France)", nullptr}},
    {Words::LanguageFrenchBelgium, {"français (Belgique)", nullptr}},
    {Words::LanguageFrenchCanada, {"français (Canada)", nullptr}},
    {Words::LanguageFrenchSwitzerland, {"français (Suisse)", nullptr}},
    {Words::LanguageFrenchLuxembourg, {"français (Luxembourg)", nullptr}},
    {Words::LanguageGermanGermany, {"allemand (Allemagne)", nullptr}},
    {Words::LanguageGermanSwitzerland, {"allemand (Suisse)", nullptr}},
    {Words::LanguageGermanAustria, {"allemand (Autriche)", nullptr}},
    {Words::LanguageItalianItaly, {"italien (Italie)", nullptr}},
    {Words::LanguageSpanishTraditional, {"espagnol (Espagne, traditionnel)", nullptr}},
    {Words::LanguageSpanishSpain, {"espagnol (Espagne)", nullptr}},
    {Words::LanguageSpanishMexico, {"espagnol (Mexique)", nullptr}},
    {Words::LanguageDutchNetherlands, {"néerlandais (Pays-Bas)", nullptr}},
    {Words::LanguageDutchBelgium, {"néerlandais (Belgique)", nullptr}},
    {Words::LanguagePortugueseBrazil, {"portugais (Brésil)", nullptr}},
    {Words::LanguagePortuguesePortugal, {"portugais (Portugal)", nullptr}},
    {Words::LanguageNorwegianBokmal, {"norvégien (bokmål)", nullptr}},
    {Words::LanguageChineseSimplified, {"chinois (simplifié, RPC)", nullptr}},
    {Words::LanguageChineseTraditional, {"chinois (traditionnel, Taïwan)", nullptr}},
    {Words::LanguageEnglish, {"anglais", nullptr}},
    {Words::LanguageFrench, {"français", nullptr}},
    {Words::LanguageGerman, {"allemand", nullptr}},
    {Words::LanguageItalian, {"italien", nullptr}},
    {Words::LanguageSpanish, {"espagnol", nullptr}},
    {Words::LanguageDutch, {"néerlandais", nullptr}},
    {Words::LanguagePortuguese, {"portugais", nullptr}},
    {Words::LanguageDanish, {"danois", nullptr}},
    {Words::LanguageSwedish, {"suédois", nullptr}},
    {Words::LanguageNorwegian, {"norvégien", nullptr}},
    {Words::LanguageFinnish, {"finnois", nullptr}},
    {Words::LanguageGreek, {"grec", nullptr}},
    {Words::LanguagePolish, {"polonais", nullptr}},
    {Words::LanguageCzech, {"tchèque", nullptr}},
    {Words::LanguageHungarian, {"hongrois", nullptr}},
    {Words::LanguageRussian, {"russe", nullptr}},
    {Words::LanguageTurkish, {"turc", nullptr}},
    {Words::LanguageJapanese, {"japonais", nullptr}},
    {Words::LanguageKorean, {"coréen", nullptr}},
    {Words::LanguageChinese, {"chinois", nullptr}},

    // What the settings do. Each family in the same order, which the report counts on: the
  // runtime's English alone, no message, a language then English, a language alone (one
  // library, then two), a language then another; a language known by its name or only by
  // its ID, the first before the second.
    {Words::EffectEnglish, {"messages en anglais", nullptr}},
    {Words::EffectNone, {"aucun message VB", nullptr}},
    {Words::EffectThenEnglish, {"messages en {language} (en anglais sans {library})", nullptr}},
    {Words::EffectThenEnglishById, {"messages dans la langue {lcid} (en anglais sans {library})", nullptr}},
    {Words::EffectAlone, {"messages en {language} (aucun message sans {library})", nullptr}},
    {Words::EffectAloneById, {"messages dans la langue {lcid} (aucun message sans {library})", nullptr}},
    {Words::EffectAloneTwo, {"messages en {language} (aucun message sans {library} ni {library2})", nullptr}},
    {Words::EffectAloneTwoById, {"messages dans la langue {lcid} (aucun message sans {library} ni {library2})", nullptr}},
    {Words::EffectThenOther, {"messages en {language} (en {language2} sans {library}, aucun message sans {library} ni {library2})", nullptr}},
    {Words::EffectThenOtherById, {"messages en {language} (dans la langue {lcid2} sans {library}, aucun message sans {library} ni {library2})", nullptr}},
    {Words::EffectByIdThenOther, {"messages dans la langue {lcid} (en {language2} sans {library}, aucun message sans {library} ni {library2})", nullptr}},
    {Words::EffectByIdThenOtherById, {"messages dans la langue {lcid} (dans la langue {lcid2} sans {library}, aucun message sans {library} ni {library2})", nullptr}},
    {Words::ShortEffectEnglish, {"en anglais", nullptr}},
    {Words::ShortEffectNone, {"sans message", nullptr}},
    {Words::ShortEffectThenEnglish, {"en {language} ou en anglais", nullptr}},
    {Words::ShortEffectThenEnglishById, {"dans la langue {lcid} ou en anglais", nullptr}},
    {Words::ShortEffectAlone, {"en {language} seulement", nullptr}},
    {Words::ShortEffectAloneById, {"dans la langue {lcid} seulement", nullptr}},
    {Words::ShortEffectAloneTwo, {"en {language} seulement", nullptr}},
    {Words::ShortEffectAloneTwoById, {"dans la langue {lcid} seulement", nullptr}},
    {Words::ShortEffectThenOther, {"en {language}, en {language2} ou sans message", nullptr}},
    {Words::ShortEffectThenOtherById, {"en {language}, dans la langue {lcid2} ou sans message", nullptr}},
    {Words::ShortEffectByIdThenOther, {"dans la langue {lcid}, en {language2} ou sans message", nullptr}},
    {Words::ShortEffectByIdThenOtherById, {"dans la langue {lcid}, dans la langue {lcid2} ou sans message", nullptr}},

    // The settings of Linguarde's buttons, in the words of its labels.
    {Words::EffectButtonEnglish, {"« Les messages VB (erreurs…) sont en Anglais »", nullptr}},
    {Words::EffectButtonFrenchOrEnglish, {"« Les messages VB (erreurs…) sont en Anglais si VB6FR.dll n'est pas sur le système, sinon en Français »", nullptr}},
    {Words::EffectButtonFrenchOnly, {"« Les messages VB (erreurs…) sont en Français et VB6FR.dll DOIT être présent sur le système. »", nullptr}},

    // The four settings, a line each, and the effect's.
    {Words::SettingsLibraryEngine, {"* (messages en anglais du moteur)", nullptr}},
    {Words::SettingsLibraryNone, {"~ (aucune)", nullptr}},
    {Words::SettingsLibraryEmpty, {"(vide, aucune)", nullptr}},
    {Words::SettingsPrimaryLibrary, {"  Bibliothèque principale : {library}", nullptr}},
    {Words::SettingsSecondaryLibrary, {"  Bibliothèque secondaire : {library}", nullptr}},
    {Words::SettingsSecondaryLibraryAfterEngine, {"  Bibliothèque secondaire : {library}, sans effet après *", nullptr}},
    {Words::SettingsPrimaryLanguage, {"  Langue principale       : {lcid}, {language}", nullptr}},
    {Words::SettingsPrimaryLanguageById, {"  Langue principale       : {lcid}", nullptr}},
    {Words::SettingsPrimaryLanguageWithEngine, {"  Langue principale       : {lcid}, sans effet avec *", nullptr}},
    {Words::SettingsPrimaryLanguageNoLibrary, {"  Langue principale       : {lcid}, sans effet, aucune bibliothèque", nullptr}},
    {Words::SettingsSecondaryLanguage, {"  Langue secondaire       : {lcid}, {language}", nullptr}},
    {Words::SettingsSecondaryLanguageById, {"  Langue secondaire       : {lcid}", nullptr}},
    {Words::SettingsSecondaryLanguageWithEngine, {"  Langue secondaire       : {lcid}, sans effet avec *", nullptr}},
    {Words::SettingsSecondaryLanguageNoLibrary, {"  Langue secondaire       : {lcid}, sans effet, aucune bibliothèque", nullptr}},
    {Words::SettingsSecondaryLanguageAfterEngine, {"  Langue secondaire       : {lcid}, sans effet après *", nullptr}},
    {Words::SettingsEffect, {"  Effet : {effect}", nullptr}},

    // Why an entry is left aside: what it is.
    {Words::AsideLink, {"lien symbolique, non suivi", nullptr}},
    {Words::AsideFolderLink, {"lien vers un dossier, non suivi", nullptr}},
    {Words::AsideFolder, {"dossier", nullptr}},
    {Words::AsideFifo, {PosixOnly("tube nommé, FIFO"), nullptr}},
    {Words::AsideSocket, {"socket", nullptr}},
    {Words::AsideSpecialFile, {PosixOnly("fichier spécial (périphérique)"), nullptr}},
    {Words::AsideDevice, {"périphérique", nullptr}},
    {Words::AsideDeviceOrPipe, {"périphérique ou tube", nullptr}},
    {Words::AsideAppExecutionAlias, {"alias d'exécution d'application", nullptr}},
    {Words::AsideVanished, {PosixOnly("disparu pendant la lecture du dossier"), nullptr}},
    {Words::AsideOnlineOnly, {"en ligne seulement, non lu", nullptr}},

    // Why a file could not be opened; "System": with the system's own words.
    {Words::FileNotFound, {"introuvable ; vérifiez le chemin", nullptr}},
    {Words::FileRecordedNotFound, {"introuvable : il a été supprimé, déplacé ou renommé depuis la modification inscrite au journal", nullptr}},
    {Words::FileLinkTargetMissing, {"c'est un lien symbolique, et le fichier qu'il désigne est introuvable", nullptr}},
    {Words::FileFolder, {"c'est un dossier, pas un fichier", nullptr}},
    {Words::FileNotRegular, {"ce n'est pas un fichier ordinaire ({reason})", nullptr}},
    {Words::FileOpenElsewhere, {"il est ouvert par un autre programme ou en cours d'exécution ; fermez ce programme, puis recommencez", nullptr}},
    {Words::FileLocked, {PosixOnly("il est verrouillé par un autre programme ; fermez ce programme, puis recommencez"), nullptr}},
    {Words::FileReadOnlyAttribute, {"il est en lecture seule ; retirez cet attribut (Propriétés du fichier, décochez « Lecture seule »), puis recommencez", nullptr}},
    {Words::FileNoWritePermission, {PosixOnly("il est en lecture seule (aucun droit d'écriture) ; rendez-le modifiable (chmod u+w), puis recommencez"), nullptr}},
    {Words::FileReadOnlyDisk, {PosixOnly("il est sur un disque en lecture seule ; copiez-le ailleurs"), nullptr}},
    {Words::FileReadOnlyDiskSystem, {PosixOnly("il est sur un disque en lecture seule ; copiez-le ailleurs ({system})"), nullptr}},
    {Words::FileAdministratorsOnly, {"Windows réserve sa modification aux administrateurs, car il est dans Program Files ; lancez Linguarde ou l'invite de commandes en tant qu'administrateur", nullptr}},
    {Words::FileAccessDenied, {"vos droits ne permettent pas de le modifier ; demandez-les à l'administrateur de l'ordinateur", nullptr}},
    {Words::FileAccessDeniedSystem, {"vos droits ne permettent pas de le modifier ; demandez-les à l'administrateur de l'ordinateur ({system})", nullptr}},
    {Words::FileProtectedFolder, {"Windows refuse de le modifier ; son dossier est peut-être protégé contre les applications non approuvées (Accès contrôlé aux dossiers) : dans Sécurité Windows, Protection contre les virus et menaces, Protection contre les ransomware, autorisez Tressol.exe ; sinon, vos droits ne permettent pas de le modifier", nullptr}},
    {Words::FileProtectedFolderSystem, {"Windows refuse de le modifier ; son dossier est peut-être protégé contre les applications non approuvées (Accès contrôlé aux dossiers) : dans Sécurité Windows, Protection contre les virus et menaces, Protection contre les ransomware, autorisez Tressol.exe ; sinon, vos droits ne permettent pas de le modifier ({system})", nullptr}},
    {Words::FileOwnDeniedReading, {PosixOnly("vos droits ne permettent pas de le lire ; vous en êtes propriétaire : chmod u+r vous le permettra"), nullptr}},
    {Words::FileOwnDeniedReadingSystem, {PosixOnly("vos droits ne permettent pas de le lire ; vous en êtes propriétaire : chmod u+r vous le permettra ({system})"), nullptr}},
    {Words::FileOwnDeniedWriting, {PosixOnly("vos droits ne permettent pas de le modifier ; vous en êtes propriétaire : chmod u+rw vous le permettra"), nullptr}},
    {Words::FileOwnDeniedWritingSystem, {PosixOnly("vos droits ne permettent pas de le modifier ; vous en êtes propriétaire : chmod u+rw vous le permettra ({system})"), nullptr}},
    {Words::FileOthersDeniedReading, {PosixOnly("vos droits ne permettent pas de le lire ; demandez-les à son propriétaire ou à l'administrateur"), nullptr}},
    {Words::FileOthersDeniedReadingSystem, {PosixOnly("vos droits ne permettent pas de le lire ; demandez-les à son propriétaire ou à l'administrateur ({system})"), nullptr}},
    {Words::FileOthersDeniedWriting, {PosixOnly("vos droits ne permettent pas de le modifier ; demandez-les à son propriétaire ou à l'administrateur"), nullptr}},
    {Words::FileOthersDeniedWritingSystem, {PosixOnly("vos droits ne permettent pas de le modifier ; demandez-les à son propriétaire ou à l'administrateur ({system})"), nullptr}},
    {Words::FileReplacedReading, {"remplacé pendant l'opération (ce n'est plus le fichier que la liste du dossier a donné) ; il n'a pas été lu", nullptr}},
    {Words::FileReplacedWriting, {"remplacé pendant l'opération (ce n'est plus le fichier que la liste du dossier a donné) ; il n'a pas été modifié", nullptr}},
    {Words::FileUnexaminable, {"il ne peut pas être examiné", nullptr}},
    {Words::FileUnexaminableSystem, {"il ne peut pas être examiné ({system})", nullptr}},
    {Words::FileUnopenable, {"il ne peut pas être ouvert", nullptr}},
    {Words::FileUnopenableSystem, {"il ne peut pas être ouvert ({system})", nullptr}},

    // A step that the system failed.
    {Words::StepSize, {"sa taille ne peut pas être lue", nullptr}},
    {Words::StepSizeSystem, {"sa taille ne peut pas être lue ({system})", nullptr}},
    {Words::StepRead, {"lecture impossible", nullptr}},
    {Words::StepReadSystem, {"lecture impossible ({system})", nullptr}},
    {Words::StepReadShort, {"lecture impossible (le fichier s'arrête plus tôt que prévu)", nullptr}},
    {Words::StepWrite, {"écriture impossible", nullptr}},
    {Words::StepWriteSystem, {"écriture impossible ({system})", nullptr}},
    {Words::StepWriteShort, {"écriture incomplète", nullptr}},
    {Words::StepFlush, {"enregistrement sur le disque impossible", nullptr}},
    {Words::StepFlushSystem, {"enregistrement sur le disque impossible ({system})", nullptr}},
    {Words::StepAttributes, {"ses attributs ne peuvent pas être lus", nullptr}},
    {Words::StepAttributesSystem, {"ses attributs ne peuvent pas être lus ({system})", nullptr}},
    {Words::StepListFolder, {"le dossier « {folder} » ne peut pas être lu", nullptr}},
    {Words::StepListFolderSystem, {"le dossier « {folder} » ne peut pas être lu ({system})", nullptr}},
    {Words::StepListFolderWhole, {"le dossier « {folder} » n'a pas pu être lu jusqu'au bout", nullptr}},
    {Words::StepListFolderWholeSystem, {"le dossier « {folder} » n'a pas pu être lu jusqu'au bout ({system})", nullptr}},
    {Words::StepFolderReplaced, {"le dossier « {folder} » a été remplacé pendant l'opération (ce n'est plus celui que la liste de son dossier parent a donné) ; aucun de ses fichiers n'a été touché", nullptr}},
    {Words::StepOpenJournal, {"le journal « {journal} » ne peut pas être ouvert", nullptr}},
    {Words::StepOpenJournalSystem, {"le journal « {journal} » ne peut pas être ouvert ({system})", nullptr}},
    {Words::StepNoJournalFolder, {"aucun dossier pour le journal, car aucune de ces variables d'environnement n'en désigne un : {variable}", nullptr}},
    {Words::StepJournalMissing, {"le journal « {journal} » est introuvable", nullptr}},
    {Words::StepJournalMissingSystem, {"le journal « {journal} » est introuvable ({system})", nullptr}},
    {Words::StepJournalBusy, {"le journal « {journal} » est en cours d'utilisation par une autre exécution", nullptr}},
    {Words::StepWriteJournalFull, {"écriture impossible dans « {journal} » (disque plein)", nullptr}},
    {Words::StepWriteJournalSystem, {"écriture impossible dans « {journal} » ({system})", nullptr}},
    {Words::StepReadJournal, {"lecture du journal « {journal} » impossible", nullptr}},
    {Words::StepReadJournalSystem, {"lecture du journal « {journal} » impossible ({system})", nullptr}},

    // What a file's bytes show; "Copy": damaged, to be copied again from its original.
    {Words::VerdictTooShort, {"trop court pour une image PE", nullptr}},
    {Words::VerdictNoMzSignature, {"pas un programme Windows (signature MZ absente)", nullptr}},
    {Words::VerdictNoPeSignature, {"programme DOS ou 16 bits (signature PE absente)", nullptr}},
    {Words::VerdictDosProgram, {"programme DOS (sans en-tête PE)", nullptr}},
    {Words::VerdictPe64, {"image PE32+ (64 bits), que Visual Basic 6 ne produit pas", nullptr}},
    {Words::VerdictNotI386, {"image non i386 (64 bits ou autre processeur), que Visual Basic 6 ne produit pas", nullptr}},
    {Words::VerdictNoHeaderOutsideFile, {"aucun en-tête VB là où son code en désignerait un (hors du fichier)", nullptr}},
    {Words::VerdictNoHeaderWhereCodeSays, {"aucun en-tête VB là où son code en désignerait un", nullptr}},
    {Words::VerdictNoVbSignature, {"aucun en-tête VB (« VB5! »)", nullptr}},
    {Words::VerdictPackedWithoutRuntime, {"compressé (UPX ou autre), sans le moteur d'exécution VB", nullptr}},
    {Words::VerdictUnreadableImportsCopy, {"sa table d'importations ne peut pas être lue (hors du fichier), et sans elle rien ne dit s'il s'agit d'un fichier VB6 ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictTruncatedBeforePeCopy, {"le fichier est tronqué (il s'arrête avant son en-tête PE) ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictSectionPastEndCopy, {"le fichier est tronqué (la section « {section} » dépasse la fin du fichier) ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictMalformedPe, {"son image PE est mal formée (sections ou en-tête optionnel)", nullptr}},
    {Words::VerdictFieldPastEndCopy, {"le fichier est tronqué (un champ dépasse la fin des données lues) ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictTruncatedStructuresCopy, {"le fichier est tronqué (il s'arrête avant la fin de ses structures) ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictInvalidHeader, {"l'en-tête VB que désigne son code n'est pas valide", nullptr}},
    {Words::VerdictSearchTooLong, {"ni son point d'entrée ni ses exportations ne désignent d'en-tête VB, et ses sections dépassent 256 Mio : la recherche de l'en-tête s'arrête là", nullptr}},
    {Words::VerdictSeveralHeaders, {"il contient plusieurs en-têtes VB possibles, et Tressol n'en choisit aucun au hasard", nullptr}},
    {Words::VerdictExportsDisagree, {"ses fonctions exportées désignent des en-têtes VB différents", nullptr}},
    {Words::VerdictPackedWithRuntime, {"il est compressé (UPX ou autre) : son en-tête VB ne peut pas être lu ; utilisez la version non compressée", nullptr}},
    {Words::VerdictSignatureDamagedCopy, {"il utilise le moteur d'exécution VB, mais sa signature {signature} est endommagée ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictRuntimeHeaderAbsentCopy, {"il utilise le moteur d'exécution VB, mais l'en-tête VB que désigne son code est absent : il est sans doute endommagé ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictRuntimeHeaderOutsideCopy, {"il utilise le moteur d'exécution VB, mais l'en-tête VB que désigne son code serait hors du fichier : il est sans doute endommagé ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictRuntimeNoVbSignatureCopy, {"il utilise le moteur d'exécution VB, mais il ne contient aucun en-tête VB (« VB5! ») : il est sans doute endommagé ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictPeHeaderElsewhereCopy, {"il utilise le moteur d'exécution VB, mais son en-tête PE n'est pas là où l'en-tête MZ le désigne : il est sans doute endommagé ; recopiez-le depuis l'original", nullptr}},
    {Words::VerdictPastFourGiB, {"il dépasse 4 Gio, et la somme de contrôle d'une image PE32 ne couvre pas un fichier aussi grand", nullptr}},
    {Words::VerdictCertificatesOutside, {"la table de certificats de sa signature dépasse la fin du fichier (image mal formée)", nullptr}},
    {Words::VerdictChecksumUncomputable, {"sa somme de contrôle PE ne peut pas être calculée", nullptr}},
    {Words::VerdictReadBackDiffers, {"les octets relus ne sont pas ceux qui ont été écrits", nullptr}},
    {Words::VerdictChangedByAnother, {"il a été modifié par un autre programme pendant l'opération ; vérifiez-le, puis recommencez", nullptr}},
    {Words::VerdictNotRecorded, {"le journal des modifications ne peut pas être écrit. Le fichier n'a pas été modifié et l'exécution s'arrête là ; pour continuer, libérez de la place si le disque est plein, ou donnez un autre journal (TRESSOL_JOURNAL)", nullptr}},
    {Words::VerdictNotRecordedBecause, {"le journal des modifications ne peut pas être écrit : {reason}. Le fichier n'a pas été modifié et l'exécution s'arrête là ; pour continuer, libérez de la place si le disque est plein, ou donnez un autre journal (TRESSOL_JOURNAL)", nullptr}},
    {Words::VerdictWriteFailed, {"{reason} ; le fichier a été remis dans son état d'origine", nullptr}},
    {Words::VerdictWriteFailedNotRestored, {"{reason} ; le fichier n'a pas pu être remis dans son état d'origine : remplacez-le par une copie de sauvegarde", nullptr}},
    {Words::VerdictAnotherFileNow, {"un autre fichier porte désormais ce nom ; il est laissé tel quel", nullptr}},
    {Words::VerdictSizeChanged, {"sa taille a changé depuis la modification ; il est laissé tel quel", nullptr}},
    {Words::VerdictChangedSince, {"il a été modifié depuis (octets à la position {offset}) ; il est laissé tel quel", nullptr}},
    {Words::VerdictMixedBytes, {"ses octets mêlent l'avant et l'après de la modification ; il est laissé tel quel", nullptr}},
    {Words::VerdictContentChanged, {"son contenu a changé depuis la modification ; il est laissé tel quel", nullptr}},
    {Words::VerdictOutsideSettings, {"le journal décrit des octets situés hors des réglages de langue de l'en-tête VB du fichier, qu'aucune modification de Tressol n'écrit ; le fichier est laissé tel quel", nullptr}},
    {Words::VerdictJournalOfAnotherVersion, {"ce journal est d'une autre version de Tressol, que celle-ci ne lit pas", nullptr}},
    {Words::VerdictNotAJournal, {"ce fichier n'est pas un journal de Tressol", nullptr}},
    {Words::VerdictJournalTooLarge, {"ce fichier est trop grand pour être un journal de Tressol", nullptr}},
    {Words::VerdictJournalNotAFile, {"ce n'est pas un fichier ordinaire, donc pas un journal de Tressol", nullptr}},
    {Words::VerdictJournalLineDamaged, {"la ligne {line} du journal est endommagée et suivie d'autres lignes : elle est ignorée, et la modification qu'elle décrit, s'il y en a une, n'est pas annulée", nullptr}},
    {Words::VerdictJournalMayMissChanges, {"ce journal de Tressol 1.4.0 s'arrête sur un enregistrement coupé : si son disque était plein, les modifications faites après lui n'y sont pas inscrites, et cette annulation ne les rétablit pas", nullptr}},
    {Words::VerdictNoVb6File, {"aucun des fichiers n'est un fichier VB6", nullptr}},
    {Words::VerdictJournalExists, {"le journal demandé, « {journal} », existe déjà ; aucun fichier n'a été modifié", nullptr}},
    {Words::VerdictTargetMissing, {"« {path} » n'existe pas ; vérifiez le chemin. Aucun fichier n'a été modifié", nullptr}},
    {Words::VerdictMeantTargetMissing, {"sans guillemets, toute la ligne est lue comme un seul nom de fichier, « {path} », et aucun fichier ne porte ce nom", nullptr}},
    {Words::VerdictNoPatternMatch, {"aucun fichier ne correspond au motif « {path} »", nullptr}},
    {Words::VerdictPatternFolderMissing, {"le dossier « {folder} » n'existe pas", nullptr}},
    {Words::VerdictNoTargetInFolder, {"le dossier « {folder} » ne contient aucun fichier .exe, .dll ou .ocx", nullptr}},

    // The same in the few words of a window's line.
    {Words::ShortNoTargetInFolder, {"aucun fichier .exe, .dll ou .ocx", nullptr}},
    {Words::ShortNoPatternMatch, {"aucun fichier ne correspond au motif", nullptr}},
    {Words::ShortPatternFolderMissing, {"son dossier n'existe pas", nullptr}},
    {Words::ShortMeantTargetMissing, {"aucun fichier ne porte ce nom ; mettez le chemin entre guillemets", nullptr}},

    // A run that an error stopped, and the version.

    // Mistakes in the command line, each followed by where the help is; "Posix": the Linux
  // tool's, whose shell expands patterns and ~.
    {Words::MistakeHelp, {"Aide : {program} --help", nullptr}},
    {Words::MistakeUnknownOption, {"L'option « {option} » n'existe pas. Pour une cible dont le nom commence par un tiret, écrivez {here}{option} ou son chemin complet.", nullptr}},
    {Words::MistakeNoTarget, {"Aucun fichier indiqué : dans Linguarde, choisissez-en un avec « Choisir le fichier » ou tapez son chemin dans la zone de texte ; en ligne de commande, donnez son chemin.", nullptr}},
    {Words::MistakeNoTargetPosix, {PosixOnly("Aucun fichier indiqué : donnez le chemin d'un fichier ou d'un dossier."), nullptr}},
    {Words::MistakeEmptyTarget, {"L'une des cibles est vide (\"\") : donnez son chemin ou retirez-la.", nullptr}},
    {Words::MistakeSettingsMissing, {"{option} attend quatre valeurs, BIB1 LCID1 BIB2 LCID2, puis la cible.", nullptr}},
    {Words::MistakeSetAndCheck, {"Donnez une seule des options --set et --check, une seule fois.", nullptr}},
    {Words::MistakeUndoWithoutJournal, {"--undo attend le chemin du journal que le rapport d'une modification donne.", nullptr}},
    {Words::MistakeDryRunWithoutUndo, {"--dry-run ne s'emploie qu'avec --undo JOURNAL.", nullptr}},
    {Words::MistakeUndoWithOthers, {"--undo prend un journal seul, sans fichier, sans réglages et sans --recurse.", nullptr}},
    {Words::MistakeTargetLooksLikeLcid, {"« {word} » est donné comme fichier, mais a la forme d'une langue (LCID) : --set et --check prennent exactement quatre réglages. Rien n'a été modifié. Pour un fichier de ce nom, écrivez {here}{word}.", nullptr}},
    {Words::MistakeTargetLooksLikeOption, {"« {word} » est donné comme fichier, mais a la forme d'une option : les options se placent avant les cibles. Rien n'a été modifié. Pour un fichier de ce nom, écrivez {here}{word}.", nullptr}},
    {Words::MistakeInvalidLcid, {"Les réglages « {settings} » ne sont pas valides : « {word} » n'est pas une langue (LCID) : 0x suivi de chiffres hexadécimaux, de 0x0 à 0xFFFFF.", nullptr}},
    {Words::MistakeInvalidLibrary, {"Les réglages « {settings} » ne sont pas valides : « {word} » n'est pas un nom de bibliothèque : *, ~ ou un nom de fichier de 1 à 13 caractères, sans chemin, sans < > : \" / \\ | ? *, et qui n'est pas un nom réservé (CON, NUL…).", nullptr}},
    {Words::MistakeTildePowerShell, {"PowerShell remplace un ~ sans apostrophes par votre dossier personnel : écrivez '*' et '~' entre apostrophes.", nullptr}},
    {Words::MistakeTildePosix, {PosixOnly("Votre shell remplace un ~ sans apostrophes par votre dossier personnel : écrivez '*' et '~' entre apostrophes."), nullptr}},

    // The help, whole, as each tool's shell writes its command lines: at most 30 lines of 80
  // columns, the usage first.
    {Words::HelpCmd,
     {"Utilisation :\n"
        "  Tressol.exe [--json] [--recurse] CIBLE…\n"
        "      affiche la langue des messages VB (erreurs…) de chaque fichier VB6 ;\n"
        "  Tressol.exe [options] --set BIB1 LCID1 BIB2 LCID2 [--] CIBLE…\n"
        "      la modifie ; depuis PowerShell, écrivez '*' et '~' entre apostrophes ;\n"
        "  Tressol.exe [options] \"CIBLE\"… BIB1 LCID1 BIB2 LCID2\n"
        "      la modifie aussi, les cibles entre guillemets (sans guillemets, la ligne\n"
        "      entière désigne une seule cible à afficher) ;\n"
        "  Tressol.exe [--json] [--recurse] --check BIB1 LCID1 BIB2 LCID2 [--] CIBLE…\n"
        "      vérifie ces réglages et la somme de contrôle PE, sans rien écrire ;\n"
        "  Tressol.exe [--json] [--dry-run] --undo JOURNAL\n"
        "      annule une exécution (la fin de son rapport donne cette commande).\n"
        "CIBLE : un fichier, un dossier (ses fichiers .exe, .dll et .ocx) ou un motif\n"
        "  (C:\\MonAppli\\*.ocx) ; une cible qui commence par un tiret s'écrit .\\-nom.exe.\n"
        "BIB : * (messages en anglais du moteur), ~ (aucune) ou une bibliothèque de\n"
        "  langue (vb6FR.dll) ; LCID : la langue, de 0x0 à 0xFFFFF (0x40C : français).\n"
        "Options : --json, une ligne JSON par fichier ; --recurse, les sous-dossiers\n"
        "  aussi ; --no-journal, sans journal (chaque fichier modifié est suivi de la\n"
        "  commande qui le rétablit) ; --local-only, sans télécharger un fichier qui\n"
        "  n'est que dans le nuage ; --help, -h ; --version.\n"
        "Journal : un par exécution, dans %LOCALAPPDATA%\\Tressol\\Retours, ou le fichier\n"
        "  que nomme TRESSOL_JOURNAL.\n"
        "Codes de sortie : 0 fait, 1 somme de contrôle PE fausse, 2 utilisation,\n"
        "  3 refusé (non VB6 ou aucun fichier VB6, endommagé, occupé), 4 lecture ou\n"
        "  écriture impossible (fichier ou dossier absent), 5 réglages différents.\n"
        "Référence complète : LISEZMOI.txt",
      nullptr}},
    {Words::HelpPosix,
     {PosixOnly("Utilisation :\n"
        "  tressol [--json] [--recurse] CIBLE…\n"
        "      affiche la langue des messages VB (erreurs…) de chaque fichier VB6 ;\n"
        "  tressol [options] --set BIB1 LCID1 BIB2 LCID2 [--] CIBLE…\n"
        "      la modifie ; écrivez '*' et '~' entre apostrophes ;\n"
        "  tressol [options] CIBLE… BIB1 LCID1 BIB2 LCID2\n"
        "      la modifie aussi ;\n"
        "  tressol [--json] [--recurse] --check BIB1 LCID1 BIB2 LCID2 [--] CIBLE…\n"
        "      vérifie ces réglages et la somme de contrôle PE, sans rien écrire ;\n"
        "  tressol [--json] [--dry-run] --undo JOURNAL\n"
        "      annule une exécution (la fin de son rapport donne cette commande).\n"
        "CIBLE : un fichier ou un dossier (ses fichiers .exe, .dll et .ocx) ; le shell\n"
        "  développe les motifs. Une cible qui commence par un tiret s'écrit ./-nom.exe.\n"
        "BIB : * (messages en anglais du moteur), ~ (aucune) ou une bibliothèque de\n"
        "  langue (vb6FR.dll) ; LCID : la langue, de 0x0 à 0xFFFFF (0x40C : français).\n"
        "Options : --json, une ligne JSON par fichier ; --recurse, les sous-dossiers\n"
        "  aussi ; --no-journal, sans journal (chaque fichier modifié est suivi de la\n"
        "  commande qui le rétablit) ; --local-only, sans télécharger un fichier qui\n"
        "  n'est que dans le nuage ; --help, -h ; --version.\n"
        "Journal : un par exécution, dans $XDG_STATE_HOME/tressol (sinon\n"
        "  ~/.local/state/tressol), ou le fichier que nomme TRESSOL_JOURNAL.\n"
        "Codes de sortie : 0 fait, 1 somme de contrôle PE fausse, 2 utilisation,\n"
        "  3 refusé (non VB6 ou aucun fichier VB6, endommagé, occupé), 4 lecture ou\n"
        "  écriture impossible (fichier ou dossier absent), 5 réglages différents.\n"
        "Référence complète : docs/tool-reference.md, dans les sources de Linguarde"),
      nullptr}},

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
    {Words::WordsRestorable, {"modification annulable exactement ; pour l'instant, {effect}", nullptr}},
    {Words::WordsMatches, {"conforme, {effect}", nullptr}},
    {Words::WordsDiffers, {"différent de l'attendu : {differences}", nullptr}},
    {Words::WordsWrongChecksum, {"somme de contrôle PE fausse, {stored} au lieu de {actual} : le fichier a changé depuis son calcul ; il est endommagé, ou a été modifié sans que la somme soit recalculée", nullptr}},
    {Words::WordsWrongChecksumDiffers, {"somme de contrôle PE fausse, {stored} au lieu de {actual} : le fichier a changé depuis son calcul ; il est endommagé, ou a été modifié sans que la somme soit recalculée ; il est aussi différent de l'attendu : {differences}", nullptr}},
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
    {Words::LineChecksumRepaired, {"{file} : {words} ; somme de contrôle PE {stored}, fausse, corrigée en {written}.", nullptr}},
    {Words::LineUnsignedChecksumRepaired, {"{file} : {words} ; sa signature n'est plus valide ; somme de contrôle PE {stored}, fausse, corrigée en {written}.", nullptr}},
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
    {Words::AnswerDiffers, {"{file} : différent de l'attendu : {differences}. Actuellement : {before}. Attendu : {after}.", nullptr}},
    {Words::DetailsHeading, {"Détails :", nullptr}},
    {Words::DetailFile, {"  Fichier : {path}", nullptr}},
    {Words::DetailLink, {"  Lien vers : {path}", nullptr}},
    {Words::DetailHeaderByEntryPoint, {"  En-tête VB : position {offset}, désignée par le point d'entrée", nullptr}},
    {Words::DetailHeaderByExports, {"  En-tête VB : position {offset}, désignée par les exportations", nullptr}},
    {Words::DetailHeaderBySearch, {"  En-tête VB : position {offset}, trouvée par recherche", nullptr}},
    {Words::DetailRuntime, {"  Moteur d'exécution VB visé : build {build}", nullptr}},
    {Words::DetailChecksumAbsent, {"  Somme de contrôle PE : absente (0), laissée à 0", nullptr}},
    {Words::DetailChecksumMade, {"  Somme de contrôle PE : {stored}, devenue {written}", nullptr}},
    {Words::DetailChecksumRepaired, {"  Somme de contrôle PE : {stored}, fausse, corrigée en {written}", nullptr}},
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
    {Words::InexactWrongChecksum, {"    {file} : cette annulation ne rend pas le fichier identique octet pour octet, car la somme de contrôle PE précédente, {stored}, n'était pas celle du fichier ; la commande écrit la bonne.", nullptr}},
    {Words::CaveatPathTooLong, {"Le chemin complet du fichier est trop long pour que le système le rouvre.", nullptr}},
    {Words::CaveatLibraryName, {"Le nom de bibliothèque précédent, « {library} », ne peut pas être écrit sur la ligne de commande.", nullptr}},
    {Words::CaveatLcid, {"La langue précédente, {lcid}, ne peut pas être écrite sur la ligne de commande.", nullptr}},
    {Words::CaveatPath, {"Le chemin de l'outil ou du fichier ne peut pas être écrit sur la ligne de commande.", nullptr}},
    {Words::CaveatBytesAfterName, {"Un nom de bibliothèque précédent est suivi d'octets que la commande remet à zéro.", nullptr}},
    {Words::CaveatWrongChecksum, {"La somme de contrôle PE précédente, {stored}, n'était pas celle du fichier ; la commande écrit la bonne.", nullptr}},
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
    {Words::LibraryMissing, {"Attention : la bibliothèque de langue « {library} » est introuvable ; cherchée dans {folders}.", nullptr}},
    {Words::LibraryMissingFallsBack, {"Bibliothèque de langue « {library} » : absente de ce système, cas prévu par ces réglages ; cherchée dans {folders}.", nullptr}},
    {Words::LibraryMissingNowhere, {"Attention : la bibliothèque de langue « {library} » est introuvable.", nullptr}},
    {Words::LibraryMissingFallsBackNowhere, {"Bibliothèque de langue « {library} » : absente de ce système, cas prévu par ces réglages.", nullptr}},
    {Words::LibraryNotImage, {"Attention : « {library} » dans « {folder} » n'est pas une bibliothèque de langue, car ce n'est pas un fichier de programme Windows ; le moteur d'exécution ne peut pas la charger.", nullptr}},
    {Words::LibraryIsProgram, {"Attention : « {library} » dans « {folder} » est un programme, pas une bibliothèque de langue : le shell a sans doute remplacé un * non protégé de la ligne de commande par les noms des fichiers du dossier ; écrivez-le entre apostrophes ou entre guillemets.", nullptr}},
    {Words::LibraryCopyAdvice, {"  À faire : copiez-la à côté du programme, sur chaque ordinateur où l'application s'exécute.", nullptr}},
    {Words::LibraryConcerns, {"  Fichier concerné : {files}", "  Fichiers concernés ({count}) : {files}"}},
    {Words::FolderOfProgram, {"« {folder} », dossier du programme", nullptr}},
    {Words::FolderOfFile, {"« {folder} », dossier du fichier", nullptr}},
    {Words::FolderSystem32, {"« {folder} », dossier système 32 bits", nullptr}},
    {Words::FolderSystem16, {"« {folder} », dossier système 16 bits", nullptr}},
    {Words::FolderWindows, {"« {folder} », dossier de Windows", nullptr}},
    {Words::FolderTargetOnly, {"« {folder} », dossier du fichier, le seul où cet outil cherche sous Linux", nullptr}},
    // A folder's end.
    {Words::FrenchLibraries, {"Bibliothèque de langue VB6 en français : {libraries}", "Bibliothèques de langue VB6 en français : {libraries}"}},
    {Words::FrenchLibrariesLeft, {"Bibliothèque de langue VB6 en français, laissée telle quelle : {libraries}", "Bibliothèques de langue VB6 en français, laissées telles quelles : {libraries}"}},
    {Words::NotVb6Heading, {"Fichier non VB6 :", "Fichiers non VB6 :"}},
    {Words::LeftAsideHeading, {"Laissé de côté, car ce n'est pas un fichier ordinaire :", "Laissés de côté, car ce ne sont pas des fichiers ordinaires :"}},
    {Words::OnlineOnlyHeading, {"Laissé de côté sans être lu, car il n'est que dans le nuage :", "Laissés de côté sans être lus, car ils ne sont que dans le nuage :"}},
    {Words::GroupLine, {"  {reason} : {files}", nullptr}},
    {Words::NamesLine, {"  {files}", nullptr}},
    {Words::FailedNames, {"En échec : {files}.", nullptr}},
    {Words::NamesAndOthers, {"{files} et {count} autre", "{files} et {count} autres"}},
    {Words::EffectCount, {"  {count} fichier : {effect}", "  {count} fichiers : {effect}"}},
    {Words::Summary, {"Résumé : {counts}.", nullptr}},
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
    {Words::ShortVb6Effects, {"{count} VB6 ({effects})", nullptr}},
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
    {Words::MarkKeptElsewhere, {"Le journal « {journal} » ne peut pas être complété : son annulation n'est inscrite que dans le journal de cette annulation, « {path} ».", nullptr}},
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

constexpr std::size_t Length(const char* text) {
  std::size_t length = 0;
  while (text[length] != '\0') ++length;
  return length;
}

constexpr std::size_t PoolSize() {
  std::size_t size = 0;
  for (const Row& row : kRows) {
    size += Length(row.text.one) + 1 + (row.text.other ? Length(row.text.other) + 1 : 0);
  }
  return size;
}

// The texts one after another, each ended by a null, and where each starts: what the program
// carries is the texts and two small numbers an entry, no pointer and no identifier a row.
constexpr std::size_t kCount = static_cast<std::size_t>(Words::kEnd);
constexpr std::uint16_t kNoPlural = 0xFFFF;
static_assert(PoolSize() < kNoPlural, "the texts' starts fit their 16 bits");
struct Pool {
  char text[PoolSize()];
  std::uint16_t one[kCount];
  std::uint16_t other[kCount];  // kNoPlural where no number decides
};

constexpr Pool MakePool() {
  Pool pool{};
  std::size_t at = 0;
  const auto put = [&pool, &at](const char* text) {
    const auto start = static_cast<std::uint16_t>(at);
    for (std::size_t i = 0; text[i] != '\0'; ++i) pool.text[at++] = text[i];
    pool.text[at++] = '\0';
    return start;
  };
  for (std::size_t i = 0; i < kCount; ++i) {
    pool.one[i] = put(kRows[i].text.one);
    pool.other[i] = kRows[i].text.other ? put(kRows[i].text.other) : kNoPlural;
  }
  return pool;
}
constexpr Pool kPool = MakePool();

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

}  // namespace

Entry<char> EntryAt(Words entry) {
  const auto i = static_cast<std::size_t>(entry);
  return {kPool.text + kPool.one[i],
          kPool.other[i] == kNoPlural ? nullptr : kPool.text + kPool.other[i]};
}

std::string Say(Words entry, std::initializer_list<Place> places) {
  return Rendered(EntryAt(entry).one, places);
}

std::string Say(Words entry, std::uint64_t count, std::initializer_list<Place> places) {
  const Entry<char> text = EntryAt(entry);
  const std::string digits = std::to_string(count);
  std::vector<Place> all(places);
  all.push_back({"count", digits});
  const bool singular = linguarde::catalog::TakesSingular(count) || text.other == nullptr;
  return Rendered(singular ? text.one : text.other, all);
}

}  // namespace tressol
