// The window as it is built: geometry, texts, fonts and styles against the control table.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "form1_fixture.h"
#include "target_line.h"

namespace linguarde::test {
namespace {

RECT RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The height that a control's text takes at a width, in the control's own font.
int TextHeight(HWND control, int width) {
  const std::wstring text = WindowText(control);
  const win32::WindowDC dc(control);
  const win32::SelectedObject font(
      dc.Get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT rect{0, 0, width, 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return rect.bottom;
}

// The window's layout as its designer set it, in twips, independently of the table the
// window is built from; with each control's text.
struct Designed {
  const wchar_t* name;
  int index;
  int left, top, width, height;
  const wchar_t* text;
};
// clang-format off
constexpr Designed kDesigned[] = {
  {L"Picture1",  -1,    0,    0, 11235, 1245, L""},
  {L"Picture2",  -1,    0, 1275, 11235, 3360, L""},
  {L"Command1",  -1, 4095,  135,  2850,  465, L"Choisir le fichier"},
  {L"Text1",     -1,   75,  780, 11010,  360, L""},
  {L"Command2",   0,  510,  535,  1950, 1905, L"Visualiser la localisation"},
  {L"Command2",   1, 3230,  525,  1950, 1905, L"Localiser en Anglais US"},
  {L"Command2",   2, 5950,  555,  1950, 1905, L"Localiser en Français ou Anglais US"},
  {L"Command2",   3, 8670,  545,  1950, 1905, L"Rétablir la localisation Française seule"},
  {L"Label1",     0, 3255, 2625,  1875,  480, L"Les messages VB (erreurs...) sont en Anglais"},
  {L"Label1",     1, 5730, 2490,  2295,  780, L"Les messages VB (erreurs...) sont en Anglais si VB6FR.dll n'est pas sur le système, sinon en Français"},
  {L"Label1",     2, 8490, 2475,  2295,  780, L"Les messages VB (erreurs...) sont en Français et VB6FR.dll DOIT être présent sur le système."},
  {L"Label2",    -1, 7035,  135,  4050,  465, L""},
};
// clang-format on

const Designed& DesignOf(const ControlRow& row) {
  for (const Designed& d : kDesigned) {
    if (row.name == d.name && row.index == d.index) return d;
  }
  ADD_FAILURE() << "no designed control " << testing::PrintToString(std::wstring(row.name));
  return kDesigned[0];
}

void ExpectLayoutAt(const Form1& form, UINT dpi) {
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, Pixels(11235, dpi));
  EXPECT_EQ(client.bottom, Pixels(4635, dpi));

  for (std::size_t r = 0; r < kForm1Controls.size(); ++r) {
    const ControlRow& row = kForm1Controls[r];
    const HWND control = form.Control(r);
    if (row.kind == ControlKind::CommonDialog) {
      EXPECT_EQ(control, nullptr);
      continue;
    }
    if (control == nullptr) {
      // Only the action band, and what it holds, waits to be built until first shown.
      EXPECT_EQ(form.Control(rows::Picture2), nullptr) << testing::PrintToString(row.name);
      continue;
    }
    const HWND container =
        row.container == Container::Form1 ? form.Handle() : form.Control(RowOf(row.container));
    EXPECT_EQ(GetParent(control), container);
    const RECT rect = RectInParent(control);
    const std::string name = testing::PrintToString(std::wstring(row.name)) + " " +
                             std::to_string(row.index) + " at " + std::to_string(dpi);
    const Designed& design = DesignOf(row);
    EXPECT_EQ(rect.left, Pixels(design.left, dpi)) << name;
    EXPECT_EQ(rect.top, Pixels(design.top, dpi)) << name;
    EXPECT_EQ(rect.right - rect.left, Pixels(design.width, dpi)) << name;
    if (row.kind != ControlKind::Label) {
      EXPECT_EQ(rect.bottom - rect.top, Pixels(design.height, dpi)) << name;
      continue;
    }
    // A label keeps its height unless its text needs more, and then grows by just that,
    // inside its panel.
    const int needed = TextHeight(control, rect.right - rect.left);
    EXPECT_EQ(rect.bottom - rect.top, std::max(Pixels(design.height, dpi), needed)) << name;
    RECT panel{};
    GetClientRect(container, &panel);
    EXPECT_LE(rect.bottom, panel.bottom) << name;
  }
  // Docked: both bands span the width; one meets the top edge, the other the bottom one,
  // with a strip of the window's own background between them.
  const RECT top = RectInParent(form.Control(rows::Picture1));
  EXPECT_EQ(top.top, 0);
  EXPECT_EQ(top.right, client.right);
  if (form.Control(rows::Picture2) != nullptr) {
    const RECT bottom = RectInParent(form.Control(rows::Picture2));
    EXPECT_EQ(bottom.bottom, client.bottom);
    EXPECT_EQ(bottom.right, client.right);
    EXPECT_LT(top.bottom, bottom.top);
  }

  // Every caption and label whole: its text, wrapped at its width in its own font, fits
  // its box (a button's less the borders and the focus rectangle).
  for (std::size_t r = 0; r < kForm1Controls.size(); ++r) {
    const ControlRow& row = kForm1Controls[r];
    if (row.kind != ControlKind::Button && row.kind != ControlKind::Label) continue;
    if (form.Control(r) == nullptr) continue;
    RECT box{};
    GetClientRect(form.Control(r), &box);
    if (row.kind == ControlKind::Button) {
      const int border = 2 * GetSystemMetricsForDpi(SM_CXEDGE, dpi) + 1;
      InflateRect(&box, -border, -border);
    }
    EXPECT_LE(TextHeight(form.Control(r), box.right - box.left), box.bottom - box.top)
        << testing::PrintToString(std::wstring(row.text)) << " is cut at " << dpi << " DPI";
  }
}

TEST_F(Form1Test, LayoutMatchesTheTableAtTheWindowsDpi) {
  form_.ShowActionBand();
  const UINT dpi = GetDpiForWindow(form_.Handle());
  if (const char* expected = std::getenv("LINGUARDE_EXPECT_DPI")) {
    ASSERT_EQ(dpi, static_cast<UINT>(std::atoi(expected)));
  }
  ExpectLayoutAt(form_, dpi);
}

TEST_F(Form1Test, LayoutFollowsADpiChange) {
  for (const UINT dpi : {120u, 192u, 96u}) {
    // The band is built at the first DPI change, and laid out again at the later ones.
    if (dpi == 192u) form_.ShowActionBand();
    RECT suggested{100, 100, 100 + Pixels(11235, dpi) + 20, 100 + Pixels(4635, dpi) + 40};
    SendMessageW(form_.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    ExpectLayoutAt(form_, dpi);
    if (Control(rows::Command2) == nullptr) continue;
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(rows::Command2), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -static_cast<LONG>(std::lround(9.75 * dpi / 72))) << dpi;
  }
}

TEST_F(Form1Test, ControlsShowTheirTexts) {
  form_.ShowActionBand();
  EXPECT_EQ(WindowText(form_.Handle()), L"Linguarde");
  for (const ControlRow& row : kForm1Controls) {
    if (const HWND control = Control(static_cast<std::size_t>(&row - kForm1Controls.data()))) {
      EXPECT_EQ(WindowText(control), DesignOf(row).text);
    }
  }
}

// The line beside "Choisir le fichier" fits its box at the window's DPI like the other
// texts, whatever it says: a long name gives way first, keeping its start and its
// extension; words that alone are too long are cut at the end.
TEST_F(Form1Test, TheLineFitsItsBoxLikeTheOtherTexts) {
  const HWND line = Control(rows::Label2);
  RECT box{};
  GetClientRect(line, &box);
  const win32::WindowDC dc(line);
  const win32::UniqueFont font =
      CreateFontAtDpi(kDefaultFontFace, kDefaultFontHundredthsOfPoint, FW_NORMAL, DEFAULT_CHARSET,
                      GetDpiForWindow(form_.Handle()));
  const win32::SelectedObject selected(dc.Get(), font.Get());
  std::wstring longName;
  for (int i = 0; i < 20; ++i) longName += L"GestionDesStocks";
  const std::wstring effect = L"fichier VB6, messages en français (en anglais sans vb6FR.dll)";
  struct Case {
    std::wstring name;
    std::wstring words;
    const wchar_t* starts;  // how the fitted line starts
    bool wordsWhole;
  };
  const Case cases[] = {
      {L"Setup.exe", effect, L"Setup.exe\u00A0: fichier VB6", true},
      {longName + L".exe", effect, L"Gest", true},
      {L"a.exe", std::wstring(40, L'w') + L" " + effect + L" " + effect, L"", false},
      // Words too long even for a shortened name: the name keeps its start and its
      // extension, the words are cut.
      {longName + L".ocx", effect + L" " + effect + L" " + effect, L"Gesti\u2026", false},
  };
  for (const Case& c : cases) {
    const std::wstring text = FittedLine(dc.Get(), Line(WindowWords::LineToolWords, c.words),
                                         c.name, {box.right, box.bottom});
    RECT needed{0, 0, box.right, 0};
    DrawTextW(dc.Get(), text.c_str(), -1, &needed, DT_CALCRECT | kLineFormat);
    EXPECT_LE(needed.right, box.right) << testing::PrintToString(text);
    EXPECT_LE(needed.bottom, box.bottom) << testing::PrintToString(text);
    EXPECT_EQ(text.rfind(c.starts, 0), 0u) << testing::PrintToString(text);
    const std::wstring end = c.wordsWhole ? L".exe\u00A0: " + c.words : L"\u2026";
    EXPECT_EQ(text.substr(text.size() - std::min(end.size(), text.size())), end)
        << testing::PrintToString(text);
    EXPECT_NE(text.find(c.name.substr(c.name.size() - 4) + L"\u00A0: "), std::wstring::npos)
        << "the name lost its extension: " << testing::PrintToString(text);
  }
}

TEST_F(Form1Test, ActionButtonsUseBoldArialAndTheRestTheDialogFont) {
  form_.ShowActionBand();
  const UINT dpi = GetDpiForWindow(form_.Handle());
  for (std::size_t r = 0; r < kForm1Controls.size(); ++r) {
    const ControlRow& row = kForm1Controls[r];
    const HWND control = Control(r);
    if (control == nullptr || row.kind == ControlKind::Panel) continue;
    const HFONT handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(handle, sizeof font, &font), 0);
    // The family that the system actually draws with, past any substitution.
    const win32::WindowDC dc(control);
    const win32::SelectedObject selected(dc.Get(), handle);
    std::vector<char> metrics(GetOutlineTextMetricsW(dc.Get(), 0, nullptr));
    ASSERT_FALSE(metrics.empty());
    auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data());
    GetOutlineTextMetricsW(dc.Get(), static_cast<UINT>(metrics.size()), outline);
    const std::wstring face = reinterpret_cast<const wchar_t*>(
        metrics.data() + reinterpret_cast<std::uintptr_t>(outline->otmpFamilyName));
    if (row.font == ControlFont::Command2) {
      EXPECT_STREQ(font.lfFaceName, L"Arial");
      EXPECT_EQ(font.lfHeight, -static_cast<LONG>(std::lround(9.75 * dpi / 72)));
      EXPECT_EQ(font.lfWeight, 700);
      EXPECT_EQ(font.lfCharSet, 0);
      EXPECT_NE(GetWindowLongW(control, GWL_STYLE) & BS_MULTILINE, 0);
      EXPECT_TRUE(face == L"Arial" || face == L"Liberation Sans") << testing::PrintToString(face);
    } else {
      EXPECT_STREQ(font.lfFaceName, L"MS Shell Dlg 2");
      EXPECT_EQ(font.lfHeight, -static_cast<LONG>(std::lround(8.0 * dpi / 72)));
      EXPECT_EQ(face, L"Tahoma");
    }
  }
}

TEST_F(Form1Test, FixedDialogFrameWithACloseBoxOnlyAndNoTaskbarButton) {
  const LONG style = GetWindowLongW(form_.Handle(), GWL_STYLE);
  const LONG exStyle = GetWindowLongW(form_.Handle(), GWL_EXSTYLE);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_NE(exStyle & WS_EX_DLGMODALFRAME, 0);
  EXPECT_EQ(exStyle & WS_EX_APPWINDOW, 0);
  EXPECT_NE(GetWindow(form_.Handle(), GW_OWNER), nullptr);
  for (const std::size_t button : {rows::Command1, rows::Command2, rows::Command2 + 1,
                                   rows::Command2 + 2, rows::Command2 + 3}) {
    // No default button: Enter acts only on the focused control.
    EXPECT_EQ(GetWindowLongW(Control(button), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  }
}

TEST_F(Form1Test, TheActionBandAndItsLabelsPaintInTheWindowColour) {
  form_.ShowActionBand();
  RedrawWindow(form_.Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const auto pixel = [](HWND window, int x, int y) {
    const HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
  };
  const UINT dpi = GetDpiForWindow(form_.Handle());
  // The band's own background, a label's empty bottom corner, and the strip between bands.
  EXPECT_EQ(pixel(Control(rows::Picture2), 2, 2), GetSysColor(COLOR_WINDOW));
  RECT label{};
  GetClientRect(Control(rows::Label1), &label);
  EXPECT_EQ(pixel(Control(rows::Label1), label.right - 2, label.bottom - 2),
            GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(pixel(form_.Handle(), 5, Pixels(1260, dpi)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixel(Control(rows::Picture1), 2, 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Form1Test, OpensCentredOnTheWorkAreaWithEmptyTextAndHiddenBand) {
  RECT window{};
  GetWindowRect(form_.Handle(), &window);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 1);
  EXPECT_TRUE(IsWindowVisible(form_.Handle()));
  EXPECT_FALSE(IsWindowVisible(Control(rows::Picture2)));
  EXPECT_TRUE(IsWindowVisible(Control(rows::Picture1)));
  EXPECT_EQ(WindowText(Control(rows::Text1)), L"");
  EXPECT_EQ(GetFocus(), Control(rows::Command1));
}

}  // namespace
}  // namespace linguarde::test
