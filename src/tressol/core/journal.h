#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tressol {

// A run's journal: one record a file, durable before that file's first write, so that a
// run stopped at any point still names every file it may have changed; --undo reads it
// back. Each record is a line of ASCII ending with its own CRC-32, so that one cut by a
// kill or a full disk is known as cut and never read as another file.

// A range of a file as it was before the change and as the change writes it.
struct Region {
  std::uint64_t offset = 0;
  std::vector<std::uint8_t> before;
  std::vector<std::uint8_t> after;
};

struct JournalChange {
  std::uint64_t sequence = 0;
  std::string path;      // as the tool opened it, byte for byte
  std::string identity;  // the file's, as its file system gives it
  std::uint64_t size = 0;
  std::uint64_t checksumOffset = 0;  // the CheckSum field, which the whole-file sums leave out
  // The whole file's PE sum with the regions before and after; none over 4 GiB.
  std::optional<std::uint32_t> sumBefore;
  std::optional<std::uint32_t> sumAfter;
  std::vector<Region> regions;
};

// What became of a recorded change; no end record: unknown (the run stopped).
enum class ChangeEnd { Done, RolledBack, Unknown };

struct JournalContents {
  std::vector<JournalChange> changes;
  std::map<std::uint64_t, ChangeEnd> ends;
  std::size_t cutRecords = 0;
  std::vector<std::string> undoneBy;  // the journals of the runs that undid this one
};

std::string JournalHeader();
std::string ChangeRecord(const JournalChange& change);
std::string EndRecord(std::uint64_t sequence, ChangeEnd end);
std::string UndoneRecord(const std::string& undoJournal);

// Throws ToolError(Refused) for a text that is not a journal of a version this tool reads.
JournalContents ParseJournal(const std::string& text);

}  // namespace tressol
