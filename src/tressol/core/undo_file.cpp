#include "undo_file.h"

#include <algorithm>

#include "file_identity.h"
#include "pe_checksum.h"
#include "pe_image.h"
#include "pe_layout.h"
#include "report.h"
#include "tool_error.h"
#include "vb_header.h"

namespace tressol {
namespace {

// The same file on a volume whose number changed (a disk plugged in again, a remount):
// the same number within it. Taken for the same only where the whole-file checks agree.
bool RenumberedVolume(const std::string& recorded, const std::string& now) {
  const std::size_t a = recorded.rfind(':');
  const std::size_t b = now.rfind(':');
  return a != std::string::npos && b != std::string::npos && a + 1 < recorded.size() &&
         recorded.compare(a, std::string::npos, now, b, std::string::npos) == 0;
}

// An undo writes only what a set could have written: inside the language fields of the VB
// header and the CheckSum field, as the file shows them now. A journal may come from
// anywhere.
bool WithinWhatASetWrites(const Region& region, const PeImage& image, const VbHeader& header,
                          std::uint64_t checksumOffset) {
  namespace vb = layout::vb;
  const std::uint64_t fieldsStart = header.offset + vb::kSettingsStart;
  const std::uint64_t fieldsEnd = header.offset + vb::kSettingsEnd;
  const std::uint64_t size = region.before.size();
  if (region.offset >= fieldsStart && region.offset <= fieldsEnd &&
      size <= fieldsEnd - region.offset) {
    // Among the language fields lies the runtime's revision, which a set never changes.
    for (std::size_t i = vb::kRuntimeRevision; i < vb::kRuntimeRevision + 2; ++i) {
      const std::uint64_t at = header.offset + i;
      if (at < region.offset || at >= region.offset + size) continue;
      const std::size_t within = static_cast<std::size_t>(at - region.offset);
      if (region.before[within] != header.bytes[i] || region.after[within] != header.bytes[i]) {
        return false;
      }
    }
    return true;
  }
  return region.offset == image.checksumOffset && region.offset == checksumOffset && size == 4;
}

// The PE sum of the file as the undo would leave it: that of the file now, each region's
// words (from an even offset) from what they hold now to what they held before.
std::optional<std::uint32_t> SumOnceUndone(TargetFile& file, std::uint32_t sumNow,
                                           const std::vector<Region>& regions,
                                           std::uint64_t checksumOffset) {
  std::optional<std::uint32_t> sum = sumNow;
  for (const Region& region : regions) {
    if (region.offset == checksumOffset || !sum) continue;
    const std::uint64_t start = region.offset - region.offset % 2;
    const std::uint64_t end = region.offset + region.before.size();
    const std::uint64_t stop = std::min<std::uint64_t>(end + end % 2, file.Size());
    const std::vector<std::uint8_t> now = ReadRange(file, start, stop - start);
    std::vector<std::uint8_t> before = now;
    std::copy(region.before.begin(), region.before.end(),
              before.begin() + static_cast<std::ptrdiff_t>(region.offset - start));
    sum = UpdatedPeChecksum(*sum, file.Size(), now, before);
  }
  return sum;
}

}  // namespace

void UndoFile(FileOutcome& outcome, const JournalChange& change, FileSystem& files,
              RunJournal& journal) {
  // A dry run only looks: shared with every other program, so that the program just
  // changed may start meanwhile. A busy file is the real undo's to say, under its lock.
  const std::unique_ptr<TargetFile> file = files.Open(change.path, !outcome.dryRun);
  const std::string identity = file->Identity();
  const IdentityMatch match = MatchIdentities(change.identity, identity);
  // An identity that names no file, or only the file's number within a volume renumbered:
  // the whole-file checks alone say that it is the same.
  const bool byContent =
      (match == IdentityMatch::Unknown || RenumberedVolume(change.identity, identity)) &&
      (change.digest || change.sumBefore);
  if (match != IdentityMatch::Same && !byContent) {
    Damaged(Verdict::AnotherFileNow);
  }
  if (file->Size() != change.size) {
    Damaged(Verdict::SizeChanged);
  }
  const PeImage image = ReadPeImage(*file);
  const VbHeader header = LocateVbHeader(*file, image);
  // Each region holds its bytes from before or from after: a run stopped between two
  // writes, or during a rollback, leaves a mix of the two.
  bool contentBefore = false, contentAfter = false, allBefore = true;
  std::vector<Region> back;
  std::vector<ByteRange> regions;
  for (const Region& region : change.regions) {
    if (!WithinWhatASetWrites(region, image, header, change.checksumOffset)) {
      Damaged(Verdict::OutsideSettings);
    }
    const std::vector<std::uint8_t> now = ReadRange(*file, region.offset, region.before.size());
    const bool isBefore = now == region.before;
    if (!isBefore && now != region.after) {
      Damaged(Verdict::ChangedSince, Hex(region.offset));
    }
    allBefore = allBefore && isBefore;
    if (region.offset != change.checksumOffset) {
      (isBefore ? contentBefore : contentAfter) = true;
    }
    // Every region, as it is and as it was: the undo's own record leaves out of its digest
    // what this one did.
    back.push_back({region.offset, now, region.before});
    regions.push_back({region.offset, region.before.size()});
  }
  if (contentBefore && contentAfter) {
    Damaged(Verdict::MixedBytes);
  }
  // The same bytes in these regions, but another file around them (rebuilt since): the
  // digest of all the rest, and the PE sum, all a journal of version 1 has.
  const std::optional<std::uint32_t> sumNow = contentAfter ? change.sumAfter : change.sumBefore;
  const FileSums sums = SumFile(*file, change.checksumOffset, regions);
  if ((sumNow && sums.checksum != *sumNow) || (change.digest && sums.digest != *change.digest)) {
    Damaged(Verdict::ContentChanged);
  }
  // What the undo writes must give the sum its record says the file had: bytes of another
  // file, or of none, would not.
  const std::optional<std::uint32_t> sumUndone =
      file->Size() <= 0xFFFFFFFFu
          ? SumOnceUndone(*file, sums.checksum, change.regions, change.checksumOffset)
          : std::nullopt;
  if (change.sumBefore && sumUndone != change.sumBefore) {
    Damaged(Verdict::ContentChanged);
  }
  outcome.header = header;
  outcome.settings = header.settings;
  if (allBefore) {
    outcome.result = Result::AlreadySet;
    return;
  }
  if (outcome.dryRun) {
    outcome.result = Result::Restorable;
    outcome.absolutePath = change.path;
    return;
  }
  for (const Region& region : change.regions) {
    if (region.offset == change.checksumOffset && region.before.size() == 4) {
      const std::uint32_t stored = U32(region.before, 0);
      outcome.wrongChecksumRestored = stored != 0 && sumUndone && stored != *sumUndone;
    }
  }
  JournalChange undo = change;
  undo.identity = identity;
  undo.sumBefore = sumNow;
  undo.sumAfter = change.sumBefore;
  undo.digest = sums.digest;
  undo.regions = back;
  outcome.journal = journal.Apply(*file, undo);
  outcome.settings = LocateVbHeader(*file, image).settings;
  outcome.result = Result::Changed;
  outcome.absolutePath = change.path;
}

}  // namespace tressol
