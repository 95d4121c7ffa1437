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

// Writes the settings into a file already found to be a VB6 binary with other settings.
// The file is opened again for writing, shared with nobody, and read again under that
// lock; what was found before only decided that it is worth doing.
void Set(FileOutcome& outcome, const LanguageSettings& settings, FileSystem& files,
         const Output& output) {
  const std::string& path = outcome.path;
  const std::unique_ptr<TargetFile> file = files.Open(path, true);
  const PeImage image = ReadPeImage(*file);
  const VbHeader header = LocateVbHeader(*file, image);
  outcome.header = header;
  outcome.before = header.settings;
  outcome.settings = header.settings;
  if (header.settings == settings) {
    outcome.done = Done::AlreadySet;
    return;
  }
  // A malformed image, which a change could only make worse.
  if (SignatureOf(image, file->Size()) == Signature::OutsideFile) {
    Refuse("la table de certificats de sa signature sort du fichier (image mal formée)");
  }
  std::string notExact;
  if (SettingsBytes(header, header.settings) !=
      std::vector<std::uint8_t>(header.bytes.begin() + kSettingsStart,
                                header.bytes.begin() + kSettingsEnd)) {
    notExact = "un nom de bibliothèque d'avant est suivi d'octets que la commande remet à zéro";
  }

  std::vector<Patch> patches;
  const Patch patch{header.offset + kSettingsStart,
                    {header.bytes.begin() + kSettingsStart, header.bytes.begin() + kSettingsEnd},
                    SettingsBytes(header, settings)};
  patches.push_back(patch);

  outcome.checksum = "absente (0), laissée à 0";
  if (image.checksum != 0) {
    // The words that change, aligned on the file's even offsets.
    const std::size_t start = kSettingsStart - (patch.offset % 2);
    const std::size_t end = kSettingsEnd + ((header.offset + kSettingsEnd) % 2);
    std::vector<std::uint8_t> before(header.bytes.begin() + start, header.bytes.begin() + end);
    std::vector<std::uint8_t> after = before;
    std::copy(patch.after.begin(), patch.after.end(), after.begin() + (kSettingsStart - start));
    std::optional<std::uint32_t> checksum =
        UpdatedPeChecksum(image.checksum, file->Size(), before, after);
    if (!checksum) {
      // A stored value that cannot be this file's checksum: start again from the real one.
      checksum = UpdatedPeChecksum(FullPeChecksum(*file, image.checksumOffset), file->Size(),
                                   before, after);
    }
    if (!checksum) {
      Refuse("sa somme de contrôle PE ne peut pas être calculée");
    }
    if (UpdatedPeChecksum(*checksum, file->Size(), after, before) != image.checksum) {
      notExact = "la somme de contrôle PE d'avant, " + Hex(image.checksum) +
                 ", n'était pas celle du fichier ; la commande écrit la bonne";
    }
    std::vector<std::uint8_t> oldField(4), newField(4);
    PutU32(oldField, 0, image.checksum);
    PutU32(newField, 0, *checksum);
    patches.push_back({image.checksumOffset, oldField, newField});
    outcome.checksum = Hex(image.checksum) + ", devenue " + Hex(*checksum);
  }

  Apply(*file, patches);
  outcome.done = Done::Changed;
  outcome.settings = settings;
  outcome.notExact = notExact;
  outcome.wayBack = WayBackCommand(output.shell, output.toolPath, header.settings,
                                   files.AbsolutePath(outcome.path), outcome.notExact);
}

FileOutcome Failed(FileOutcome outcome, const ToolError& error) {
  outcome.done = dynamic_cast<const BusyFile*>(&error) != nullptr ? Done::Busy : Done::Failed;
  outcome.failure = error.Kind();
  outcome.reason = error.what();
  return outcome;
}

// Views or sets one file. A file shown not to be a VB6 binary is NotVb6; a file that
// cannot be read well enough to tell, or a VB6 binary that cannot be set, is Failed and
// stays as it was; a file held by another program is Busy.
FileOutcome Process(const std::string& path, const std::string& name, const Command& command,
                    FileSystem& files, LibraryFinder& libraries, const Output& output) {
  FileOutcome outcome;
  outcome.path = path;
  outcome.name = name;
  try {
    const std::unique_ptr<TargetFile> file = files.Open(path, false);
    const PeImage image = ReadPeImage(*file);
    outcome.header = LocateVbHeader(*file, image);
    outcome.signature = SignatureOf(image, file->Size());
  } catch (const NotVb6File& error) {
    outcome = Failed(outcome, error);
    outcome.done = Done::NotVb6;
    return outcome;
  } catch (const ToolError& error) {
    return Failed(outcome, error);
  }
  outcome.settings = outcome.header->settings;
  if (!command.settings) {
    outcome.done = Done::Shown;
  } else if (outcome.settings == *command.settings) {
    outcome.done = Done::AlreadySet;
    outcome.before = outcome.settings;
  } else {
    try {
      Set(outcome, *command.settings, files, output);
    } catch (const ToolError& error) {
      outcome.before.reset();
      return Failed(outcome, error);
    }
  }
  outcome.libraries = libraries.Find(outcome.settings, path);
  return outcome;
}

// Busy files are set aside so that the others go on; then they are tried again, all of
// them within one patience for the whole run, and those still held fail.
class Processing {
 public:
  Processing(const Command& command, FileSystem& files, Output& output, bool many)
      : command_(command), files_(files), output_(output), many_(many), libraries_(files) {}

  void Add(const std::string& path, const std::string& name) {
    Settle(Process(path, name, command_, files_, libraries_, output_));
  }

  std::vector<FileOutcome> Finish() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point giveUp = Clock::now() + kBusyPatience;
    while (!busy_.empty() && Clock::now() < giveUp) {
      std::this_thread::sleep_for(kBusyRetry);
      std::vector<FileOutcome> held;
      held.swap(busy_);
      for (const FileOutcome& outcome : held) Add(outcome.path, outcome.name);
    }
    for (FileOutcome& outcome : busy_) {
      outcome.done = Done::Failed;
      Settle(std::move(outcome));
    }
    busy_.clear();
    return std::move(done_);
  }

 private:
  static constexpr std::chrono::milliseconds kBusyPatience{2000};
  static constexpr std::chrono::milliseconds kBusyRetry{100};

  void Settle(FileOutcome outcome) {
    if (outcome.done == Done::Busy) {
      busy_.push_back(std::move(outcome));
      return;
    }
    if (command_.json) {
      output_.out += JsonLine(outcome);
    } else if (many_) {
      output_.out += FileLine(outcome);
    }
    output_.Flush();
    done_.push_back(std::move(outcome));
  }

  const Command& command_;
  FileSystem& files_;
  Output& output_;
  bool many_;
  LibraryFinder libraries_;
  std::vector<FileOutcome> busy_;
  std::vector<FileOutcome> done_;
};

}  // namespace

int Run(const std::string& tail, FileSystem& files, Output& output) {
  std::string hint;
  try {
    const Command command = ParseCommandLine(tail);
    hint = command.setHint;
    // Within one folder or pattern, a file is named by its name; among several targets,
    // by its path.
    std::vector<std::pair<std::string, std::string>> paths;
    bool many = command.targets.size() > 1;
    for (const std::string& target : command.targets) {
      const auto expanded = files.Expand(target);
      if (!expanded) {
        paths.emplace_back(target, target);
        continue;
      }
      if (expanded->empty()) {
        Refuse(IsPattern(target)
                   ? "aucun fichier ne correspond au motif « " + target + " »"
                   : "le dossier « " + target + " » ne contient aucun fichier .exe, .dll ou .ocx");
      }
      for (const std::string& path : *expanded) {
        paths.emplace_back(path, command.targets.size() > 1 ? path : FileName(path));
      }
      many = true;
    }
    Processing processing(command, files, output, many);
    for (const auto& [path, name] : paths) processing.Add(path, name);
    const std::vector<FileOutcome> outcomes = processing.Finish();

    if (!many) {
      const FileOutcome& outcome = outcomes.front();
      if (outcome.done == Done::NotVb6 || outcome.done == Done::Failed) {
        output.err += SingleFileFailure(outcome, command.settings.has_value()) + hint;
        return static_cast<int>(outcome.failure);
      }
      if (!command.json) output.out += SingleFileReport(outcome);
      return 0;
    }
    if (!command.json) output.out += FolderEnd(outcomes, command.settings.has_value());
    const auto failed = std::find_if(outcomes.begin(), outcomes.end(),
                                     [](const FileOutcome& o) { return o.done == Done::Failed; });
    if (failed != outcomes.end()) {
      return static_cast<int>(failed->failure);
    }
    if (std::all_of(outcomes.begin(), outcomes.end(),
                    [](const FileOutcome& o) { return o.done == Done::NotVb6; })) {
      Refuse("aucun des fichiers n'est un fichier VB6");
    }
    return 0;
  } catch (const ToolError& error) {
    output.err += error.Kind() == Failure::Usage
                      ? error.what()
                      : Wrap(std::string("Tressol : ") + error.what() + ".", "  ");
    output.err += hint;
    return static_cast<int>(error.Kind());
  }
}

}  // namespace tressol
