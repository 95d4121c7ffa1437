#include "action_table.h"

#include "interpreter_text.h"
#include "modOperationFichier.h"

namespace linguarde {

std::optional<std::wstring> LigneAction(const std::wstring& dossierApplication,
                                        const std::wstring& cible, std::int16_t Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= kActions.size()) {
    return std::nullopt;
  }
  const ActionRow& row = kActions[static_cast<std::size_t>(Index)];

  const std::wstring outil = modOperationFichier::CheminDansDossier(dossierApplication, kToolName);

  std::wstring ligne = interpreter::QuotedCommand(outil) + L" ";
  if (row.targetQuoted) {
    ligne += interpreter::QuotedArgument(cible);
  } else {
    ligne += interpreter::OutsideQuotes(cible);
  }
  ligne += std::wstring(row.settings.begin(), row.settings.end());
  return ligne;
}

}  // namespace linguarde
