#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How the report's text becomes the console's lines: names kept whole, lines wrapped where
// they are shown, French typography.
namespace tressol {

// A name within a sentence of the report: shown (linguarde::Visible) between two marks that
// Visible never lets through raw, so that its bounds come from the sentence's making and not
// from its text, which may hold « », spaces or our own words. Laid keeps it whole and removes
// the marks; every other way out of the report removes them with Unmarked.
inline constexpr char kNameStart = '\x01';
inline constexpr char kNameEnd = '\x02';
// Around the indent of a line's continuations, at the line's start.
inline constexpr char kIndentMark = '\x03';

std::string Named(std::string_view name);
// A command to be copied, already quoted for its shell: kept whole and as it is, like a name.
std::string Kept(std::string_view command);
std::string Unmarked(std::string_view text);

// A line to be wrapped where it is shown, its next lines indented so; ended by a line end.
std::string Wrap(const std::string& line, const std::string& indent);

// The text as a console of that many columns shows it: each line broken at spaces into lines
// of at most width - 1 characters (the last column would push the cursor to a line of its
// own), never inside a word or a name; one wider than that (a path) has a line of its own.
// Only the lines that Wrap marked, which continue at its indent; the others are kept whole
// (a command to be copied). Width 0: a file or a pipe, where nothing is wrapped. Typeset for a
// console, outside names and commands. No mark is left.
std::string Laid(std::string_view text, std::size_t width, bool typeset = false);

// The text as a French reader expects it in a console, by the rule both programs share
// (catalog_text.h). A name and a command keep their own spaces: a path changed there is
// another path.
std::string Typeset(std::string_view text);

}  // namespace tressol
