#pragma once

#include <array>
#include <string_view>

namespace linguarde {

enum class Container { Form1, Picture1, Picture2 };
enum class ControlKind { Panel, Button, TextBox, Label, CommonDialog };
enum class ControlFont { Default, Command2 };

// One control of the window, in twips (1/1440 inch) relative to its container's client
// area. Members of a control array share a name and differ by index (-1: no array).
struct ControlRow {
  std::wstring_view name;
  int index;
  ControlKind kind;
  Container container;
  int left, top, width, height;
  int tabIndex;  // -1: takes no part in the tab order
  ControlFont font;
  std::wstring_view text;
};

inline constexpr int kForm1ClientWidth = 11235;
inline constexpr int kForm1ClientHeight = 4635;
inline constexpr std::wstring_view kForm1Caption = L"Linguarde";

// clang-format off
inline constexpr std::array<ControlRow, 12> kForm1Controls = {{
  // name        index kind                       container            left   top  width height tab font                  text
  {L"Picture1",  -1, ControlKind::Panel,        Container::Form1,        0,    0, 11235, 1245,  0, ControlFont::Default,  L""},
  {L"Picture2",  -1, ControlKind::Panel,        Container::Form1,        0, 1275, 11235, 3360,  1, ControlFont::Default,  L""},
  {L"Command1",  -1, ControlKind::Button,       Container::Picture1,  4095,  135,  2850,  465,  2, ControlFont::Default,  L"Choisir le fichier"},
  {L"Text1",     -1, ControlKind::TextBox,      Container::Picture1,    75,  780, 11010,  360,  3, ControlFont::Default,  L""},
  {L"CMDialog1", -1, ControlKind::CommonDialog, Container::Picture1,   135,   30,     0,    0, -1, ControlFont::Default,  L""},
  {L"Command2",   0, ControlKind::Button,       Container::Picture2,   510,  535,  1950, 1905,  4, ControlFont::Command2, L"Visualiser la localisation"},
  {L"Command2",   1, ControlKind::Button,       Container::Picture2,  3230,  525,  1950, 1905,  5, ControlFont::Command2, L"Localiser en Anglais US"},
  {L"Command2",   2, ControlKind::Button,       Container::Picture2,  5950,  555,  1950, 1905,  6, ControlFont::Command2, L"Localiser en Français ou Anglais US"},
  {L"Command2",   3, ControlKind::Button,       Container::Picture2,  8670,  545,  1950, 1905,  7, ControlFont::Command2, L"Rétablir la localisation Française seule"},
  {L"Label1",     0, ControlKind::Label,        Container::Picture2,  3255, 2625,  1875,  480,  8, ControlFont::Default,  L"Les messages VB (erreurs...) sont en Anglais"},
  {L"Label1",     1, ControlKind::Label,        Container::Picture2,  5730, 2490,  2295,  780,  9, ControlFont::Default,  L"Les messages VB (erreurs...) sont en Anglais si VB6FR.dll n'est pas sur le système, sinon en Français"},
  {L"Label1",     2, ControlKind::Label,        Container::Picture2,  8490, 2475,  2295,  780, 10, ControlFont::Default,  L"Les messages VB (erreurs...) sont en Français et VB6FR.dll DOIT être présent sur le système."},
}};
// clang-format on

// Controls are created row by row, and creation order is the dialog manager's tab order.
constexpr bool RowsFollowTabIndex() {
  int last = -1;
  for (const ControlRow& row : kForm1Controls) {
    if (row.tabIndex >= 0) {
      if (row.tabIndex <= last) return false;
      last = row.tabIndex;
    }
  }
  return true;
}
static_assert(RowsFollowTabIndex(), "the control table must be in tab index order");

// The row of a control by name and index; the size of the table when there is none.
constexpr std::size_t RowOf(std::wstring_view name, int index = -1) {
  for (std::size_t row = 0; row < kForm1Controls.size(); ++row) {
    if (kForm1Controls[row].name == name && kForm1Controls[row].index == index) {
      return row;
    }
  }
  return kForm1Controls.size();
}

// Twips to pixels at a DPI; 15 twips make one pixel at 96 DPI. Halves round up.
constexpr int TwipsToPixels(int twips, unsigned dpi) {
  return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440);
}

// The Command2 buttons' font: Arial 9.75 points, bold, character set 0.
inline constexpr std::wstring_view kCommand2FontFace = L"Arial";
inline constexpr int kCommand2FontHundredthsOfPoint = 975;
inline constexpr int kCommand2FontWeight = 700;

// Dialog-style identifiers of the controls: 100 plus the row.
inline constexpr int kFirstControlId = 100;

}  // namespace linguarde
