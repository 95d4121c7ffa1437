#pragma once

// The four actions of Linguarde's buttons, written once for both programs: the window shows
// their captions and labels, the batch line carries their settings, and Tressol's report
// quotes the labels. The texts are UTF-8; the settings are the very tokens of the batch
// line, in ASCII.

#include <array>
#include <cstdint>
#include <string_view>

namespace linguarde {

// By the Index of their button.
enum class Action : std::int16_t {
  Visualiser = 0,
  LocaliserAnglaisUS = 1,
  LocaliserFrancaisOuAnglaisUS = 2,
  RetablirFrancaisSeule = 3,
};

struct ActionRow {
  Action action;
  std::string_view caption;  // the button's
  std::string_view label;    // under the button, what its settings do; the view has none
  bool targetQuoted;         // the view passes its target bare
  bool writes;               // changes the target: its console is followed, the line read after
  // After the target: primary library, primary locale, secondary library, secondary
  // locale. "*" is the runtime's built-in US English, "~" no library at all.
  std::string_view settings;
};

// clang-format off
inline constexpr std::array<ActionRow, 4> kActions = {{
  {Action::Visualiser,                   "Visualiser la localisation",
   "",
   false, false, ""},
  {Action::LocaliserAnglaisUS,           "Localiser en Anglais US",
   "Les messages VB (erreurs...) sont en Anglais",
   true,  true,  " * 0x409 ~ 0x0"},
  {Action::LocaliserFrancaisOuAnglaisUS, "Localiser en Français ou Anglais US",
   "Les messages VB (erreurs...) sont en Anglais si VB6FR.dll n'est pas sur le système, sinon en Français",
   true,  true,  " vb6FR.dll 0x40C * 0x409"},
  {Action::RetablirFrancaisSeule,        "Rétablir la localisation Française seule",
   "Les messages VB (erreurs...) sont en Français et VB6FR.dll DOIT être présent sur le système.",
   true,  true,  " vb6FR.dll 0x40C ~ 0x409"},
}};
// clang-format on

constexpr const ActionRow& ActionOf(Action action) {
  return kActions[static_cast<std::size_t>(action)];
}

// The batch line widens the settings character by character: ASCII keeps them exact.
constexpr bool SettingsAreAscii() {
  for (const ActionRow& row : kActions) {
    for (const char c : row.settings) {
      if (static_cast<unsigned char>(c) > 0x7F) return false;
    }
  }
  return true;
}
static_assert(SettingsAreAscii(), "the settings tokens must be ASCII");

}  // namespace linguarde
