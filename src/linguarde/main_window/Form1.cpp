#include "Form1.h"

#include <algorithm>
#include <string>

#include "actions.h"
#include "LancerAction.h"
#include "action_error.h"
#include "action_table.h"
#include "message_box.h"
#include "modOperationFichier.h"
#include "target_line.h"
#include "text_encoding.h"
#include "win32_script_platform.h"
#include "windows_error.h"
#include "window_words.h"

namespace linguarde {
namespace {

constexpr wchar_t kForm1Class[] = L"Linguarde.Form1";
constexpr wchar_t kPanelClass[] = L"Linguarde.Panel";
// Picture2 paints in the system's window colour.
constexpr wchar_t kBandClass[] = L"Linguarde.Band";

constexpr DWORD kForm1Style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// Files dropped from Explorer arrive as WM_DROPFILES, without a call at start.
constexpr DWORD kForm1ExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
// WM_COPYGLOBALDATA, which carries a drop's data between processes; in no header.
constexpr UINT kCopyGlobalData = 0x0049;

constexpr std::wstring_view kDialogTitle = L"Choisir un exe, une dll ou un ocx ... ";
constexpr std::wstring_view kFilter =
    L"Executables (*.exe)|*.exe|ActiveX Controls (*.ocx)|*.ocx|Dlls (*.dll)|*.dll|"
    L"Tous les fichiers (*.*)|*.*";
// Path must exist, no read-only box, prompt on overwrite; the file itself need not exist.
constexpr std::uint32_t kOpenFlags = 0x806;

// A control's text: the action table gives the buttons' captions, and to each label the
// effect of the button above it.
std::wstring TextOf(const ControlRow& control) {
  const std::size_t index = static_cast<std::size_t>(control.index);
  if (control.name == kForm1Controls[rows::Command2].name) {
    return win32::FromUtf8(kActions[index].caption);
  }
  if (control.name == kForm1Controls[rows::Label1].name) {
    return win32::FromUtf8(kActions[index + kLabel1FirstAction].label);
  }
  return std::wstring(control.text);
}

// Panels hand their children's notifications to the window, which owns all behaviour.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetParent(panel), message, wParam, lParam);
    default:
      return DefWindowProcW(panel, message, wParam, lParam);
  }
}

void RegisterClassOnce(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int colour,
                       HICON icon = nullptr) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(instance, name, &windowClass)) {
    return;
  }
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(colour + 1));
  windowClass.lpszClassName = name;
  windowClass.hIcon = icon;
  if (!RegisterClassExW(&windowClass)) {
    win32::FailSaying(WindowWords::WindowClassFailed);
  }
}

// The window's outer size for a client area of the table's size.
SIZE FrameSize(UINT dpi) {
  RECT frame{0, 0, TwipsToPixels(kForm1ClientWidth, dpi), TwipsToPixels(kForm1ClientHeight, dpi)};
  AdjustWindowRectExForDpi(&frame, kForm1Style, FALSE, kForm1ExStyle, dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

POINT CentredOnWorkArea(int width, int height) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  return {work.left + (work.right - work.left - width) / 2,
          work.top + (work.bottom - work.top - height) / 2};
}

RECT CentredFrame(UINT dpi) {
  const SIZE size = FrameSize(dpi);
  const POINT place = CentredOnWorkArea(size.cx, size.cy);
  return {place.x, place.y, place.x + size.cx, place.y + size.cy};
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassOf(const ControlRow& row) {
  const DWORD child = WS_CHILD | (row.hiddenAtStart ? 0 : WS_VISIBLE);
  switch (row.kind) {
    case ControlKind::Panel:
      return {row.paint == Paint::Window ? kBandClass : kPanelClass, child | WS_CLIPCHILDREN,
              WS_EX_CONTROLPARENT};
    case ControlKind::Button:
      return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0};
    case ControlKind::TextBox:
      return {L"EDIT", child | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Label:
      return {L"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::Line:
      return {L"STATIC", child | SS_OWNERDRAW | SS_NOPREFIX, 0};
    case ControlKind::CommonDialog:
      break;
  }
  return {nullptr, 0, 0};
}

// The height a label's text needs at a width, drawn as a static control draws it.
int TextHeight(HWND label, HFONT font, int width) {
  const std::wstring text = WindowText(label);
  const win32::WindowDC dc(label);
  const win32::SelectedObject selected(dc.Get(), font);
  RECT rect{0, 0, width, 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  return rect.bottom;
}

}  // namespace

Form1::Form1(HINSTANCE instance, ScriptPlatform& platform)
    : instance_(instance), platform_(platform) {
  // Only the window shows an icon; loading it is a noticeable part of start-up.
  RegisterClassOnce(instance, kForm1Class, &BaseWindow<Form1>::WindowProc, COLOR_BTNFACE,
                    LoadIconW(instance, MAKEINTRESOURCEW(1)));
  RegisterClassOnce(instance, kPanelClass, &PanelProc, COLOR_BTNFACE);
  RegisterClassOnce(instance, kBandClass, &PanelProc, COLOR_WINDOW);

  owner_.Reset(CreateWindowExW(0, kPanelClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               instance, nullptr));
  if (!owner_) {
    win32::FailSaying(WindowWords::WindowFailed);
  }
  // Created where Show puts it and at the size that the layout gives it at the system's
  // DPI, so that neither has to move it again before the first paint.
  const RECT place = CentredFrame(GetDpiForSystem());
  if (!CreateWindowExW(kForm1ExStyle, kForm1Class, std::wstring(kForm1Caption).c_str(), kForm1Style,
                       place.left, place.top, place.right - place.left, place.bottom - place.top,
                       owner_.Get(), nullptr, instance, this)) {
    win32::FailSaying(WindowWords::WindowFailed);
  }
}

Form1::~Form1() {
  if (hwnd_ != nullptr) {
    DestroyWindow(hwnd_);
  }
}

HWND Form1::Control(std::size_t row) const {
  return row < controls_.size() ? controls_[row] : nullptr;
}

void Form1::Show(int showCommand) {
  RECT window{};
  GetWindowRect(hwnd_, &window);
  const POINT centre = CentredOnWorkArea(window.right - window.left, window.bottom - window.top);
  if (centre.x != window.left || centre.y != window.top) {
    SetWindowPos(hwnd_, nullptr, centre.x, centre.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnCtlColor(message, wParam, lParam);
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      if (watch_ != nullptr && watch_->Handle(message, wParam)) return 0;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void Form1::OnCreate() {
  dpi_ = GetDpiForWindow(hwnd_);
  // Run as administrator, the window would otherwise filter out a drop from Explorer,
  // which runs with less.
  for (const UINT message :
       {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData}) {
    ChangeWindowMessageFilterEx(hwnd_, message, MSGFLT_ALLOW, nullptr);
  }
  // A panel hidden at start, and what it holds, is built when it is first shown: the first
  // paint needs only what shows.
  CreateControls(&ShownAtStart);
  // Paths longer than the edit control's default limit must fit.
  SendMessageW(Control(rows::Text1), EM_SETLIMITTEXT, 0, 0);
  CreateFonts();
  Layout();
  watch_ = std::make_unique<TargetWatch>(
      hwnd_, modOperationFichier::CheminDansDossier(platform_.ApplicationFolder(), kToolName),
      [this] { return WindowText(Control(rows::Text1)); },
      [this](const std::wstring& target, const Line& line) { ShowLine(target, line); },
      [this](const std::wstring& journal, bool redoes) { OfferUndo(journal, redoes); });
}

void Form1::CreateControls(bool (*wanted)(const ControlRow&)) {
  for (std::size_t row = 0; row < kForm1Controls.size(); ++row) {
    const ControlRow& control = kForm1Controls[row];
    const ControlClass windowClass = ClassOf(control);
    if (controls_[row] != nullptr || windowClass.name == nullptr || !wanted(control)) {
      continue;  // built already, CMDialog1 (no visible part), or not yet
    }
    const HWND parent =
        control.container == Container::Form1 ? hwnd_ : controls_[RowOf(control.container)];
    controls_[row] = CreateWindowExW(
        windowClass.exStyle, windowClass.name, TextOf(control).c_str(), windowClass.style, 0, 0, 0,
        0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + row)), instance_,
        nullptr);
  }
}

void Form1::ShowActionBand() {
  if (Control(rows::Picture2) == nullptr) {
    CreateControls([](const ControlRow&) { return true; });
    command2Font_ = CreateCommand2Font();
    SetFonts();
    Layout();
  }
  ShowWindow(Control(rows::Picture2), SW_SHOW);
}

void Form1::ShowTarget(const std::wstring& path) {
  SetWindowTextW(Control(rows::Text1), path.c_str());
  ShowActionBand();
  ReadTarget();
}

void Form1::OnDropFiles(HDROP drop) {
  const std::wstring path = dropped_.Take(drop);
  if (!path.empty()) ShowTarget(path);
}

void Form1::OnActivate(bool active) {
  // The focus goes back where the user left it when the window is activated again.
  if (!active) {
    lastFocus_ = GetFocus();
    return;
  }
  const bool ours =
      lastFocus_ != nullptr && IsChild(hwnd_, lastFocus_) && IsWindowVisible(lastFocus_);
  SetFocus(ours ? lastFocus_ : Control(rows::Command1));
}

void Form1::OnCommand(int id, UINT code) {
  // Enter reaches the window as IDOK from the dialog manager: it presses the focused
  // button and nothing else. Esc (IDCANCEL) does nothing: no button is the default.
  if (id == IDOK) {
    const HWND focus = GetFocus();
    // Enter in Text1 confirms what was typed there.
    if (focus == Control(rows::Text1)) {
      ReadTarget();
    } else if (focus != nullptr && IsChild(hwnd_, focus) &&
               (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0) {
      SendMessageW(focus, BM_CLICK, 0, 0);
    }
    return;
  }
  if (code != BN_CLICKED || id < kFirstControlId) {
    return;
  }
  if (id == kUndoId) {
    Undo_Click();
    return;
  }
  const std::size_t row = static_cast<std::size_t>(id - kFirstControlId);
  if (row == rows::Command1) {
    Command1_Click();
  } else if (row >= rows::Command2 && row < rows::Command2 + 4) {
    Command2_Click(kForm1Controls[row].index);
  }
}

void Form1::OnDpiChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  CreateFonts();
  Layout();
}

LRESULT Form1::OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam) {
  // Controls on a panel of the window colour paint on that colour.
  const HWND parent = GetParent(reinterpret_cast<HWND>(lParam));
  const auto panel = std::find(controls_.begin(), controls_.end(), parent);
  if (panel == controls_.end() ||
      kForm1Controls[static_cast<std::size_t>(panel - controls_.begin())].paint != Paint::Window) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
  const HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void Form1::OnDestroy() {
  // Created with the window, unless its creation failed first.
  if (watch_ != nullptr) watch_->Stop();
  PostQuitMessage(exitCode_);
}

void Form1::OnUnexpectedFailure() { ReportFailure(Say(WindowWords::UnexpectedFailure)); }

void Form1::CreateFonts() {
  win32::UniqueFont defaultFont = CreateFontAtDpi(kDefaultFontFace, kDefaultFontHundredthsOfPoint,
                                                  FW_NORMAL, DEFAULT_CHARSET, dpi_);
  win32::UniqueFont command2Font;
  if (Control(rows::Command2) != nullptr) {
    command2Font = CreateCommand2Font();
  }
  // The old fonts, now in the locals, go only once no control shows them any more.
  std::swap(defaultFont_, defaultFont);
  std::swap(command2Font_, command2Font);
  SetFonts();
}

win32::UniqueFont Form1::CreateCommand2Font() const {
  return CreateFontAtDpi(kCommand2FontFace, kCommand2FontHundredthsOfPoint, kCommand2FontWeight,
                         ANSI_CHARSET, dpi_);
}

void Form1::SetFonts() {
  for (std::size_t row = 0; row < kForm1Controls.size(); ++row) {
    if (controls_[row] != nullptr) {
      const HFONT font = kForm1Controls[row].font == ControlFont::Command2 ? command2Font_.Get()
                                                                           : defaultFont_.Get();
      SendMessageW(controls_[row], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
  }
  if (undoButton_ != nullptr) {
    SendMessageW(undoButton_, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont_.Get()), TRUE);
  }
}

void Form1::Layout() {
  const auto pixels = [this](int twips) { return TwipsToPixels(twips, dpi_); };
  const int clientWidth = pixels(kForm1ClientWidth);
  const int clientHeight = pixels(kForm1ClientHeight);
  const SIZE frame = FrameSize(dpi_);
  RECT window{};
  GetWindowRect(hwnd_, &window);
  if (window.right - window.left != frame.cx || window.bottom - window.top != frame.cy) {
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The frame actually drawn may differ from the computed one (a theme, or a DPI message
  // that comes before the frame has changed): correct by what the client area came out as.
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right != clientWidth || client.bottom != clientHeight) {
    GetWindowRect(hwnd_, &window);
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + clientWidth - client.right,
                 window.bottom - window.top + clientHeight - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(hwnd_, &client);
  }

  for (std::size_t row = 0; row < kForm1Controls.size(); ++row) {
    const ControlRow& control = kForm1Controls[row];
    if (controls_[row] == nullptr) {
      continue;
    }
    int left = pixels(control.left);
    int top = pixels(control.top);
    int width = pixels(control.width);
    int height = pixels(control.height);
    if (control.dock != Dock::None) {
      left = 0;
      width = client.right;
      top = control.dock == Dock::Top ? 0 : client.bottom - height;
    }
    // A label whose text needs more lines than its box holds grows downward, inside its
    // panel, by what the text needs and no further.
    if (control.kind == ControlKind::Label) {
      const int room = pixels(kForm1Controls[RowOf(control.container)].height) - top;
      const int needed = TextHeight(controls_[row], defaultFont_.Get(), width);
      height = std::max(height, std::min(needed, room));
    }
    MoveWindow(controls_[row], left, top, width, height, TRUE);
  }
  if (undoButton_ != nullptr) {
    const RECT box = UndoBox();
    MoveWindow(undoButton_, box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);
  }
}

RECT Form1::UndoBox() const {
  const ControlRow& line = kForm1Controls[rows::Label2];
  const int right = TwipsToPixels(line.left + line.width, dpi_);
  return {right - TwipsToPixels(kUndoWidth, dpi_), TwipsToPixels(line.top, dpi_), right,
          TwipsToPixels(line.top + line.height, dpi_)};
}

void Form1::Command1_Click() {
  ShowWindow(Control(rows::Picture2), SW_HIDE);
  CMDialog1.DialogTitle = kDialogTitle;
  CMDialog1.Filter = kFilter;
  CMDialog1.Flags = kOpenFlags;
  CMDialog1.CancelError = true;

  std::wstring fichier;
  try {
    CMDialog1.ShowOpen(hwnd_);
  } catch (const DialogCancelled&) {
    return;
  }
  fichier = CMDialog1.FileName;
  ShowTarget(fichier);
}

void Form1::Command2_Click(int Index) {
  if (RefusedWhileConsoleOpen()) return;
  const bool due = watch_->Interrupt();
  const std::wstring target = WindowText(Control(rows::Text1));
  const bool writes =
      Index >= 0 && static_cast<std::size_t>(Index) < kActions.size() && kActions[Index].writes;
  // Each action that writes keeps a journal of its own, which the window can then undo.
  const std::wstring journal = writes ? platform_.NewJournalPath() : std::wstring();
  std::unique_ptr<Console> console;
  try {
    console = LancerAction(static_cast<std::int16_t>(Index), target, platform_, journal);
  } catch (const ActionRefused& refusal) {
    ShowMessage(hwnd_, refusal.Message(), MB_OK | MB_ICONWARNING);
  } catch (const UserError& failure) {
    ReportFailure(failure.Message());
    return;
  } catch (const std::exception&) {
    ReportFailure(Say(WindowWords::ActionFailed));
    return;
  }
  watch_->ActionDone(std::move(console), writes, due, target, journal);
}

void Form1::Undo_Click() {
  if (undoJournal_.empty()) return;
  if (RefusedWhileConsoleOpen()) return;
  const std::wstring journal = undoJournal_;
  // The undo's own journal gives back what this undo changes: undoing it redoes.
  const ConsoleOf of = undoRedoes_ ? ConsoleOf::Redo : ConsoleOf::Undo;
  OfferUndo({});
  const bool due = watch_->Interrupt();
  // The undo keeps a journal of its own: once its console has closed, it may be undone in
  // turn, offered the same way.
  const std::wstring undoJournal = platform_.NewJournalPath();
  std::unique_ptr<Console> console;
  try {
    console = platform_.StartUndo(
        modOperationFichier::CheminDansDossier(platform_.ApplicationFolder(), kToolName), journal,
        {{std::wstring(kJournalVariable), undoJournal}});
  } catch (const UserError& failure) {
    ShowMessage(hwnd_, failure.Message(), MB_OK | MB_ICONWARNING);
    return;
  }
  watch_->ActionDone(std::move(console), true, due, WindowText(Control(rows::Text1)), undoJournal,
                     of);
}

bool Form1::RefusedWhileConsoleOpen() {
  // One console at a time, an undo's as an action's.
  if (!watch_->Following()) return false;
  ShowMessage(hwnd_, ConsoleStillOpen(watch_->FollowedConsole()), MB_OK | MB_ICONWARNING);
  return true;
}

void Form1::OfferUndo(const std::wstring& journal, bool redoes) {
  // Built when first offered: the first paint needs only what shows.
  if (undoButton_ == nullptr && !journal.empty()) {
    undoButton_ =
        CreateWindowExW(0, L"BUTTON", Say(WindowWords::UndoCaption).c_str(),
                        WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, Control(rows::Picture1),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kUndoId)), instance_, nullptr);
    SetFonts();
    Layout();
  }
  if (undoButton_ == nullptr) return;
  undoJournal_ = journal;
  undoRedoes_ = redoes;
  SetWindowTextW(undoButton_,
                 Say(redoes ? WindowWords::RedoCaption : WindowWords::UndoCaption).c_str());
  if (journal.empty() && GetFocus() == undoButton_) SetFocus(Control(rows::Text1));
  ShowWindow(undoButton_, journal.empty() ? SW_HIDE : SW_SHOW);
  InvalidateRect(Control(rows::Label2), nullptr, TRUE);
}

void Form1::ReadTarget() { watch_->Read(); }

void Form1::ShowLine(const std::wstring& target, const Line& line) {
  lineName_ = ShownName(target);
  line_ = line;
  // The whole line is the control's text, for screen readers; it is drawn fitted.
  SetWindowTextW(Control(rows::Label2), LineText(line_, lineName_).c_str());
  InvalidateRect(Control(rows::Label2), nullptr, TRUE);
}

void Form1::OnDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != Control(rows::Label2)) return;
  const RECT& box = item.rcItem;
  FillRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
  if (line_.entry == WindowWords::kEnd) return;
  const win32::SelectedObject font(item.hDC, defaultFont_.Get());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  // The undo button, while shown, ends the line.
  const int undo = IsWindowVisible(undoButton_) ? TwipsToPixels(kUndoWidth + kUndoGap, dpi_) : 0;
  const SIZE size{box.right - box.left - undo, box.bottom - box.top};
  const std::wstring text = FittedLine(item.hDC, line_, lineName_, size);
  // Centred on the height of the button beside it, as its caption is.
  RECT place{0, 0, size.cx, 0};
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &place,
            DT_CALCRECT | kLineFormat);
  OffsetRect(&place, box.left, box.top + (size.cy - place.bottom) / 2);
  place.right = box.left + size.cx;
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &place, kLineFormat);
}

void Form1::ReportFailure(const std::wstring& message) {
  // Two entries, one after the other.
  ShowMessage(hwnd_, message + L"\n\n" + Say(WindowWords::Closing), MB_OK | MB_ICONERROR);
  exitCode_ = 1;
  DestroyWindow(hwnd_);
}

int RunMessageLoop(HWND window) {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

}  // namespace linguarde
