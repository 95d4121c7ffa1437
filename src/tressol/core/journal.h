#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tressol {

// A run's journal: one record a file, durable before that file's first write, so that a
// run stopped at any point still names every file it may have changed; --undo reads it
// back. Each line is ASCII ending with its own CRC-32, and from version 2 on carries the
// run's id, given by the sealed first line: a line cut by a kill or a full disk is known as
// cut, and one damaged, or copied from another journal, is never read as another file.

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
  // Every byte but the regions and the CheckSum field (SumFile); journals of version 1
  // have none.
  std::optional<std::uint64_t> digest;
  std::vector<Region> regions;
};

// What became of a recorded change; no end record: unknown (the run stopped). Interfered:
// another program wrote the file during the change, which was not put back.
enum class ChangeEnd { Done, RolledBack, Unknown, Interfered };

// A journal is read whole, and refused past these: a file given for a journal may be
// anything.
inline constexpr std::size_t kJournalLimit = 256u << 20;
inline constexpr std::size_t kJournalLineLimit = 1u << 20;

struct JournalContents {
  int version = 0;
  std::string run;  // version 2: the run's id, which each record repeats
  std::vector<JournalChange> changes;
  std::map<std::uint64_t, ChangeEnd> ends;
  std::size_t cutRecords = 0;             // unreadable lines after the last sound record
  std::size_t cutEnds = 0;                // of those, the ends of changes, not counted above
  std::vector<std::size_t> damagedLines;  // unreadable lines that sound records follow
  std::vector<std::string> undoneBy;      // the journals of the runs that undid this one
  std::vector<std::string> undoes;        // the journals that this run undid, read-only ones
};

// A new run's id: 16 hexadecimal digits, different for each run.
std::string NewRunId();
std::string JournalHeader(const std::string& run);
std::string ChangeRecord(const JournalChange& change, const std::string& run);
std::string EndRecord(std::uint64_t sequence, ChangeEnd end, const std::string& run);
// In the journal undone, of its own run: none for version 1.
std::string UndoneRecord(const std::string& undoJournal, const std::string& run);
// In an undo's own journal: the journal it undid, which could not be marked itself.
std::string UndoesRecord(const std::string& undoneJournal, const std::string& run);

// Throws a VerdictError for a text that is not a journal of a version this tool reads.
JournalContents ParseJournal(const std::string& text);

}  // namespace tressol
