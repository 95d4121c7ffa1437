#include "dropped_path.h"

#include <shlobj.h>

#include <memory>
#include <vector>

namespace linguarde {
namespace {

// From the system folder only, never from the writable application folder.
template <class Function>
Function Load(win32::UniqueModule& library, const wchar_t* name, const char* function) {
  if (!library) library.reset(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  return library ? reinterpret_cast<Function>(
                       reinterpret_cast<void*>(GetProcAddress(library.get(), function)))
                 : nullptr;
}

bool IsShortcut(const std::wstring& path) {
  return path.size() > 4 &&
         CompareStringOrdinal(path.c_str() + path.size() - 4, 4, L".lnk", 4, TRUE) == CSTR_EQUAL;
}

template <class Interface>
struct ComReleaser {
  void operator()(Interface* object) const noexcept { object->Release(); }
};
template <class Interface>
using UniqueCom = std::unique_ptr<Interface, ComReleaser<Interface>>;

}  // namespace

std::wstring DroppedPath::Take(HDROP drop) {
  using QueryFunction = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
  using FinishFunction = void(WINAPI*)(HDROP);
  const auto query = Load<QueryFunction>(shell32_, L"shell32.dll", "DragQueryFileW");
  const auto finish = Load<FinishFunction>(shell32_, L"shell32.dll", "DragFinish");
  std::wstring path;
  if (query != nullptr && query(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    std::vector<wchar_t> name(query(drop, 0, nullptr, 0) + 1, L'\0');
    path.assign(name.data(), query(drop, 0, name.data(), static_cast<UINT>(name.size())));
  }
  if (finish != nullptr) finish(drop);
  if (IsShortcut(path)) {
    const std::wstring target = ShortcutTarget(path);
    if (!target.empty()) return target;
  }
  return path;
}

std::wstring DroppedPath::ShortcutTarget(const std::wstring& shortcut) {
  using InitializeFunction = HRESULT(WINAPI*)(LPVOID, DWORD);
  using CreateFunction = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  using UninitializeFunction = void(WINAPI*)();
  const auto initialize = Load<InitializeFunction>(ole32_, L"ole32.dll", "CoInitializeEx");
  const auto create = Load<CreateFunction>(ole32_, L"ole32.dll", "CoCreateInstance");
  const auto uninitialize = Load<UninitializeFunction>(ole32_, L"ole32.dll", "CoUninitialize");
  if (initialize == nullptr || create == nullptr || uninitialize == nullptr ||
      FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
    return {};
  }
  std::wstring target;
  {
    void* object = nullptr;
    if (SUCCEEDED(
            create(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &object))) {
      const UniqueCom<IShellLinkW> link(static_cast<IShellLinkW*>(object));
      void* persist = nullptr;
      if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, &persist))) {
        const UniqueCom<IPersistFile> file(static_cast<IPersistFile*>(persist));
        std::vector<wchar_t> path(32768, L'\0');
        if (SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)) &&
            link->GetPath(path.data(), static_cast<int>(path.size()), nullptr, 0) == S_OK) {
          target = path.data();
        }
      }
    }
  }
  uninitialize();
  return target;
}

}  // namespace linguarde
