#include "undo_file.h"

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
  const std::uint64_t fieldsStart = header.offset + layout::vb::kSettingsStart;
  const std::uint64_t fieldsEnd = header.offset + layout::vb::kSettingsEnd;
  const std::uint64_t size = region.before.size();
  if (region.offset >= fieldsStart && region.offset <= fieldsEnd &&
      size <= fieldsEnd - region.offset) {
    return true;
  }
  return region.offset == image.checksumOffset && region.offset == checksumOffset && size == 4;
}

}  // namespace

void UndoFile(FileOutcome& outcome, const JournalChange& change, FileSystem& files,
              RunJournal& journal) {
  // A dry run only looks: shared with every other program, so that the program just
  // changed may start meanwhile. A busy file is the real undo's to say, under its lock.
  const std::unique_ptr<TargetFile> file = files.Open(change.path, !outcome.dryRun);
  const std::string identity = file->Identity();
  const bool renumbered = identity != change.identity &&
                          RenumberedVolume(change.identity, identity) &&
                          (change.digest || change.sumBefore);
  if (identity != change.identity && !renumbered) {
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
      outcome.wrongChecksumRestored =
          stored != 0 && change.sumBefore && stored != *change.sumBefore;
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
