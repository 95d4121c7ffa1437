#include "report.h"

#include <cctype>
#include <string_view>
#include <vector>

#include "actions.h"
#include "tool_error.h"
#include "shown_text.h"
#include "unicode_text.h"

namespace tressol {
namespace {

struct Language {
  std::uint32_t lcid;
  const char* name;    // as shown after the ID
  const char* inText;  // as a sentence says it: "en français"
};

// clang-format off
constexpr Language kLanguages[] = {
    {0x409, "anglais (États-Unis)",            "en anglais"},
    {0x809, "anglais (Royaume-Uni)",           "en anglais"},
    {0x40C, "français (France)",               "en français"},
    {0x80C, "français (Belgique)",             "en français"},
    {0xC0C, "français (Canada)",               "en français"},
    {0x100C, "français (Suisse)",              "en français"},
    {0x140C, "français (Luxembourg)",          "en français"},
    {0x407, "allemand (Allemagne)",            "en allemand"},
    {0x807, "allemand (Suisse)",               "en allemand"},
    {0xC07, "allemand (Autriche)",             "en allemand"},
    {0x410, "italien (Italie)",                "en italien"},
    {0x40A, "espagnol (Espagne, traditionnel)", "en espagnol"},
    {0xC0A, "espagnol (Espagne)",              "en espagnol"},
    {0x80A, "espagnol (Mexique)",              "en espagnol"},
    {0x413, "néerlandais (Pays-Bas)",          "en néerlandais"},
    {0x813, "néerlandais (Belgique)",          "en néerlandais"},
    {0x416, "portugais (Brésil)",              "en portugais"},
    {0x816, "portugais (Portugal)",            "en portugais"},
    {0x406, "danois",                          "en danois"},
    {0x41D, "suédois",                         "en suédois"},
    {0x414, "norvégien (bokmål)",              "en norvégien"},
    {0x40B, "finnois",                         "en finnois"},
    {0x408, "grec",                            "en grec"},
    {0x415, "polonais",                        "en polonais"},
    {0x405, "tchèque",                         "en tchèque"},
    {0x40E, "hongrois",                        "en hongrois"},
    {0x419, "russe",                           "en russe"},
    {0x41F, "turc",                            "en turc"},
    {0x411, "japonais",                        "en japonais"},
    {0x412, "coréen",                          "en coréen"},
    {0x804, "chinois (simplifié, RPC)",        "en chinois"},
    {0x404, "chinois (traditionnel, Taïwan)",  "en chinois"},
};
// clang-format on

const Language* Find(std::uint32_t lcid) {
  for (const Language& language : kLanguages) {
    if (language.lcid == lcid) return &language;
  }
  return nullptr;
}

std::string InText(std::uint32_t lcid) {
  const Language* language = Find(lcid);
  return language ? language->inText : "dans la langue " + Hex(lcid);
}

bool IsFrench(const std::string& library, std::uint32_t lcid) {
  return IsFrenchLibrary(library) && lcid == 0x40C;
}

// The runtime tries the primary setting, then the secondary one: "*" is its own English
// messages and ends the search, "~" or nothing is skipped, a file name is used if present.
struct Step {
  const std::string* library;
  std::uint32_t lcid;
};

std::vector<Step> Steps(const LanguageSettings& s) {
  return {{&s.primaryLibrary, s.primaryLcid}, {&s.secondaryLibrary, s.secondaryLcid}};
}

// What the messages can be, in the order the runtime tries: each language with the library
// files that give it, the last one without a library ("en anglais" for "*", empty for
// none). Neighbours in the same language are one choice.
struct Choice {
  std::string words;
  std::vector<std::string> libraries;
};

std::vector<Choice> Choices(const LanguageSettings& s) {
  std::vector<Choice> choices;
  const auto add = [&choices](const std::string& words, const std::string* library) {
    if (choices.empty() || choices.back().words != words) choices.push_back({words, {}});
    if (library) choices.back().libraries.push_back(*library);
  };
  for (const Step& step : Steps(s)) {
    if (*step.library == "*") {
      add("en anglais", nullptr);
      return choices;
    }
    if (NamesALibraryFile(*step.library)) add(InText(step.lcid), step.library);
  }
  add("", nullptr);
  return choices;
}

}  // namespace

std::string Hex(std::uint64_t value) {
  std::string digits = linguarde::Digits<char>(value, 16);
  for (char& digit : digits)
    digit = static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
  return "0x" + digits;
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DescribeLcid(std::uint32_t lcid) {
  const Language* language = Find(lcid);
  return language ? Hex(lcid) + ", " + language->name : Hex(lcid);
}

bool IsFrenchLibrary(const std::string& library) {
  return linguarde::unicode::SameIgnoringAsciiCase(library, "vb6fr.dll");
}

std::string PlainEffect(const LanguageSettings& s) {
  const std::vector<Choice> choices = Choices(s);
  if (choices.front().words.empty()) return "aucun message VB";
  std::string text = "messages " + choices.front().words;
  // Each later choice holds where every library before it is missing.
  std::string missing;
  for (std::size_t i = 1; i < choices.size(); ++i) {
    for (const std::string& library : choices[i - 1].libraries) {
      missing += (missing.empty() ? "" : " ni ") + Named(library);
    }
    text += (i == 1 ? " (" : ", ") +
            (choices[i].words.empty() ? std::string("aucun message") : choices[i].words) +
            " sans " + missing;
  }
  return text + (choices.size() > 1 ? ")" : "");
}

std::string ShortEffect(const LanguageSettings& s) {
  const std::vector<Choice> choices = Choices(s);
  if (choices.front().words.empty()) return "sans message";
  std::string text = choices.front().words;
  for (std::size_t i = 1; i < choices.size(); ++i) {
    if (!choices[i].words.empty()) {
      text += " ou " + choices[i].words.substr(std::string_view("en ").size());
    } else {
      text += i == 1 ? " seul" : " ou aucun";
    }
  }
  return text;
}

std::string Effect(const LanguageSettings& s) {
  // The buttons' own words, for the settings that the buttons write.
  using linguarde::Action;
  const auto described = [](Action action) {
    return "« " + std::string(linguarde::ActionOf(action).label) + " »";
  };
  if (s.primaryLibrary == "*") return described(Action::LocaliserAnglaisUS);
  if (IsFrench(s.primaryLibrary, s.primaryLcid) && s.secondaryLibrary == "*") {
    return described(Action::LocaliserFrancaisOuAnglaisUS);
  }
  if (IsFrench(s.primaryLibrary, s.primaryLcid) && s.secondaryLibrary == "~") {
    return described(Action::RetablirFrancaisSeule);
  }
  const std::string plain = PlainEffect(s);
  if (Choices(s).front().words.empty()) {
    return "Ni bibliothèque de langue ni messages anglais du moteur : aucun message VB.";
  }
  return "Les messages VB (erreurs…) sont " + plain.substr(plain.find(' ') + 1) + ".";
}

std::string DescribeSettings(const LanguageSettings& s, bool withEffect) {
  const auto library = [](const std::string& name) {
    if (name == "*") return std::string("* (messages en anglais du moteur)");
    if (name == "~") return std::string("~ (aucune)");
    if (name.empty()) return std::string("(vide, aucune)");
    return linguarde::Visible(name);
  };
  // A language counts only with a library file, and nothing after "*" is ever used.
  const auto language = [](const std::string& name, std::uint32_t lcid, bool reached) {
    if (!reached) return Hex(lcid) + ", sans effet après *";
    if (name == "*") return Hex(lcid) + ", sans effet avec *";
    if (!NamesALibraryFile(name)) return Hex(lcid) + ", sans effet, aucune bibliothèque";
    return DescribeLcid(lcid);
  };
  const bool secondaryReached = s.primaryLibrary != "*";
  return "  Bibliothèque principale : " + library(s.primaryLibrary) + "\n" +
         "  Langue principale       : " + language(s.primaryLibrary, s.primaryLcid, true) + "\n" +
         "  Bibliothèque secondaire : " + library(s.secondaryLibrary) +
         (secondaryReached ? "" : ", sans effet après *") + "\n" + "  Langue secondaire       : " +
         language(s.secondaryLibrary, s.secondaryLcid, secondaryReached) + "\n" +
         (withEffect ? Wrap("  Effet : " + Effect(s), "          ") : "");
}

std::string Count(std::size_t count, const std::string& singular, const std::string& plural) {
  return std::to_string(count) + " " + (count > 1 ? plural : singular);
}

namespace {

// The system's own words, within our sentence: in parentheses, without the capital a
// sentence of its own would start with ("Permission denied", "Accès refusé").
std::string SystemWords(const std::string& text) {
  if (text.empty()) return {};
  std::string words = text;
  if (words.size() > 1 && std::isupper(static_cast<unsigned char>(words[0])) &&
      !std::isupper(static_cast<unsigned char>(words[1]))) {
    words[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(words[0])));
  }
  return " (" + words + ")";
}

std::string StepText(const StepError& error) {
  const std::string name = "« " + Named(error.Name()) + " »";
  const std::string system = SystemWords(error.SystemText());
  switch (error.Which()) {
    case IoStep::Size:
      return "sa taille ne peut pas être lue" + system;
    case IoStep::Read:
      return "lecture impossible" + system;
    case IoStep::ReadShort:
      return "lecture impossible (le fichier s'arrête plus tôt que prévu)";
    case IoStep::Write:
      return "écriture impossible" + system;
    case IoStep::WriteShort:
      return "écriture incomplète";
    case IoStep::Flush:
      return "enregistrement sur le disque impossible" + system;
    case IoStep::Attributes:
      return "ses attributs ne peuvent pas être lus" + system;
    case IoStep::ListFolder:
      return "le dossier " + name + " ne peut pas être lu" + system;
    case IoStep::ListFolderWhole:
      return "le dossier " + name + " n'a pas pu être lu jusqu'au bout" + system;
    case IoStep::FolderReplaced:
      return "le dossier " + name +
             " a été remplacé pendant l'opération (ce n'est plus celui que la liste de son "
             "dossier parent a donné) ; aucun de ses fichiers n'a été touché";
    case IoStep::OpenJournal:
      return "le journal " + name + " ne peut pas être ouvert" + system;
    case IoStep::NoJournalFolder:
      return "aucun dossier pour le journal : aucune de ces variables d'environnement n'en "
             "désigne un : " +
             error.Name();
    case IoStep::JournalMissing:
      return "le journal " + name + " est introuvable" + system;
    case IoStep::JournalBusy:
      return "le journal " + name + " est en cours d'utilisation par une autre exécution";
    case IoStep::WriteJournal:
      return "écriture impossible dans " + name +
             (error.SystemText().empty() ? " (disque plein)" : system);
    case IoStep::ReadJournal:
      break;
  }
  return "lecture impossible dans " + name + system;
}

}  // namespace

namespace {

std::string VerdictText(Verdict verdict, Verdict cause, const std::string& detail) {
  switch (verdict) {
    case Verdict::TooShort:
      return "trop court pour une image PE";
    case Verdict::NoMzSignature:
      return "pas un programme Windows (signature MZ absente)";
    case Verdict::NoPeSignature:
      return "programme DOS ou 16 bits (signature PE absente)";
    case Verdict::DosProgram:
      return "programme DOS (sans en-tête PE)";
    case Verdict::Pe64:
      return "image PE32+ (64 bits), que Visual Basic 6 ne produit pas";
    case Verdict::NotI386:
      return "image non i386 (64 bits ou autre processeur), que Visual Basic 6 ne produit pas";
    case Verdict::NoHeaderOutsideFile:
      return "aucun en-tête VB là où son code en désignerait un (hors du fichier)";
    case Verdict::NoHeaderWhereCodeSays:
      return "aucun en-tête VB là où son code en désignerait un";
    case Verdict::NoVbSignature:
      return "aucun en-tête VB (« VB5! »)";
    case Verdict::PackedWithoutRuntime:
      return "compressé (UPX ou autre), sans le moteur d'exécution VB";
    case Verdict::UnreadableImports:
      return "sa table d'importations ne peut pas être lue (hors du fichier), et sans elle rien "
             "ne dit s'il s'agit d'un fichier VB6";
    case Verdict::TruncatedBeforePe:
      return "le fichier est tronqué (il s'arrête avant son en-tête PE)";
    case Verdict::SectionPastEnd:
      return "le fichier est tronqué (la section « " + Named(detail) +
             " » dépasse la fin du fichier)";
    case Verdict::MalformedPe:
      return "son image PE est mal formée (sections ou en-tête optionnel)";
    case Verdict::FieldPastEnd:
      return "le fichier est tronqué (un champ dépasse la fin des données lues)";
    case Verdict::TruncatedStructures:
      return "le fichier est tronqué (il s'arrête avant la fin de ses structures)";
    case Verdict::InvalidHeader:
      return "l'en-tête VB que désigne son code n'est pas valide";
    case Verdict::SearchTooLong:
      return "ni son point d'entrée ni ses exportations ne désignent d'en-tête VB, et "
             "ses sections dépassent 256 Mio : la recherche de l'en-tête s'arrête là";
    case Verdict::SeveralHeaders:
      return "il contient plusieurs en-têtes VB possibles, et aucun n'est choisi au hasard";
    case Verdict::ExportsDisagree:
      return "ses fonctions exportées désignent des en-têtes VB différents";
    case Verdict::PackedWithRuntime:
      return "il est compressé (UPX ou autre) : son en-tête VB ne peut pas être lu ; "
             "utilisez la version non compressée";
    case Verdict::SignatureDamaged:
      return "il utilise le moteur d'exécution VB, mais sa signature " + detail + " est endommagée";
    case Verdict::PastFourGiB:
      return "il dépasse 4 Gio, et la somme de contrôle d'une image PE32 ne couvre pas un fichier "
             "aussi grand";
    case Verdict::CertificatesOutside:
      return "la table de certificats de sa signature dépasse la fin du fichier (image mal formée)";
    case Verdict::ChecksumUncomputable:
      return "sa somme de contrôle PE ne peut pas être calculée";
    case Verdict::ReadBackDiffers:
      return "les octets relus ne sont pas ceux qui ont été écrits";
    case Verdict::ChangedByAnother:
      return "il a été modifié par un autre programme pendant l'opération ; vérifiez-le, puis "
             "recommencez";
    case Verdict::NotRecorded:
      return "le journal des modifications ne peut pas être écrit" +
             (detail.empty() ? std::string() : " : " + detail) +
             ". Le fichier n'a pas été modifié et l'exécution s'arrête là ; pour continuer, "
             "libérez de la place si le disque est plein, ou donnez un autre journal "
             "(TRESSOL_JOURNAL)";
    case Verdict::WriteFailed:
      return detail + " ; le fichier a été remis dans son état d'origine";
    case Verdict::WriteFailedNotRestored:
      return detail +
             " ; le fichier n'a pas pu être remis dans son état d'origine : remplacez-le par une "
             "copie de sauvegarde";
    case Verdict::AnotherFileNow:
      return "un autre fichier porte désormais ce nom ; il est laissé tel quel";
    case Verdict::SizeChanged:
      return "sa taille a changé depuis la modification ; il est laissé tel quel";
    case Verdict::ChangedSince:
      return "il a été modifié depuis (octets à la position " + detail +
             ") ; il est laissé tel quel";
    case Verdict::MixedBytes:
      return "ses octets mêlent l'avant et l'après de la modification ; il est laissé tel quel";
    case Verdict::ContentChanged:
      return "son contenu a changé depuis la modification ; il est laissé tel quel";
    case Verdict::OutsideSettings:
      return "le journal décrit des octets situés hors des réglages de langue de l'en-tête VB "
             "du fichier, qu'aucune modification de Tressol n'écrit ; le fichier est laissé tel "
             "quel";
    case Verdict::JournalOfAnotherVersion:
      return "ce journal est d'une autre version de Tressol, que celle-ci ne lit pas";
    case Verdict::NotAJournal:
      return "ce fichier n'est pas un journal de Tressol";
    case Verdict::JournalTooLarge:
      return "ce fichier est trop grand pour être un journal de Tressol";
    case Verdict::JournalNotAFile:
      return "ce n'est pas un fichier ordinaire, donc pas un journal de Tressol";
    case Verdict::JournalMayMissChanges:
      return "ce journal de Tressol 1.4.0 s'arrête sur un enregistrement coupé : si son disque "
             "était plein, les modifications faites après lui n'y sont pas inscrites, et cette "
             "annulation ne les rétablit pas";
    case Verdict::JournalLineDamaged:
      return "la ligne " + detail +
             " du journal est endommagée et suivie d'autres lignes : elle est ignorée, et la "
             "modification qu'elle décrit, s'il y en a une, n'est pas annulée";
    case Verdict::NoVb6File:
      return "aucun des fichiers n'est un fichier VB6";
    case Verdict::JournalExists:
      return "le journal demandé, « " + Named(detail) +
             " », existe déjà ; aucun fichier n'a été modifié";
    case Verdict::TargetMissing:
      return "« " + Named(detail) +
             " » n'existe pas ; vérifiez le chemin. Aucun fichier n'a été modifié";
    case Verdict::MeantTargetMissing:
      return "sans guillemets, toute la ligne est lue comme un seul nom de fichier, « " +
             Named(detail) + " », et aucun fichier ne porte ce nom";
    case Verdict::NoPatternMatch:
      return "aucun fichier ne correspond au motif « " + Named(detail) + " »";
    case Verdict::PatternFolderMissing:
      return "le dossier « " + Named(detail) + " » n'existe pas";
    case Verdict::NoTargetInFolder:
      return "le dossier « " + Named(detail) + " » ne contient aucun fichier .exe, .dll ou .ocx";
    case Verdict::PeHeaderElsewhere:
      return "il utilise le moteur d'exécution VB, mais son en-tête PE n'est pas là où l'en-tête "
             "MZ le désigne : il est sans doute endommagé";
    case Verdict::RuntimeWithoutHeader:
      break;
  }
  // The header its code names is expected there: its absence is said as a loss.
  const std::string lost = cause == Verdict::NoHeaderWhereCodeSays
                               ? "l'en-tête VB que désigne son code est absent"
                           : cause == Verdict::NoHeaderOutsideFile
                               ? "l'en-tête VB que désigne son code serait hors du fichier"
                               : VerdictText(cause, cause, {});
  return "il utilise le moteur d'exécution VB, mais " + lost + " : il est sans doute endommagé";
}

}  // namespace

namespace {

constexpr char kUsageCmd[] =
    "Utilisation :\n"
    "  Tressol.exe [--json] CIBLE\n"
    "      affiche la langue des messages VB de la cible ;\n"
    "  Tressol.exe [--json] --set BIB1 LCID1 BIB2 LCID2 [--] CIBLE [CIBLE...]\n"
    "      la modifie ; les cibles sont entre guillemets ou non, comme les passent cmd,\n"
    "      PowerShell ou un script (depuis PowerShell, écrivez '*' et '~' entre apostrophes,\n"
    "      et ne terminez pas un dossier entre guillemets par \\ dans Windows PowerShell 5.1) ;\n"
    "  Tressol.exe [--json] \"CIBLE\" [\"CIBLE\"...] BIB1 LCID1 BIB2 LCID2\n"
    "      la modifie aussi, les cibles entre guillemets : sans guillemets, toute la ligne\n"
    "      désigne une seule cible à afficher, et rien n'est modifié.\n"
    "  Tressol.exe [--json] --check BIB1 LCID1 BIB2 LCID2 [--] CIBLE [CIBLE...]\n"
    "      vérifie, sans rien écrire, que chaque fichier VB6 a ces réglages et sa somme\n"
    "      de contrôle PE juste.\n"
    "  Tressol.exe [--json] [--dry-run] --undo JOURNAL\n"
    "      annule les modifications qu'une exécution a inscrites dans son journal ; avec\n"
    "      --dry-run, dit seulement si chaque fichier peut être rétabli exactement.\n"
    "  CIBLE : un fichier, un dossier (ses fichiers .exe, .dll et .ocx ; avec --recurse,\n"
    "      ceux de ses sous-dossiers aussi) ou un motif (* et ? dans le dernier élément, par\n"
    "      exemple C:\\MonAppli\\*.ocx ; avec --recurse, dans chaque sous-dossier) ; chaque\n"
    "      fichier est traité seul, tout ou rien. Une cible dont le nom commence par un tiret\n"
    "      s'écrit .\\-nom.exe.\n";

constexpr char kUsagePosix[] =
    "Utilisation :\n"
    "  tressol [--json] CIBLE\n"
    "      affiche la langue des messages VB de la cible ;\n"
    "  tressol [--json] --set BIB1 LCID1 BIB2 LCID2 [--] CIBLE [CIBLE...]\n"
    "      la modifie ; écrivez '*' et '~' entre apostrophes, que le shell laisse tels quels ;\n"
    "  tressol [--json] CIBLE [CIBLE...] BIB1 LCID1 BIB2 LCID2\n"
    "      la modifie aussi.\n"
    "  tressol [--json] --check BIB1 LCID1 BIB2 LCID2 [--] CIBLE [CIBLE...]\n"
    "      vérifie, sans rien écrire, que chaque fichier VB6 a ces réglages et sa somme\n"
    "      de contrôle PE juste.\n"
    "  tressol [--json] [--dry-run] --undo JOURNAL\n"
    "      annule les modifications qu'une exécution a inscrites dans son journal ; avec\n"
    "      --dry-run, dit seulement si chaque fichier peut être rétabli exactement.\n"
    "  CIBLE : un fichier ou un dossier (ses fichiers .exe, .dll et .ocx ; avec --recurse,\n"
    "      ceux de ses sous-dossiers aussi) ; le shell développe les motifs. Chaque fichier\n"
    "      est traité seul, tout ou rien. Une cible dont le nom commence par un tiret\n"
    "      s'écrit ./-nom.exe.\n";

constexpr char kUsageBoth[] =
    "  BIB : * (messages en anglais du moteur), ~ (aucune bibliothèque) ou le nom d'une\n"
    "      bibliothèque de langue (1 à 13 caractères, sans chemin, par exemple vb6FR.dll) ;\n"
    "      LCID : la langue, un nombre hexadécimal de 0x0 à 0xFFFFF, par exemple 0x409\n"
    "      (anglais) ou 0x40C (français).\n"
    "  --json : une ligne JSON par fichier (chemin, fichier VB6 ou non, signé ou non,\n"
    "      position de l'en-tête, bibliothèques et langues, les précédentes pour une\n"
    "      modification, ce qui a été fait, présence de la bibliothèque) au lieu du rapport.\n"
    "  --recurse : un dossier avec tous ses sous-dossiers, sans suivre les liens.\n"
    "  --local-only : un fichier qui n'est que dans le nuage (OneDrive…) est laissé de côté,\n"
    "      sans être téléchargé.\n"
    "  --help, -h : cette aide ; --version : la version de l'outil.\n"
    "  --check compare les noms de bibliothèque sans distinction de casse, comme Windows\n"
    "      cherche les fichiers.\n"
    "  Annuler : chaque exécution qui modifie des fichiers inscrit chaque modification dans\n"
    "  un journal avant de la faire ; la dernière ligne du rapport donne la commande\n"
    "  --undo JOURNAL qui les annule toutes. Le journal est dans\n"
    "  %LOCALAPPDATA%\\Tressol\\Retours (sous Linux ~/.local/state/tressol), ou au chemin que\n"
    "  donne la variable d'environnement TRESSOL_JOURNAL. Rien n'est modifié sans être\n"
    "  inscrit : si le journal ne peut pas être écrit, l'exécution s'arrête (code 4) et la\n"
    "  dernière ligne donne la commande qui annule ce qui a déjà été modifié.\n"
    "  --no-journal : aucun journal ; le rapport donne après chaque fichier modifié la\n"
    "      commande --set qui le rétablit, ou dit pourquoi aucune ne le peut.\n"
    "Codes de sortie : 0 fait, 1 somme de contrôle PE fausse (--check), 2 utilisation,\n"
    "3 refusé (non VB6, en lecture seule, ouvert ailleurs, endommagé, modifié par un autre\n"
    "programme pendant l'opération), 4 lecture ou écriture impossible (fichier absent, disque,\n"
    "réseau, journal), 5 réglages différents (--check) ; pour plusieurs fichiers, 0 seulement\n"
    "si aucun n'est en échec, faux ni différent ; un échec l'emporte sur une somme fausse, qui\n"
    "l'emporte sur une différence.\n";

}  // namespace

std::string Usage(Shell shell) {
  return std::string(shell == Shell::Cmd ? kUsageCmd : kUsagePosix) + kUsageBoth;
}

const char* ProgramName(Shell shell) { return shell == Shell::Cmd ? "Tressol.exe" : "tressol"; }

namespace {

const char* HereFolder(Shell shell) { return shell == Shell::Cmd ? ".\\" : "./"; }

std::string MistakeText(const UsageMistake& mistake) {
  // The words as typed, kept whole as names are.
  const std::string word = Named(mistake.Word());
  const std::string here = HereFolder(mistake.ShellUsed());
  switch (mistake.Which()) {
    case Mistake::UnknownOption:
      return "L'option « " + word +
             " » n'existe pas. Pour une cible dont le nom commence par un tiret, écrivez " + here +
             word + " ou son chemin complet.";
    case Mistake::NoTarget:
      return "Aucun fichier n'est donné. Dans Linguarde, choisissez-le avec « Choisir le "
             "fichier » ou tapez son chemin dans la zone de texte ; en ligne de commande, donnez "
             "son chemin.";
    case Mistake::EmptyTarget:
      return "L'une des cibles est vide (\"\") : donnez son chemin ou retirez-la.";
    case Mistake::SettingsMissing:
      return word + " attend quatre valeurs, BIB1 LCID1 BIB2 LCID2, puis la cible.";
    case Mistake::InvalidSettings:
      break;
    case Mistake::SetAndCheck:
      return "Donnez une seule des options --set et --check, une seule fois.";
    case Mistake::UndoWithoutJournal:
      return "--undo attend le chemin du journal que le rapport d'une modification donne.";
    case Mistake::DryRunWithoutUndo:
      return "--dry-run ne va qu'avec --undo JOURNAL.";
    case Mistake::UndoWithOthers:
      return "--undo prend un journal seul, sans fichier, réglages ni --recurse.";
    case Mistake::TargetLooksLikeLcid:
      return "« " + word +
             " » est donné comme fichier, mais a la forme d'une langue (LCID) : --set et --check "
             "prennent exactement quatre réglages. Rien n'a été modifié. Pour un fichier de ce "
             "nom, écrivez " +
             here + word + ".";
    case Mistake::TargetLooksLikeOption:
      return "« " + word +
             " » est donné comme fichier, mais a la forme d'une option : les options se placent "
             "avant les cibles. Rien n'a été modifié. Pour un fichier de ce nom, écrivez " +
             here + word + ".";
  }
  const std::vector<std::string>& words = mistake.Settings();
  std::string why = "Les réglages « " + Named(words[0]) + " " + Named(words[1]) + " " +
                    Named(words[2]) + " " + Named(words[3]) + " » ne sont pas valides : ";
  const std::string& wrong = words[mistake.At()];
  if (mistake.At() % 2 == 1) {
    return why + "« " + Named(wrong) +
           " » n'est pas une langue (LCID) : 0x suivi de chiffres hexadécimaux, de 0x0 à 0xFFFFF.";
  }
  why += "« " + Named(wrong) +
         " » n'est pas un nom de bibliothèque : *, ~ ou un nom de fichier de 1 à 13 "
         "caractères, sans chemin, sans < > : \" / \\ | ? * et qui n'est pas un nom réservé "
         "(CON, NUL…).";
  if (wrong.find_first_of("\\/:") != std::string::npos) {
    why +=
        " PowerShell remplace un ~ sans apostrophes par votre dossier personnel : écrivez "
        "'~' et '*'.";
  }
  return why;
}

}  // namespace

std::string ReasonOf(const ToolError& error) {
  // The mistake, then how to see the usage: the usage itself would push the mistake out of
  // sight.
  if (const auto* mistake = dynamic_cast<const UsageMistake*>(&error)) {
    return Wrap(MistakeText(*mistake), "  ") +
           "Pour l'utilisation : " + ProgramName(mistake->ShellUsed()) + " --help\n";
  }
  if (const auto* verdict = dynamic_cast<const VerdictError*>(&error)) {
    return VerdictText(verdict->Which(), verdict->Cause(), verdict->Detail()) +
           (AsksForCopy(verdict->Which()) ? " ; recopiez-le depuis l'original" : "");
  }
  if (const auto* file = dynamic_cast<const FileError*>(&error)) {
    return FileFailureText(file->Why(), file->ForWriting(), file->SystemText(), file->WhatItIs());
  }
  if (const auto* step = dynamic_cast<const StepError*>(&error)) return StepText(*step);
  return error.what();
}

bool AsksForCopy(Verdict verdict) {
  switch (verdict) {
    case Verdict::UnreadableImports:
    case Verdict::TruncatedBeforePe:
    case Verdict::SectionPastEnd:
    case Verdict::FieldPastEnd:
    case Verdict::TruncatedStructures:
    case Verdict::SignatureDamaged:
    case Verdict::RuntimeWithoutHeader:
    case Verdict::PeHeaderElsewhere:
      return true;
    default:
      return false;
  }
}

std::string ShortReasonOf(const ToolError& error) {
  const auto* verdict = dynamic_cast<const VerdictError*>(&error);
  if (verdict == nullptr) return {};
  switch (verdict->Which()) {
    case Verdict::NoTargetInFolder:
      return "aucun fichier .exe, .dll ou .ocx";
    case Verdict::NoPatternMatch:
      return "aucun fichier ne correspond au motif";
    case Verdict::PatternFolderMissing:
      return "son dossier n'existe pas";
    case Verdict::MeantTargetMissing:
      return "aucun fichier ne porte ce nom ; mettez le chemin entre guillemets";
    default:
      return {};
  }
}

std::string AsideText(Aside aside) {
  switch (aside) {
    case Aside::Link:
      return "lien symbolique, non suivi";
    case Aside::FolderLink:
      return "lien vers un dossier, non suivi";
    case Aside::Folder:
      return "dossier";
    case Aside::Fifo:
      return "tube nommé, FIFO";
    case Aside::Socket:
      return "socket";
    case Aside::SpecialFile:
      return "fichier spécial (périphérique)";
    case Aside::Device:
      return "périphérique";
    case Aside::DeviceOrPipe:
      return "périphérique ou tube";
    case Aside::AppExecutionAlias:
      return "alias d'exécution d'application";
    case Aside::Vanished:
      return "disparu pendant la lecture du dossier";
    case Aside::OnlineOnly:
      break;
  }
  return "en ligne seulement, non lu";
}

std::string FileFailureText(FileFailure why, bool forWriting, const std::string& systemText,
                            Aside aside) {
  const std::string system = SystemWords(systemText);
  const std::string verb = forWriting ? "modifier" : "lire";
  switch (why) {
    case FileFailure::NotFound:
      // The system's own words would say it again.
      return "introuvable ; vérifiez le chemin";
    case FileFailure::Folder:
      return "c'est un dossier, pas un fichier";
    case FileFailure::NotRegular:
      return "ce n'est pas un fichier ordinaire (" + AsideText(aside) + ")";
    case FileFailure::OpenElsewhere:
      return "il est ouvert par un autre programme ou en cours d'exécution ; fermez ce programme, "
             "puis recommencez";
    case FileFailure::Locked:
      return "il est verrouillé par un autre programme ; fermez ce programme, puis recommencez";
    case FileFailure::ReadOnlyAttribute:
      return "il est en lecture seule ; retirez cet attribut (Propriétés du fichier, décochez "
             "« Lecture seule »), puis recommencez";
    case FileFailure::NoWritePermission:
      return "il est en lecture seule (aucun droit d'écriture) ; rendez-le modifiable (chmod u+w), "
             "puis recommencez";
    case FileFailure::ReadOnlyDisk:
      return "il est sur un disque en lecture seule ; copiez-le ailleurs" + system;
    case FileFailure::AdministratorsOnly:
      return "Windows réserve sa modification aux administrateurs, car il est dans Program Files ; "
             "lancez Linguarde ou l'invite de commandes en tant qu'administrateur";
    case FileFailure::AccessDenied:
      return "vos droits ne permettent pas de le modifier ; demandez-les à l'administrateur de "
             "l'ordinateur" +
             system;
    case FileFailure::ProtectedFolder:
      return "Windows refuse de le modifier ; son dossier est peut-être protégé contre les "
             "applications non approuvées (Accès contrôlé aux dossiers) : dans Sécurité Windows, "
             "Protection contre les virus et menaces, Protection contre les ransomware, "
             "autorisez Tressol.exe ; sinon, vos droits ne permettent pas de le modifier" +
             system;
    case FileFailure::OwnFileDenied:
      return "vos droits ne permettent pas de le " + verb +
             " ; vous en êtes propriétaire : " + (forWriting ? "chmod u+rw" : "chmod u+r") +
             " vous le permettra" + system;
    case FileFailure::OthersFileDenied:
      return "vos droits ne permettent pas de le " + verb +
             " ; demandez-les à son propriétaire ou à l'administrateur" + system;
    case FileFailure::Replaced:
      return "remplacé pendant l'opération (ce n'est plus le fichier que la liste du dossier "
             "a donné) ; il n'a pas été " +
             std::string(forWriting ? "modifié" : "lu");
    case FileFailure::Unexaminable:
      return "il ne peut pas être examiné" + system;
    case FileFailure::Unopenable:
      break;
  }
  return "il ne peut pas être ouvert" + system;
}

}  // namespace tressol
