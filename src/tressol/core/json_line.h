#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tressol {

// A JSON string literal of the text; bytes that are not UTF-8 (a POSIX file name may hold
// any) become U+FFFD, so that every line is valid for a strict parser.
std::string JsonString(const std::string& text);

// Whether the text is well-formed UTF-8 (no overlong form, surrogate or value past U+10FFFF).
bool IsUtf8(const std::string& text);

// One JSON object, its fields in the order given; names come from the contract.
class JsonObject {
 public:
  JsonObject& Text(std::string_view name, const std::string& value);
  JsonObject& Text(std::string_view name, std::string_view value);
  JsonObject& Number(std::string_view name, std::uint64_t value);
  JsonObject& Bool(std::string_view name, bool value);
  JsonObject& Null(std::string_view name);
  // A value already written as JSON: an object or an array.
  JsonObject& Json(std::string_view name, const std::string& value);

  std::string Object() const { return "{" + fields_ + "}"; }
  std::string Line() const { return Object() + "\n"; }

 private:
  JsonObject& Field(std::string_view name, const std::string& value);
  std::string fields_;
};

}  // namespace tressol
