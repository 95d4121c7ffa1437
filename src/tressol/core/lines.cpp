#include "lines.h"

#include <algorithm>
#include <vector>

#include "catalog_text.h"
#include "shown_text.h"
#include "unicode_text.h"

namespace tressol {

std::string Named(std::string_view name) {
  std::string named = kNameStart + linguarde::Visible(name);
  return named += kNameEnd;
}

std::string Kept(std::string_view command) {
  std::string kept = kNameStart + std::string(command);
  return kept += kNameEnd;
}

std::string Unmarked(std::string_view text) {
  const auto isMark = [](char c) { return c == kNameStart || c == kNameEnd || c == kIndentMark; };
  std::string plain;
  plain.reserve(text.size());
  bool inIndent = false;
  // The text between marks, a run at a time.
  for (auto start = text.begin();;) {
    const auto mark = std::find_if(start, text.end(), isMark);
    if (!inIndent) plain.append(start, mark);
    if (mark == text.end()) return plain;
    if (*mark == kIndentMark) inIndent = !inIndent;
    start = mark + 1;
  }
}

std::string Wrap(const std::string& line, const std::string& indent) {
  std::string wrapped;
  wrapped.reserve(indent.size() + line.size() + 3);
  wrapped.append(1, kIndentMark).append(indent).append(1, kIndentMark).append(line) += '\n';
  return wrapped;
}

namespace {

// A line's words: cut at its spaces, never within a name; an opening « stays with the word
// after it.
std::vector<std::string> WordsOf(std::string_view line) {
  std::vector<std::string> words(1);
  bool inName = false;
  for (const char c : line) {
    inName = c == kNameStart || (inName && c != kNameEnd);
    if (c != ' ' || inName || words.back() == "«") {
      words.back() += c;
    } else {
      words.emplace_back();
    }
  }
  return words;
}

std::string LaidLine(std::string_view line, std::size_t width, bool typeset) {
  const std::string typesetLine = typeset ? Typeset(line) : std::string();
  std::string_view marked = typeset ? std::string_view(typesetLine) : line;
  // A line that Wrap did not mark is kept whole: a command to be copied, a file of a folder.
  if (marked.empty() || marked.front() != kIndentMark) return Unmarked(marked);
  const std::size_t end = marked.find(kIndentMark, 1);
  const std::string indent(marked.substr(1, end - 1));
  marked.remove_prefix(end + 1);
  const auto length = linguarde::unicode::CharacterCount;
  const std::string plain = Unmarked(marked);
  const std::size_t start = plain.find_first_not_of(' ');
  // Most lines fit: one for each file of a folder.
  if (width == 0 || start == std::string::npos || length(plain) < width) return plain;
  const std::string lineIndent = plain.substr(0, start);
  std::string text;
  std::string current = lineIndent;
  for (const std::string& word : WordsOf(marked.substr(marked.find_first_not_of(' ')))) {
    const std::string shown = Unmarked(word);
    const bool first = current == lineIndent || current == indent;
    // A sign stays with the word before it: no line starts with ":" or ";". A name is no sign,
    // whatever it starts with.
    const bool sign =
        word.rfind(kNameStart, 0) != 0 &&
        (shown.rfind("»", 0) == 0 ||
         (!shown.empty() && std::string_view(":;!?").find(shown[0]) != std::string_view::npos));
    if (!first && !sign && length(current) + 1 + length(shown) >= width) {
      text += current + "\n";
      current = indent + shown;
    } else {
      current += (first ? "" : " ") + shown;
    }
  }
  return text + current;
}

}  // namespace

std::string Laid(std::string_view text, std::size_t width, bool typeset) {
  if (width == 0 && !typeset) return Unmarked(text);
  std::string laid;
  laid.reserve(text.size() + text.size() / 16);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    const std::size_t stop = end == std::string_view::npos ? text.size() : end;
    laid += LaidLine(text.substr(start, stop - start), width, typeset);
    if (end != std::string_view::npos) laid += '\n';
    start = stop + 1;
  }
  return laid;
}

std::string Typeset(std::string_view text) {
  return linguarde::catalog::Typeset(text, kNameStart, kNameEnd);
}

}  // namespace tressol
