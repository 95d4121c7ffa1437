#include "target_line.h"

#include "shown_text.h"
#include "unicode_text.h"

namespace linguarde {
namespace {

constexpr wchar_t kEllipsis = L'\u2026';

using unicode::IsLowSurrogate;

}  // namespace

std::wstring FittedLine(HDC dc, const std::wstring& name, const std::wstring& words, SIZE box) {
  const auto fits = [&](const std::wstring& text) {
    RECT needed{0, 0, box.cx, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | kLineFormat);
    return needed.right <= box.cx && needed.bottom <= box.cy;
  };
  const std::wstring separator(kLineSeparator);
  std::wstring line = name + separator + words;
  // The name keeps its start and its end, where the extension is.
  for (std::size_t keep = name.size(); !fits(line);) {
    if (keep == 0) {
      do {
        line.pop_back();
        while (!line.empty() && IsLowSurrogate(line.back())) line.pop_back();
      } while (line.size() > 1 && !fits(line + kEllipsis));
      return line + kEllipsis;
    }
    --keep;
    std::size_t head = keep - keep / 2;
    std::size_t tail = keep / 2;
    if (head > 0 && IsLowSurrogate(name[head])) --head;
    if (tail > 0 && IsLowSurrogate(name[name.size() - tail])) --tail;
    line = name.substr(0, head) + kEllipsis + name.substr(name.size() - tail) + separator + words;
  }
  return line;
}

std::wstring ShownName(const std::wstring& target) {
  const std::size_t end = target.find_last_not_of(L"\\/");
  if (end == std::wstring::npos || target[end] == L':') return Visible(std::wstring_view(target));
  const std::size_t start = target.find_last_of(L"\\/", end);
  return Visible(std::wstring_view(target).substr(start + 1, end - start));
}

}  // namespace linguarde
