#include "target_words.h"

#include <algorithm>
#include <vector>

#include "json_contract.h"
#include "shown_text.h"
#include "tool_json.h"

namespace linguarde {
namespace {

// A string field's text, and whether there is one.
bool StringOf(const std::vector<json::Field>& fields, std::string_view name, std::string& text) {
  const json::Field* field = json::Find(fields, name);
  if (field == nullptr || field->kind != json::Kind::String) return false;
  text = field->text;
  return true;
}

// A string field's text where it has one, without a copy; empty otherwise.
std::string_view StringOf(const std::vector<json::Field>& fields, std::string_view name) {
  const json::Field* field = json::Find(fields, name);
  return field != nullptr && field->kind == json::Kind::String ? field->text : std::string_view();
}

// The tool's short words where it gives them, else its words.
bool ShortOrWords(const std::vector<json::Field>& fields, std::string& text) {
  return StringOf(fields, contract::kShort, text) || StringOf(fields, contract::kWords, text);
}

// The tool's words in the window's typography.
std::wstring ToolWords(std::string_view words) { return Typeset(Widened(words)); }

// The language libraries that a file's line says are not on this computer, by name, and how
// many.
struct Missing {
  std::wstring names;
  std::size_t count = 0;
};

void TakeLibrary(const std::vector<json::Field>& library, void* context) {
  Missing& missing = *static_cast<Missing*>(context);
  const json::Field* found = json::Find(library, contract::kFound);
  std::string name;
  if (found != nullptr && found->kind == json::Kind::False &&
      StringOf(library, contract::kName, name)) {
    missing.names =
        missing.count++ == 0
            ? Widened(name)
            : Say(WindowWords::ListNext, {{L"list", missing.names}, {L"item", Widened(name)}});
  }
}

// What the window reads of the tool's lines, in one pass for both of its questions.
struct Gathered {
  std::string summary;  // the last summary's short words
  std::string file;     // the first file's words
  std::string message;  // the first failure message's words
  bool journalMissing = false;
  bool journalBusy = false;
  Missing missing;          // the first file's libraries not on this computer
  bool restorable = false;  // the summary's counts: some files come back, none failed
  bool noneFailed = false;
  bool failure = false;  // a file that failed, with its reason
  std::string reason;
  std::string reasonKind;
  std::string path;
  bool unread = false;  // a line that is not blank was not one of the tool's
};

void Take(Gathered& gathered, const std::vector<json::Field>& fields) {
  const std::string_view kind = StringOf(fields, contract::kLine);
  const json::Field* status = json::Find(fields, contract::kStatus);
  if (kind == contract::kSummaryLine) {
    gathered.summary.clear();
    StringOf(fields, contract::kShort, gathered.summary);
    const json::Field* count = json::Find(fields, contract::kRestorableFiles);
    const json::Field* failures = json::Find(fields, contract::kFailedFiles);
    gathered.restorable =
        count != nullptr && count->kind == json::Kind::Number && count->text != "0";
    gathered.noneFailed =
        failures != nullptr && failures->kind == json::Kind::Number && failures->text == "0";
  } else if (kind == contract::kFileLine) {
    const json::Field* libraries = json::Find(fields, contract::kLibraries);
    if (gathered.file.empty() && ShortOrWords(fields, gathered.file) && libraries != nullptr) {
      json::ForEachObjectIn(libraries->text, &TakeLibrary, &gathered.missing);
    }
    if (!gathered.failure && StringOf(fields, contract::kDone) == contract::kFailed) {
      gathered.failure = StringOf(fields, contract::kReason, gathered.reason);
      gathered.reasonKind = StringOf(fields, contract::kReasonKind);
      gathered.path = StringOf(fields, contract::kPath);
    }
  } else if (kind == contract::kMessageLine && status != nullptr && status->text != "0") {
    // A warning (status 0) is not the answer.
    const std::string_view about = StringOf(fields, contract::kKind);
    gathered.journalMissing = gathered.journalMissing || about == contract::kJournalMissing;
    gathered.journalBusy = gathered.journalBusy || about == contract::kJournalBusy;
    if (gathered.message.empty()) ShortOrWords(fields, gathered.message);
  }
}

// Each JSON object of the output, one a line.
Gathered Gather(std::string_view output) {
  Gathered gathered;
  for (std::size_t start = 0; start < output.size();) {
    const std::size_t end = std::min(output.find('\n', start), output.size());
    const std::string_view line = output.substr(start, end - start);
    start = end + 1;
    if (const auto fields = json::ReadObject(line)) {
      Take(gathered, *fields);
    } else {
      gathered.unread =
          gathered.unread || line.find_first_not_of(" \t\r") != std::string_view::npos;
    }
  }
  return gathered;
}

// Undo failures whose cause may go, each said its way: the journal is kept, and asked about
// again at the next reading.
struct Passing {
  std::string_view kind;
  WindowWords entry;
};
constexpr Passing kPassing[] = {
    {"open-elsewhere", WindowWords::LineUndoHeld},
    {"locked", WindowWords::LineUndoHeld},
    {"read-only-attribute", WindowWords::LineUndoReadOnly},
    {"no-write-permission", WindowWords::LineUndoReadOnly},
    {"read-only-disk", WindowWords::LineUndoReadOnly},
    {"administrators-only", WindowWords::LineUndoDenied},
    {"access-denied", WindowWords::LineUndoDenied},
    {"protected-folder", WindowWords::LineUndoDenied},
    {"own-file-denied", WindowWords::LineUndoDenied},
    {"others-file-denied", WindowWords::LineUndoDenied},
};

WindowWords UndoFailure(std::string_view kind) {
  for (const Passing& passing : kPassing) {
    if (passing.kind == kind) return passing.entry;
  }
  return WindowWords::LineUndoInexact;
}

}  // namespace

std::wstring LineText(const Line& line, std::wstring_view name) {
  if (line.entry == WindowWords::kEnd) return {};
  return Say(
      line.entry,
      {{L"file", name}, {L"words", line.words}, {line.place, line.value}, {L"name", line.name}});
}

std::wstring ShownName(std::wstring_view target) {
  const std::size_t end = target.find_last_not_of(L"\\/");
  if (end == std::wstring_view::npos || target[end] == L':') return Visible(target);
  const std::size_t start = target.find_last_of(L"\\/", end);
  return Visible(target.substr(start + 1, end - start));
}

Line TargetLine(std::string_view output) {
  // Several files end with a summary; one file is its own line; without a file, the run's
  // message says why.
  const Gathered answer = Gather(output);
  if (!answer.summary.empty()) return {WindowWords::LineToolWords, ToolWords(answer.summary)};
  if (!answer.file.empty()) {
    // A folder's files each have their own libraries: only a file's line names them.
    const std::size_t missing = answer.missing.count;
    return {missing == 0   ? WindowWords::LineToolWords
            : missing == 1 ? WindowWords::LineLibraryMissing
                           : WindowWords::LineLibrariesMissing,
            ToolWords(answer.file), missing == 1 ? L"library" : L"libraries", answer.missing.names};
  }
  if (!answer.message.empty()) return {WindowWords::LineToolWords, ToolWords(answer.message)};
  return {answer.unread ? WindowWords::LineUnreadable : WindowWords::LineSilent};
}

UndoOffer UndoOfferOf(std::string_view output) {
  const Gathered answer = Gather(output);
  UndoOffer offer;
  offer.offered = answer.restorable && answer.noneFailed;
  offer.journalMissing = answer.journalMissing;
  if (answer.journalMissing) {
    offer.why = WindowWords::LineJournalGone;
  } else if (answer.journalBusy) {
    offer.why = WindowWords::LineJournalBusy;
  } else if (!answer.message.empty()) {
    offer.why = WindowWords::LineUndoRefused;
    offer.reason = ToolWords(answer.message);
  } else if (!offer.offered && answer.failure) {
    offer.why = UndoFailure(answer.reasonKind);
    offer.reason = ToolWords(answer.reason);
    offer.name = ShownName(Widened(answer.path));
  }
  return offer;
}

Line Followed(const Line& line, WindowWords entry, const UndoOffer& offer) {
  // Only the tool's words are followed; the libraries a file lacks give way to what is said
  // of its undo.
  if (line.words.empty()) return line;
  return {entry, line.words, L"reason", offer.reason, offer.name};
}

}  // namespace linguarde
