#include "json_line.h"

#include "shown_text.h"
#include "unicode_text.h"

namespace tressol {

using linguarde::unicode::Utf8SequenceAt;

bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceAt(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8SequenceAt(text, i);
    if (length == 0) {
      out += "\\ufffd";
      ++i;
      continue;
    }
    const char c = text[i];
    if (length > 1) {
      out.append(text, i, length);
    } else if (c == '"') {
      out += "\\\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      out += "\\u" + linguarde::Digits<char>(static_cast<unsigned char>(c), 16, 4);
    } else {
      out += c;
    }
    i += length;
  }
  return out + "\"";
}

JsonObject& JsonObject::Field(std::string_view name, const std::string& value) {
  if (!fields_.empty()) fields_ += ',';
  fields_ += JsonString(std::string(name)) + ":" + value;
  return *this;
}

JsonObject& JsonObject::Text(std::string_view name, const std::string& value) {
  return Field(name, JsonString(value));
}

JsonObject& JsonObject::Text(std::string_view name, std::string_view value) {
  return Field(name, JsonString(std::string(value)));
}

JsonObject& JsonObject::Number(std::string_view name, std::uint64_t value) {
  return Field(name, std::to_string(value));
}

JsonObject& JsonObject::Bool(std::string_view name, bool value) {
  return Field(name, value ? "true" : "false");
}

JsonObject& JsonObject::Null(std::string_view name) { return Field(name, "null"); }

JsonObject& JsonObject::Json(std::string_view name, const std::string& value) {
  return Field(name, value);
}

}  // namespace tressol
