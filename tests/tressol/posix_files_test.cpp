// The POSIX tool's files on a real folder: only regular files inside the folder are taken,
// nothing blocks, and a file nobody may write stays as it is, even for root.
#include "posix_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <fstream>
#include <utility>

#include "file_bytes.h"
#include "memory_target.h"
#include "pe_checksum.h"
#include "report.h"
#include "synthetic_pe.h"

namespace tressol::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PosixFiles, AFolderTakesItsRegularFilesOnly) {
  const fs::path root = fs::temp_directory_path() / ("tressol-" + std::to_string(getpid()));
  const fs::path app = root / "app";
  fs::create_directories(app / "x.exe");
  const std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  Write(app / "a.exe", image);
  Write(app / "lecture.exe", image);
  fs::permissions(app / "lecture.exe", fs::perms::owner_read | fs::perms::group_read);
  Write(root / "dehors.exe", image);
  fs::create_symlink(root / "dehors.exe", app / "lien.exe");
  fs::create_symlink(root / "nulle-part.exe", app / "perdu.exe");
  ASSERT_EQ(mkfifo((app / "tube.exe").c_str(), 0644), 0);
  // The run's journal is written under the test's folder, not the user's.
  setenv("XDG_STATE_HOME", root.c_str(), 1);
  // Only with --recurse: a sub-folder, and a link to a folder outside, never followed.
  fs::create_directories(app / "sous");
  Write(app / "sous" / "b.exe", image);
  fs::create_symlink(root, app / "racine");

  PosixFileSystem files;
  Output output;
  output.toolPath = LINGUARDE_TRESSOL;
  const int status = tressol::Run(" --set vb6FR.dll 0x40C * 0x409 " + app.string(), files, output);
  EXPECT_EQ(status, 3) << output.err;
  EXPECT_NE(Read(app / "a.exe"), image);
  EXPECT_EQ(StoredChecksum(Read(app / "a.exe")), ReferenceChecksum(Read(app / "a.exe")));
  EXPECT_EQ(Read(root / "dehors.exe"), image);
  EXPECT_EQ(Read(app / "lecture.exe"), image);
  for (const char* says :
       {"\nlecture.exe : en échec : il est en lecture seule (aucun droit d'écriture)",
        "\n  dossier : x.exe\n", "\n  lien symbolique, non suivi : lien.exe, perdu.exe\n",
        "\n  tube nommé, FIFO : tube.exe\n",
        "\nRésumé : 1 fichier modifié, 0 déjà réglé, 0 non VB6, 4 laissés de côté, 1 en "
        "échec.\n"}) {
    EXPECT_NE(output.out.find(says), std::string::npos) << says << "\n" << output.out;
  }
  EXPECT_EQ(Read(app / "sous" / "b.exe"), image);
  // The run's undo, the report's last line, run as printed; its journal is the user's own.
  const std::string wayBack = "\nPour annuler cette modification : ";
  const std::size_t at = output.out.rfind(wayBack);
  ASSERT_NE(at, std::string::npos) << output.out;
  EXPECT_EQ(output.out.find('\n', at + wayBack.size()), output.out.size() - 1) << output.out;
  for (const auto& journal : fs::directory_iterator(root / "tressol")) {
    EXPECT_EQ(fs::status(journal).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
  }
  ASSERT_EQ(std::system(output.out.substr(at + wayBack.size()).c_str()), 0);
  EXPECT_EQ(Read(app / "a.exe"), image);
  Output tree;
  EXPECT_EQ(tressol::Run(" --recurse " + app.string(), files, tree), 0) << tree.err;
  for (const char* says :
       {"\nsous/b.exe : messages en anglais.\n", "\n  lien vers un dossier, non suivi : racine\n",
        "\nRésumé : 3 fichiers VB6, 0 non VB6, 4 laissés de côté"}) {
    EXPECT_NE(tree.out.find(says), std::string::npos) << says << "\n" << tree.out;
  }
  // Named by the user, a link is followed, and the report says where it leads.
  Output link;
  EXPECT_EQ(tressol::Run(" " + (app / "lien.exe").string(), files, link), 0) << link.err;
  EXPECT_NE(link.out.find("Lien vers : " + (root / "dehors.exe").string()), std::string::npos)
      << link.out;
  // A link whose target is not there is said to be one, not a path to check.
  Output lost;
  EXPECT_EQ(tressol::Run(" --json " + (app / "perdu.exe").string(), files, lost), 4);
  EXPECT_NE(lost.out.find("\"reasonKind\":\"link-target-missing\""), std::string::npos) << lost.out;
  fs::remove_all(root);
}

// Files listed, then swapped by another program before they are opened: each is opened as
// the very entry listed or refused as replaced, and nothing outside the folder is written.
TEST(PosixFiles, AnEntrySwappedAfterTheListingIsRefusedNotFollowed) {
  const fs::path root = fs::temp_directory_path() / ("tressol-swap-" + std::to_string(getpid()));
  const fs::path app = root / "app", outside = root / "dehors";
  const std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  fs::create_directories(app / "sous");
  fs::create_directories(app / "profond");
  fs::create_directories(outside / "sous");
  fs::create_directories(outside / "profond");
  for (const fs::path& file :
       {app / "a.exe", app / "lien.exe", app / "autre.exe", app / "sous" / "b.exe",
        app / "profond" / "c.exe", outside / "x.exe", outside / "sous" / "b.exe",
        outside / "profond" / "c.exe", root / "remplaçant.exe"}) {
    Write(file, image);
  }
  // What another program does between the listing and the opens, and between a folder's
  // listing and its sub-folder's.
  struct Swapping final : PosixFileSystem {
    fs::path app, outside, root;
    void AfterListing(const std::string& folder) override {
      if (folder != app.string() + "/") return;
      fs::rename(app / "profond", root / "profond-déplacé");
      fs::create_symlink(outside / "profond", app / "profond");
    }
    std::optional<std::vector<Listed>> Expand(const std::string& target, bool recurse) override {
      auto listed = PosixFileSystem::Expand(target, recurse);
      fs::remove(app / "lien.exe");
      fs::create_symlink(outside / "x.exe", app / "lien.exe");
      fs::rename(root / "remplaçant.exe", app / "autre.exe");
      fs::rename(app / "sous", root / "sous-déplacé");
      fs::create_symlink(outside / "sous", app / "sous");
      return listed;
    }
  } files;
  files.app = app;
  files.outside = outside;
  files.root = root;
  Output output;
  EXPECT_EQ(tressol::Run(" --recurse --set vb6FR.dll 0x40C * 0x409 " + app.string(), files, output),
            3);
  for (const char* says :
       {"\nautre.exe : en échec : remplacé pendant l'opération",
        "\nlien.exe : en échec : remplacé pendant l'opération",
        "\nsous/b.exe : en échec : remplacé pendant l'opération", "\nRésumé : 1 fichier modifié"}) {
    EXPECT_NE(("\n" + output.out).find(says), std::string::npos) << says << "\n" << output.out;
  }
  const std::string folderReplaced =
      Unmarked(ReasonOf(StepError(IoStep::FolderReplaced, {}, (app / "profond/").string())));
  EXPECT_NE(Joined(output.out).find("\nprofond : en échec : " + folderReplaced), std::string::npos)
      << output.out;
  EXPECT_NE(Read(app / "a.exe"), image);
  for (const fs::path& file :
       {outside / "x.exe", outside / "sous" / "b.exe", outside / "profond" / "c.exe",
        app / "autre.exe", root / "sous-déplacé" / "b.exe", root / "profond-déplacé" / "c.exe"}) {
    EXPECT_EQ(Read(file), image) << file;
  }
  fs::remove_all(root);
}

// A sub-folder opened for its listing must be the folder its parent's listing gave: swapped
// for a link out of the tree, or for another folder, it is one failed entry and nothing of
// what now bears its name is listed.
TEST(PosixFiles, ASubFolderIsListedOnlyAsTheFolderItsParentListed) {
  const fs::path root = fs::temp_directory_path() / ("tressol-folder-" + std::to_string(getpid()));
  const fs::path app = root / "app";
  struct Case {
    const char* what;
    void (*swap)(const fs::path& app, const fs::path& root);
  };
  const Case cases[] = {
      {"untouched", nullptr},
      {"link out of the tree",
       [](const fs::path& app, const fs::path& root) {
         fs::rename(app / "sous", root / "déplacé");
         fs::create_symlink(root / "dehors", app / "sous");
       }},
      {"another folder",
       [](const fs::path& app, const fs::path& root) {
         fs::rename(app / "sous", root / "déplacé");
         fs::create_directory(app / "sous");
         fs::copy_file(root / "dehors" / "b.exe", app / "sous" / "b.exe");
       }},
  };
  for (const Case& c : cases) {
    fs::create_directories(app / "sous");
    fs::create_directories(root / "dehors");
    Write(app / "sous" / "b.exe", SyntheticPe{}.Build());
    Write(root / "dehors" / "b.exe", SyntheticPe{}.Build());
    struct Swapping final : PosixFileSystem {
      Case swapping;
      fs::path app, root;
      void AfterListing(const std::string&) override {
        if (swapping.swap) std::exchange(swapping.swap, nullptr)(app, root);
      }
    } files;
    files.swapping = c;
    files.app = app;
    files.root = root;
    const auto listed = files.Expand(app.string(), true);
    ASSERT_TRUE(listed.has_value()) << c.what;
    ASSERT_EQ(listed->size(), 1u) << c.what;
    const FileSystem::Listed& entry = listed->front();
    if (c.swap == nullptr) {
      EXPECT_EQ(entry.relative, "sous/b.exe");
      EXPECT_EQ(entry.failed, nullptr);
      EXPECT_EQ(files.Open(entry.path, false, entry.identity)->Identity(), entry.identity);
    } else {
      EXPECT_EQ(entry.relative, "sous") << c.what;
      ASSERT_NE(entry.failed, nullptr) << c.what;
      EXPECT_EQ(ReasonOf(*entry.failed),
                ReasonOf(StepError(IoStep::FolderReplaced, {}, (app / "sous/").string())))
          << c.what;
    }
    fs::remove_all(root);
  }
}

// With --recurse, a sub-folder that cannot be listed (here: past PATH_MAX, which root cannot
// bypass as it does permissions) is one failed entry, and the run goes on over the rest.
TEST(PosixFiles, ASubFolderThatCannotBeListedFailsAlone) {
  const fs::path root = fs::temp_directory_path() / ("tressol-deep-" + std::to_string(getpid()));
  fs::create_directories(root);
  Write(root / "a.exe", SyntheticPe{}.Build());
  const fs::path here = fs::current_path();
  fs::current_path(root);
  for (int level = 0; level < 18; ++level) {
    fs::create_directory(std::string(250, 'p'));
    fs::current_path(std::string(250, 'p'));
  }
  fs::current_path(here);
  PosixFileSystem files;
  Output output;
  EXPECT_EQ(tressol::Run(" --recurse " + root.string(), files, output), 4) << output.err;
  EXPECT_NE(output.out.find("a.exe : messages en anglais.\n"), std::string::npos) << output.out;
  EXPECT_NE(Joined(output.out).find(" : en échec : le dossier « "), std::string::npos)
      << output.out;
  EXPECT_NE(output.out.find("Résumé : 1 fichier VB6, 0 non VB6, 1 en échec."), std::string::npos)
      << output.out;
  // What remove_all cannot reach past PATH_MAX is removed from within.
  fs::current_path(root);
  for (int level = 0; level < 17; ++level) fs::current_path(std::string(250, 'p'));
  for (int level = 0; level < 18; ++level) {
    fs::remove_all(std::string(250, 'p'));
    fs::current_path("..");
  }
  fs::current_path(here);
  fs::remove_all(root);
}

// Another program may shorten a file that a set holds (flock does not stop truncate): the
// whole-file sum then fails for that file, with its cause, and never ends the process. The
// file is long enough for the sum's second thread, whose piece the cut falls in.
TEST(PosixFiles, AFileShortenedUnderTheSumFailsAlone) {
  const fs::path file = fs::temp_directory_path() / ("tressol-short-" + std::to_string(getpid()));
  std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  image.resize((9 << 20) + 1);
  Write(file, image);
  PosixFileSystem files;
  const std::unique_ptr<TargetFile> opened = files.Open(file.string(), true);
  ASSERT_EQ(opened->Size(), image.size());
  EXPECT_EQ(FullPeChecksum(*opened, ChecksumOffset(image)), ReferenceChecksum(image));
  ASSERT_EQ(truncate(file.c_str(), 3 << 20), 0);
  try {
    FullPeChecksum(*opened, ChecksumOffset(image));
    ADD_FAILURE() << "the sum of a shortened file did not fail";
  } catch (const StepError& error) {
    EXPECT_EQ(error.Kind(), Failure::Io);
    EXPECT_EQ(error.Which(), IoStep::ReadShort);
  }
  fs::remove(file);
}

// A set killed with SIGKILL, wherever it is: the journal names every file it may have
// changed, and --undo gives each back byte for byte. The journal is where the environment
// asks for it, made new: a second run refuses to write into it.
TEST(PosixFiles, AKilledFolderSetIsUndoneFromItsJournal) {
  const fs::path root = fs::temp_directory_path() / ("tressol-kill-" + std::to_string(getpid()));
  const fs::path app = root / "app";
  fs::create_directories(app);
  const std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  for (int i = 0; i < 2000; ++i) Write(app / ("f" + std::to_string(i) + ".exe"), image);
  const fs::path journal = root / "journal.txt";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setenv("TRESSOL_JOURNAL", journal.c_str(), 1);
    freopen("/dev/null", "w", stdout);
    execl(LINGUARDE_TRESSOL, "tressol", "--set", "vb6FR.dll", "0x40C", "*", "0x409", app.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  // Once a change is made: a batch's records are all written before its first change.
  while (ReadText(journal).find("\nend ") == std::string::npos) usleep(1000);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));

  PosixFileSystem files;
  Output again;
  again.journalPath = journal.string();
  EXPECT_EQ(tressol::Run(" --set * 0x409 ~ 0x0 " + app.string(), files, again), 3);
  EXPECT_NE(again.err.find("existe déjà"), std::string::npos) << again.err;
  // Asked with TRESSOL_JOURNAL still naming the journal it undoes: its own goes elsewhere.
  Output undo;
  undo.journalPath = journal.string();
  EXPECT_EQ(tressol::Run(" --undo " + journal.string(), files, undo), 0) << undo.err;
  EXPECT_NE(undo.out.find(" : modification annulée, "), std::string::npos) << undo.out;
  // The files come back in the reverse order of their changes, which is said once.
  EXPECT_EQ(undo.out.find("de la dernière à la première"),
            undo.out.rfind("de la dernière à la première"))
      << undo.out;
  EXPECT_NE(undo.out.find("de la dernière à la première"), std::string::npos) << undo.out;
  int changed = 0;
  for (const auto& file : fs::directory_iterator(app)) changed += Read(file.path()) != image;
  EXPECT_EQ(changed, 0) << undo.out;
  fs::remove_all(root);
}

// A file given as a journal may be anything: what is no regular file, or too large to be
// one of ours, is refused before it is read whole; a look never takes the lock an undo holds.
TEST(PosixFiles, AJournalIsARegularFileOfBoundedSize) {
  const fs::path root =
      fs::temp_directory_path() / ("tressol-journals-" + std::to_string(getpid()));
  fs::create_directories(root);
  const fs::path large = root / "large.txt";
  std::ofstream(large) << "tressol-journal 1\n";
  fs::resize_file(large, kJournalLimit + 1);  // sparse: no disk used
  const fs::path fifo = root / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    std::string journal;
    const char* says;
  };
  const Case cases[] = {
      {"/dev/zero", "ce n'est pas un fichier ordinaire"},
      {fifo.string(), "ce n'est pas un fichier ordinaire"},
      {large.string(), "trop grand pour être un journal"},
  };
  PosixFileSystem files;
  for (const Case& c : cases) {
    for (const char* dry : {"", " --dry-run"}) {
      Output output;
      EXPECT_EQ(tressol::Run(std::string(dry) + " --undo " + c.journal, files, output), 3)
          << c.journal << output.err;
      EXPECT_NE(output.err.find(c.says), std::string::npos) << c.journal << output.err;
    }
  }
  const auto held = files.OpenJournal(large.string(), JournalUse::Undo);
  EXPECT_THROW(files.OpenJournal(large.string(), JournalUse::Undo), StepError);
  EXPECT_NO_THROW(files.OpenJournal(large.string(), JournalUse::Look));
  fs::remove_all(root);
}

}  // namespace
}  // namespace tressol::test
