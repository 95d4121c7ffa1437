#include "one_file.h"

#include <algorithm>
#include <optional>

#include "pe_checksum.h"
#include "pe_image.h"
#include "report.h"
#include "undo_file.h"
#include "vb_header.h"

namespace tressol {
namespace {

namespace vb = layout::vb;

Signature SignatureOf(const PeImage& image, std::uint64_t fileSize) {
  if (image.securitySize == 0) return Signature::None;
  return std::uint64_t{image.securityOffset} + image.securitySize > fileSize
             ? Signature::OutsideFile
             : Signature::Present;
}

// The whole file's PE checksum, where the file keeps one (zero: none). A stored value is
// never trusted as it is: a set interrupted between its two writes, or another tool, may
// have left it wrong, and every later set would carry the error on.
std::optional<std::uint32_t> ActualChecksum(TargetFile& file, const PeImage& image) {
  if (image.checksum == 0) return std::nullopt;
  if (file.Size() > 0xFFFFFFFFu) {
    Damaged(Verdict::PastFourGiB);
  }
  return FullPeChecksum(file, image.checksumOffset);
}

// What to write, and a right checksum, into a file already found to be a VB6 binary whose
// settings or checksum differ; nothing where they are as asked. The file is opened again
// for writing, shared with nobody, and read again under that lock; what was found before
// only decided that it is worth doing.
std::unique_ptr<PreparedSet> PrepareSet(FileOutcome& outcome, const LanguageSettings& settings,
                                        FileSystem& files) {
  std::unique_ptr<TargetFile> file = files.Open(outcome.openPath, true, outcome.listed);
  const PeImage image = ReadPeImage(*file);
  const VbHeader header = LocateVbHeader(*file, image);
  outcome.header = header;
  outcome.settings = header.settings;
  const bool same = header.settings == settings;
  const std::vector<std::uint8_t> current(header.bytes.begin() + vb::kSettingsStart,
                                          header.bytes.begin() + vb::kSettingsEnd);
  const Region region{header.offset + vb::kSettingsStart, current,
                      same ? current : SettingsBytes(header, settings)};
  JournalChange change;
  change.path = files.AbsolutePath(outcome.openPath);
  change.identity = file->Identity();
  change.size = file->Size();
  change.checksumOffset = image.checksumOffset;
  WayBackCaveat caveat = WayBackCaveat::None;
  if (!same) {
    change.regions.push_back(region);
    if (SettingsBytes(header, header.settings) != current) {
      caveat = WayBackCaveat::BytesAfterLibraryName;
    }
  }

  // One read of the whole file gives its sum and the digest of all that the change leaves
  // as it is, which tell an undo whether the file is still the one changed; where the file
  // keeps a checksum, the right one is written.
  if (image.checksum != 0 && change.size > 0xFFFFFFFFu) Damaged(Verdict::PastFourGiB);
  const FileSums sums =
      SumFile(*file, image.checksumOffset,
              same ? std::vector<ByteRange>{}
                   : std::vector<ByteRange>{{region.offset, region.after.size()}});
  change.digest = sums.digest;
  const std::optional<std::uint32_t> whole =
      change.size <= 0xFFFFFFFFu ? std::optional<std::uint32_t>(sums.checksum) : std::nullopt;
  const std::optional<std::uint32_t> actual = image.checksum != 0 ? whole : std::nullopt;
  const bool checksumWrong = actual && *actual != image.checksum;
  if (same && !checksumWrong) {
    outcome.result = Result::AlreadySet;
    return nullptr;
  }
  // A malformed image, which a change could only make worse.
  if (SignatureOf(image, file->Size()) == Signature::OutsideFile) {
    Damaged(Verdict::CertificatesOutside);
  }
  outcome.checksum = ChecksumWrite{};
  if (whole) {
    // The words that change, aligned on the file's even offsets.
    const std::size_t start = vb::kSettingsStart - (region.offset % 2);
    const std::size_t end = vb::kSettingsEnd + ((header.offset + vb::kSettingsEnd) % 2);
    std::vector<std::uint8_t> before(header.bytes.begin() + start, header.bytes.begin() + end);
    std::vector<std::uint8_t> after = before;
    std::copy(region.after.begin(), region.after.end(),
              after.begin() + (vb::kSettingsStart - start));
    const std::optional<std::uint32_t> updated =
        UpdatedPeChecksum(*whole, change.size, before, after);
    if (updated) {
      change.sumBefore = whole;
      change.sumAfter = updated;
    }
    if (actual) {
      if (!updated) Damaged(Verdict::ChecksumUncomputable);
      if (checksumWrong && !same) caveat = WayBackCaveat::WrongChecksum;
      std::vector<std::uint8_t> oldField(4), newField(4);
      PutU32(oldField, 0, image.checksum);
      PutU32(newField, 0, *updated);
      change.regions.push_back({image.checksumOffset, oldField, newField});
      outcome.checksum = ChecksumWrite{image.checksum, *updated, checksumWrong};
    }
  }
  if (!files.CanReopen(change.path)) caveat = WayBackCaveat::PathTooLong;

  outcome.absolutePath = change.path;
  return std::make_unique<PreparedSet>(
      PreparedSet{std::move(file), std::move(change), same, caveat});
}

}  // namespace

// A file as its target names it, before anything is known of it.
FileOutcome Unprocessed(const std::string& path, const std::string& openPath,
                        const std::string& name) {
  FileOutcome outcome;
  outcome.path = path;
  outcome.openPath = openPath;
  outcome.name = name;
  return outcome;
}

FileOutcome Failed(FileOutcome outcome, const ToolError& error) {
  const auto* file = dynamic_cast<const FileError*>(&error);
  outcome.result = file && file->Busy() ? Result::Busy : Result::Failed;
  outcome.failure = error.Kind();
  outcome.error = Kept(error);
  if (const auto* verdict = dynamic_cast<const VerdictError*>(&error)) {
    outcome.verdict = verdict->Which();
  }
  return outcome;
}

// Views or prepares the set of one file. A file shown not to be a VB6 binary is NotVb6; a
// file that cannot be read well enough to tell, or a VB6 binary that cannot be set, is
// Failed and stays as it was; a file held by another program is Busy. A set to make is
// given back in set, its outcome still Pending.
void Process(FileOutcome& outcome, const Command& command, FileSystem& files,
             LibraryFinder& libraries, RunJournal& journal, std::unique_ptr<PreparedSet>& set) {
  if (outcome.undoing) {
    try {
      UndoFile(outcome, *outcome.undoing, files, journal);
    } catch (const FileError& error) {
      outcome = Failed(std::move(outcome), error.OfRecordedPath());
      return;
    } catch (const ToolError& error) {
      outcome = Failed(std::move(outcome), error);
      return;
    }
    outcome.libraries = libraries.Find(outcome.settings, outcome.path);
    return;
  }
  bool checksumRight = true;
  try {
    const std::unique_ptr<TargetFile> file = files.Open(outcome.openPath, false, outcome.listed);
    const PeImage image = ReadPeImage(*file);
    outcome.header = LocateVbHeader(*file, image);
    outcome.signature = SignatureOf(image, file->Size());
    // A check answers for the whole file: a code byte changed since its checksum was made
    // leaves the settings as they were.
    if (command.expected || (command.settings && outcome.header->settings == *command.settings)) {
      const std::optional<std::uint32_t> actual = ActualChecksum(*file, image);
      checksumRight = !actual || *actual == image.checksum;
      if (command.expected && !checksumRight) {
        outcome.wrongChecksum = ChecksumMismatch{image.checksum, *actual};
      }
    }
  } catch (const NotVb6File& error) {
    outcome = Failed(std::move(outcome), error);
    outcome.result = Result::NotVb6;
    return;
  } catch (const ToolError& error) {
    outcome = Failed(std::move(outcome), error);
    const auto* file = dynamic_cast<const FileError*>(&error);
    if (file && file->NotRegular()) outcome.result = Result::LeftAside;
    return;
  }
  outcome.settings = outcome.header->settings;
  if (command.expected) {
    outcome.expected = command.expected;
    outcome.result = outcome.wrongChecksum                             ? Result::WrongChecksum
                     : SameEffect(outcome.settings, *command.expected) ? Result::Matches
                                                                       : Result::Differs;
    return;
  }
  if (!command.settings) {
    outcome.result = Result::Shown;
  } else if (outcome.settings == *command.settings && checksumRight) {
    outcome.result = Result::AlreadySet;
  } else {
    try {
      set = PrepareSet(outcome, *command.settings, files);
    } catch (const ToolError& error) {
      outcome = Failed(std::move(outcome), error);
      return;
    }
    if (set) return;
  }
  outcome.libraries = libraries.Find(outcome.settings, outcome.path);
}

// Makes a change whose record was committed.
void FinishSet(FileOutcome& outcome, const PreparedSet& set, const LanguageSettings& settings,
               RunJournal& journal) {
  outcome.journal = journal.Write(*set.file, set.change);
  if (set.same) {
    outcome.result = Result::AlreadySet;
    return;
  }
  outcome.result = Result::Changed;
  outcome.settings = settings;
  outcome.caveat = set.caveat;
}

}  // namespace tressol
