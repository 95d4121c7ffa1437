#pragma once

#include <windows.h>

#include <memory>
#include <string_view>
#include <type_traits>

namespace linguarde {

struct FontDeleter {
  void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
// Owns a GDI font; the window keeps its fonts as long as the controls that show them.
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// A font of a size in hundredths of a point, in pixels at a DPI.
inline UniqueFont CreateFontAtDpi(std::wstring_view face, int hundredthsOfPoint, int weight,
                                  BYTE charSet, UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
  font.lfWeight = weight;
  font.lfCharSet = charSet;
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&font));
}

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

}  // namespace linguarde
