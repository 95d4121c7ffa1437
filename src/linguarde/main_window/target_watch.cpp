#include "target_watch.h"

#include <string_view>
#include <utility>

#include "LancerAction.h"
#include "cmd_text.h"
#include "file_names.h"
#include "user_error.h"
#include "windows_error.h"
#include "window_words.h"

namespace linguarde {
namespace {

// The end of a reading of the target, and of an action's console.
constexpr UINT kReadingDone = WM_APP + 1;
constexpr UINT kConsoleEnded = WM_APP + 2;
// A reading starts once the window has painted: a timer fires only when nothing is left
// to paint. It says it is reading after a moment, and ends after a limit.
constexpr UINT_PTR kStartReading = 1;
constexpr UINT_PTR kSayReading = 2;
constexpr UINT_PTR kReadingLimit = 3;
constexpr UINT kMomentMs = 400;
// The limit, which the line that says it was reached gives.
constexpr UINT kLimitMs = 60000;

Line Said(WindowWords entry) { return Line(entry); }

// Runs on a thread of the pool: the window hears of it in its own thread.
void CALLBACK PostConsoleEnded(void* window, BOOLEAN) {
  PostMessageW(static_cast<HWND>(window), kConsoleEnded, 0, 0);
}

}  // namespace

TargetWatch::TargetWatch(HWND window, std::wstring tool, std::function<std::wstring()> target,
                         Say say, Offer offer)
    : window_(window),
      tool_(std::move(tool)),
      target_(std::move(target)),
      say_(std::move(say)),
      offer_(std::move(offer)) {}

bool TargetWatch::Handle(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_TIMER:
      OnTimer(wParam);
      return true;
    case kReadingDone:
      OnReadingDone(wParam);
      return true;
    case kConsoleEnded:
      OnConsoleEnded();
      return true;
    default:
      return false;
  }
}

void TargetWatch::Read() {
  StopReading();
  readingWanted_ = true;
  SetTimer(window_, kStartReading, USER_TIMER_MINIMUM, nullptr);
}

bool TargetWatch::Interrupt() {
  const bool due = reading_ != nullptr || readingWanted_;
  StopReading();
  return due;
}

void TargetWatch::ActionDone(std::unique_ptr<Console> console, bool writes, bool due,
                             const std::wstring& target, const std::wstring& journal,
                             ConsoleOf of) {
  bool unfollowed = false;
  // A view changes nothing: its console needs no following.
  if (writes && console != nullptr) {
    following_ = {journal, target, of};
    unfollowed = !Follow(std::move(console), target);
  }
  // A console that cannot be followed may still be writing the file: not read behind it.
  if (due && console_ == nullptr && !unfollowed) Read();
}

bool TargetWatch::Following() const {
  return console_ != nullptr && console_->WaitHandle() != nullptr &&
         WaitForSingleObject(console_->WaitHandle(), 0) == WAIT_TIMEOUT;
}

void TargetWatch::Stop() {
  StopReading();
  consoleWait_.Reset();
  console_.reset();
}

bool TargetWatch::Follow(std::unique_ptr<Console> console, const std::wstring& target) {
  consoleWait_.Reset();
  HANDLE wait = nullptr;
  if (console->WaitHandle() == nullptr ||
      !RegisterWaitForSingleObject(&wait, console->WaitHandle(), &PostConsoleEnded, window_,
                                   INFINITE, WT_EXECUTEONLYONCE)) {
    // What it said before the action may no longer hold.
    SayConsole(target, false);
    return false;
  }
  console_ = std::move(console);
  consoleWait_.Reset(wait);
  SayConsole(target, true);
  return true;
}

void TargetWatch::SayConsole(const std::wstring& target, bool followed) {
  // By what the console does, then whether its end will be heard.
  constexpr WindowWords kConsoleLines[][2] = {
      {WindowWords::LineActionConsoleUnfollowed, WindowWords::LineActionConsole},
      {WindowWords::LineUndoConsoleUnfollowed, WindowWords::LineUndoConsole},
      {WindowWords::LineRedoConsoleUnfollowed, WindowWords::LineRedoConsole},
  };
  say_(target, Said(kConsoleLines[static_cast<std::size_t>(following_.of)][followed ? 1 : 0]));
}

void TargetWatch::OnConsoleEnded() {
  // The word of a console followed earlier may come after a newer one is followed.
  if (console_ == nullptr || WaitForSingleObject(console_->WaitHandle(), 0) != WAIT_OBJECT_0) {
    return;
  }
  consoleWait_.Reset();
  console_.reset();
  Read();
  fresh_ = std::exchange(following_, {});
}

void TargetWatch::StopReading() {
  reading_.reset();
  for (const UINT_PTR timer : {kStartReading, kSayReading, kReadingLimit}) {
    KillTimer(window_, timer);
  }
}

void TargetWatch::StartReading() {
  StopReading();
  readingWanted_ = false;
  // An undo offered was for the target as the console left it.
  offer_({}, false);
  const std::wstring target = target_();
  // Another target chosen: its undo is not the one kept.
  for (Journal* journal : {&fresh_, &kept_}) {
    if (!win32::SameIgnoringCase(journal->target, target)) *journal = {};
  }
  if (target.empty()) {
    say_(L"", {});
    return;
  }
  // A set opens its file shared with nobody: the tool's console is left alone until it ends.
  if (console_ != nullptr) {
    SayConsole(target, true);
    return;
  }
  wchar_t current[32768];
  const DWORD length = GetCurrentDirectoryW(32768, current);
  if (length > 0 && length < 32768 && cmd::LooksElsewhere(target, current)) {
    say_(target, Said(WindowWords::LineRelativeOnNetwork));
    return;
  }
  if (const auto position = cmd::FindUncarriable(target)) {
    const wchar_t c = target[*position];
    say_(target, {c == L'"' ? WindowWords::LineQuote : WindowWords::LineControlCharacter, L"",
                  L"character", CodePointName(c)});
    return;
  }
  try {
    // The target as one argument, read as a target even where it looks like an option; a
    // file only in the cloud is not downloaded for a line that nobody asked for.
    reading_ = std::make_unique<ToolReading>(tool_, L"--json --local-only --", target, window_,
                                             kReadingDone, ++readingId_);
    checking_ = false;
    checkingFresh_ = false;
  } catch (const StepFailed& failure) {
    // The one failure a user can mend at once: the tool left behind when copying.
    const bool missing = failure.SystemCode() == ERROR_FILE_NOT_FOUND ||
                         failure.SystemCode() == ERROR_PATH_NOT_FOUND;
    if (missing) {
      say_(target, Said(WindowWords::LineToolMissing));
    } else {
      say_(target, {WindowWords::LineToolUnstartable, L"", L"system",
                    win32::WindowsErrorText(failure.SystemCode())});
    }
    return;
  }
  readingTarget_ = target;
  SetTimer(window_, kSayReading, kMomentMs, nullptr);
  SetTimer(window_, kReadingLimit, kLimitMs, nullptr);
}

void TargetWatch::OnTimer(UINT_PTR timer) {
  KillTimer(window_, timer);
  if (timer == kStartReading) {
    StartReading();
  } else if (timer == kSayReading && reading_ != nullptr) {
    say_(readingTarget_, Said(WindowWords::LineReading));
  } else if (timer == kReadingLimit && reading_ != nullptr) {
    StopReading();
    // An undo the tool did not answer for is not offered; the line keeps the target's words.
    if (std::exchange(checking_, false)) {
      if (std::exchange(checkingFresh_, false)) kept_ = std::exchange(fresh_, {});
    } else {
      say_(readingTarget_, Said(WindowWords::LineNoAnswer));
    }
  }
}

void TargetWatch::OnReadingDone(WPARAM id) {
  if (reading_ == nullptr || id != readingId_) return;  // a reading since cancelled
  if (checking_) {
    OnUndoChecked();
    return;
  }
  lastLine_ = TargetLine(reading_->Output());
  StopReading();
  say_(readingTarget_, lastLine_);
  if (!fresh_.path.empty()) {
    StartUndoCheck(fresh_, true);
  } else if (!kept_.path.empty()) {
    StartUndoCheck(kept_, false);
  }
}

void TargetWatch::OnUndoChecked() {
  const UndoOffer offer = UndoOfferOf(reading_->Output());
  StopReading();
  if (std::exchange(checkingFresh_, false)) {
    // An action that changed nothing leaves no journal to undo, or one with nothing to give
    // back: the undo kept is still the target's last.
    if (!offer.offered && (offer.why == WindowWords::kEnd || offer.journalMissing)) {
      fresh_ = {};
      if (!kept_.path.empty()) StartUndoCheck(kept_, false);
      return;
    }
    kept_ = std::exchange(fresh_, {});
  }
  // The journal of an undo, undone, redoes: the line says what that button does.
  const bool redoes = kept_.of == ConsoleOf::Undo;
  if (offer.offered) {
    offer_(kept_.path, redoes);
    if (redoes) say_(readingTarget_, Followed(lastLine_, WindowWords::LineRedoOffered));
  } else if (offer.why != WindowWords::kEnd) {
    // A cause that may go keeps the journal, asked about again at the next reading.
    say_(readingTarget_, Followed(lastLine_, offer.why, offer));
  }
}

void TargetWatch::StartUndoCheck(const Journal& journal, bool fresh) {
  // What an undo would do, asked of the tool: the window never reads a journal itself, nor
  // has a file downloaded from the cloud for a look.
  try {
    reading_ = std::make_unique<ToolReading>(tool_, L"--json --local-only --dry-run --undo",
                                             journal.path, window_, kReadingDone, ++readingId_);
    checking_ = true;
    checkingFresh_ = fresh;
  } catch (const UserError&) {
    // No undo offered now; the line keeps what it said, and the next reading asks again.
    if (fresh) kept_ = std::exchange(fresh_, {});
    return;
  }
  SetTimer(window_, kReadingLimit, kLimitMs, nullptr);
}

}  // namespace linguarde
