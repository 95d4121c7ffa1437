#include "dialog_driver.h"

namespace linguarde::test {
namespace {

// Control identifiers of the Explorer-style Open dialog.
constexpr int kFileNameCombo = 0x47C;
constexpr int kMessageText = 0xFFFF;

struct Search {
  const std::wstring* caption;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (std::wstring(className) == L"#32770" && IsWindowVisible(window) &&
      WindowText(window) == *search.caption &&
      (search.processId == 0 || owner == search.processId)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring WindowText(HWND window) {
  // WM_GETTEXT, not GetWindowText: only the message reads a control of another process.
  wchar_t text[4096] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &copied);
  return text;
}

HWND WaitForDialog(const std::wstring& caption, DWORD processId,
                   std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    Search search{&caption, processId, nullptr};
    EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr || std::chrono::steady_clock::now() >= end) {
      return search.found;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::wstring MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, kMessageText)); }

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1,
                      L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
    item.resize(item.size() - 1);
    items.push_back(item);
  }
  return items;
}

void ChooseInOpenDialog(HWND dialog, const std::wstring& path) {
  const HWND combo = GetDlgItem(dialog, kFileNameCombo);
  const HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
  SendMessageW(edit != nullptr ? edit : combo, WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void PressCancel(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

DialogWatcher::DialogWatcher(std::wstring caption, std::function<void(HWND)> action,
                             std::chrono::milliseconds timeout)
    : thread_([this, caption = std::move(caption), action = std::move(action), timeout] {
        if (const HWND dialog = WaitForDialog(caption, GetCurrentProcessId(), timeout)) {
          seen_ = true;
          action(dialog);
        }
      }) {}

DialogWatcher::~DialogWatcher() { thread_.join(); }

StrayDialogGuard::StrayDialogGuard(std::wstring caption, std::chrono::milliseconds patience)
    : thread_([this, caption = std::move(caption), patience] {
        HWND watched = nullptr;
        auto since = std::chrono::steady_clock::now();
        while (!stop_) {
          const HWND dialog = WaitForDialog(caption, GetCurrentProcessId(), {});
          if (dialog != watched) {
            watched = dialog;
            since = std::chrono::steady_clock::now();
          } else if (dialog != nullptr && std::chrono::steady_clock::now() - since > patience) {
            {
              const std::lock_guard<std::mutex> lock(mutex_);
              closed_.push_back(MessageBoxText(dialog));
            }
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            watched = nullptr;
          }
          std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
      }) {}

StrayDialogGuard::~StrayDialogGuard() {
  stop_ = true;
  thread_.join();
}

std::vector<std::wstring> StrayDialogGuard::Closed() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

}  // namespace linguarde::test
