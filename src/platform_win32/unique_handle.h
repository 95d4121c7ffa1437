#pragma once

#include <windows.h>

#include <memory>
#include <utility>

namespace linguarde::win32 {

// Kernel APIs disagree on the invalid value: CreateFileW returns INVALID_HANDLE_VALUE,
// most others NULL.
struct NullIsInvalid {
  static HANDLE Invalid() noexcept { return nullptr; }
};
struct MinusOneIsInvalid {
  static HANDLE Invalid() noexcept { return INVALID_HANDLE_VALUE; }
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

  // Closing keeps the last error, so that a failure can still be reported after cleanup.
  void Reset(HANDLE handle = Traits::Invalid()) noexcept {
    if (handle_ != Traits::Invalid()) {
      const DWORD error = GetLastError();
      CloseHandle(handle_);
      SetLastError(error);
    }
    handle_ = handle;
  }

 private:
  HANDLE handle_ = Traits::Invalid();
};

using UniqueHandle = BasicUniqueHandle<NullIsInvalid>;
using UniqueFileHandle = BasicUniqueHandle<MinusOneIsInvalid>;

// A directory search of FindFirstFileExW, which FindClose ends.
struct FindCloser {
  void operator()(HANDLE search) const noexcept { FindClose(search); }
};
using UniqueFindHandle = std::unique_ptr<void, FindCloser>;

}  // namespace linguarde::win32
