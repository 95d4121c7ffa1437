#include "CMDialog1.h"

#include <commdlg.h>

#include <vector>

namespace linguarde {
namespace {

// The dialog wants pairs of NUL-terminated strings, the list ended by an empty one.
std::wstring FilterList(const std::wstring& filter) {
  std::wstring list = filter;
  for (wchar_t& c : list) {
    if (c == L'|') c = L'\0';
  }
  list.push_back(L'\0');
  list.push_back(L'\0');
  return list;
}

// Room for the longest path Windows accepts, so that no chosen path comes back cut.
constexpr DWORD kFileNameCapacity = 32768;

}  // namespace

void CommonDialog::ShowOpen(HWND owner) {
  using OpenFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
  const auto getOpenFileName = library_.Get<OpenFunction>("GetOpenFileNameW");
  if (getOpenFileName == nullptr) {
    // Without the dialog there is no choice: the same outcome as a dialog that failed.
    if (CancelError) throw DialogCancelled();
    return;
  }
  const std::wstring filters = FilterList(Filter);
  std::vector<wchar_t> file(kFileNameCapacity, L'\0');

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = kFileNameCapacity;  // in characters, not bytes
  dialog.lpstrTitle = DialogTitle.c_str();
  dialog.Flags = Flags | OFN_EXPLORER;
  if (getOpenFileName(&dialog)) {
    FileName = file.data();
  } else if (CancelError) {
    throw DialogCancelled();
  }
}

}  // namespace linguarde
