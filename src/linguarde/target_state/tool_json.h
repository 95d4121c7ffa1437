#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Just enough JSON to read the lines that the localisation tool writes with --json: the
// top-level fields of an object, nested values checked and passed over.
namespace linguarde::json {

enum class Kind { String, True, False, Null, Number, Nested };

struct Field {
  std::string name;
  Kind kind;
  std::string text;  // a string's value, in UTF-8; a nested value's JSON
};

// The fields of one JSON object that fills the line; nothing when the line is not one (a
// message, or output cut short).
std::optional<std::vector<Field>> ReadObject(std::string_view line);

// Each object of a JSON array of objects in turn, its fields, as far as the array is one.
using ObjectVisit = void (*)(const std::vector<Field>& fields, void* context);
void ForEachObjectIn(std::string_view array, ObjectVisit visit, void* context);

// The field of that name, if any.
const Field* Find(const std::vector<Field>& fields, std::string_view name);

}  // namespace linguarde::json
