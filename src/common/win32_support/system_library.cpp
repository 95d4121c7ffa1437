#include "system_library.h"

#include <objbase.h>

namespace linguarde::win32 {

FARPROC SystemLibrary::Address(const char* function) {
  if (!module_) module_.Reset(LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  return module_ ? GetProcAddress(module_.Get(), function) : nullptr;
}

ComApartment::ComApartment(SystemLibrary& ole32) {
  using Enter = HRESULT(WINAPI*)(LPVOID, DWORD);
  using Leave = void(WINAPI*)();
  const auto enter = ole32.Get<Enter>("CoInitializeEx");
  const auto leave = ole32.Get<Leave>("CoUninitialize");
  if (enter != nullptr && leave != nullptr &&
      SUCCEEDED(enter(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
    leave_ = leave;
  }
}

ComApartment::~ComApartment() {
  if (leave_ != nullptr) leave_();
}

}  // namespace linguarde::win32
