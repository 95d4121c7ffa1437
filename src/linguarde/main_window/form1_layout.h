#pragma once

#include <array>
#include <string_view>

namespace linguarde {

enum class Container { Form1, Picture1, Picture2 };
// A Line is a label that the window draws itself, fitted to its box.
enum class ControlKind { Panel, Button, TextBox, Label, Line, CommonDialog };
enum class ControlFont { Default, Command2 };
// Docked panels span the window's width along one edge.
enum class Dock { None, Top, Bottom };
// A panel's background: the dialog face, or the system's window colour.
enum class Paint { Face, Window };

// One control of the window, in twips (1/1440 inch) relative to its container's client
// area. Members of a control array share a name and differ by index (-1: no array). The
// action buttons' captions and their labels come from the action table.
struct ControlRow {
  std::wstring_view name;
  int index;
  ControlKind kind;
  Container container;
  int left, top, width, height;
  int tabIndex;  // -1: takes no part in the tab order
  ControlFont font;
  Dock dock;
  bool hiddenAtStart;
  Paint paint;
  std::wstring_view text;
};

inline constexpr int kForm1ClientWidth = 11235;
inline constexpr int kForm1ClientHeight = 4635;
inline constexpr std::wstring_view kForm1Caption = L"Linguarde";

// The rows by name; a control array's members follow its first row, by Index.
namespace rows {
inline constexpr std::size_t Picture1 = 0;
inline constexpr std::size_t Picture2 = 1;
inline constexpr std::size_t Command1 = 2;
inline constexpr std::size_t Text1 = 3;
inline constexpr std::size_t CMDialog1 = 4;
inline constexpr std::size_t Command2 = 5;  // Index 0 to 3
inline constexpr std::size_t Label1 = 9;    // Index 0 to 2
inline constexpr std::size_t Label2 = 12;
}  // namespace rows

// clang-format off
inline constexpr std::array<ControlRow, 13> kForm1Controls = {{
  // name      index kind                        container           left   top  width height tab font                   dock          hidden paint          text
  {L"Picture1",  -1, ControlKind::Panel,        Container::Form1,       0,    0, 11235, 1245,  0, ControlFont::Default,  Dock::Top,    false, Paint::Face,   L""},
  {L"Picture2",  -1, ControlKind::Panel,        Container::Form1,       0, 1275, 11235, 3360,  1, ControlFont::Default,  Dock::Bottom, true,  Paint::Window, L""},
  {L"Command1",  -1, ControlKind::Button,       Container::Picture1, 4095,  135,  2850,  465,  2, ControlFont::Default,  Dock::None,   false, Paint::Face,   L"Choisir le fichier"},
  {L"Text1",     -1, ControlKind::TextBox,      Container::Picture1,   75,  780, 11010,  360,  3, ControlFont::Default,  Dock::None,   false, Paint::Face,   L""},
  {L"CMDialog1", -1, ControlKind::CommonDialog, Container::Picture1,  135,   30,     0,    0, -1, ControlFont::Default,  Dock::None,   false, Paint::Face,   L""},
  {L"Command2",   0, ControlKind::Button,       Container::Picture2,  510,  535,  1950, 1905,  4, ControlFont::Command2, Dock::None,   false, Paint::Face,   L""},
  {L"Command2",   1, ControlKind::Button,       Container::Picture2, 3230,  525,  1950, 1905,  5, ControlFont::Command2, Dock::None,   false, Paint::Face,   L""},
  {L"Command2",   2, ControlKind::Button,       Container::Picture2, 5950,  555,  1950, 1905,  6, ControlFont::Command2, Dock::None,   false, Paint::Face,   L""},
  {L"Command2",   3, ControlKind::Button,       Container::Picture2, 8670,  545,  1950, 1905,  7, ControlFont::Command2, Dock::None,   false, Paint::Face,   L""},
  {L"Label1",     0, ControlKind::Label,        Container::Picture2, 3255, 2625,  1875,  480,  8, ControlFont::Default,  Dock::None,   false, Paint::Face,   L""},
  {L"Label1",     1, ControlKind::Label,        Container::Picture2, 5730, 2490,  2295,  780,  9, ControlFont::Default,  Dock::None,   false, Paint::Face,   L""},
  {L"Label1",     2, ControlKind::Label,        Container::Picture2, 8490, 2475,  2295,  780, 10, ControlFont::Default,  Dock::None,   false, Paint::Face,   L""},
  // What the target is now, beside the button that chooses it and as high as that button.
  {L"Label2",    -1, ControlKind::Line,         Container::Picture1, 7035,  135,  4050,  465, -1, ControlFont::Default,  Dock::None,   false, Paint::Face,   L""},
}};
// clang-format on

// The row of a panel that holds controls; the window itself has no row.
constexpr std::size_t RowOf(Container panel) {
  return panel == Container::Picture1   ? rows::Picture1
         : panel == Container::Picture2 ? rows::Picture2
                                        : kForm1Controls.size();
}

// Whether a control shows at start: neither it nor the panel that holds it starts hidden.
constexpr bool ShownAtStart(const ControlRow& row) {
  return !row.hiddenAtStart &&
         (row.container == Container::Form1 || !kForm1Controls[RowOf(row.container)].hiddenAtStart);
}

constexpr bool Named(std::size_t row, std::wstring_view name, int index = -1) {
  return kForm1Controls[row].name == name && kForm1Controls[row].index == index;
}
static_assert(Named(rows::Picture1, L"Picture1") && Named(rows::Picture2, L"Picture2") &&
                  Named(rows::Command1, L"Command1") && Named(rows::Text1, L"Text1") &&
                  Named(rows::CMDialog1, L"CMDialog1") && Named(rows::Command2, L"Command2", 0) &&
                  Named(rows::Command2 + 3, L"Command2", 3) && Named(rows::Label1, L"Label1", 0) &&
                  Named(rows::Label1 + 2, L"Label1", 2) && Named(rows::Label2, L"Label2") &&
                  rows::Label2 + 1 == kForm1Controls.size(),
              "the row names must match the control table");

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

// Label1 Index 0 stands under Command2 Index 1, and tells that action's effect.
inline constexpr std::size_t kLabel1FirstAction = 1;

// Twips to pixels at a DPI; 15 twips make one pixel at 96 DPI. Halves round up.
constexpr int TwipsToPixels(int twips, unsigned dpi) {
  return static_cast<int>((static_cast<long long>(twips) * dpi + 720) / 1440);
}

// Every other control's font: the classic dialog font, Tahoma on every Windows, whose
// metrics are the same wherever the window is shown and measured.
inline constexpr std::wstring_view kDefaultFontFace = L"MS Shell Dlg 2";
inline constexpr int kDefaultFontHundredthsOfPoint = 800;

// The Command2 buttons' font: Arial 9.75 points, bold, character set 0.
inline constexpr std::wstring_view kCommand2FontFace = L"Arial";
inline constexpr int kCommand2FontHundredthsOfPoint = 975;
inline constexpr int kCommand2FontWeight = 700;

// Dialog-style identifiers of the controls: 100 plus the row.
inline constexpr int kFirstControlId = 100;
// The undo button, outside the table: its id, and its width and gap before it, in twips.
inline constexpr int kUndoId = kFirstControlId + 50;
inline constexpr int kUndoWidth = 1000;
inline constexpr int kUndoGap = 60;
static_assert(kUndoId >= kFirstControlId + static_cast<int>(kForm1Controls.size()));

}  // namespace linguarde
