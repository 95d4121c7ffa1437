#include "tressol.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "command_line.h"
#include "json_line.h"
#include "library_check.h"
#include "pe_checksum.h"
#include "pe_image.h"
#include "report.h"
#include "tool_error.h"
#include "vb_header.h"

namespace tressol {
namespace {

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string Where(const std::string& path, const VbHeader& header) {
  const char* by = header.foundBy == HeaderFoundBy::EntryPoint ? "désigné par le point d'entrée"
                   : header.foundBy == HeaderFoundBy::Exports  ? "désigné par les exportations"
                                                               : "trouvé par recherche";
  return "Fichier : " + path + "\n" + "En-tête VB : position " + Hex(header.offset) +
         " dans le fichier (" + by + ")\n" +
         "Version du moteur d'exécution : " + std::to_string(header.runtimeBuild) + "\n";
}

// A certificate table that lies outside the file makes a malformed image, which a change
// could only make worse.
bool CertificatesOutside(const PeImage& image, std::uint64_t fileSize) {
  return image.securitySize != 0 &&
         std::uint64_t{image.securityOffset} + image.securitySize > fileSize;
}

std::string SignatureLine(const PeImage& image, std::uint64_t fileSize) {
  if (image.securitySize == 0) return {};
  return CertificatesOutside(image, fileSize)
             ? "Signature Authenticode : sa table de certificats sort du fichier (image mal "
               "formée, qui ne sera pas modifiée)\n"
             : "Signature Authenticode : le fichier est signé\n";
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
    throw ToolError(Failure::Io, std::string("écriture impossible : ") + error.what() +
                                     (restored ? " ; le fichier a été remis dans son état d'origine"
                                               : " ; ATTENTION, le fichier n'a pas pu être remis "
                                                 "dans son état d'origine"));
  }
}

// What became of one file. Busy: held by another program; tried again later.
enum class Done { Shown, Changed, AlreadySet, NotVb6, Failed, Busy };

struct FileOutcome {
  std::string path;
  Done done = Done::Failed;
  Failure failure = Failure::Io;           // NotVb6 and Failed: the kind of failure
  std::string reason;                      // NotVb6 and Failed: why, in one line
  std::optional<VbHeader> header;          // as found before anything was written
  LanguageSettings settings;               // as the file holds them now
  std::optional<LanguageSettings> before;  // a set's VB6 file: as it held them before
  bool isSigned = false;
  std::string report;   // the French lines of a VB6 file
  std::string wayBack;  // a changed file: the lines that say how to undo the change
  std::vector<LibraryPresence> libraries;
};

// The lines that end a change's report: the command that gives the file back its
// previous settings, and where running it would not give back the very same bytes, why.
std::string WayBackLines(const std::string& path, const LanguageSettings& before,
                         std::string notExact, FileSystem& files, const Output& output) {
  const auto command =
      WayBackCommand(output.shell, output.toolPath, before, files.AbsolutePath(path), notExact);
  if (!command) {
    return "Aucune commande ne peut rétablir exactement les réglages d'avant : " + notExact + ".\n";
  }
  std::string lines = "Pour revenir aux réglages d'avant :\n  " + *command + "\n";
  if (!notExact.empty()) {
    lines += "Ce retour ne rend pas le fichier identique octet pour octet : " + notExact + ".\n";
  }
  return lines;
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
  outcome.before = header.settings;
  outcome.report = Where(path, header) + SignatureLine(image, file->Size()) + "Avant :\n" +
                   DescribeSettings(header.settings);
  if (header.settings == settings) {
    outcome.report += "Les réglages sont déjà ceux demandés : le fichier n'est pas modifié.\n";
    outcome.done = Done::AlreadySet;
    return;
  }
  if (CertificatesOutside(image, file->Size())) {
    Refuse("la table de certificats de sa signature sort du fichier : l'image est mal formée");
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

  std::string checksumLine = "Somme de contrôle PE : absente (0), laissée à 0\n";
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
      Refuse("la somme de contrôle PE ne peut pas être calculée pour ce fichier");
    }
    if (UpdatedPeChecksum(*checksum, file->Size(), after, before) != image.checksum) {
      notExact = "la somme de contrôle PE d'avant, " + Hex(image.checksum) +
                 ", n'était pas celle du fichier ; la commande écrit la bonne";
    }
    std::vector<std::uint8_t> oldField(4), newField(4);
    PutU32(oldField, 0, image.checksum);
    PutU32(newField, 0, *checksum);
    patches.push_back({image.checksumOffset, oldField, newField});
    checksumLine =
        "Somme de contrôle PE : " + Hex(image.checksum) + " devient " + Hex(*checksum) + "\n";
  }

  Apply(*file, patches);
  outcome.done = Done::Changed;
  outcome.settings = settings;
  outcome.report += "Après :\n" + DescribeSettings(settings) + checksumLine;
  if (image.securitySize != 0) {
    // The signature's hash leaves out the checksum and the certificates: the same bytes
    // back make it valid again.
    outcome.report +=
        "Attention : le fichier porte une signature Authenticode, qui n'est plus "
        "valide après cette modification" +
        std::string(notExact.empty() ? " ; la commande de retour ci-dessous la "
                                       "rend de nouveau valide.\n"
                                     : ".\n");
  }
  outcome.wayBack = WayBackLines(path, header.settings, notExact, files, output);
}

FileOutcome Failed(FileOutcome outcome, const ToolError& error) {
  outcome.done = dynamic_cast<const BusyFile*>(&error) != nullptr ? Done::Busy : Done::Failed;
  outcome.failure = error.Kind();
  outcome.reason = error.what();
  return outcome;
}

// Views or sets one file. A file that can be read but not as a VB6 binary is NotVb6; a
// file that cannot be read, or a VB6 binary that cannot be set, is Failed and stays as it
// was; a file held by another program is Busy.
FileOutcome Process(const std::string& path, const Command& command, FileSystem& files,
                    LibraryFinder& libraries, const Output& output) {
  FileOutcome outcome;
  outcome.path = path;
  std::unique_ptr<TargetFile> file;
  try {
    file = files.Open(path, false);
  } catch (const ToolError& error) {
    return Failed(outcome, error);
  }
  std::string signature;
  try {
    const PeImage image = ReadPeImage(*file);
    outcome.header = LocateVbHeader(*file, image);
    outcome.isSigned = image.securitySize != 0;
    signature = SignatureLine(image, file->Size());
  } catch (const ToolError& error) {
    outcome = Failed(outcome, error);
    if (error.Kind() == Failure::Refused) outcome.done = Done::NotVb6;
    return outcome;
  }
  file.reset();
  outcome.settings = outcome.header->settings;
  if (!command.settings) {
    outcome.done = Done::Shown;
    outcome.report = Where(path, *outcome.header) + signature + DescribeSettings(outcome.settings);
  } else if (outcome.settings == *command.settings) {
    outcome.done = Done::AlreadySet;
    outcome.before = outcome.settings;
    outcome.report = Where(path, *outcome.header) + signature + DescribeSettings(outcome.settings) +
                     "Les réglages sont déjà ceux demandés : le fichier n'est pas modifié.\n";
  } else {
    try {
      Set(outcome, *command.settings, files, output);
    } catch (const ToolError& error) {
      outcome.before.reset();
      return Failed(outcome, error);
    }
  }
  outcome.libraries = libraries.Find(outcome.settings, path);
  outcome.report +=
      DescribeLibraries(outcome.libraries, outcome.settings, path, files) + outcome.wayBack;
  return outcome;
}

const char* DoneWord(Done done) {
  switch (done) {
    case Done::Shown:
      return "shown";
    case Done::Changed:
      return "changed";
    case Done::AlreadySet:
      return "already-set";
    case Done::NotVb6:
      return "skipped";
    case Done::Failed:
    case Done::Busy:
      break;
  }
  return "failed";
}

std::string JsonSettings(const LanguageSettings& s) {
  return "\"primaryLibrary\":" + JsonString(s.primaryLibrary) +
         ",\"primaryLcid\":" + std::to_string(s.primaryLcid) +
         ",\"secondaryLibrary\":" + JsonString(s.secondaryLibrary) +
         ",\"secondaryLcid\":" + std::to_string(s.secondaryLcid);
}

std::string JsonLine(const FileOutcome& outcome) {
  const bool vb6 = outcome.header.has_value();
  std::string line = "{\"path\":" + JsonString(outcome.path) +
                     ",\"vb6\":" + (vb6 ? "true" : "false") + ",\"done\":\"" +
                     DoneWord(outcome.done) + "\"";
  if (!outcome.reason.empty()) line += ",\"reason\":" + JsonString(outcome.reason);
  if (vb6) {
    line += std::string(",\"signed\":") + (outcome.isSigned ? "true" : "false") +
            ",\"headerOffset\":" + std::to_string(outcome.header->offset) +
            ",\"runtimeBuild\":" + std::to_string(outcome.header->runtimeBuild) + "," +
            JsonSettings(outcome.settings);
    if (outcome.before) line += ",\"before\":{" + JsonSettings(*outcome.before) + "}";
    line += ",\"libraries\":[";
    for (std::size_t i = 0; i < outcome.libraries.size(); ++i) {
      const LibraryPresence& library = outcome.libraries[i];
      line += std::string(i == 0 ? "" : ",") + "{\"name\":" + JsonString(library.name) +
              ",\"found\":" + (library.found ? "true" : "false");
      if (library.found) line += ",\"folder\":" + JsonString(library.folder);
      line += "}";
    }
    line += "]";
  }
  return line + "}\n";
}

// One file's part of the French report of many files.
std::string ManyFilesEntry(const FileOutcome& outcome) {
  switch (outcome.done) {
    case Done::NotVb6:
      return "Pas un binaire VB6, laissé tel quel : " + outcome.path + " : " + outcome.reason +
             "\n\n";
    case Done::Failed:
      return "En échec, laissé tel quel : " + outcome.path + " : " + outcome.reason + "\n\n";
    default:
      return outcome.report + "\n";
  }
}

std::string ManyFilesSummary(const std::vector<FileOutcome>& outcomes, bool set) {
  int counts[6] = {};
  for (const FileOutcome& outcome : outcomes) ++counts[static_cast<int>(outcome.done)];
  const auto count = [&](Done done) { return std::to_string(counts[static_cast<int>(done)]); };
  if (set) {
    return "Résumé : " + count(Done::Changed) + " modifié(s), " + count(Done::AlreadySet) +
           " déjà réglé(s), " + count(Done::NotVb6) + " ignoré(s), " + count(Done::Failed) +
           " en échec.\n";
  }
  return "Résumé : " + count(Done::Shown) + " binaire(s) VB6, " + count(Done::NotVb6) +
         " autre(s) fichier(s), " + count(Done::Failed) + " en échec.\n";
}

// Busy files are set aside so that the others go on; then they are tried again, all of
// them within one patience for the whole run, and those still held fail.
class Processing {
 public:
  Processing(const Command& command, FileSystem& files, Output& output, bool many)
      : command_(command), files_(files), output_(output), many_(many), libraries_(files) {}

  void Add(const std::string& path) {
    Settle(Process(path, command_, files_, libraries_, output_));
  }

  std::vector<FileOutcome> Finish() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point giveUp = Clock::now() + kBusyPatience;
    while (!busy_.empty() && Clock::now() < giveUp) {
      std::this_thread::sleep_for(kBusyRetry);
      std::vector<FileOutcome> held;
      held.swap(busy_);
      for (const FileOutcome& outcome : held) Add(outcome.path);
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
      output_.out += ManyFilesEntry(outcome);
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
    std::vector<std::string> paths;
    bool many = command.targets.size() > 1;
    for (const std::string& target : command.targets) {
      if (const auto expanded = files.Expand(target)) {
        if (expanded->empty()) {
          Refuse("aucun fichier .exe, .dll ou .ocx ne correspond à « " + target + " »");
        }
        paths.insert(paths.end(), expanded->begin(), expanded->end());
        many = true;
      } else {
        paths.push_back(target);
      }
    }
    Processing processing(command, files, output, many);
    for (const std::string& path : paths) processing.Add(path);
    const std::vector<FileOutcome> outcomes = processing.Finish();

    if (!many) {
      const FileOutcome& outcome = outcomes.front();
      if (outcome.done == Done::NotVb6 || outcome.done == Done::Failed) {
        throw ToolError(outcome.failure, outcome.reason);
      }
      if (!command.json) output.out += outcome.report;
      return 0;
    }
    if (!command.json) output.out += ManyFilesSummary(outcomes, command.settings.has_value());
    const auto failed = std::find_if(outcomes.begin(), outcomes.end(),
                                     [](const FileOutcome& o) { return o.done == Done::Failed; });
    if (failed != outcomes.end()) {
      return static_cast<int>(failed->failure);
    }
    if (std::all_of(outcomes.begin(), outcomes.end(),
                    [](const FileOutcome& o) { return o.done == Done::NotVb6; })) {
      Refuse("aucun des fichiers n'est un binaire VB6");
    }
    return 0;
  } catch (const ToolError& error) {
    output.err += error.Kind() == Failure::Usage ? error.what()
                                                 : std::string("Tressol : ") + error.what() + "\n";
    if (error.Kind() == Failure::Refused) {
      output.err += "Le fichier n'a pas été modifié.\n";
    }
    output.err += hint;
    return static_cast<int>(error.Kind());
  }
}

}  // namespace tressol
