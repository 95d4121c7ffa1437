#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace linguarde {

// Between the name and the words; the sign never starts a line.
inline constexpr std::wstring_view kLineSeparator = L"\u00A0: ";

// How Label2 draws its text: wrapped at its width.
inline constexpr UINT kLineFormat = DT_WORDBREAK | DT_NOPREFIX;

// "name : words" as it fits a box with the DC's font: the name shortened in its middle with
// "…" as far as needed, and where even the words alone do not fit, the words cut at the
// end with "…".
std::wstring FittedLine(HDC dc, const std::wstring& name, const std::wstring& words, SIZE box);

// The name a target is shown by: its last component, or the whole text for a root; what
// would act on the text around it shown escaped.
std::wstring ShownName(const std::wstring& target);

}  // namespace linguarde
