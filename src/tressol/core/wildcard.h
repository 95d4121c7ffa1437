#pragma once

#include <string_view>

namespace tressol {

// Whether a file name matches a pattern of the last component of a target, both UTF-8:
// "*" stands for any run of characters, "?" for exactly one, "*.*" for every name, "*." for
// a name without an extension; a final dot may also be absent from the name. Windows' own
// search also matches the 8.3 short names and lets "?" match nothing before a dot, so that
// "*.exe" would find "Setup.exe1" and "Client?.exe" would find "Client.exe": its results go
// through this. `same` says whether two code points are the same letter: the file system's
// own rule, which only the system knows (bytes that are not UTF-8 come as values past
// U+10FFFF).
using SameLetter = bool (*)(char32_t, char32_t);
bool MatchesPattern(std::string_view name, std::string_view pattern, SameLetter same);

}  // namespace tressol
