#pragma once

#include <string>

namespace tressol {

// A JSON string literal of the text; bytes that are not UTF-8 (a POSIX file name may hold
// any) become U+FFFD, so that every line is valid for a strict parser.
std::string JsonString(const std::string& text);

// Whether the text is well-formed UTF-8 (no overlong form, surrogate or value past U+10FFFF).
bool IsUtf8(const std::string& text);

// The bytes in hexadecimal, two lower-case digits each: what a name that is not UTF-8 is.
std::string HexBytes(const std::string& text);

}  // namespace tressol
