#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vb_header.h"

namespace tressol {

// A target is a file, a folder or a pattern (* and ? in its last component).
struct Command {
  std::vector<std::string> targets;
  std::optional<LanguageSettings> settings;  // nothing: a view
  bool json = false;                         // JSON Lines instead of the French report
  // For a bare tail that ends with four settings: how to ask for that change instead.
  std::string setHint;
};

// The words of a command-line tail, split as the C runtime splits a program's arguments.
std::vector<std::string> SplitArguments(const std::string& tail);

// Whether a library name can be given on the command line: 1 to 13 printable characters,
// no path.
bool IsLibraryArgument(const std::string& word);

// Options come first: --json, and --set LIB1 LCID1 LIB2 LCID2 followed by the targets as
// any shell passes them, "--" ending the options. Without --set, the positional form:
// "TARGET"... LIB1 LCID1 LIB2 LCID2, the targets in double quotes, sets; anything else
// views, and since the view action passes its target unquoted, an unquoted tail is one
// target, whole. Throws ToolError(Failure::Usage) for an unknown option, no target or
// malformed settings.
Command ParseCommandLine(const std::string& tail);

inline constexpr char kUsage[] =
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
    "  CIBLE : un fichier, un dossier (ses fichiers .exe, .dll et .ocx, sans ses\n"
    "      sous-dossiers) ou un motif (* et ? dans le dernier élément, par exemple\n"
    "      C:\\MonAppli\\*.ocx) ; chaque fichier est traité seul, tout ou rien. Une cible dont\n"
    "      le nom commence par un tiret s'écrit .\\-nom.exe.\n"
    "  BIB : * (messages anglais intégrés), ~ (aucune bibliothèque) ou le nom d'une\n"
    "      bibliothèque de langue (1 à 13 caractères, sans chemin, par exemple vb6FR.dll) ;\n"
    "      LCID : 0x suivi de 1 à 8 chiffres hexadécimaux, par exemple 0x409 (anglais)\n"
    "      ou 0x40C (français).\n"
    "  --json : une ligne JSON par fichier (chemin, fichier VB6 ou non, signé ou non,\n"
    "      position de l'en-tête, bibliothèques et langues, celles d'avant pour une\n"
    "      modification, ce qui a été fait, présence de la bibliothèque) au lieu du rapport.\n"
    "  Après chaque modification, le rapport donne la commande qui rétablit les réglages de\n"
    "  langue d'avant.\n"
    "Codes de sortie : 0 fait, 2 utilisation, 3 refusé (non VB6, en lecture seule, ouvert\n"
    "ailleurs ou illisible), 4 erreur d'entrée-sortie ; pour plusieurs fichiers, 0 seulement\n"
    "si aucun n'est en échec.\n";

}  // namespace tressol
