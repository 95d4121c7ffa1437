#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "CMDialog1.h"
#include "base_window.h"
#include "dropped_path.h"
#include "form1_layout.h"
#include "dpi_font.h"
#include "owners.h"
#include "script_platform.h"
#include "target_watch.h"
#include "target_words.h"

namespace linguarde {

// The program's one window: the file band Picture1 on top, the action band Picture2 below.
class Form1 : public BaseWindow<Form1> {
 public:
  // Creates the window and its controls, hidden; Show puts it centred on the work area.
  Form1(HINSTANCE instance, ScriptPlatform& platform);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  void Show(int showCommand);
  // Non-zero once a failed action has closed the window.
  int ExitCode() const { return exitCode_; }
  // The control of a row of the table (see rows::); nullptr for CMDialog1, and for the
  // action band's controls until the band is first shown.
  HWND Control(std::size_t row) const;

  // Shows Picture2, building it and what it holds the first time.
  void ShowActionBand();
  // A target chosen, dropped or given at start: into Text1, the actions shown, and the
  // target read.
  void ShowTarget(const std::wstring& path);
  // Reads what Text1 names with the tool, once the window has painted, and says it in
  // Label2.
  void ReadTarget();

  void Command1_Click();
  void Command2_Click(int Index);
  // "Annuler" ("Refaire" for an undo's journal), shown at the end of the line while the last
  // action can be undone exactly: runs the tool's undo of that action's journal in a console
  // of its own.
  void Undo_Click();
  // The undo button, once created.
  HWND UndoButton() const { return undoButton_; }

  CommonDialog CMDialog1;

 private:
  friend class BaseWindow<Form1>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // An exception that no handler expected (memory run out): said, and the window closes.
  void OnUnexpectedFailure();
  void OnCreate();
  void OnActivate(bool active);
  void OnCommand(int id, UINT code);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void OnDropFiles(HDROP drop);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  LRESULT OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam);
  void OnDestroy();

  void CreateControls(bool (*wanted)(const ControlRow&));
  // The fonts at the window's DPI, for the controls built so far.
  void CreateFonts();
  win32::UniqueFont CreateCommand2Font() const;
  void SetFonts();
  void Layout();
  void ReportFailure(const std::wstring& message);
  // Label2: the target's name, then the words.
  void ShowLine(const std::wstring& target, const Line& line);
  // Says so and is true while a console this window follows is open.
  bool RefusedWhileConsoleOpen();
  // Shows the undo button for that journal, or hides it for none; its caption says whether
  // the undo redoes.
  void OfferUndo(const std::wstring& journal, bool redoes = false);
  // The undo button's box: the end of Label2's, which it covers while shown.
  RECT UndoBox() const;

  HINSTANCE instance_;
  ScriptPlatform& platform_;
  // An owned window has no taskbar button; its hidden owner is the program's only other window.
  win32::UniqueWindow owner_;
  std::array<HWND, kForm1Controls.size()> controls_{};
  win32::UniqueFont defaultFont_;
  win32::UniqueFont command2Font_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  HWND lastFocus_ = nullptr;
  DroppedPath dropped_;
  int exitCode_ = 0;
  // What Label2 shows, apart, so that only the name is shortened to fit.
  std::wstring lineName_;
  Line line_;
  // Not a control of the first window's table: a departure from its tab order, the last
  // stop, and shown only while it has something to undo.
  HWND undoButton_ = nullptr;
  std::wstring undoJournal_;
  bool undoRedoes_ = false;
  std::unique_ptr<TargetWatch> watch_;  // from the window's creation
};

// The event loop; dialog keys (Tab, Space, Enter) go through the dialog manager.
int RunMessageLoop(HWND window);

}  // namespace linguarde
