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
};

// The words of a command-line tail, split as Windows programs split their arguments.
std::vector<std::string> SplitArguments(const std::string& tail);

// [--json] "TARGET"... LIB1 LCID1 LIB2 LCID2, the targets in double quotes, sets; anything
// else views. Since the view action passes its target unquoted, an unquoted tail is one
// target, whole; a quoted one is a list of targets. Throws ToolError(Failure::Usage) for no
// target or malformed settings.
Command ParseCommandLine(const std::string& tail);

inline constexpr char kUsage[] =
    "Usage :\n"
    "  Tressol.exe [--json] CIBLE\n"
    "      affiche la langue des messages VB de la cible ;\n"
    "  Tressol.exe [--json] \"CIBLE\" [\"CIBLE\"...] BIB1 LCID1 BIB2 LCID2\n"
    "      la modifie. La cible est alors entre guillemets : sans guillemets, toute la ligne\n"
    "      désigne une cible à afficher, et rien n'est modifié.\n"
    "      CIBLE : un fichier, un dossier (ses fichiers .exe, .dll et .ocx, sans ses\n"
    "      sous-dossiers) ou un motif (* et ? dans le dernier élément, par exemple\n"
    "      C:\\MonAppli\\*.ocx) ; chaque fichier est traité seul, tout ou rien.\n"
    "      BIB : * (messages anglais intégrés), ~ (aucune bibliothèque) ou le nom d'une\n"
    "      bibliothèque (1 à 13 caractères, sans chemin) ; LCID : 0x suivi de 1 à 8 chiffres\n"
    "      hexadécimaux, par exemple 0x409 (anglais) ou 0x40C (français).\n"
    "      --json : une ligne JSON par fichier (chemin, binaire VB6 ou non, position de\n"
    "      l'en-tête, bibliothèques et langues, ce qui a été fait, présence de la\n"
    "      bibliothèque) au lieu du rapport en français.\n"
    "Code de sortie : 0 fait, 2 usage, 3 refusé (aucun binaire VB6, fichier en lecture\n"
    "seule ou ouvert ailleurs), 4 erreur d'entrée-sortie ; pour plusieurs fichiers, 0\n"
    "seulement si aucun n'a échoué.\n";

}  // namespace tressol
