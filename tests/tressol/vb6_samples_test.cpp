// The three real VB6 binaries: viewed as they are, then set to each action's settings on a
// copy in memory, every field checked with the checksum and the bytes left alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tressol.h"
#include "memory_target.h"
#include "vb6_samples.h"

namespace tressol::test {
namespace {

std::vector<std::uint8_t> ReadSample(const std::string& name) {
  std::ifstream in(linguarde::test::SamplesFolder() / name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

struct Sample {
  const char* name;
  std::size_t header;
  std::uint16_t build;
  std::uint32_t checksum;
};
constexpr Sample kSamples[] = {
    {"Setup.exe", 0x11E8, 8988, 0x00012BA0},
    {"Dictionary.dll", 0x1368, 9782, 0x0000F38B},
    {"SmallListView.ocx", 0x1624, 8988, 0x000187FC},
};

struct Action {
  const char* settings;
  const char* primary;
  std::uint32_t primaryLcid;
  const char* secondary;
  std::uint32_t secondaryLcid;
};
constexpr Action kActions[] = {
    {" * 0x409 ~ 0x0", "*", 0x409, "~", 0x0},
    {" vb6FR.dll 0x40C * 0x409", "vb6FR.dll", 0x40C, "*", 0x409},
    {" vb6FR.dll 0x40C ~ 0x409", "vb6FR.dll", 0x40C, "~", 0x409},
};

std::string Name(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::string name(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + 14));
  for (std::size_t i = name.find('\0'); i != std::string::npos && i < 14; ++i) {
    EXPECT_EQ(name[i], '\0') << "padding at " << i;
  }
  return name.substr(0, name.find('\0'));
}

class Vb6Samples : public testing::Test {
 protected:
  void SetUp() override {
    if (ReadSample("Setup.exe").empty()) {
      GTEST_SKIP() << "the VB6 samples are not in " << linguarde::test::SamplesFolder()
                   << " (set LINGUARDE_VB6_SAMPLES to their folder)";
    }
  }
};

TEST_F(Vb6Samples, ViewShowsTheirHeaders) {
  for (const Sample& sample : kSamples) {
    MemoryFileSystem files;
    files.targets["t"].bytes = ReadSample(sample.name);
    ASSERT_EQ(StoredChecksum(files.targets["t"].bytes), sample.checksum) << sample.name;
    Output output;
    ASSERT_EQ(tressol::Run(" t", files, output), 0) << output.err;
    char offset[32];
    std::snprintf(offset, sizeof offset, "position 0x%zX", sample.header);
    EXPECT_NE(output.out.find(offset), std::string::npos) << sample.name << output.out;
    EXPECT_NE(output.out.find("Moteur d'exécution VB visé : build " + std::to_string(sample.build)),
              std::string::npos);
    const std::string answer = "\nt : fichier VB6, messages en anglais.\n";
    EXPECT_EQ(output.out.substr(output.out.size() - answer.size()), answer) << output.out;
    EXPECT_EQ(files.targets["t"].writes, 0);
  }
}

// A folder as users have them: a line a file, the others grouped, the library said once.
TEST_F(Vb6Samples, AFolderReportsALineAFile) {
  MemoryFileSystem files;
  for (const Sample& sample : kSamples) {
    files.targets[std::string("app/") + sample.name].bytes = ReadSample(sample.name);
  }
  files.targets["app/LISEZMOI.exe"].bytes = {'L', 'i', 's', 'e', 'z'};
  files.targets["app/notes.dll"].bytes = {'M', 'Z'};
  files.targets["app/vb6fr.dll"].bytes = {'M', 'Z'};  // the language library, as shipped
  struct Case {
    const char* tail;
    int status;
    const char* report;
  };
  const Case cases[] = {
      {" --no-journal --set vb6FR.dll 0x40C ~ 0x409 app/", 0,
       "Dictionary.dll : modifié, messages en anglais → messages en français (aucun message sans\n"
       "  vb6FR.dll).\n"
       "  Pour annuler cette modification : tressol --set '*' 0x409 '~' 0x0 "
       "/abs/app/Dictionary.dll\n"
       "Setup.exe : modifié, messages en anglais → messages en français (aucun message sans "
       "vb6FR.dll).\n"
       "  Pour annuler cette modification : tressol --set '*' 0x409 '~' 0x0 /abs/app/Setup.exe\n"
       "SmallListView.ocx : modifié, messages en anglais → messages en français (aucun message "
       "sans\n  vb6FR.dll).\n"
       "  Pour annuler cette modification : tressol --set '*' 0x409 '~' 0x0 "
       "/abs/app/SmallListView.ocx\n"
       "Bibliothèque de langue VB6 en français, laissée telle quelle : vb6fr.dll\n"
       "Fichiers non VB6 :\n"
       "  trop court pour une image PE : LISEZMOI.exe, notes.dll\n"
       "Attention : la bibliothèque de langue « vb6FR.dll » est introuvable.\n"
       "  À faire : copiez-la à côté du programme, sur chaque ordinateur où l'application "
       "s'exécute.\n"
       "  Fichiers concernés (3) : Dictionary.dll, Setup.exe, SmallListView.ocx\n"
       "Résumé : 3 fichiers modifiés, 0 déjà réglé, 3 non VB6, 0 en échec.\n"},
  };
  for (const Case& c : cases) {
    Output output;
    output.outWidth = 100;
    EXPECT_EQ(tressol::Run(c.tail, files, output), c.status) << c.tail << output.err;
    EXPECT_EQ(output.out, c.report);
  }
}

// A damaged copy of a program of the VB runtime is a failure, never a file left aside.
TEST_F(Vb6Samples, DamagedCopiesFailAndStayAsTheyWere) {
  const std::vector<std::uint8_t> setup = ReadSample("Setup.exe");
  MemoryFileSystem files;
  files.targets["app/adresse.exe"].bytes = setup;
  files.targets["app/adresse.exe"].bytes[0x1169] ^= 0x01;  // the address the entry point pushes
  files.targets["app/magie.exe"].bytes = setup;
  files.targets["app/magie.exe"].bytes[0x11E8] ^= 0x01;  // "VB5!"
  files.targets["app/coupe.exe"].bytes.assign(setup.begin(), setup.begin() + 192);
  // Its first section, .text, said to start 0x1000 bytes further: its imports read elsewhere.
  const std::size_t pe = Le32(setup, 0x3C);
  const std::size_t text = pe + 24 + (setup[pe + 20] | setup[pe + 21] << 8) + 20;
  files.targets["app/section.exe"].bytes = setup;
  files.targets["app/section.exe"].bytes[text + 1] ^= 0x10;
  files.targets["app/mz.exe"].bytes = setup;
  files.targets["app/mz.exe"].bytes[0] ^= 0x01;
  files.targets["app/pe.exe"].bytes = setup;
  files.targets["app/pe.exe"].bytes[pe + 1] ^= 0x20;
  // Its DOS header 8 bytes off: a damaged copy, not a DOS program; beside it, a DOS program
  // made of its stub alone.
  files.targets["app/lfanew.exe"].bytes = setup;
  files.targets["app/lfanew.exe"].bytes[0x3C] += 8;
  files.targets["app/stub.exe"].bytes.assign(setup.begin(), setup.begin() + pe);
  files.targets["app/stub.exe"].bytes[0x3C] = 0x40;
  const MemoryFileSystem before = files;
  for (const char* tail : {" app/", " --set vb6FR.dll 0x40C * 0x409 app/"}) {
    Output output;
    EXPECT_EQ(tressol::Run(tail, files, output), 3) << tail;
    EXPECT_EQ(output.out.find("Non VB6"), std::string::npos) << output.out;
    for (const char* name :
         {"\nadresse.exe : en échec : il utilise le moteur d'exécution VB",
          "\nmagie.exe : en échec : il utilise le moteur d'exécution VB",
          "\ncoupe.exe : en échec : le fichier est tronqué",
          "\nsection.exe : en échec : sa table d'importations ne peut pas être lue",
          "\nmz.exe : en échec : il utilise le moteur d'exécution VB, mais sa signature MZ",
          "\npe.exe : en échec : il utilise le moteur d'exécution VB, mais sa signature PE",
          "\nlfanew.exe : en échec : il utilise le moteur d'exécution VB, mais son en-tête PE",
          "\n  programme DOS ou 16 bits (signature PE absente) : stub.exe\n"}) {
      EXPECT_NE(("\n" + output.out).find(name), std::string::npos) << name << output.out;
    }
    for (const auto& [name, target] : files.targets) {
      EXPECT_EQ(target.bytes, before.targets.at(name).bytes) << name;
    }
  }
}

TEST_F(Vb6Samples, EachActionSetsItsFieldsAndNothingElse) {
  for (const Sample& sample : kSamples) {
    const std::vector<std::uint8_t> original = ReadSample(sample.name);
    // From the file's own state to each action's, then from action to action.
    MemoryFileSystem files;
    files.journalRoom = 1 << 20;
    files.targets["t"].bytes = original;
    for (const Action& action : kActions) {
      const std::vector<std::uint8_t> before = files.targets["t"].bytes;
      Output output;
      ASSERT_EQ(tressol::Run(std::string(" \"t\"") + action.settings, files, output), 0)
          << output.err;
      const std::vector<std::uint8_t>& after = files.targets["t"].bytes;
      const std::size_t h = sample.header;
      EXPECT_EQ(std::string(after.begin() + static_cast<long>(h),
                            after.begin() + static_cast<long>(h + 4)),
                "VB5!");
      EXPECT_EQ(Name(after, h + 6), action.primary) << sample.name;
      EXPECT_EQ(Name(after, h + 0x14), action.secondary) << sample.name;
      EXPECT_EQ(Le32(after, h + 0x24), action.primaryLcid) << sample.name;
      EXPECT_EQ(Le32(after, h + 0x28), action.secondaryLcid) << sample.name;
      EXPECT_EQ(after[h + 0x22], 10) << "runtime revision";
      EXPECT_EQ(StoredChecksum(after), ReferenceChecksum(after)) << sample.name << action.settings;
      const std::size_t field = ChecksumOffset(after);
      for (std::size_t i = 0; i < after.size(); ++i) {
        if ((i < h + 6 || i >= h + 0x2C) && (i < field || i >= field + 4)) {
          ASSERT_EQ(after[i], before[i]) << sample.name << " byte " << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace tressol::test
