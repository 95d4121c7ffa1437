#include "target_line.h"

#include <algorithm>

#include "unicode_text.h"

namespace linguarde {
namespace {

constexpr wchar_t kEllipsis = L'\u2026';

using unicode::IsLowSurrogate;

// How many characters end the name from its extension's dot, short ones only: a dot far
// from the end is part of the name.
std::size_t ExtensionLength(const std::wstring& name) {
  const std::size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos || dot == 0 || name.size() - dot > 8) return 0;
  return name.size() - dot;
}

}  // namespace

std::wstring FittedLine(HDC dc, const Line& line, const std::wstring& name, SIZE box) {
  const auto fits = [&](const std::wstring& text) {
    RECT needed{0, 0, box.cx, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | kLineFormat);
    return needed.right <= box.cx && needed.bottom <= box.cy;
  };
  // The name keeps its start and its end, where the extension is, and never less than a
  // few characters and its extension: a short name is not shortened at all.
  const std::size_t least = std::min(name.size(), ExtensionLength(name) + 6);
  const std::size_t extension = ExtensionLength(name);
  std::wstring text = LineText(line, name);
  for (std::size_t keep = name.size(); !fits(text);) {
    if (keep <= least) {
      do {
        text.pop_back();
        while (!text.empty() && IsLowSurrogate(text.back())) text.pop_back();
      } while (text.size() > 1 && !fits(text + kEllipsis));
      return text + kEllipsis;
    }
    --keep;
    std::size_t tail = std::max(keep / 2, std::min(extension, keep - 1));
    std::size_t head = keep - tail;
    if (head > 0 && IsLowSurrogate(name[head])) --head;
    if (tail > 0 && IsLowSurrogate(name[name.size() - tail])) --tail;
    text = LineText(line, name.substr(0, head) + kEllipsis + name.substr(name.size() - tail));
  }
  return text;
}

}  // namespace linguarde
