#include "undo_file.h"

#include "pe_checksum.h"
#include "pe_image.h"
#include "report.h"
#include "tool_error.h"
#include "vb_header.h"

namespace tressol {

void UndoFile(FileOutcome& outcome, const JournalChange& change, FileSystem& files,
              RunJournal& journal) {
  // A dry run opens the file as the undo would, so that what would stop it, stops it.
  const std::unique_ptr<TargetFile> file = files.Open(change.path, true);
  if (file->Identity() != change.identity) {
    Damaged(Verdict::AnotherFileNow);
  }
  if (file->Size() != change.size) {
    Damaged(Verdict::SizeChanged);
  }
  // Each region holds its bytes from before or from after: a run stopped between two
  // writes, or during a rollback, leaves a mix of the two.
  bool contentBefore = false, contentAfter = false, allBefore = true;
  std::vector<Region> back;
  for (const Region& region : change.regions) {
    const std::vector<std::uint8_t> now = ReadRange(*file, region.offset, region.before.size());
    const bool isBefore = now == region.before;
    if (!isBefore && now != region.after) {
      Damaged(Verdict::ChangedSince, Hex(region.offset));
    }
    allBefore = allBefore && isBefore;
    if (region.offset != change.checksumOffset) {
      (isBefore ? contentBefore : contentAfter) = true;
    }
    if (!isBefore) back.push_back({region.offset, now, region.before});
  }
  if (contentBefore && contentAfter) {
    Damaged(Verdict::MixedBytes);
  }
  // The same bytes in these regions, but another file around them (rebuilt since).
  const std::optional<std::uint32_t> sumNow = contentAfter ? change.sumAfter : change.sumBefore;
  if (sumNow && FullPeChecksum(*file, change.checksumOffset) != *sumNow) {
    Damaged(Verdict::ContentChanged);
  }
  const PeImage image = ReadPeImage(*file);
  outcome.header = LocateVbHeader(*file, image);
  outcome.settings = outcome.header->settings;
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
  undo.identity = file->Identity();
  undo.sumBefore = sumNow;
  undo.sumAfter = change.sumBefore;
  undo.regions = back;
  outcome.journal = journal.Apply(*file, undo);
  outcome.settings = LocateVbHeader(*file, image).settings;
  outcome.result = Result::Changed;
  outcome.absolutePath = change.path;
}

}  // namespace tressol
