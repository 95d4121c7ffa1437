#include "dropped_path.h"

#include <shlobj.h>

#include <vector>

#include "file_names.h"

namespace linguarde {
namespace {

// The three identifiers used here, as Windows defines them: linking the system's library
// of every identifier (libuuid) would add 46 KB to the program.
constexpr CLSID kShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kShellLinkInterface = {0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kPersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace

std::wstring DroppedPath::Take(HDROP drop) {
  using QueryFunction = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
  using FinishFunction = void(WINAPI*)(HDROP);
  const auto query = shell32_.Get<QueryFunction>("DragQueryFileW");
  const auto finish = shell32_.Get<FinishFunction>("DragFinish");
  std::wstring path;
  if (query != nullptr && query(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    std::vector<wchar_t> name(query(drop, 0, nullptr, 0) + 1, L'\0');
    path.assign(name.data(), query(drop, 0, name.data(), static_cast<UINT>(name.size())));
  }
  if (finish != nullptr) finish(drop);
  return Resolved(path);
}

std::wstring DroppedPath::Resolved(const std::wstring& path) {
  if (path.size() > 4 && win32::EndsWithIgnoringCase(path, L".lnk")) {
    const std::wstring target = ShortcutTarget(path);
    if (!target.empty()) return target;
  }
  return path;
}

std::wstring DroppedPath::ShortcutTarget(const std::wstring& shortcut) {
  using CreateFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  const win32::ComApartment apartment(ole32_);
  const auto create = ole32_.Get<CreateFunction>("CoCreateInstance");
  if (!apartment.Entered() || create == nullptr) return {};
  void* object = nullptr;
  if (FAILED(
          create(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface, &object))) {
    return {};
  }
  const win32::UniqueCom<IShellLinkW> link(static_cast<IShellLinkW*>(object));
  void* persist = nullptr;
  if (FAILED(link->QueryInterface(kPersistFileInterface, &persist))) return {};
  const win32::UniqueCom<IPersistFile> file(static_cast<IPersistFile*>(persist));
  std::vector<wchar_t> path(32768, L'\0');
  if (FAILED(file->Load(shortcut.c_str(), STGM_READ)) ||
      link->GetPath(path.data(), static_cast<int>(path.size()), nullptr, 0) != S_OK) {
    return {};
  }
  return path.data();
}

}  // namespace linguarde
