#pragma once

// How both programs split a command line: as the C runtime splits a program's arguments,
// so that a line built by cmd, PowerShell or a script reads the same here. Portable, for
// narrow (UTF-8) and wide text alike.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace linguarde::arguments {

template <class Char>
bool IsBlank(Char c) {
  return c == Char(' ') || c == Char('\t');
}

template <class Char>
std::size_t SkipBlanks(std::basic_string_view<Char> line, std::size_t i) {
  while (i < line.size() && IsBlank(line[i])) ++i;
  return i;
}

// The argument that starts at i; i ends just after it.
template <class Char>
std::basic_string<Char> ReadArgument(std::basic_string_view<Char> line, std::size_t& i) {
  std::basic_string<Char> word;
  bool quoted = false;
  for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
    std::size_t slashes = 0;
    while (i < line.size() && line[i] == Char('\\')) {
      ++slashes;
      ++i;
    }
    if (i < line.size() && line[i] == Char('"')) {
      // 2n backslashes and a quote: n backslashes, the quote toggles; 2n+1: a literal quote.
      word.append(slashes / 2, Char('\\'));
      if (slashes % 2 == 1) {
        word += Char('"');
      } else if (quoted && i + 1 < line.size() && line[i + 1] == Char('"')) {
        word += Char('"');
        ++i;
      } else {
        quoted = !quoted;
      }
    } else {
      word.append(slashes, Char('\\'));
      if (i >= line.size() || (!quoted && IsBlank(line[i]))) break;
      word += line[i];
    }
  }
  return word;
}

template <class Char>
std::vector<std::basic_string<Char>> SplitArguments(std::basic_string_view<Char> line) {
  std::vector<std::basic_string<Char>> words;
  for (std::size_t i = SkipBlanks(line, 0); i < line.size(); i = SkipBlanks(line, i)) {
    words.push_back(ReadArgument(line, i));
  }
  return words;
}

// What follows the program's name, which the runtime reads by simpler rules: up to the
// first blank outside quotes, each quote toggling, with no escapes; so that a name with a
// quoted part ("C:\Mes Outils"\Tressol.exe), as a prompt passes it, ends where it ends.
template <class Char>
std::basic_string_view<Char> CommandTail(std::basic_string_view<Char> line) {
  bool quoted = false;
  std::size_t i = 0;
  for (; i < line.size() && (quoted || !IsBlank(line[i])); ++i) {
    if (line[i] == Char('"')) quoted = !quoted;
  }
  return line.substr(i);
}

// A word quoted so that ReadArgument gives it back whole, as one argument: between quotes,
// each quote escaped, and the backslashes before a quote or the closing one doubled.
template <class Char>
std::basic_string<Char> QuotedArgument(std::basic_string_view<Char> word) {
  std::basic_string<Char> out(1, Char('"'));
  std::size_t slashes = 0;
  for (const Char c : word) {
    if (c == Char('\\')) {
      ++slashes;
      continue;
    }
    out.append(c == Char('"') ? 2 * slashes + 1 : slashes, Char('\\'));
    slashes = 0;
    out += c;
  }
  out.append(2 * slashes, Char('\\'));
  return out + Char('"');
}

}  // namespace linguarde::arguments
