// The Windows tool's files on a real folder: an entry swapped after the listing is refused,
// never followed, and a folder being worked on cannot be renamed away.
#include "win32_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "file_bytes.h"
#include "memory_target.h"
#include "synthetic_pe.h"

namespace tressol::test {
namespace {

namespace fs = std::filesystem;

TEST(Win32Files, AnEntrySwappedAfterTheListingIsRefusedNotFollowed) {
  const fs::path root =
      fs::temp_directory_path() / ("tressol-swap-" + std::to_string(GetCurrentProcessId()));
  const fs::path app = root / "app";
  const std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  fs::create_directories(app / "sous");
  for (const fs::path& file :
       {app / "a.exe", app / "autre.exe", app / "sous" / "b.exe", root / "remplacant.exe"}) {
    Write(file, image);
  }
  {
    // What another program does between the listing and the opens.
    struct Swapping final : Win32FileSystem {
      fs::path app, root;
      bool replaced = false;
      bool folderRenamed = true;
      std::optional<std::vector<Listed>> Expand(const std::string& target, bool recurse) override {
        auto listed = Win32FileSystem::Expand(target, recurse);
        replaced = MoveFileExW((root / L"remplacant.exe").c_str(), (app / L"autre.exe").c_str(),
                               MOVEFILE_REPLACE_EXISTING) != 0;
        folderRenamed = MoveFileW((app / L"sous").c_str(), (root / L"sous").c_str()) != 0;
        return listed;
      }
    } files;
    files.app = app;
    files.root = root;
    Output output;
    EXPECT_EQ(tressol::Run(" --recurse --set vb6FR.dll 0x40C * 0x409 \"" + app.u8string() + "\"",
                           files, output),
              3);
    ASSERT_TRUE(files.replaced);
    EXPECT_FALSE(files.folderRenamed);
    for (const char* says : {"\nautre.exe : en échec : remplacé pendant l'opération",
                             "\nRésumé : 2 fichiers modifiés"}) {
      EXPECT_NE(("\n" + output.out).find(says), std::string::npos) << says << "\n" << output.out;
    }
  }  // the folders it held are let go
  EXPECT_EQ(Read(app / "autre.exe"), image);
  EXPECT_NE(Read(app / "sous" / "b.exe"), image);
  fs::remove_all(root);
}

// What Wine cannot make (App execution aliases, sockets, cloud files), said from the
// attributes and the reparse tag a listing gives.
TEST(Win32Files, OnlyFilesAreTakenWhateverTheirReparsePoint) {
  struct Case {
    unsigned long attributes, tag;
    const char* why;
  };
  constexpr unsigned long kReparse = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE;
  const Case cases[] = {
      {FILE_ATTRIBUTE_ARCHIVE, 0, ""},
      {kReparse, IO_REPARSE_TAG_SYMLINK, "lien symbolique, non suivi"},
      {kReparse | FILE_ATTRIBUTE_DIRECTORY, IO_REPARSE_TAG_MOUNT_POINT,
       "lien symbolique, non suivi"},
      {kReparse, 0x8000001B, "alias d'exécution d'application"},
      {kReparse, 0x80000023, "socket"},
      {kReparse, 0x80000013, ""},               // deduplicated
      {kReparse, 0x80000017, ""},               // compressed by WOF
      {kReparse | 0x00400000, 0x9000001A, ""},  // in the cloud, not downloaded
      {FILE_ATTRIBUTE_DIRECTORY, 0, "dossier"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WhyNotRegular(c.attributes, c.tag), c.why) << std::hex << c.tag;
    EXPECT_EQ(OnlineOnly(c.attributes), (c.attributes & 0x00400000) != 0) << std::hex << c.tag;
  }
  EXPECT_TRUE(OnlineOnly(FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_ARCHIVE));
}

}  // namespace
}  // namespace tressol::test
