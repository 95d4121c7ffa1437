#include "tressol.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "command_line.h"
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

std::string View(const ViewCommand& command, FileSystem& files) {
  const std::unique_ptr<TargetFile> file = files.Open(command.target, false);
  const PeImage image = ReadPeImage(*file);
  const VbHeader header = LocateVbHeader(*file, image);
  return Where(command.target, header) + DescribeSettings(header.settings);
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

std::string Set(const SetCommand& command, FileSystem& files) {
  const std::unique_ptr<TargetFile> file = files.Open(command.target, true);
  const PeImage image = ReadPeImage(*file);
  const VbHeader header = LocateVbHeader(*file, image);
  std::string report =
      Where(command.target, header) + "Avant :\n" + DescribeSettings(header.settings);
  if (header.settings == command.settings) {
    return report + "Les réglages sont déjà ceux demandés : le fichier n'est pas modifié.\n";
  }

  std::vector<Patch> patches;
  const Patch settings{header.offset + kSettingsStart,
                       {header.bytes.begin() + kSettingsStart, header.bytes.begin() + kSettingsEnd},
                       SettingsBytes(header, command.settings)};
  patches.push_back(settings);

  std::string checksumLine = "Somme de contrôle PE : absente (0), laissée à 0\n";
  if (image.checksum != 0) {
    // The words that change, aligned on the file's even offsets.
    const std::size_t start = kSettingsStart - (settings.offset % 2);
    const std::size_t end = kSettingsEnd + ((header.offset + kSettingsEnd) % 2);
    std::vector<std::uint8_t> before(header.bytes.begin() + start, header.bytes.begin() + end);
    std::vector<std::uint8_t> after = before;
    std::copy(settings.after.begin(), settings.after.end(),
              after.begin() + (kSettingsStart - start));
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
    std::vector<std::uint8_t> oldField(4), newField(4);
    PutU32(oldField, 0, image.checksum);
    PutU32(newField, 0, *checksum);
    patches.push_back({image.checksumOffset, oldField, newField});
    checksumLine =
        "Somme de contrôle PE : " + Hex(image.checksum) + " devient " + Hex(*checksum) + "\n";
  }

  Apply(*file, patches);
  report += "Après :\n" + DescribeSettings(command.settings) + checksumLine;
  if (image.securitySize != 0) {
    report +=
        "Attention : le fichier porte une signature Authenticode, qui n'est plus valide "
        "après cette modification.\n";
  }
  return report;
}

}  // namespace

int Run(const std::string& tail, FileSystem& files, Output& output) {
  try {
    const Command command = ParseCommandLine(tail);
    if (const auto* view = std::get_if<ViewCommand>(&command)) {
      output.out += View(*view, files);
    } else {
      output.out += Set(std::get<SetCommand>(command), files);
    }
    return 0;
  } catch (const ToolError& error) {
    output.err += error.Kind() == Failure::Usage ? error.what()
                                                 : std::string("Tressol : ") + error.what() + "\n";
    if (error.Kind() == Failure::Refused) {
      output.err += "Le fichier n'a pas été modifié.\n";
    }
    return static_cast<int>(error.Kind());
  }
}

}  // namespace tressol
