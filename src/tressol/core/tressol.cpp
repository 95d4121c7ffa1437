#include "tressol.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "command_line.h"
#include "file_report.h"
#include "journal.h"
#include "library_check.h"
#include "outcome.h"
#include "pe_checksum.h"
#include "pe_image.h"
#include "report.h"
#include "run_journal.h"
#include "tool_error.h"
#include "undo_file.h"
#include "vb_header.h"
#include "unicode_text.h"

namespace tressol {
namespace {

namespace vb = layout::vb;

bool IsPattern(const std::string& target) {
  return FileName(target).find_first_of("*?") != std::string::npos;
}

// The folder a path names its file in: the current one for a bare name, a drive's root
// with its separator ("C:\" is the root, "C:" the drive's current folder).
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  const bool root = slash == 0 || (slash == 2 && path[1] == ':');
  return path.substr(0, root ? slash + 1 : slash);
}

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

// What a set writes into one file, the file held open, and locked, until it is written.
struct PreparedSet {
  std::unique_ptr<TargetFile> file;
  JournalChange change;
  bool same = false;  // the settings as asked already: only the checksum is written
  WayBackCaveat caveat = WayBackCaveat::None;
};

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

FileOutcome Failed(FileOutcome outcome, const ToolError& error) {
  const auto* file = dynamic_cast<const FileError*>(&error);
  outcome.result = file && file->Busy() ? Result::Busy : Result::Failed;
  outcome.failure = error.Kind();
  outcome.reason = ReasonOf(error);
  if (const auto* verdict = dynamic_cast<const VerdictError*>(&error)) {
    outcome.verdict = verdict->Which();
  }
  return outcome;
}

// Library names as Windows finds files, without regard to case; locales exactly.
bool SameAsRuntimeReads(const LanguageSettings& a, const LanguageSettings& b) {
  const auto sameName = linguarde::unicode::SameIgnoringAsciiCase;
  return sameName(a.primaryLibrary, b.primaryLibrary) && a.primaryLcid == b.primaryLcid &&
         sameName(a.secondaryLibrary, b.secondaryLibrary) && a.secondaryLcid == b.secondaryLcid;
}

// Views or prepares the set of one file. A file shown not to be a VB6 binary is NotVb6; a
// file that cannot be read well enough to tell, or a VB6 binary that cannot be set, is
// Failed and stays as it was; a file held by another program is Busy. A set to make is
// given back in set, its outcome still Pending.
FileOutcome Process(FileOutcome outcome, const Command& command, FileSystem& files,
                    LibraryFinder& libraries, RunJournal& journal,
                    std::unique_ptr<PreparedSet>& set) {
  if (outcome.undoing) {
    try {
      UndoFile(outcome, *outcome.undoing, files, journal);
    } catch (const ToolError& error) {
      return Failed(outcome, error);
    }
    outcome.libraries = libraries.Find(outcome.settings, outcome.path);
    return outcome;
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
    outcome = Failed(outcome, error);
    outcome.result = Result::NotVb6;
    return outcome;
  } catch (const ToolError& error) {
    outcome = Failed(outcome, error);
    const auto* file = dynamic_cast<const FileError*>(&error);
    if (file && file->NotRegular()) outcome.result = Result::LeftAside;
    return outcome;
  }
  outcome.settings = outcome.header->settings;
  if (command.expected) {
    outcome.expected = command.expected;
    outcome.result = outcome.wrongChecksum ? Result::WrongChecksum
                     : SameAsRuntimeReads(outcome.settings, *command.expected) ? Result::Matches
                                                                               : Result::Differs;
    return outcome;
  }
  if (!command.settings) {
    outcome.result = Result::Shown;
  } else if (outcome.settings == *command.settings && checksumRight) {
    outcome.result = Result::AlreadySet;
  } else {
    try {
      set = PrepareSet(outcome, *command.settings, files);
    } catch (const ToolError& error) {
      return Failed(outcome, error);
    }
    if (set) return outcome;
  }
  outcome.libraries = libraries.Find(outcome.settings, outcome.path);
  return outcome;
}

// A file as its target names it, before anything is known of it.
FileOutcome Unprocessed(const std::string& path, const std::string& openPath,
                        const std::string& name) {
  FileOutcome outcome;
  outcome.path = path;
  outcome.openPath = openPath;
  outcome.name = name;
  return outcome;
}

// Busy files are set aside so that the others go on; then they are tried again, all of
// them within one patience for the whole run, and those still held fail. Changes are made
// in batches: each file of a batch prepared and held, their records written in one flush,
// then each change made. Files are reported in order, as soon as their batch is done.
class Batch {
 public:
  Batch(const Command& command, FileSystem& files, Output& output, bool many)
      : command_(command),
        files_(files),
        output_(output),
        many_(many),
        libraries_(files),
        journal_(files, output.journalPath, command.noJournal) {}

  // Once the journal has stopped the run, the files left are not looked at.
  void Add(FileOutcome outcome) {
    if (outcome.result == Result::Pending && journal_.Stopped()) {
      outcome.result = Result::NotReached;
    }
    std::unique_ptr<PreparedSet> set;
    if (outcome.result == Result::Pending) {
      outcome = Process(std::move(outcome), command_, files_, libraries_, journal_, set);
    }
    if (!set && waiting_.empty()) {
      Record(std::move(outcome));
      return;
    }
    sets_ += set ? 1 : 0;
    waiting_.push_back({std::move(outcome), std::move(set)});
    if (sets_ >= files_.FilesABatch()) Commit();
  }

  RunJournal& Journal() { return journal_; }
  bool Empty() const { return done_.empty() && busy_.empty(); }

  // An outcome is large: kept in place, not moved again as the list grows.
  void Expect(std::size_t files) { done_.reserve(files); }

  std::vector<FileOutcome> Finish() {
    using Clock = std::chrono::steady_clock;
    Commit();
    const Clock::time_point giveUp = Clock::now() + kBusyPatience;
    while (!busy_.empty() && !journal_.Stopped() && Clock::now() < giveUp) {
      std::this_thread::sleep_for(kBusyRetry);
      std::vector<FileOutcome> held;
      held.swap(busy_);
      for (const FileOutcome& outcome : held) {
        FileOutcome again = Unprocessed(outcome.path, outcome.openPath, outcome.name);
        again.linkTarget = outcome.linkTarget;
        again.listed = outcome.listed;
        again.undoing = outcome.undoing;
        Add(std::move(again));
      }
      Commit();
    }
    for (FileOutcome& outcome : busy_) {
      outcome.result = journal_.Stopped() ? Result::NotReached : Result::Failed;
      Record(std::move(outcome));
    }
    busy_.clear();
    journal_.Finish();
    return std::move(done_);
  }

 private:
  static constexpr std::chrono::milliseconds kBusyPatience{2000};
  static constexpr std::chrono::milliseconds kBusyRetry{100};
  struct Waiting {
    FileOutcome outcome;
    std::unique_ptr<PreparedSet> set;
  };

  // The batch's records in one flush, then its changes; where the records cannot be
  // written, none of its changes is made: the first says why, the others were not reached.
  void Commit() {
    for (Waiting& waiting : waiting_) {
      if (waiting.set) journal_.Reserve(waiting.set->change);
    }
    std::optional<VerdictError> unrecorded;
    if (sets_ > 0) {
      try {
        journal_.Commit();
      } catch (const VerdictError& error) {
        unrecorded = error;
      }
    }
    bool first = true;
    for (Waiting& waiting : waiting_) {
      FileOutcome& outcome = waiting.outcome;
      if (waiting.set && unrecorded) {
        if (first) {
          outcome = Failed(std::move(outcome), *unrecorded);
        } else {
          outcome.result = Result::NotReached;
        }
        first = false;
      } else if (waiting.set) {
        try {
          FinishSet(outcome, *waiting.set, *command_.settings, journal_);
          outcome.libraries = libraries_.Find(outcome.settings, outcome.path);
        } catch (const ToolError& error) {
          outcome = Failed(std::move(outcome), error);
        }
      }
      waiting.set.reset();
      Record(std::move(outcome));
    }
    waiting_.clear();
    sets_ = 0;
  }

  void Record(FileOutcome outcome) {
    if (outcome.result == Result::Busy) {
      busy_.push_back(std::move(outcome));
      return;
    }
    const WayBackStyle style{output_.shell, output_.toolPath};
    if (command_.json) {
      output_.out += JsonLine(outcome, style);
    } else if (many_) {
      output_.out += FileLine(outcome, style);
    }
    output_.Flush();
    done_.push_back(std::move(outcome));
  }

  const Command& command_;
  FileSystem& files_;
  Output& output_;
  bool many_;
  LibraryFinder libraries_;
  RunJournal journal_;
  std::vector<FileOutcome> busy_;
  std::vector<FileOutcome> done_;
  std::vector<Waiting> waiting_;  // in the order given, from the batch's first set
  std::size_t sets_ = 0;
};

// The status of a run over several files: that of a journal that stopped it, of the first
// failure, then kWrongChecksum, then kDiffers.
int ManyFilesStatus(const std::vector<FileOutcome>& outcomes, Mode mode) {
  if (std::any_of(outcomes.begin(), outcomes.end(),
                  [](const FileOutcome& o) { return o.verdict == Verdict::NotRecorded; })) {
    return static_cast<int>(Failure::Io);
  }
  // A failure wins over a difference: what failed was not checked.
  const auto failed = std::find_if(outcomes.begin(), outcomes.end(),
                                   [](const FileOutcome& o) { return o.result == Result::Failed; });
  if (failed != outcomes.end()) {
    return static_cast<int>(failed->failure);
  }
  if (mode != Mode::Undo && std::all_of(outcomes.begin(), outcomes.end(), [](const FileOutcome& o) {
        return o.result == Result::NotVb6 || o.result == Result::LeftAside;
      })) {
    Damaged(Verdict::NoVb6File);
  }
  const auto any = [&outcomes](Result result) {
    return std::any_of(outcomes.begin(), outcomes.end(),
                       [result](const FileOutcome& o) { return o.result == result; });
  };
  return any(Result::WrongChecksum) ? kWrongChecksum : any(Result::Differs) ? kDiffers : 0;
}

// How to undo the run, last: only where it changed something.
std::string UndoEnd(Batch& batch, FileSystem& files, const Output& output) {
  const JournalFile* journal = batch.Journal().File();
  if (!batch.Journal().OffersUndo() || output.json) return {};
  const auto words = [&files, &output](const std::string& path) {
    return ConsoleWords{files.ConsoleWord(path, output.shell),
                        files.ConsoleWord(path, Shell::PowerShell)};
  };
  return UndoLines(words(output.toolPath), words(journal->Path()), output.shell);
}

// The end of a run over several files: the summary, in JSON or in the report's words with
// how to undo the run.
std::string ManyFilesEnd(const std::vector<FileOutcome>& outcomes, Mode mode, Batch& batch,
                         FileSystem& files, const Output& output) {
  if (output.json) {
    const JournalFile* journal = batch.Journal().File();
    return JsonSummary(outcomes, mode, batch.Journal().OffersUndo() ? journal->Path() : "",
                       WayBackStyle{output.shell, output.toolPath});
  }
  return FolderEnd(outcomes, mode) + UndoEnd(batch, files, output);
}

// --undo: each change of the journal given back, the last first, so that changes made one
// over another come undone in order. A damaged record fails the run; the sound ones are
// each checked against the file before anything is written.
int Undo(const Command& command, FileSystem& files, Output& output) {
  // The journal the environment named for the run undone, most often: the undo's own goes
  // where a journal goes by default, and its last line says where.
  if (!output.journalPath.empty() && files.Exists(output.journalPath)) output.journalPath.clear();
  const std::unique_ptr<JournalFile> undone =
      files.OpenJournal(*command.undo, command.dryRun ? JournalUse::Look : JournalUse::Undo);
  const std::string text = undone->ReadAll();
  const JournalContents contents = ParseJournal(text);
  if (const std::string state = JournalState(contents); !state.empty()) {
    output.out += output.json ? JsonMessage(state, 0) : state;
  }
  Batch batch(command, files, output, true);
  batch.Expect(contents.changes.size() + contents.damagedLines.size() + 1);
  const auto journalFails = [&](Verdict verdict, const std::string& detail) {
    batch.Add(Failed(Unprocessed(undone->Path(), undone->Path(), undone->Path()),
                     VerdictError(Failure::Refused, verdict, detail)));
  };
  for (const std::size_t line : contents.damagedLines) {
    journalFails(Verdict::JournalLineDamaged, std::to_string(line));
  }
  // 1.4.0 went on changing files when its journal could not be written: after a cut record,
  // its journal may miss changes that no undo of it gives back.
  if (contents.version == 1 && contents.cutRecords > 0) {
    journalFails(Verdict::JournalMayMissChanges, {});
  }
  std::size_t changes = 0;
  for (auto change = contents.changes.rbegin(); change != contents.changes.rend(); ++change) {
    // Put back, or written over by another program: no change of this run's is there.
    const auto end = contents.ends.find(change->sequence);
    if (end != contents.ends.end() &&
        (end->second == ChangeEnd::RolledBack || end->second == ChangeEnd::Interfered)) {
      continue;
    }
    FileOutcome outcome = Unprocessed(change->path, change->path, change->path);
    outcome.undoing = *change;
    outcome.dryRun = command.dryRun;
    if (command.localOnly && files.OnlineOnly(change->path)) {
      outcome.result = Result::LeftAside;
      outcome.reason = kOnlineOnly;
    }
    batch.Add(std::move(outcome));
    ++changes;
  }
  if (changes == 0 && batch.Empty()) {
    output.out += output.json ? JsonMessage(NothingToUndo(), 0) : NothingToUndo();
    return 0;
  }
  const std::vector<FileOutcome> outcomes = batch.Finish();
  // Marked only when every file is as it was: a file left changed can still be undone.
  if (!command.dryRun && std::none_of(outcomes.begin(), outcomes.end(), [](const FileOutcome& o) {
        return o.result == Result::Failed || o.result == Result::NotReached;
      })) {
    const JournalFile* own = batch.Journal().File();
    if (!batch.Journal().MarkUndone(*undone, contents, text) && own) {
      const std::string words = MarkKeptElsewhere(undone->Path(), own->Path());
      output.out += output.json ? JsonMessage(words, 0) : words;
    }
  }
  output.out += ManyFilesEnd(outcomes, Mode::Undo, batch, files, output);
  return ManyFilesStatus(outcomes, Mode::Undo);
}

}  // namespace

int Run(const std::string& tail, FileSystem& files, Output& output) {
  std::string hint;
  output.json = AsksForJson(tail);
  try {
    const Command command = ParseCommandLine(tail, output.shell);
    if (command.help || command.version) {
      const std::string text =
          command.help ? Usage(output.shell) : std::string("Tressol ") + LINGUARDE_VERSION + "\n";
      output.out += output.json ? JsonMessage(text, 0) : text;
      return 0;
    }
    if (command.undo) return Undo(command, files, output);
    // A journal the environment names is made new: the run must not write into another's.
    if (command.settings && !command.noJournal && !output.journalPath.empty() &&
        files.Exists(output.journalPath)) {
      Damaged(Verdict::JournalExists, output.journalPath);
    }
    if (command.meant) hint = MeantChangeHint(*command.meant, output.shell, output.toolPath);
    // Every target is listed before anything is written. Within one folder or pattern, a
    // file is named by its name; among several targets, by its path.
    std::vector<FileOutcome> pending;
    bool many = command.targets.size() > 1;
    for (const std::string& target : command.targets) {
      std::optional<std::vector<FileSystem::Listed>> expanded;
      try {
        expanded = files.Expand(target, command.recurse);
      } catch (const ToolError& error) {
        pending.push_back(Failed(Unprocessed(target, target, target), error));
        continue;
      }
      if (!expanded) {
        // A set stops before its first write when one of its targets names nothing.
        if (command.settings && many && !files.Exists(target)) {
          throw VerdictError(Failure::Io, Verdict::TargetMissing, target);
        }
        pending.push_back(Unprocessed(target, target, target));
        pending.back().linkTarget = files.LinkTarget(target);
        if (command.localOnly && files.OnlineOnly(target)) {
          pending.back().result = Result::LeftAside;
          pending.back().failure = Failure::Refused;
          pending.back().reason = kOnlineOnly;
        }
        continue;
      }
      if (expanded->empty()) {
        // A bare tail meant as a change holds "*" in its settings: it names no pattern.
        if (command.meant) {
          throw VerdictError(Failure::Io, Verdict::MeantTargetMissing, target);
        }
        if (!IsPattern(target)) Damaged(Verdict::NoTargetInFolder, target);
        if (const std::string folder = FolderOf(target); !files.Exists(folder)) {
          Damaged(Verdict::PatternFolderMissing, folder);
        }
        Damaged(Verdict::NoPatternMatch, target);
      }
      pending.reserve(pending.size() + expanded->size());
      for (const FileSystem::Listed& entry : *expanded) {
        pending.push_back(Unprocessed(entry.shown, entry.path,
                                      command.targets.size() > 1 ? entry.shown : entry.relative));
        pending.back().listed = entry.identity;
        if (!entry.leftAside.empty()) {
          pending.back().result = Result::LeftAside;
          pending.back().reason = entry.leftAside;
        }
        if (command.localOnly && entry.onlineOnly) {
          pending.back().result = Result::LeftAside;
          pending.back().reason = kOnlineOnly;
        }
        if (!entry.failed.empty()) {
          pending.back().result = Result::Failed;
          pending.back().reason = entry.failed;
        }
      }
      many = true;
    }
    Batch batch(command, files, output, many);
    batch.Expect(pending.size());
    for (FileOutcome& outcome : pending) batch.Add(std::move(outcome));
    const std::vector<FileOutcome> outcomes = batch.Finish();

    if (!many) {
      const FileOutcome& outcome = outcomes.front();
      if (outcome.result == Result::NotVb6 || outcome.result == Result::Failed ||
          outcome.result == Result::LeftAside) {
        const int status = static_cast<int>(outcome.failure);
        const bool set = command.settings.has_value();
        if (output.json) {
          output.out += JsonMessage(SingleFileFailureWords(outcome, set) + hint, status,
                                    ShortFailureWords(outcome));
        } else {
          output.err += SingleFileFailure(outcome, set) + hint;
        }
        return status;
      }
      if (!command.json) {
        output.out += SingleFileReport(outcome, WayBackStyle{output.shell, output.toolPath}) +
                      UndoEnd(batch, files, output);
      }
      return outcome.result == Result::WrongChecksum ? kWrongChecksum
             : outcome.result == Result::Differs     ? kDiffers
                                                     : 0;
    }
    output.out += ManyFilesEnd(outcomes, command.Doing(), batch, files, output);
    return ManyFilesStatus(outcomes, command.Doing());
  } catch (const ToolError& error) {
    const int status = static_cast<int>(error.Kind());
    if (output.json) {
      output.out +=
          JsonMessage(ReasonOf(error) + hint, status, ShortReasonOf(error), MessageKindOf(error));
    } else {
      output.err += error.Kind() == Failure::Usage
                        ? ReasonOf(error)
                        : Wrap("Tressol : " + ReasonOf(error) + ".", "  ");
      output.err += hint;
    }
    return status;
  }
}

}  // namespace tressol
