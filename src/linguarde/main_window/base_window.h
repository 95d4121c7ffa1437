#pragma once

#include <windows.h>

#include <exception>

namespace linguarde {

// A window whose state is a C++ object: the object rides in the window's user data from
// WM_NCCREATE on, and every message goes to its HandleMessage; what it throws, to its
// OnUnexpectedFailure.
template <class Derived>
class BaseWindow {
 public:
  HWND Handle() const { return hwnd_; }

 protected:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      self = static_cast<Derived*>(create->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) {
      return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    // An exception must not cross the system's frames, which would end the program without
    // a word: the window says it and closes, or, already closing, ends.
    try {
      result = self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception&) {
      if (message == WM_DESTROY || message == WM_NCDESTROY) {
        PostQuitMessage(1);
      } else {
        self->OnUnexpectedFailure();
      }
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace linguarde
