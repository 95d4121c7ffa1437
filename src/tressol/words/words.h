#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "catalog_text.h"

// Every text the tool shows, each once: the report, the help, the usage mistakes, the JSON
// lines' words. The report chooses an entry and gives its data; the words are here.
namespace tressol {

enum class Words : std::uint16_t {
  // The report's: settings and effects, failures, verdicts, usage and help.
  FilesCount,

  // A file's report, a folder's end, the summary, the way back, the undo.
  SummaryPlaceholder,

  kEnd
};

using Place = linguarde::catalog::Place<char>;

// The entry with its places filled.
std::string Say(Words entry, std::initializer_list<Place> places = {});
// The form that the count takes, with "{count}" its digits.
std::string Say(Words entry, std::uint64_t count, std::initializer_list<Place> places = {});

// The catalog in its order, for those who read it whole.
const linguarde::catalog::Entry<char>& EntryAt(Words entry);

}  // namespace tressol
