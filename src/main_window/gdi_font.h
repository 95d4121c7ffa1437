#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace linguarde {

struct FontDeleter {
  void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
// Owns a GDI font; the window keeps its fonts as long as the controls that show them.
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

}  // namespace linguarde
