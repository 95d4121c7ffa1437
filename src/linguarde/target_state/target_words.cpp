#include "target_words.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "json_contract.h"
#include "tool_json.h"

namespace linguarde {
namespace {

std::optional<std::string> StringOf(const std::vector<json::Field>& fields, std::string_view name) {
  const json::Field* field = json::Find(fields, name);
  if (field == nullptr || field->kind != json::Kind::String) return std::nullopt;
  return field->text;
}

// The tool's short words where it gives them, else its words.
std::optional<std::string> ShortOrWords(const std::vector<json::Field>& fields) {
  std::optional<std::string> words = StringOf(fields, contract::kShort);
  return words ? words : StringOf(fields, contract::kWords);
}

// Each JSON object of the output, one a line; whether a line that is not blank was not one.
template <typename Visit>
bool ForEachObject(std::string_view output, Visit visit) {
  bool unread = false;
  for (std::size_t start = 0; start < output.size();) {
    const std::size_t end = std::min(output.find('\n', start), output.size());
    const std::string_view line = output.substr(start, end - start);
    start = end + 1;
    if (const auto fields = json::ReadObject(line)) {
      visit(*fields, StringOf(*fields, contract::kLine));
    } else {
      unread = unread || line.find_first_not_of(" \t\r") != std::string_view::npos;
    }
  }
  return unread;
}

}  // namespace

std::string TargetWords(std::string_view output) {
  // Several files end with a summary; one file is its own line; without a file, the run's
  // message says why. A warning (status 0) is not the answer.
  std::optional<std::string> summary;
  std::optional<std::string> file;
  std::optional<std::string> message;
  const bool unread = ForEachObject(
      output, [&](const std::vector<json::Field>& fields, const std::optional<std::string>& kind) {
        const json::Field* status = json::Find(fields, contract::kStatus);
        if (kind == contract::kSummaryLine) {
          summary = StringOf(fields, contract::kShort);
        } else if (kind == contract::kFileLine && !file) {
          file = ShortOrWords(fields);
        } else if (kind == contract::kMessageLine && !message && status != nullptr &&
                   status->text != "0") {
          message = ShortOrWords(fields);
        }
      });
  for (const std::optional<std::string>* answer : {&summary, &file, &message}) {
    if (*answer && !(*answer)->empty()) return **answer;
  }
  return unread ? "réponse de l'outil illisible" : "l'outil n'a rien répondu";
}

UndoOffer UndoOfferOf(std::string_view output) {
  std::optional<std::string> restorable;
  std::optional<std::string> failed;
  std::optional<std::string> reason;
  std::optional<std::string> refusal;
  bool journalMissing = false;
  ForEachObject(
      output, [&](const std::vector<json::Field>& fields, const std::optional<std::string>& kind) {
        const json::Field* status = json::Find(fields, contract::kStatus);
        if (kind == contract::kMessageLine && status != nullptr && status->text != "0") {
          journalMissing = journalMissing || StringOf(fields, contract::kKind) ==
                                                 std::string(contract::kJournalMissing);
          if (!refusal) refusal = ShortOrWords(fields);
        } else if (kind == contract::kSummaryLine) {
          const json::Field* count = json::Find(fields, contract::kRestorableFiles);
          const json::Field* failures = json::Find(fields, contract::kFailedFiles);
          if (count != nullptr && count->kind == json::Kind::Number) restorable = count->text;
          if (failures != nullptr && failures->kind == json::Kind::Number) failed = failures->text;
        } else if (kind == contract::kFileLine && !reason &&
                   StringOf(fields, contract::kDone) == contract::kFailed) {
          reason = StringOf(fields, contract::kReason);
        }
      });
  UndoOffer offer;
  offer.offered = restorable && *restorable != "0" && failed == std::string("0");
  offer.journalMissing = journalMissing;
  if (journalMissing) {
    offer.why = "journal de la dernière modification introuvable : pas d'annulation";
  } else if (refusal) {
    offer.why = "pas d'annulation pour l'instant : " + *refusal;
  } else if (!offer.offered && reason) {
    offer.why = "pas d'annulation exacte : " + *reason;
  }
  return offer;
}

}  // namespace linguarde
