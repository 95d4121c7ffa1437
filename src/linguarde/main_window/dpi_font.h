#pragma once

#include <windows.h>

#include <string_view>

#include "owners.h"

namespace linguarde {

// A font of a size in hundredths of a point, in pixels at a DPI.
inline win32::UniqueFont CreateFontAtDpi(std::wstring_view face, int hundredthsOfPoint, int weight,
                                         BYTE charSet, UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
  font.lfWeight = weight;
  font.lfCharSet = charSet;
  face.copy(font.lfFaceName, LF_FACESIZE - 1);
  return win32::UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace linguarde
