#include "journal.h"

#include "tool_error.h"
#include "shown_text.h"

namespace tressol {
namespace {

constexpr char kHeader[] = "tressol-journal 1";
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

std::optional<std::vector<std::uint8_t>> BytesOf(const std::string& hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    int value = 0;
    for (const char c : {hex[i], hex[i + 1]}) {
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + digit;
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return bytes;
}

std::optional<std::uint64_t> NumberOf(const std::string& text, int base = 10) {
  if (text.empty() || text.size() > 20) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : 99;
    if (digit >= base ||
        value > (~std::uint64_t{0} - static_cast<unsigned>(digit)) / static_cast<unsigned>(base)) {
      return std::nullopt;
    }
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  return value;
}

std::vector<std::string> Words(const std::string& text, char separator) {
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
  return Words(words, ' ');
}

std::optional<JournalChange> ParseChange(const std::vector<std::string>& words) {
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
    if (key == "path" || key == "id") {
      const auto bytes = BytesOf(value);
      if (!bytes) return std::nullopt;
      (key == "path" ? change.path : change.identity).assign(bytes->begin(), bytes->end());
    } else if (key == "size" || key == "sumat") {
      const auto number = NumberOf(value);
      if (!number) return std::nullopt;
      (key == "size" ? change.size : change.checksumOffset) = *number;
    } else if (key == "sums") {
      if (value == "-") continue;
      const std::vector<std::string> sums = Words(value, ':');
      const auto before = sums.size() == 2 ? NumberOf(sums[0], 16) : std::nullopt;
      const auto after = sums.size() == 2 ? NumberOf(sums[1], 16) : std::nullopt;
      if (!before || !after || *before > 0xFFFFFFFFu || *after > 0xFFFFFFFFu) return std::nullopt;
      change.sumBefore = static_cast<std::uint32_t>(*before);
      change.sumAfter = static_cast<std::uint32_t>(*after);
    } else if (key == "region") {
      const std::vector<std::string> parts = Words(value, ':');
      if (parts.size() != 3) return std::nullopt;
      const auto offset = NumberOf(parts[0]);
      auto before = BytesOf(parts[1]);
      auto after = BytesOf(parts[2]);
      if (!offset || !before || !after || before->size() != after->size()) return std::nullopt;
      change.regions.push_back({*offset, std::move(*before), std::move(*after)});
    }
  }
  if (change.path.empty() || change.regions.empty()) return std::nullopt;
  return change;
}

constexpr const char* kEnds[] = {"done", "rolled-back", "unknown"};

}  // namespace

std::string JournalHeader() { return std::string(kHeader) + "\n"; }

std::string ChangeRecord(const JournalChange& change) {
  std::string words = "change " + Number(change.sequence) + " path=" + HexOf(change.path) +
                      " id=" + HexOf(change.identity) + " size=" + Number(change.size) +
                      " sumat=" + Number(change.checksumOffset) + " sums=" +
                      (change.sumBefore && change.sumAfter
                           ? Number(*change.sumBefore, true) + ":" + Number(*change.sumAfter, true)
                           : "-");
  for (const Region& region : change.regions) {
    words +=
        " region=" + Number(region.offset) + ":" + HexOf(region.before) + ":" + HexOf(region.after);
  }
  return Sealed(words);
}

std::string EndRecord(std::uint64_t sequence, ChangeEnd end) {
  return Sealed("end " + Number(sequence) + " " + kEnds[static_cast<int>(end)]);
}

std::string UndoneRecord(const std::string& undoJournal) {
  return Sealed("undone by=" + HexOf(undoJournal));
}

JournalContents ParseJournal(const std::string& text) {
  const std::size_t firstEnd = text.find('\n');
  const std::string first = text.substr(0, firstEnd);
  JournalContents contents;
  if (first != kHeader) {
    // A journal cut before its first line ends holds no record yet.
    if (firstEnd == std::string::npos && std::string(kHeader).rfind(first, 0) == 0) {
      return contents;
    }
    Damaged(first.rfind("tressol-journal ", 0) == 0 ? Verdict::JournalOfAnotherVersion
                                                    : Verdict::NotAJournal);
  }
  std::size_t start = firstEnd + 1;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end == std::string::npos ? end : end - start);
    start = end == std::string::npos ? text.size() : end + 1;
    const auto words = end == std::string::npos ? std::nullopt : Unsealed(line);
    if (!words) {
      ++contents.cutRecords;
      continue;
    }
    const std::string& kind = words->front();
    if (kind == "change") {
      if (auto change = ParseChange(*words)) {
        contents.changes.push_back(std::move(*change));
      } else {
        ++contents.cutRecords;
      }
    } else if (kind == "end" && words->size() == 3) {
      const auto sequence = NumberOf((*words)[1]);
      for (int i = 0; i < 3 && sequence; ++i) {
        if ((*words)[2] == kEnds[i]) contents.ends[*sequence] = static_cast<ChangeEnd>(i);
      }
    } else if (kind == "undone" && words->size() == 2 && (*words)[1].rfind("by=", 0) == 0) {
      const auto by = BytesOf((*words)[1].substr(3));
      if (by) contents.undoneBy.emplace_back(by->begin(), by->end());
    }
  }
  return contents;
}

}  // namespace tressol
