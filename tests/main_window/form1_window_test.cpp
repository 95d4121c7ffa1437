// The window as it is built: geometry, texts, fonts and styles against the control table.
#include <cstdlib>

#include "form1_fixture.h"

namespace linguarde::test {
namespace {

RECT RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectLayoutAt(const Form1& form, UINT dpi) {
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, Pixels(11235, dpi));
  EXPECT_EQ(client.bottom, Pixels(4635, dpi));

  for (const ControlRow& row : kForm1Controls) {
    const HWND control = form.Control(row.name, row.index);
    if (row.kind == ControlKind::CommonDialog) {
      EXPECT_EQ(control, nullptr);
      continue;
    }
    ASSERT_NE(control, nullptr);
    const HWND container = row.container == Container::Form1      ? form.Handle()
                           : row.container == Container::Picture1 ? form.Control(L"Picture1")
                                                                  : form.Control(L"Picture2");
    EXPECT_EQ(GetParent(control), container);
    const RECT rect = RectInParent(control);
    const std::string name = testing::PrintToString(std::wstring(row.name)) + " " +
                             std::to_string(row.index) + " at " + std::to_string(dpi);
    EXPECT_EQ(rect.left, Pixels(row.left, dpi)) << name;
    EXPECT_EQ(rect.top, Pixels(row.top, dpi)) << name;
    EXPECT_EQ(rect.right - rect.left, Pixels(row.width, dpi)) << name;
    EXPECT_EQ(rect.bottom - rect.top, Pixels(row.height, dpi)) << name;
  }
  // Docked: both bands span the width; one meets the top edge, the other the bottom one,
  // with a strip of the window's own background between them.
  const RECT top = RectInParent(form.Control(L"Picture1"));
  const RECT bottom = RectInParent(form.Control(L"Picture2"));
  EXPECT_EQ(top.top, 0);
  EXPECT_EQ(top.right, client.right);
  EXPECT_EQ(bottom.bottom, client.bottom);
  EXPECT_EQ(bottom.right, client.right);
  EXPECT_LT(top.bottom, bottom.top);
}

TEST_F(Form1Test, LayoutMatchesTheTableAtTheWindowsDpi) {
  const UINT dpi = GetDpiForWindow(form_.Handle());
  if (const char* expected = std::getenv("LINGUARDE_EXPECT_DPI")) {
    ASSERT_EQ(dpi, static_cast<UINT>(std::atoi(expected)));
  }
  ExpectLayoutAt(form_, dpi);
}

TEST_F(Form1Test, LayoutFollowsADpiChange) {
  for (const UINT dpi : {120u, 192u, 96u}) {
    RECT suggested{100, 100, 100 + Pixels(11235, dpi) + 20, 100 + Pixels(4635, dpi) + 40};
    SendMessageW(form_.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    ExpectLayoutAt(form_, dpi);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(L"Command2", 0), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -static_cast<LONG>(std::lround(9.75 * dpi / 72))) << dpi;
  }
}

TEST_F(Form1Test, ControlsShowTheirTexts) {
  EXPECT_EQ(WindowText(form_.Handle()), L"Linguarde");
  for (const ControlRow& row : kForm1Controls) {
    if (const HWND control = Control(row.name, row.index)) {
      EXPECT_EQ(WindowText(control), row.text);
    }
  }
  EXPECT_EQ(WindowText(Control(L"Command2", 2)), L"Localiser en Français ou Anglais US");
  EXPECT_EQ(WindowText(Control(L"Label1", 2)),
            L"Les messages VB (erreurs...) sont en Français et VB6FR.dll DOIT être présent sur le "
            L"système.");
}

TEST_F(Form1Test, ActionButtonsUseBoldArialAndTheRestTheMessageFont) {
  const UINT dpi = GetDpiForWindow(form_.Handle());
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
  for (const ControlRow& row : kForm1Controls) {
    const HWND control = Control(row.name, row.index);
    if (control == nullptr || row.kind == ControlKind::Panel) continue;
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                         sizeof font, &font),
              0);
    if (row.name == L"Command2") {
      EXPECT_STREQ(font.lfFaceName, L"Arial");
      EXPECT_EQ(font.lfHeight, -static_cast<LONG>(std::lround(9.75 * dpi / 72)));
      EXPECT_EQ(font.lfWeight, 700);
      EXPECT_EQ(font.lfCharSet, 0);
      EXPECT_NE(GetWindowLongW(control, GWL_STYLE) & BS_MULTILINE, 0);
    } else {
      EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
      EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
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
  for (const ControlRow& row : kForm1Controls) {
    if (row.kind == ControlKind::Button) {
      // No default button: Enter acts only on the focused control.
      EXPECT_EQ(GetWindowLongW(Control(row.name, row.index), GWL_STYLE) & BS_TYPEMASK,
                BS_PUSHBUTTON);
    }
  }
}

TEST_F(Form1Test, TheActionBandAndItsLabelsPaintInTheWindowColour) {
  ShowWindow(Control(L"Picture2"), SW_SHOW);
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
  EXPECT_EQ(pixel(Control(L"Picture2"), 2, 2), GetSysColor(COLOR_WINDOW));
  RECT label{};
  GetClientRect(Control(L"Label1", 0), &label);
  EXPECT_EQ(pixel(Control(L"Label1", 0), label.right - 2, label.bottom - 2),
            GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(pixel(form_.Handle(), 5, Pixels(1260, dpi)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pixel(Control(L"Picture1"), 2, 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Form1Test, OpensCentredOnTheWorkAreaWithEmptyTextAndHiddenBand) {
  RECT window{};
  GetWindowRect(form_.Handle(), &window);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 1);
  EXPECT_TRUE(IsWindowVisible(form_.Handle()));
  EXPECT_FALSE(IsWindowVisible(Control(L"Picture2")));
  EXPECT_TRUE(IsWindowVisible(Control(L"Picture1")));
  EXPECT_EQ(WindowText(Control(L"Text1")), L"");
  EXPECT_EQ(GetFocus(), Control(L"Command1"));
}

}  // namespace
}  // namespace linguarde::test
