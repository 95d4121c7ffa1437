// The Windows tool's files on a real folder: an entry swapped after the listing is refused,
// never followed, and a folder being worked on cannot be renamed away.
#include "win32_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "file_bytes.h"
#include "memory_target.h"
#include "report.h"
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
  fs::create_directories(app / "profond");
  for (const fs::path& file : {app / "a.exe", app / "autre.exe", app / "sous" / "b.exe",
                               app / "profond" / "c.exe", root / "remplacant.exe"}) {
    Write(file, image);
  }
  {
    // What another program does between the listing and the opens, and between a folder's
    // listing and its sub-folder's: another folder in its place.
    struct Swapping final : Win32FileSystem {
      fs::path app, root;
      bool replaced = false;
      bool folderRenamed = true;
      bool folderSwapped = false;
      void AfterListing(const std::string& folder) override {
        if (folder != app.u8string() + "\\") return;
        folderSwapped = MoveFileW((app / L"profond").c_str(), (root / L"profond").c_str()) != 0 &&
                        CreateDirectoryW((app / L"profond").c_str(), nullptr) != 0 &&
                        CopyFileW((root / L"profond" / L"c.exe").c_str(),
                                  (app / L"profond" / L"c.exe").c_str(), TRUE) != 0;
      }
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
    ASSERT_TRUE(files.folderSwapped);
    for (const char* says : {"\nautre.exe : en échec : remplacé pendant l'opération",
                             "\nRésumé : 2 fichiers modifiés"}) {
      EXPECT_NE(("\n" + output.out).find(says), std::string::npos) << says << "\n" << output.out;
    }
    const std::string folderReplaced =
        Unmarked(ReasonOf(StepError(IoStep::FolderReplaced, {}, app.u8string() + "\\profond\\")));
    EXPECT_NE(Joined("\n" + output.out).find("\nprofond : en échec : " + folderReplaced),
              std::string::npos)
        << output.out;
  }  // the folders it held are let go
  EXPECT_EQ(Read(app / "autre.exe"), image);
  EXPECT_NE(Read(app / "sous" / "b.exe"), image);
  EXPECT_EQ(Read(app / "profond" / "c.exe"), image);
  EXPECT_EQ(Read(root / "profond" / "c.exe"), image);
  fs::remove_all(root);
}

// What Wine cannot make (App execution aliases, sockets, cloud files, junctions), said from
// the attributes and the reparse tag a listing gives, or an entry opened as itself shows:
// with the file ID listed, a link is still another entry than the one listed, and so it is
// where the listing gave no ID (some network shares give zero there, and an ID by handle).
TEST(Win32Files, OnlyFilesAreTakenWhateverTheirReparsePoint) {
  struct Case {
    unsigned long attributes, tag;
    const char* why;
    ListedMatch opened;
  };
  constexpr unsigned long kReparse = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE;
  constexpr ListedMatch kSame = ListedMatch::Same, kDriver = ListedMatch::SameThroughDriver;
  const Case cases[] = {
      {FILE_ATTRIBUTE_ARCHIVE, 0, "", kSame},
      {kReparse, IO_REPARSE_TAG_SYMLINK, "lien symbolique, non suivi", ListedMatch::Replaced},
      {kReparse | FILE_ATTRIBUTE_DIRECTORY, IO_REPARSE_TAG_MOUNT_POINT,
       "lien symbolique, non suivi", ListedMatch::Replaced},
      {kReparse, 0x8000001B, "alias d'exécution d'application", kDriver},
      {kReparse, 0x80000023, "socket", kDriver},
      {kReparse, 0x80000013, "", kDriver},               // deduplicated
      {kReparse, 0x80000017, "", kDriver},               // compressed by WOF
      {kReparse | 0x00400000, 0x9000001A, "", kDriver},  // in the cloud, not downloaded
      {kReparse | FILE_ATTRIBUTE_DIRECTORY, 0x9000001A, "dossier", kDriver},
      {FILE_ATTRIBUTE_DIRECTORY, 0, "dossier", kSame},
  };
  for (const Case& c : cases) {
    const std::optional<Aside> why = WhyNotRegular(c.attributes, c.tag);
    EXPECT_EQ(why ? AsideText(*why) : "", c.why) << std::hex << c.tag;
    EXPECT_EQ(OnlineOnly(c.attributes), (c.attributes & 0x00400000) != 0) << std::hex << c.tag;
    EXPECT_EQ(
        MatchListed("0000abcd:0000000100000002", "0000abcd:0000000100000002", c.attributes, c.tag),
        c.opened)
        << std::hex << c.tag;
    EXPECT_EQ(
        MatchListed("0000abcd:0000000100000002", "0000abcd:0000000100000003", c.attributes, c.tag),
        ListedMatch::Replaced)
        << std::hex << c.tag;
    EXPECT_EQ(
        MatchListed("0000abcd:0000000000000000", "0000abcd:0000000100000002", c.attributes, c.tag),
        c.opened)
        << std::hex << c.tag;
  }
  EXPECT_TRUE(OnlineOnly(FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_ARCHIVE));
}

}  // namespace
}  // namespace tressol::test
