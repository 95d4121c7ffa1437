#pragma once

#include <windows.h>

#include <utility>

// Every owner of a Windows resource that the programs use, one short type a kind: the
// resource is released once, on every path, and none is copied.
namespace linguarde::win32 {

// What each kind of resource is, its invalid value and how it is given back. Kernel APIs
// disagree on the invalid value: CreateFileW and FindFirstFileExW return
// INVALID_HANDLE_VALUE, most others NULL.
struct KernelHandle {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static bool Close(Type handle) noexcept { return CloseHandle(handle) != FALSE; }
};
struct FileHandle {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Close(Type handle) noexcept { return CloseHandle(handle) != FALSE; }
};
// A directory search of FindFirstFileExW, ended by FindClose.
struct FindSearch {
  using Type = HANDLE;
  static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Close(Type search) noexcept { return FindClose(search) != FALSE; }
};
// A COM object's reference, which Release gives back.
template <class Interface>
struct ComReference {
  using Type = Interface*;
  static Type Invalid() noexcept { return nullptr; }
  static bool Close(Type object) noexcept {
    object->Release();
    return true;
  }
};
struct Library {
  using Type = HMODULE;
  static Type Invalid() noexcept { return nullptr; }
  static bool Close(Type library) noexcept { return FreeLibrary(library) != FALSE; }
};
// Memory that a system call allocated with LocalAlloc for its caller.
template <class T>
struct LocalMemory {
  using Type = T*;
  static Type Invalid() noexcept { return nullptr; }
  static bool Close(Type memory) noexcept { return LocalFree(memory) == nullptr; }
};
// A wait registered with the thread pool; unregistered once any callback has run.
struct PoolWait {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static bool Close(Type wait) noexcept {
    return UnregisterWaitEx(wait, INVALID_HANDLE_VALUE) != FALSE;
  }
};
// The process's environment block as GetEnvironmentStringsW gives it.
struct EnvironmentBlock {
  using Type = wchar_t*;
  static Type Invalid() noexcept { return nullptr; }
  static bool Close(Type block) noexcept { return FreeEnvironmentStringsW(block) != FALSE; }
};
struct Window {
  using Type = HWND;
  static Type Invalid() noexcept { return nullptr; }
  static bool Close(Type window) noexcept { return DestroyWindow(window) != FALSE; }
};
struct Font {
  using Type = HFONT;
  static Type Invalid() noexcept { return nullptr; }
  static bool Close(Type font) noexcept { return DeleteObject(font) != FALSE; }
};

// Owns one resource; move-only so that none is given back twice.
template <class Traits>
class Unique {
 public:
  using Type = typename Traits::Type;

  Unique() noexcept = default;
  explicit Unique(Type value) noexcept : value_(value) {}
  Unique(Unique&& other) noexcept : value_(other.Release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { Reset(); }

  Type Get() const noexcept { return value_; }
  Type operator->() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::Invalid(); }

  Type Release() noexcept { return std::exchange(value_, Traits::Invalid()); }

  // Gives it back now and says whether the system could: for a file written through the
  // handle, a failed close may mean data not saved.
  [[nodiscard]] bool Close() noexcept {
    const Type value = Release();
    return value != Traits::Invalid() && Traits::Close(value);
  }

  // Giving back keeps the last error, so that a failure can still be reported after.
  void Reset(Type value = Traits::Invalid()) noexcept {
    if (value_ != Traits::Invalid()) {
      const DWORD error = GetLastError();
      Traits::Close(value_);
      SetLastError(error);
    }
    value_ = value;
  }

 private:
  Type value_ = Traits::Invalid();
};

using UniqueHandle = Unique<KernelHandle>;
using UniqueFileHandle = Unique<FileHandle>;
using UniqueFindHandle = Unique<FindSearch>;
template <class Interface>
using UniqueCom = Unique<ComReference<Interface>>;
using UniqueModule = Unique<Library>;
template <class T>
using UniqueLocal = Unique<LocalMemory<T>>;
using UniqueWait = Unique<PoolWait>;
using UniqueEnvironment = Unique<EnvironmentBlock>;
using UniqueWindow = Unique<Window>;
using UniqueFont = Unique<Font>;

// A window's device context, released at the end of the scope.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() { ReleaseDC(window_, dc_); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context until the end of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace linguarde::win32
