#include "target_words.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "tool_json.h"

namespace linguarde {
namespace {

std::string Count(std::size_t n, const char* one, const char* several) {
  return std::to_string(n) + " " + (n > 1 ? several : one);
}

std::string_view Trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
}

std::string StringOf(const std::vector<json::Field>& fields, std::string_view name) {
  const json::Field* field = json::Find(fields, name);
  return field != nullptr && field->kind == json::Kind::String ? field->text : std::string();
}

// A folder's or a pattern's files, as the report's summary counts them.
std::string FolderWords(const std::vector<std::vector<json::Field>>& files) {
  std::vector<std::pair<std::string, std::size_t>> effects;  // in the order found
  std::size_t vb6 = 0;
  std::size_t others = 0;
  std::size_t failed = 0;
  for (const auto& file : files) {
    const json::Field* isVb6 = json::Find(file, "vb6");
    if (StringOf(file, "done") == "failed") {
      ++failed;
    } else if (isVb6 == nullptr || isVb6->kind != json::Kind::True) {
      ++others;
    } else {
      ++vb6;
      const std::string effect = StringOf(file, "effect");
      auto known = effects.begin();
      while (known != effects.end() && known->first != effect) ++known;
      if (known == effects.end()) {
        effects.emplace_back(effect, 1);
      } else {
        ++known->second;
      }
    }
  }
  std::string words = vb6 == 0 ? "aucun fichier VB6" : Count(vb6, "fichier VB6", "fichiers VB6");
  for (std::size_t i = 0; i < effects.size(); ++i) {
    words += i == 0 ? " (" : " ; ";
    if (effects.size() > 1) words += std::to_string(effects[i].second) + " : ";
    words += effects[i].first + (i + 1 == effects.size() ? ")" : "");
  }
  if (others > 0) words += ", " + std::to_string(others) + " non VB6";
  if (failed > 0) words += ", " + std::to_string(failed) + " en échec";
  return words;
}

}  // namespace

std::string TargetWords(std::string_view target, std::string_view output) {
  std::vector<std::vector<json::Field>> files;
  std::string message;  // the rest: what the tool said without a file
  for (std::size_t start = 0; start < output.size();) {
    const std::size_t end = std::min(output.find('\n', start), output.size());
    const std::string_view line = Trimmed(output.substr(start, end - start));
    start = end + 1;
    if (auto fields = json::ReadObject(line)) {
      files.push_back(std::move(*fields));
    } else if (!line.empty()) {
      // A message wraps in the console: its lines join again.
      message += (message.empty() ? "" : " ") + std::string(line);
    }
  }
  if (files.size() == 1 && StringOf(files[0], "path") == target) {
    const std::string words = StringOf(files[0], "words");
    return words.empty() ? "réponse de l'outil illisible" : words;
  }
  if (!files.empty()) return FolderWords(files);
  constexpr std::string_view kToolName = "Tressol : ";
  if (message.rfind(kToolName, 0) == 0) message.erase(0, kToolName.size());
  if (!message.empty() && message.back() == '.') message.pop_back();
  return message.empty() ? "l'outil n'a rien répondu" : message;
}

}  // namespace linguarde
