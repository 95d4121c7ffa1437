#pragma once

#include <string>
#include <variant>
#include <vector>

#include "vb_header.h"

namespace tressol {

struct ViewCommand {
  std::string target;
};
struct SetCommand {
  std::string target;
  LanguageSettings settings;
};
using Command = std::variant<ViewCommand, SetCommand>;

// The words of a command-line tail, split as Windows programs split their arguments.
std::vector<std::string> SplitArguments(const std::string& tail);

// "TARGET" LIB1 LCID1 LIB2 LCID2, the target in double quotes, sets; anything else names
// a target to view, and since the view action passes its target unquoted, the whole tail
// is that target. Throws ToolError(Failure::Usage) for an empty tail or malformed settings.
Command ParseCommandLine(const std::string& tail);

inline constexpr char kUsage[] =
    "Usage :\n"
    "  Tressol.exe CIBLE\n"
    "      affiche la langue des messages VB de la cible ;\n"
    "  Tressol.exe \"CIBLE\" BIB1 LCID1 BIB2 LCID2\n"
    "      la modifie. La cible est alors entre guillemets : sans guillemets, toute la ligne\n"
    "      désigne une cible à afficher, et rien n'est modifié.\n"
    "      BIB : * (messages anglais intégrés), ~ (aucune bibliothèque) ou le nom d'une\n"
    "      bibliothèque (1 à 13 caractères, sans chemin) ; LCID : 0x suivi de 1 à 8 chiffres\n"
    "      hexadécimaux, par exemple 0x409 (anglais) ou 0x40C (français).\n";

}  // namespace tressol
