#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

// Every owner of a Windows resource that the programs use, one short type a kind: the
// resource is released once, on every path, and none is copied.
namespace linguarde::win32 {

// Kernel APIs disagree on the invalid value: CreateFileW returns INVALID_HANDLE_VALUE,
// most others NULL; a directory search of FindFirstFileExW is ended by FindClose.
struct NullIsInvalid {
  static HANDLE Invalid() noexcept { return nullptr; }
  static BOOL Close(HANDLE handle) noexcept { return CloseHandle(handle); }
};
struct MinusOneIsInvalid {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static BOOL Close(HANDLE handle) noexcept { return CloseHandle(handle); }
};
struct FindSearch {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static BOOL Close(HANDLE search) noexcept { return FindClose(search); }
};

// Owns one kernel handle; move-only so that no handle is closed twice.
template <class Traits>
class BasicUniqueHandle {
 public:
  BasicUniqueHandle() noexcept = default;
  explicit BasicUniqueHandle(HANDLE handle) noexcept : handle_(handle) {}
  BasicUniqueHandle(BasicUniqueHandle&& other) noexcept : handle_(other.Release()) {}
  BasicUniqueHandle& operator=(BasicUniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset(other.Release());
    }
    return *this;
  }
  BasicUniqueHandle(const BasicUniqueHandle&) = delete;
  BasicUniqueHandle& operator=(const BasicUniqueHandle&) = delete;
  ~BasicUniqueHandle() { Reset(); }

  HANDLE Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  HANDLE Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }

  // Closes now and says whether the system could: for a file written through the handle,
  // a failed close may mean data not saved.
  [[nodiscard]] bool Close() noexcept { return Traits::Close(Release()) != FALSE; }

  // Closing keeps the last error, so that a failure can still be reported after cleanup.
  void Reset(HANDLE handle = Traits::Invalid()) noexcept {
    if (handle_ != Traits::Invalid()) {
      const DWORD error = GetLastError();
      Traits::Close(handle_);
      SetLastError(error);
    }
    handle_ = handle;
  }

 private:
  HANDLE handle_ = Traits::Invalid();
};

using UniqueHandle = BasicUniqueHandle<NullIsInvalid>;
using UniqueFileHandle = BasicUniqueHandle<MinusOneIsInvalid>;

using UniqueFindHandle = BasicUniqueHandle<FindSearch>;

// A COM object's reference, which Release gives back.
template <class Interface>
struct ComReleaser {
  void operator()(Interface* object) const noexcept { object->Release(); }
};
template <class Interface>
using UniqueCom = std::unique_ptr<Interface, ComReleaser<Interface>>;

struct LibraryFreer {
  void operator()(HMODULE library) const noexcept { FreeLibrary(library); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer>;

// Memory that a system call allocated with LocalAlloc for its caller.
struct LocalFreer {
  void operator()(void* memory) const noexcept { LocalFree(memory); }
};
template <class T>
using UniqueLocal = std::unique_ptr<T, LocalFreer>;

// A wait registered with the thread pool; unregistered once any callback has run.
struct WaitUnregisterer {
  void operator()(HANDLE wait) const noexcept { UnregisterWaitEx(wait, INVALID_HANDLE_VALUE); }
};
using UniqueWait = std::unique_ptr<void, WaitUnregisterer>;

// The process's environment block as GetEnvironmentStringsW gives it.
struct EnvironmentFreer {
  void operator()(wchar_t* block) const noexcept { FreeEnvironmentStringsW(block); }
};
using UniqueEnvironment = std::unique_ptr<wchar_t, EnvironmentFreer>;

struct WindowDestroyer {
  void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct FontDeleter {
  void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

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
