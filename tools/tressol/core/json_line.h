#pragma once

#include <string>

namespace tressol {

// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& text);

}  // namespace tressol
