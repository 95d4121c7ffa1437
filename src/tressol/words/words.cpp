#include "words.h"

#include <vector>

namespace tressol {
namespace {

using linguarde::catalog::Entry;

struct Row {
  Words id;
  Entry<char> text;
};

// clang-format off
constexpr Row kRows[] = {
    // The report's.
    {Words::FilesCount, {"{count} fichier", "{count} fichiers"}},

    // A file's report, a folder's end, the summary, the way back, the undo.
    {Words::SummaryPlaceholder, {"", nullptr}},
};
// clang-format on

constexpr bool InOrder() {
  std::size_t i = 0;
  for (const Row& row : kRows) {
    if (static_cast<std::size_t>(row.id) != i++) return false;
  }
  return i == static_cast<std::size_t>(Words::kEnd);
}
static_assert(InOrder(), "the rows follow the entries, one each");

template <typename Places>
std::string Rendered(const char* text, const Places& places) {
  std::string filled = linguarde::catalog::Fill<char>(text, places);
#ifdef TRESSOL_PSEUDO_LOCALE
  filled =
      linguarde::catalog::Pseudo(std::move(filled), std::char_traits<char>::length(text),
                                 linguarde::catalog::kPseudoStart, linguarde::catalog::kPseudoEnd);
#endif
  return filled;
}

}  // namespace

const Entry<char>& EntryAt(Words entry) { return kRows[static_cast<std::size_t>(entry)].text; }

std::string Say(Words entry, std::initializer_list<Place> places) {
  return Rendered(EntryAt(entry).one, places);
}

std::string Say(Words entry, std::uint64_t count, std::initializer_list<Place> places) {
  const Entry<char>& text = EntryAt(entry);
  const std::string digits = std::to_string(count);
  std::vector<Place> all(places);
  all.push_back({"count", digits});
  const bool singular = linguarde::catalog::TakesSingular(count) || text.other == nullptr;
  return Rendered(singular ? text.one : text.other, all);
}

}  // namespace tressol
