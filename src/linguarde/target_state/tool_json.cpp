#include "tool_json.h"

#include "shown_text.h"
#include "unicode_text.h"

#include <utility>

namespace linguarde::json {
namespace {

// Deeper than the tool ever writes; a bound, so that no input exhausts the stack.
constexpr int kDeepest = 16;

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ == text_.size();
  }

  // An object; its fields go to `fields` when given.
  bool Object(std::vector<Field>* fields, int depth) {
    if (depth > kDeepest || !Take('{')) return false;
    if (Take('}')) return true;
    do {
      Field field{{}, Kind::Nested, {}};
      if (!String(&field.name) || !Take(':') || !Value(field, depth)) return false;
      if (fields != nullptr) fields->push_back(std::move(field));
    } while (Take(','));
    return Take('}');
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n')) {
      ++at_;
    }
  }

  bool Take(char c) {
    SkipBlanks();
    if (at_ == text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  bool Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }

  bool Value(Field& field, int depth) {
    SkipBlanks();
    if (at_ == text_.size()) return false;
    const char c = text_[at_];
    if (c == '"') {
      field.kind = Kind::String;
      return String(&field.text);
    }
    // A nested value keeps its text, for a reader that wants it.
    if (c == '{' || c == '[') {
      const std::size_t start = at_;
      const bool read = c == '{' ? Object(nullptr, depth + 1) : Array(depth + 1);
      field.text = text_.substr(start, at_ - start);
      return read;
    }
    for (const auto& [word, kind] : {std::pair{"true", Kind::True}, std::pair{"false", Kind::False},
                                     std::pair{"null", Kind::Null}}) {
      if (Word(word)) {
        field.kind = kind;
        return true;
      }
    }
    const std::size_t start = at_;
    while (at_ < text_.size() &&
           std::string_view("+-.0123456789eE").find(text_[at_]) != std::string_view::npos) {
      ++at_;
    }
    field.kind = Kind::Number;
    field.text = text_.substr(start, at_ - start);
    return at_ > start;
  }

 public:
  // An array of objects, each object's fields handed on in turn.
  bool Objects(ObjectVisit visit, void* context) {
    if (!Take('[')) return false;
    if (Take(']')) return true;
    do {
      std::vector<Field> fields;
      if (!Object(&fields, 1)) return false;
      visit(fields, context);
    } while (Take(','));
    return Take(']');
  }

 private:
  bool Array(int depth) {
    if (depth > kDeepest || !Take('[')) return false;
    if (Take(']')) return true;
    do {
      Field ignored{{}, Kind::Nested, {}};
      if (!Value(ignored, depth)) return false;
    } while (Take(','));
    return Take(']');
  }

  bool Hex4(char32_t& value) {
    if (text_.size() - at_ < 4) return false;
    // JSON allows either case in an escape.
    const auto digits = HexNumber<HexLetters::Either>(std::string_view(text_.data() + at_, 4));
    if (!digits) return false;
    at_ += 4;
    value = static_cast<char32_t>(*digits);
    return true;
  }

  bool String(std::string* out) {
    if (!Take('"')) return false;
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        *out += c;
        continue;
      }
      if (at_ == text_.size()) return false;
      const char escaped = text_[at_++];
      const std::string_view from = "\"\\/bfnrt";
      const std::string_view to = "\"\\/\b\f\n\r\t";
      if (const std::size_t k = from.find(escaped); k != std::string_view::npos) {
        *out += to[k];
        continue;
      }
      char32_t unit = 0;
      if (escaped != 'u' || !Hex4(unit)) return false;
      // A pair of surrogates is one character; half of one alone stands for none.
      const std::size_t next = at_;
      char32_t low = 0;
      if (unicode::IsHighSurrogate(unit) && Word("\\u") && Hex4(low) &&
          unicode::IsLowSurrogate(low)) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      } else if (unicode::IsHighSurrogate(unit) || unicode::IsLowSurrogate(unit)) {
        at_ = next;
        unit = 0xFFFD;
      }
      unicode::AppendUtf8(*out, unit);
    }
    return false;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

std::optional<std::vector<Field>> ReadObject(std::string_view line) {
  std::vector<Field> fields;
  Reader reader(line);
  if (!reader.Object(&fields, 0) || !reader.AtEnd()) return std::nullopt;
  return fields;
}

void ForEachObjectIn(std::string_view array, ObjectVisit visit, void* context) {
  Reader(array).Objects(visit, context);
}

const Field* Find(const std::vector<Field>& fields, std::string_view name) {
  for (const Field& field : fields) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

}  // namespace linguarde::json
