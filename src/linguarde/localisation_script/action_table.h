#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions.h"
#include "script_platform.h"

namespace linguarde {

inline constexpr std::wstring_view kToolName = L"Tressol.exe";

// The interpreter's variable that carries a target with characters outside ASCII.
inline constexpr std::wstring_view kTargetVariable = L"LINGUARDE_CIBLE";

// The batch line of one action. The line is ASCII, which every code page the interpreter
// may read it in spells alike; a target or a folder beyond ASCII is named through the
// interpreter's environment (the target) or the script's own path (%~dp0, the folder),
// which the interpreter expands in UTF-16 whatever its code page.
struct ActionLine {
  std::string text;
  std::vector<ScriptVariable> environment;
  // What the interpreter reads once the line is expanded.
  std::wstring expanded;
};

// The batch line that runs the tool for one action, without a line end; nothing for an
// index outside the table. The tool's path is quoted and the target escaped only where
// the interpreter would otherwise change them; ordinary texts come out unaltered.
std::optional<ActionLine> LigneAction(const std::wstring& dossierApplication,
                                      const std::wstring& cible, std::int16_t Index);

}  // namespace linguarde
