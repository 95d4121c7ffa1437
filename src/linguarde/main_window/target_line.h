#pragma once

#include <windows.h>

#include <string>

#include "target_words.h"

namespace linguarde {

// How Label2 draws its text: wrapped at its width.
inline constexpr UINT kLineFormat = DT_WORDBREAK | DT_NOPREFIX;

// The line as it fits a box with the DC's font: a long name shortened in its middle with
// "…" as far as needed, keeping its start and its extension so that the file is still told;
// where even then the line does not fit, it is cut at the end with "…".
std::wstring FittedLine(HDC dc, const Line& line, const std::wstring& name, SIZE box);

}  // namespace linguarde
