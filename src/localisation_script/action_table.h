#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace linguarde {

// The four requests to the localisation tool, by the Index of their button.
enum class Action : std::int16_t {
  Visualiser = 0,
  LocaliserAnglaisUS = 1,
  LocaliserFrancaisOuAnglaisUS = 2,
  RetablirFrancaisSeule = 3,
};

inline constexpr std::wstring_view kToolName = L"Tressol.exe";

// After the target, the settings are: primary library, primary locale, secondary library,
// secondary locale. "*" is the runtime's built-in US English, "~" no library at all.
struct ActionRow {
  Action action;
  bool targetQuoted;
  std::wstring_view settings;
};

// clang-format off
inline constexpr std::array<ActionRow, 4> kActionTable = {{
    {Action::Visualiser,                   false, L""},
    {Action::LocaliserAnglaisUS,           true,  L" * 0x409 ~ 0x0"},
    {Action::LocaliserFrancaisOuAnglaisUS, true,  L" vb6FR.dll 0x40C * 0x409"},
    {Action::RetablirFrancaisSeule,        true,  L" vb6FR.dll 0x40C ~ 0x409"},
}};
// clang-format on

// The batch line that runs the tool for one action, without a line end; nothing for an
// index outside the table. The tool's path is quoted and the target escaped only where
// the interpreter would otherwise change them; ordinary texts come out unaltered.
std::optional<std::wstring> LigneAction(const std::wstring& dossierApplication,
                                        const std::wstring& cible, std::int16_t Index);

}  // namespace linguarde
