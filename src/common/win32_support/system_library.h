#pragma once

#include <windows.h>

#include "owners.h"

namespace linguarde::win32 {

// A system DLL loaded at its first use, from the system folder only, never from the
// writable application folder: what it pulls in then costs nothing at start-up.
class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name) : name_(name) {}

  // The function, or nothing where the library or the function is missing.
  template <class Function>
  Function Get(const char* function) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(Address(function)));
  }

 private:
  FARPROC Address(const char* function);

  const wchar_t* name_;
  UniqueModule module_;
};

// COM entered on this thread for the life of the object, through ole32 loaded at its first
// use; left when it ends.
class ComApartment {
 public:
  explicit ComApartment(SystemLibrary& ole32);
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool Entered() const { return leave_ != nullptr; }

 private:
  void(WINAPI* leave_)() = nullptr;
};

}  // namespace linguarde::win32
