#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "LancerAction.h"
#include "owners.h"
#include "script_platform.h"
#include "target_words.h"
#include "tool_reading.h"

namespace linguarde {

// What the window's line says of the target, and when: the hidden reading by the tool, the
// following of an action's console, and their timers. The window hands it its messages and
// hears back through one call, what to say of which target.
class TargetWatch {
 public:
  using Say = std::function<void(const std::wstring& target, const Line& line)>;
  // The journal whose undo the window may offer, nothing to offer none; whether that undo
  // redoes, the journal being an undo's.
  using Offer = std::function<void(const std::wstring& journal, bool redoes)>;

  // target: what the window names now; tool: the tool's full path.
  TargetWatch(HWND window, std::wstring tool, std::function<std::wstring()> target, Say say,
              Offer offer);
  TargetWatch(const TargetWatch&) = delete;
  TargetWatch& operator=(const TargetWatch&) = delete;

  // Reads the target once the window has painted.
  void Read();
  // Before an action: the hidden tool is ended, as the action may need the file for itself.
  // Whether a reading was due.
  bool Interrupt();
  // After an action, with the console it started, if any: the console of one that writes is
  // followed and the target read when it closes, then the tool asked whether the action's
  // journal can be undone exactly; otherwise the target is read again if it was due,
  // unless a console is still followed or could not be. of: what the console does; the
  // journal of an undo, undone, redoes.
  void ActionDone(std::unique_ptr<Console> console, bool writes, bool due,
                  const std::wstring& target, const std::wstring& journal = {},
                  ConsoleOf of = ConsoleOf::Action);
  // Whether the console of an action followed is still open: ended, though its end is not
  // heard yet, it is not.
  bool Following() const;
  // What the console followed does.
  ConsoleOf FollowedConsole() const { return following_.of; }
  // Ends the reading and forgets the console, for good.
  void Stop();

  // The window's messages that are the watch's: handled, and true.
  bool Handle(UINT message, WPARAM wParam);

 private:
  void StartReading();
  // A journal whose undo may be offered, for the target it was written for.
  struct Journal {
    std::wstring path;
    std::wstring target;
    ConsoleOf of = ConsoleOf::Action;
  };
  void SayConsole(const std::wstring& target, bool followed);
  void StartUndoCheck(const Journal& journal, bool fresh);
  void OnUndoChecked();
  void StopReading();
  // Whether the console could be followed; one that cannot is never read behind.
  bool Follow(std::unique_ptr<Console> console, const std::wstring& target);
  void OnReadingDone(WPARAM id);
  void OnConsoleEnded();
  void OnTimer(UINT_PTR timer);

  HWND window_;
  std::wstring tool_;
  std::function<std::wstring()> target_;
  Say say_;
  Offer offer_;
  bool readingWanted_ = false;  // asked for, and not started yet
  Journal following_;           // of the console followed
  Journal fresh_;               // of the console last closed, not asked about yet
  // Of the last action that changed the target: asked about at every reading of it, kept
  // through a refusal, whose cause may go.
  Journal kept_;
  bool checking_ = false;       // the reading running asks about a journal
  bool checkingFresh_ = false;  // ... and that journal is fresh_
  Line lastLine_;               // what the line says of the target
  std::unique_ptr<ToolReading> reading_;
  WPARAM readingId_ = 0;
  std::wstring readingTarget_;
  std::unique_ptr<Console> console_;
  win32::UniqueWait consoleWait_;
};

}  // namespace linguarde
