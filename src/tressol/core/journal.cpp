#include "journal.h"

#include <algorithm>
#include <chrono>

#include "tool_error.h"
#include "shown_text.h"

namespace tressol {
namespace {

constexpr char kHeader1[] = "tressol-journal 1";
constexpr char kHeader2[] = "tressol-journal 2 run=";
constexpr char kCrc[] = " crc=";

std::uint32_t Crc32(const std::string& text) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : text) {
    crc ^= static_cast<std::uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string HexOf(const std::vector<std::uint8_t>& bytes) {
  return linguarde::HexBytes(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string HexOf(const std::string& text) { return linguarde::HexBytes(text); }

std::string Number(std::uint64_t value, bool hex = false) {
  return hex ? linguarde::Digits<char>(value, 16, 8) : linguarde::Digits<char>(value);
}

// A record: its words, then the CRC-32 of all that comes before it on the line.
std::string Sealed(const std::string& words) {
  return words + kCrc + Number(Crc32(words), true) + "\n";
}

// Fields are read as written: hexadecimal in lower case only.
std::optional<std::vector<std::uint8_t>> BytesOf(const std::string& hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = linguarde::HexDigit<linguarde::HexLetters::Lower>(hex[i]);
    const int low = linguarde::HexDigit<linguarde::HexLetters::Lower>(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return bytes;
}

std::optional<std::uint64_t> NumberOf(const std::string& text, int base = 10) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    const int digit = linguarde::HexDigit<linguarde::HexLetters::Lower>(c);
    if (digit < 0 || digit >= base ||
        value > (~std::uint64_t{0} - static_cast<unsigned>(digit)) / static_cast<unsigned>(base)) {
      return std::nullopt;
    }
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  return value;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> words;
  std::size_t start = 0;
  for (std::size_t at = text.find(separator); at != std::string::npos;
       at = text.find(separator, start)) {
    words.push_back(text.substr(start, at - start));
    start = at + 1;
  }
  words.push_back(text.substr(start));
  return words;
}

// The record's words where its seal is whole and right; nothing for a cut record.
std::optional<std::vector<std::string>> Unsealed(const std::string& line) {
  const std::size_t seal = line.rfind(kCrc);
  if (seal == std::string::npos) return std::nullopt;
  const std::string words = line.substr(0, seal);
  const std::string crc = line.substr(seal + sizeof kCrc - 1);
  if (crc.size() != 8 || NumberOf(crc, 16) != Crc32(words)) return std::nullopt;
  return Split(words, ' ');
}

// The value of a word "key=value"; nothing for another key.
std::optional<std::string> ValueOf(const std::string& word, const std::string& key) {
  if (word.size() <= key.size() || word.compare(0, key.size(), key) != 0 ||
      word[key.size()] != '=') {
    return std::nullopt;
  }
  return word.substr(key.size() + 1);
}

bool IsRunId(const std::string& text) {
  return text.size() == 16 && NumberOf(text, 16).has_value();
}

std::optional<JournalChange> ParseChange(const std::vector<std::string>& words, bool version2) {
  if (words.size() < 7) return std::nullopt;
  JournalChange change;
  const auto sequence = NumberOf(words[1]);
  if (!sequence) return std::nullopt;
  change.sequence = *sequence;
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::size_t equals = words[i].find('=');
    if (equals == std::string::npos) return std::nullopt;
    const std::string key = words[i].substr(0, equals);
    const std::string value = words[i].substr(equals + 1);
    if (key == "digest" && version2) {
      const auto digest = value.size() == 16 ? NumberOf(value, 16) : std::nullopt;
      if (!digest) return std::nullopt;
      change.digest = *digest;
    } else if (key == "path" || key == "id") {
      const auto bytes = BytesOf(value);
      if (!bytes) return std::nullopt;
      (key == "path" ? change.path : change.identity).assign(bytes->begin(), bytes->end());
    } else if (key == "size" || key == "sumat") {
      const auto number = NumberOf(value);
      if (!number) return std::nullopt;
      (key == "size" ? change.size : change.checksumOffset) = *number;
    } else if (key == "sums") {
      if (value == "-") continue;
      const std::vector<std::string> sums = Split(value, ':');
      const auto before = sums.size() == 2 ? NumberOf(sums[0], 16) : std::nullopt;
      const auto after = sums.size() == 2 ? NumberOf(sums[1], 16) : std::nullopt;
      if (!before || !after || *before > 0xFFFFFFFFu || *after > 0xFFFFFFFFu) return std::nullopt;
      change.sumBefore = static_cast<std::uint32_t>(*before);
      change.sumAfter = static_cast<std::uint32_t>(*after);
    } else if (key == "region") {
      const std::vector<std::string> parts = Split(value, ':');
      if (parts.size() != 3) return std::nullopt;
      const auto offset = NumberOf(parts[0]);
      auto before = BytesOf(parts[1]);
      auto after = BytesOf(parts[2]);
      if (!offset || !before || !after || before->size() != after->size()) return std::nullopt;
      change.regions.push_back({*offset, std::move(*before), std::move(*after)});
    } else {
      return std::nullopt;
    }
  }
  if (change.path.empty() || change.regions.empty() || (version2 && !change.digest)) {
    return std::nullopt;
  }
  return change;
}

constexpr const char* kEnds[] = {"done", "rolled-back", "unknown", "interfered"};
constexpr int kEndKinds = 4;

// What a sound line says, applied to the contents. False for a line of no known form, or
// of another run.
bool Apply(std::vector<std::string> words, JournalContents& contents) {
  const bool version2 = contents.version == 2;
  // Version 2: the run's id, once in every record, and no other.
  const std::size_t count = words.size();
  words.erase(std::remove(words.begin(), words.end(), "run=" + contents.run), words.end());
  if ((version2 && words.size() + 1 != count) || words.empty()) return false;
  const std::string& kind = words.front();
  if (kind == "change") {
    auto change = ParseChange(words, version2);
    if (!change) return false;
    contents.changes.push_back(std::move(*change));
    return true;
  }
  if (kind == "end" && words.size() == 3) {
    const auto sequence = NumberOf(words[1]);
    for (int i = 0; i < kEndKinds && sequence; ++i) {
      if (words[2] == kEnds[i]) {
        contents.ends[*sequence] = static_cast<ChangeEnd>(i);
        return true;
      }
    }
    return false;
  }
  if ((kind == "undone" || kind == "undoes") && words.size() == 2) {
    const auto hex = ValueOf(words[1], kind == "undone" ? "by" : "journal");
    const auto bytes = hex ? BytesOf(*hex) : std::nullopt;
    if (!bytes) return false;
    (kind == "undone" ? contents.undoneBy : contents.undoes)
        .emplace_back(bytes->begin(), bytes->end());
    return true;
  }
  return false;
}

}  // namespace

std::string NewRunId() {
  // Unique, not secret: two clocks and where this run's stack lies (randomised by the
  // system at each start), mixed so that close values give far ids.
  const int here = 0;
  std::uint64_t id =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
      (static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
       << 21) ^
      static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&here));
  for (int round = 0; round < 2; ++round) {
    id = (id ^ (id >> 30)) * 0xBF58476D1CE4E5B9u;
    id = (id ^ (id >> 27)) * 0x94D049BB133111EBu;
    id ^= id >> 31;
  }
  return linguarde::Digits<char>(id, 16, 16);
}

std::string JournalHeader(const std::string& run) { return Sealed(kHeader2 + run); }

std::string ChangeRecord(const JournalChange& change, const std::string& run) {
  std::string words = "change " + Number(change.sequence) + " run=" + run +
                      " path=" + HexOf(change.path) + " id=" + HexOf(change.identity) +
                      " size=" + Number(change.size) + " sumat=" + Number(change.checksumOffset) +
                      " sums=" +
                      (change.sumBefore && change.sumAfter
                           ? Number(*change.sumBefore, true) + ":" + Number(*change.sumAfter, true)
                           : "-") +
                      " digest=" + linguarde::Digits<char>(change.digest.value_or(0), 16, 16);
  for (const Region& region : change.regions) {
    words +=
        " region=" + Number(region.offset) + ":" + HexOf(region.before) + ":" + HexOf(region.after);
  }
  return Sealed(words);
}

std::string EndRecord(std::uint64_t sequence, ChangeEnd end, const std::string& run) {
  return Sealed("end run=" + run + " " + Number(sequence) + " " + kEnds[static_cast<int>(end)]);
}

std::string UndoneRecord(const std::string& undoJournal, const std::string& run) {
  return Sealed("undone by=" + HexOf(undoJournal) + (run.empty() ? "" : " run=" + run));
}

std::string UndoesRecord(const std::string& undoneJournal, const std::string& run) {
  return Sealed("undoes journal=" + HexOf(undoneJournal) + " run=" + run);
}

JournalContents ParseJournal(const std::string& text) {
  const std::size_t firstEnd = text.find('\n');
  const std::string first = text.substr(0, std::min(firstEnd, kJournalLineLimit));
  JournalContents contents;
  const auto header = Unsealed(first);
  if (first == kHeader1) {
    contents.version = 1;
  } else if (const auto run = header && header->size() == 3 && (*header)[0] == "tressol-journal" &&
                                      (*header)[1] == "2"
                                  ? ValueOf((*header)[2], "run")
                                  : std::nullopt;
             firstEnd != std::string::npos && run && IsRunId(*run)) {
    contents.version = 2;
    contents.run = *run;
  } else {
    // A journal cut before its first line ends holds no record yet.
    if (firstEnd == std::string::npos &&
        (std::string(kHeader1).rfind(first, 0) == 0 || std::string(kHeader2).rfind(first, 0) == 0 ||
         first.rfind(kHeader2, 0) == 0)) {
      return contents;
    }
    Damaged(first.rfind("tressol-journal ", 0) == 0 ? Verdict::JournalOfAnotherVersion
                                                    : Verdict::NotAJournal);
  }
  // Unreadable lines are cut while no sound change or end follows them: a run stopped by a
  // kill or a full disk leaves one last, and a later undo may append its mark after it.
  std::vector<std::size_t> unreadable;
  std::size_t ends = 0;  // of the unreadable lines, those that began as an end record
  std::size_t number = 1;
  for (std::size_t start = firstEnd + 1; start < text.size(); ++number) {
    const std::size_t end = text.find('\n', start);
    const std::size_t length = (end == std::string::npos ? text.size() : end) - start;
    const auto words = end == std::string::npos || length > kJournalLineLimit
                           ? std::nullopt
                           : Unsealed(text.substr(start, length));
    const bool endRecord = text.compare(start, 4, "end ") == 0;
    start = end == std::string::npos ? text.size() : end + 1;
    const std::size_t marks = contents.undoneBy.size() + contents.undoes.size();
    if (!words || words->empty() || !Apply(*words, contents)) {
      unreadable.push_back(number + 1);
      ends += endRecord ? 1 : 0;
      continue;
    }
    if (contents.undoneBy.size() + contents.undoes.size() == marks) {
      contents.damagedLines.insert(contents.damagedLines.end(), unreadable.begin(),
                                   unreadable.end());
      unreadable.clear();
      ends = 0;
    }
  }
  contents.cutEnds = ends;
  contents.cutRecords = unreadable.size() - ends;
  return contents;
}

}  // namespace tressol
