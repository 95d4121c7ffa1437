#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "actions.h"

namespace linguarde {

inline constexpr std::wstring_view kToolName = L"Tressol.exe";

// The batch line that runs the tool for one action, without a line end; nothing for an
// index outside the table. The tool's path is quoted and the target escaped only where
// the interpreter would otherwise change them; ordinary texts come out unaltered.
std::optional<std::wstring> LigneAction(const std::wstring& dossierApplication,
                                        const std::wstring& cible, std::int16_t Index);

}  // namespace linguarde
