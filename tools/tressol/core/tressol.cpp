#include "tressol.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "command_line.h"
#include "library_check.h"
#include "pe_checksum.h"
#include "pe_image.h"
#include "file_report.h"
#include "outcome.h"
#include "report.h"
#include "tool_error.h"
#include "vb_header.h"

namespace tressol {
namespace {

namespace vb = layout::vb;

bool IsPattern(const std::string& target) {
  return FileName(target).find_first_of("*?") != std::string::npos;
}

Signature SignatureOf(const PeImage& image, std::uint64_t fileSize) {
  if (image.securitySize == 0) return Signature::None;
  return std::uint64_t{image.securityOffset} + image.securitySize > fileSize
             ? Signature::OutsideFile
             : Signature::Present;
}

struct Patch {
  std::uint64_t offset;
  std::vector<std::uint8_t> before;
  std::vector<std::uint8_t> after;
};

std::vector<std::uint8_t> Read(TargetFile& file, const Patch& patch) {
  std::vector<std::uint8_t> bytes(patch.after.size());
  file.ReadAt(patch.offset, bytes.data(), bytes.size());
  return bytes;
}

// Writes each patch in one positioned write, flushes and reads back; on any failure puts
// the original bytes back before reporting.
void Apply(TargetFile& file, const std::vector<Patch>& patches) {
  try {
    for (const Patch& patch : patches)
      file.WriteAt(patch.offset, patch.after.data(), patch.after.size());
    file.Flush();
    for (const Patch& patch : patches) {
      if (Read(file, patch) != patch.after) {
        throw ToolError(Failure::Io, "les octets relus ne sont pas ceux qui ont été écrits");
      }
    }
  } catch (const ToolError& error) {
    bool restored = true;
    try {
      for (const Patch& patch : patches)
        file.WriteAt(patch.offset, patch.before.data(), patch.before.size());
      file.Flush();
      for (const Patch& patch : patches) restored = restored && Read(file, patch) == patch.before;
    } catch (const ToolError&) {
      restored = false;
    }
    throw ToolError(Failure::Io, std::string(error.what()) +
                                     (restored ? " ; le fichier a été remis dans son état d'origine"
                                               : ", et le fichier n'a pas pu être remis dans son "
                                                 "état d'origine : remplacez-le par une copie"));
  }
}

// The whole file's PE checksum, where the file keeps one (zero: none). A stored value is
// never trusted as it is: a set interrupted between its two writes, or another tool, may
// have left it wrong, and every later set would carry the error on.
std::optional<std::uint32_t> ActualChecksum(TargetFile& file, const PeImage& image) {
  if (image.checksum == 0) return std::nullopt;
  if (file.Size() > 0xFFFFFFFFu) {
    Refuse("il dépasse 4 Gio, plus que la somme de contrôle d'une image PE32 ne peut compter");
  }
  return FullPeChecksum(file, image.checksumOffset);
}

// Writes the settings, and a right checksum, into a file already found to be a VB6 binary
// whose settings or checksum differ. The file is opened again for writing, shared with
// nobody, and read again under that lock; what was found before only decided that it is
// worth doing.
void Set(FileOutcome& outcome, const LanguageSettings& settings, FileSystem& files) {
  const std::unique_ptr<TargetFile> file = files.Open(outcome.openPath, true);
  const PeImage image = ReadPeImage(*file);
  const VbHeader header = LocateVbHeader(*file, image);
  outcome.header = header;
  outcome.settings = header.settings;
  const std::optional<std::uint32_t> actual = ActualChecksum(*file, image);
  const bool checksumWrong = actual && *actual != image.checksum;
  const bool same = header.settings == settings;
  if (same && !checksumWrong) {
    outcome.result = Result::AlreadySet;
    return;
  }
  // A malformed image, which a change could only make worse.
  if (SignatureOf(image, file->Size()) == Signature::OutsideFile) {
    Refuse("la table de certificats de sa signature sort du fichier (image mal formée)");
  }
  const std::vector<std::uint8_t> current(header.bytes.begin() + vb::kSettingsStart,
                                          header.bytes.begin() + vb::kSettingsEnd);
  const Patch patch{header.offset + vb::kSettingsStart, current,
                    same ? current : SettingsBytes(header, settings)};
  std::vector<Patch> patches;
  WayBackCaveat caveat = WayBackCaveat::None;
  if (!same) {
    patches.push_back(patch);
    if (SettingsBytes(header, header.settings) != current) {
      caveat = WayBackCaveat::BytesAfterLibraryName;
    }
  }

  outcome.checksum = ChecksumWrite{};
  if (actual) {
    // The words that change, aligned on the file's even offsets.
    const std::size_t start = vb::kSettingsStart - (patch.offset % 2);
    const std::size_t end = vb::kSettingsEnd + ((header.offset + vb::kSettingsEnd) % 2);
    std::vector<std::uint8_t> before(header.bytes.begin() + start, header.bytes.begin() + end);
    std::vector<std::uint8_t> after = before;
    std::copy(patch.after.begin(), patch.after.end(), after.begin() + (vb::kSettingsStart - start));
    const std::optional<std::uint32_t> checksum =
        UpdatedPeChecksum(*actual, file->Size(), before, after);
    if (!checksum) {
      Refuse("sa somme de contrôle PE ne peut pas être calculée");
    }
    if (checksumWrong && !same) caveat = WayBackCaveat::WrongChecksum;
    std::vector<std::uint8_t> oldField(4), newField(4);
    PutU32(oldField, 0, image.checksum);
    PutU32(newField, 0, *checksum);
    patches.push_back({image.checksumOffset, oldField, newField});
    outcome.checksum = ChecksumWrite{image.checksum, *checksum, checksumWrong};
  }

  Apply(*file, patches);
  if (same) {
    outcome.result = Result::AlreadySet;
    return;
  }
  outcome.result = Result::Changed;
  outcome.settings = settings;
  outcome.caveat = caveat;
  outcome.absolutePath = files.AbsolutePath(outcome.openPath);
}

FileOutcome Failed(FileOutcome outcome, const ToolError& error) {
  const auto* file = dynamic_cast<const FileError*>(&error);
  outcome.result = file && file->Busy() ? Result::Busy : Result::Failed;
  outcome.failure = error.Kind();
  outcome.reason = error.what();
  return outcome;
}

// Library names as Windows finds files, without regard to case; locales exactly.
bool SameAsRuntimeReads(const LanguageSettings& a, const LanguageSettings& b) {
  const auto sameName = [](const std::string& x, const std::string& y) {
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char c, char d) {
             const auto lower = [](char l) {
               return l >= 'A' && l <= 'Z' ? static_cast<char>(l - 'A' + 'a') : l;
             };
             return lower(c) == lower(d);
           });
  };
  return sameName(a.primaryLibrary, b.primaryLibrary) && a.primaryLcid == b.primaryLcid &&
         sameName(a.secondaryLibrary, b.secondaryLibrary) && a.secondaryLcid == b.secondaryLcid;
}

// Views or sets one file. A file shown not to be a VB6 binary is NotVb6; a file that
// cannot be read well enough to tell, or a VB6 binary that cannot be set, is Failed and
// stays as it was; a file held by another program is Busy.
FileOutcome Process(FileOutcome outcome, const Command& command, FileSystem& files,
                    LibraryFinder& libraries) {
  bool checksumRight = true;
  try {
    const std::unique_ptr<TargetFile> file = files.Open(outcome.openPath, false);
    const PeImage image = ReadPeImage(*file);
    outcome.header = LocateVbHeader(*file, image);
    outcome.signature = SignatureOf(image, file->Size());
    if (command.settings && outcome.header->settings == *command.settings) {
      const std::optional<std::uint32_t> actual = ActualChecksum(*file, image);
      checksumRight = !actual || *actual == image.checksum;
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
    outcome.result =
        SameAsRuntimeReads(outcome.settings, *command.expected) ? Result::Matches : Result::Differs;
    return outcome;
  }
  if (!command.settings) {
    outcome.result = Result::Shown;
  } else if (outcome.settings == *command.settings && checksumRight) {
    outcome.result = Result::AlreadySet;
  } else {
    try {
      Set(outcome, *command.settings, files);
    } catch (const ToolError& error) {
      return Failed(outcome, error);
    }
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
// them within one patience for the whole run, and those still held fail. Each file is
// reported, its way back with it, as soon as it is done: a run cut short still tells how
// to undo what it did.
class Batch {
 public:
  Batch(const Command& command, FileSystem& files, Output& output, bool many)
      : command_(command), files_(files), output_(output), many_(many), libraries_(files) {}

  void Add(FileOutcome outcome) {
    Record(outcome.result != Result::Pending
               ? std::move(outcome)
               : Process(std::move(outcome), command_, files_, libraries_));
  }

  // The run's way back, where one was written.
  std::string ScriptPath() const { return script_ ? script_->Path() : std::string(); }
  std::optional<Shell> ScriptSyntax() const {
    return script_ ? std::optional<Shell>(script_->Syntax()) : std::nullopt;
  }

  std::vector<FileOutcome> Finish() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point giveUp = Clock::now() + kBusyPatience;
    while (!busy_.empty() && Clock::now() < giveUp) {
      std::this_thread::sleep_for(kBusyRetry);
      std::vector<FileOutcome> held;
      held.swap(busy_);
      for (const FileOutcome& outcome : held) {
        FileOutcome again = Unprocessed(outcome.path, outcome.openPath, outcome.name);
        again.linkTarget = outcome.linkTarget;
        Add(std::move(again));
      }
    }
    for (FileOutcome& outcome : busy_) {
      outcome.result = Result::Failed;
      Record(std::move(outcome));
    }
    busy_.clear();
    return std::move(done_);
  }

 private:
  static constexpr std::chrono::milliseconds kBusyPatience{2000};
  static constexpr std::chrono::milliseconds kBusyRetry{100};

  void Record(FileOutcome outcome) {
    if (outcome.result == Result::Busy) {
      busy_.push_back(std::move(outcome));
      return;
    }
    const WayBackStyle style{output_.shell, output_.toolPath};
    if (outcome.result == Result::Changed) AddToWayBack(outcome);
    if (command_.json) {
      output_.out += JsonLine(outcome, style);
    } else if (many_) {
      output_.out += FileLine(outcome, style);
    }
    output_.Flush();
    done_.push_back(std::move(outcome));
  }

  // The run's way back is made at its first change; a file whose previous settings no
  // command can carry is not in it, and its report says why.
  void AddToWayBack(FileOutcome& outcome) {
    if (!script_ && !scriptTried_) {
      scriptTried_ = true;
      script_ = files_.CreateWayBackScript();
    }
    if (!script_) return;
    std::string whyNot;
    const auto line = WayBackCommand(script_->Syntax(), output_.toolPath, *outcome.Before(),
                                     outcome.absolutePath, whyNot);
    if (!line) return;
    try {
      script_->Add(*line);
      outcome.wayBackScript = script_->Path();
    } catch (const ToolError&) {
      script_.reset();  // the report then prints each file's way back itself
    }
  }

  const Command& command_;
  FileSystem& files_;
  Output& output_;
  bool many_;
  LibraryFinder libraries_;
  std::vector<FileOutcome> busy_;
  std::vector<FileOutcome> done_;
  std::unique_ptr<WayBackScript> script_;
  bool scriptTried_ = false;
};

}  // namespace

int Run(const std::string& tail, FileSystem& files, Output& output) {
  std::string hint;
  try {
    const Command command = ParseCommandLine(tail, output.shell);
    output.json = command.json;
    if (command.help) {
      output.out += Usage(output.shell);
      return 0;
    }
    if (command.version) {
      output.out += std::string("Tressol ") + LINGUARDE_VERSION + "\n";
      return 0;
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
          throw ToolError(Failure::Io, "« " + target +
                                           " » n'existe pas ; vérifiez le chemin. Aucun fichier "
                                           "n'a été modifié");
        }
        pending.push_back(Unprocessed(target, target, target));
        pending.back().linkTarget = files.LinkTarget(target);
        continue;
      }
      if (expanded->empty()) {
        // A bare tail meant as a change holds "*" in its settings: it names no pattern.
        if (command.meant) {
          throw ToolError(Failure::Io,
                          "« " + command.meant->target + " » : ce fichier n'existe pas");
        }
        Refuse(IsPattern(target)
                   ? "aucun fichier ne correspond au motif « " + target + " »"
                   : "le dossier « " + target + " » ne contient aucun fichier .exe, .dll ou .ocx");
      }
      for (const FileSystem::Listed& entry : *expanded) {
        pending.push_back(Unprocessed(entry.shown, entry.path,
                                      command.targets.size() > 1 ? entry.shown : entry.relative));
        if (!entry.leftAside.empty()) {
          pending.back().result = Result::LeftAside;
          pending.back().reason = entry.leftAside;
        }
      }
      many = true;
    }
    Batch batch(command, files, output, many);
    for (FileOutcome& outcome : pending) batch.Add(std::move(outcome));
    const std::vector<FileOutcome> outcomes = batch.Finish();

    if (!many) {
      const FileOutcome& outcome = outcomes.front();
      if (outcome.result == Result::NotVb6 || outcome.result == Result::Failed ||
          outcome.result == Result::LeftAside) {
        output.err += SingleFileFailure(outcome, command.settings.has_value()) + hint;
        return static_cast<int>(outcome.failure);
      }
      if (!command.json) {
        output.out += SingleFileReport(outcome, WayBackStyle{output.shell, output.toolPath});
        if (const auto syntax = batch.ScriptSyntax()) {
          output.out += WayBackScriptLines(batch.ScriptPath(), *syntax);
        }
      }
      return outcome.result == Result::Differs ? kDiffers : 0;
    }
    if (!command.json) {
      output.out += FolderEnd(outcomes, command.Doing());
      if (const auto syntax = batch.ScriptSyntax()) {
        output.out += WayBackScriptLines(batch.ScriptPath(), *syntax);
      }
    }
    // A failure wins over a difference: what failed was not checked.
    const auto failed = std::find_if(outcomes.begin(), outcomes.end(), [](const FileOutcome& o) {
      return o.result == Result::Failed;
    });
    if (failed != outcomes.end()) {
      return static_cast<int>(failed->failure);
    }
    if (std::all_of(outcomes.begin(), outcomes.end(), [](const FileOutcome& o) {
          return o.result == Result::NotVb6 || o.result == Result::LeftAside;
        })) {
      Refuse("aucun des fichiers n'est un fichier VB6");
    }
    const bool differs = std::any_of(outcomes.begin(), outcomes.end(), [](const FileOutcome& o) {
      return o.result == Result::Differs;
    });
    return differs ? kDiffers : 0;
  } catch (const ToolError& error) {
    output.err += error.Kind() == Failure::Usage
                      ? error.what()
                      : Wrap(std::string("Tressol : ") + error.what() + ".", "  ");
    output.err += hint;
    return static_cast<int>(error.Kind());
  }
}

}  // namespace tressol
