// The real Tressol.exe under Wine: exit statuses, its output when redirected, targets it
// must refuse, and the whole road of Linguarde's actions from LancerAction to the bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <thread>

#include "LancerAction.h"
#include "memory_target.h"
#include "owners.h"
#include "unstarted_platform.h"
#include "vb6_samples.h"
#include "windows_test_support.h"

namespace tressol::test {
namespace {

namespace fs = std::filesystem;
using linguarde::test::ReadBytes;
using linguarde::test::TestFolder;

std::vector<std::uint8_t> Bytes(const fs::path& file) {
  const std::string bytes = ReadBytes(file);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

struct Finished {
  DWORD status;
  std::string out;  // standard output and error, as bytes, wrapped lines joined again
};

// Runs Tressol.exe with this command-line tail, its output redirected to a file, in this
// test's current folder or the one given.
Finished RunTressol(const std::wstring& tail, const fs::path& folder,
                    const fs::path& currentFolder = {}) {
  const fs::path tool = linguarde::test::TestProgramFolder() / L"Tressol.exe";
  // A new file each run: the last run's may still be held while its process winds down.
  static int run = 0;
  const fs::path log = folder / (L"sortie" + std::to_wstring(++run) + L".txt");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  linguarde::win32::UniqueFileHandle out(CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                     &inherit, CREATE_ALWAYS, 0, nullptr));
  if (!out) return {~0ul, "no log file"};
  linguarde::test::ProcessStart start;
  start.application = tool.wstring();
  // Named with a quoted part, as typed at a prompt ("C:\Mes Outils"\Tressol.exe).
  start.commandLine =
      L"\"" + tool.parent_path().wstring() + L"\"\\" + tool.filename().wstring() + tail;
  start.flags = CREATE_NO_WINDOW;
  start.output = out.Get();
  start.currentFolder = currentFolder;
  const linguarde::test::StartedProcess started = linguarde::test::StartProcess(start);
  if (!started) return {~0ul, "not started, error " + std::to_string(GetLastError())};
  const DWORD status = linguarde::test::WaitForExitStatus(started, std::chrono::seconds(30));
  out.Reset();
  return {status, Joined(ReadBytes(log))};
}

class TressolProcess : public testing::Test {
 protected:
  void SetUp() override {
    target_ = folder_.Path() / L"Mes Projets" / L"Appli été.exe";
    if (!linguarde::test::CopySample(L"Setup.exe", target_)) {
      GTEST_SKIP() << "the VB6 samples are not in " << linguarde::test::SamplesFolder();
    }
  }
  std::wstring Quoted() const { return L" \"" + target_.wstring() + L"\""; }

  TestFolder folder_{L" outil"};
  fs::path target_;
};

TEST_F(TressolProcess, ExitStatusesTellUsageRefusalAndFailureApart) {
  linguarde::test::WriteBytes(folder_.Path() / L"texte.exe", std::string(1000, 'x'));
  const std::string folder = linguarde::test::Ascii(folder_.Path().wstring());
  struct Case {
    std::wstring tail;
    DWORD status;
    std::string says;  // UTF-8
  };
  // Each names the file with its cause; none has the faults of earlier wordings.
  const Case cases[] = {
      {L" " + target_.wstring(), 0, "Appli été.exe : fichier VB6, messages en anglais.\n"},
      {Quoted(), 0, " Effet : « Les messages VB (erreurs…) sont en Anglais »\n"},
      {L"", 2, "Aucun fichier indiqué :"},
      {Quoted() + L" * 0x409 ~ 0xZZ", 2, "ne sont pas valides"},
      {L" \"" + (folder_.Path() / L"texte.exe").wstring() + L"\"", 3,
       "« " + folder +
           "\\texte.exe » n'est pas un fichier VB6 : pas un programme Windows (signature MZ"},
      {L" \"" + (folder_.Path() / L"absent.exe").wstring() + L"\"", 4,
       "« " + folder + "\\absent.exe » ne peut pas être lu : introuvable ; vérifiez le chemin.\n"},
  };
  for (const Case& c : cases) {
    const Finished finished = RunTressol(c.tail, folder_.Path());
    EXPECT_EQ(finished.status, c.status) << testing::PrintToString(c.tail) << finished.out;
    EXPECT_NE(finished.out.find(c.says), std::string::npos)
        << testing::PrintToString(c.tail) << " " << finished.status << " [" << finished.out << "]";
    for (const char* fault : {"(s)", "ATTENTION", "binaire", "ignoré", "n'a pas été modifié",
                              "impossible d'ouvrir", "Usage"}) {
      EXPECT_EQ(finished.out.find(fault), std::string::npos) << fault << " in " << finished.out;
    }
  }
}

TEST_F(TressolProcess, WaitsForABusyTargetThenRefusesOneOpenElsewhereOrReadOnly) {
  const std::vector<std::uint8_t> original = Bytes(target_);
  {
    // As a running program is: open for reading, shared for reading only.
    const linguarde::win32::UniqueFileHandle held(CreateFileW(
        target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    const Finished finished = RunTressol(Quoted() + L" vb6FR.dll 0x40C * 0x409", folder_.Path());
    EXPECT_EQ(finished.status, 3u) << finished.out;
    EXPECT_NE(finished.out.find("ouvert par un autre programme"), std::string::npos)
        << finished.out;
  }
  EXPECT_EQ(Bytes(target_), original);

  // Held for a moment only, as a scanner holds a fresh build: the tool waits and then sets.
  {
    linguarde::win32::UniqueFileHandle held(CreateFileW(
        target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    std::thread release([&held] {
      std::this_thread::sleep_for(std::chrono::milliseconds(700));
      held.Reset();
    });
    const Finished finished = RunTressol(Quoted() + L" vb6FR.dll 0x40C * 0x409", folder_.Path());
    release.join();
    EXPECT_EQ(finished.status, 0u) << finished.out;
    EXPECT_NE(Bytes(target_), original);
  }
  ASSERT_EQ(RunTressol(Quoted() + L" * 0x409 ~ 0x0", folder_.Path()).status, 0u);
  EXPECT_EQ(Bytes(target_), original);

  ASSERT_TRUE(SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_READONLY));
  const Finished finished = RunTressol(Quoted() + L" vb6FR.dll 0x40C * 0x409", folder_.Path());
  SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(finished.status, 3u) << finished.out;
  EXPECT_NE(finished.out.find("lecture seule"), std::string::npos) << finished.out;
  EXPECT_EQ(Bytes(target_), original);
}

// A whole application: a folder or a pattern, each VB6 binary set, the rest left alone,
// and the French library looked for in the three folders of the runtime's order.
TEST_F(TressolProcess, HandlesAFolderOrAPatternFileByFile) {
  const fs::path app = folder_.Path() / L"Mon Appli";
  ASSERT_TRUE(linguarde::test::CopySample(L"Dictionary.dll", app / L"Dictionary.dll"));
  ASSERT_TRUE(linguarde::test::CopySample(L"SmallListView.ocx", app / L"SmallListView.ocx"));
  fs::copy_file(target_, app / L"Appli.exe");
  linguarde::test::WriteBytes(app / L"lisezmoi.exe", "pas un programme");
  linguarde::test::WriteBytes(app / L"notes.txt", "ignoré");
  // Backups whose 8.3 short names end in .EXE, and a name "?" must not match.
  fs::copy_file(target_, app / L"Appli.exe_old");
  fs::copy_file(target_, app / L"Setup.exe1");
  // Letters compared as Windows' own search compares them: Ư is the capital of ư.
  ASSERT_TRUE(
      linguarde::test::CopySample(L"Setup.exe", folder_.Path() / L"Casse" / L"\u01AFU.exe"));
  // Taken only with --recurse, and named from the folder given.
  ASSERT_TRUE(linguarde::test::CopySample(L"Setup.exe", app / L"sous dossier" / L"Autre.exe"));
  // A real file named as a device: opened as the entry the listing gave, never as NUL.
  const fs::path device = L"\\\\?\\" + (app / L"NUL.exe").wstring();
  ASSERT_TRUE(CopyFileW(target_.c_str(), device.c_str(), FALSE));
  // Removed by its extended name: removing the folder would name the device.
  const struct Removed {
    fs::path file;
    ~Removed() { DeleteFileW(file.c_str()); }
  } removed{device};
  const std::wstring quoted = L" \"" + app.wstring() + L"\"";
  struct Case {
    std::wstring tail;
    DWORD status;
    std::string says;
  };
  const Case cases[] = {
      {L" " + app.wstring(), 0, "Résumé : 4 fichiers VB6, 1 non VB6, 0 en échec."},
      {L" \"" + (app / L"*.ocx").wstring() + L"\"", 0, "Résumé : 1 fichier VB6, 0 non VB6"},
      {L" \"" + (app / L"*.tlb").wstring() + L"\"", 3, "aucun fichier ne correspond au motif"},
      {L" \"" + (app / L"*.exe").wstring() + L"\"", 0, "Résumé : 2 fichiers VB6, 1 non VB6"},
      {L" \"" + (app / L"Appli?.exe").wstring() + L"\"", 3, "aucun fichier ne correspond"},
      {L" \"" + (folder_.Path() / L"absent" / L"*.exe").wstring() + L"\"", 4,
       "le dossier « " + linguarde::test::Ascii(folder_.Path().wstring()) +
           "\\absent » n'existe pas"},
      {quoted + L" vb6FR.dll 0x40C ~ 0x409", 0,
       "Résumé : 4 fichiers modifiés, 0 déjà réglé, 1 non VB6, 0 en échec."},
      {quoted + L" vb6FR.dll 0x40C ~ 0x409", 0,
       "Attention : la bibliothèque de langue « vb6FR.dll » est introuvable ; cherchée dans "},
      {quoted, 0,
       "« C:\\windows\\System », dossier système 16 bits ; « C:\\windows », dossier de Windows. "
       "À faire : copiez-la à côté du programme, sur chaque ordinateur où l'application "
       "s'exécute. Fichiers concernés ("},
      {L" --json" + quoted, 0, "\"primaryLibrary\":\"vb6FR.dll\",\"primaryLcid\":1036"},
      {L" \"" + (folder_.Path() / L"Casse" / L"\u01B0u*.exe").wstring() + L"\"", 0,
       "\u01AFU.exe : messages en anglais."},
      {L" --check vb6FR.dll 0x40C ~ 0x409 --recurse" + quoted, 5,
       "sous dossier\\Autre.exe : différent de l'attendu : bibliothèque principale « * » au lieu "
       "de « vb6FR.dll »"},
  };
  for (const Case& c : cases) {
    const Finished finished = RunTressol(c.tail, folder_.Path());
    EXPECT_EQ(finished.status, c.status) << testing::PrintToString(c.tail) << finished.out;
    EXPECT_NE(finished.out.find(c.says), std::string::npos)
        << testing::PrintToString(c.tail) << "\n"
        << finished.out;
  }
  EXPECT_EQ(ReadBytes(app / L"lisezmoi.exe"), "pas un programme");
  EXPECT_EQ(Bytes(app / L"Appli.exe")[0x11E8 + 6], 'v');
  EXPECT_EQ(Bytes(device)[0x11E8 + 6], 'v');

  // A read-only binary fails alone: the others are set, it stays as it was, the status says so.
  const fs::path readOnly = app / L"SmallListView.ocx";
  const std::vector<std::uint8_t> before = Bytes(readOnly);
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  const Finished finished = RunTressol(quoted + L" * 0x409 ~ 0x0", folder_.Path());
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(finished.status, 3u) << finished.out;
  EXPECT_NE(finished.out.find("3 fichiers modifiés, 0 déjà réglé, 1 non VB6, 1 en échec"),
            std::string::npos)
      << finished.out;
  EXPECT_EQ(Bytes(readOnly), before);
  EXPECT_EQ(Bytes(app / L"Appli.exe")[0x11E8 + 6], '*');
}

// Files held by other programs are set aside and tried again at the end, within one
// patience for the whole run: the others are reported meanwhile, and a file still held
// then is a failure, never a file left aside as not VB6.
TEST_F(TressolProcess, BusyFilesOfAFolderWaitTogetherThenFail) {
  const fs::path app = folder_.Path() / L"Appli occupée";
  const wchar_t* const names[] = {L"A.exe", L"B.exe", L"C.exe", L"D.exe"};
  fs::create_directories(app);
  for (const wchar_t* name : names) fs::copy_file(target_, app / name);
  const auto hold = [&](const wchar_t* name) {
    return linguarde::win32::UniqueFileHandle(
        CreateFileW((app / name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  };
  linguarde::win32::UniqueFileHandle heldThroughout[] = {hold(L"A.exe"), hold(L"C.exe")};
  linguarde::win32::UniqueFileHandle heldAMoment = hold(L"B.exe");
  std::thread release([&heldAMoment] {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    heldAMoment.Reset();
  });
  const auto start = std::chrono::steady_clock::now();
  const Finished finished =
      RunTressol(L" \"" + app.wstring() + L"\" vb6FR.dll 0x40C * 0x409", folder_.Path());
  const auto elapsed = std::chrono::steady_clock::now() - start;
  release.join();
  EXPECT_EQ(finished.status, 3u) << finished.out;
  EXPECT_NE(finished.out.find("2 fichiers modifiés, 0 déjà réglé, 0 non VB6, 2 en échec"),
            std::string::npos)
      << finished.out;
  // D, free from the start, is reported before the files that were held.
  EXPECT_LT(finished.out.find("D.exe"), finished.out.find("B.exe")) << finished.out;
  // Each held file waiting on its own would take two patiences of 2 s.
  EXPECT_LT(elapsed, std::chrono::milliseconds(3800));
  for (const auto& held : heldThroughout) EXPECT_TRUE(held);
  EXPECT_EQ(Bytes(app / L"B.exe")[0x11E8 + 6], 'v');
  for (auto& held : heldThroughout) held.Reset();
  EXPECT_EQ(Bytes(app / L"A.exe"), Bytes(target_));
}

// Past 260 characters, a path that is relative or holds "..", "." or "/" still names the
// file it names when short.
TEST_F(TressolProcess, LongPathsNameTheSameFileAsShortOnes) {
  fs::path deep = folder_.Path();
  std::wstring relative;
  for (int level = 0; level < 6; ++level) {
    const std::wstring part =
        L"dossier au nom assez long numéro " + std::to_wstring(level) + L" pour dépasser la limite";
    deep /= part;
    relative += part + L"\\";
  }
  fs::create_directories(deep);
  fs::copy_file(target_, deep / L"Appli.exe");
  relative += L"Appli.exe";
  ASSERT_GT(relative.size(), 260u);
  std::wstring dotted = (deep / L".." / deep.filename() / L"." / L"Appli.exe").wstring();
  std::replace(dotted.end() - 40, dotted.end(), L'\\', L'/');
  for (const std::wstring& path : {relative, dotted}) {
    const Finished finished =
        RunTressol(L" \"" + path + L"\" vb6FR.dll 0x40C * 0x409", folder_.Path(), folder_.Path());
    EXPECT_EQ(finished.status, 0u) << finished.out;
    EXPECT_EQ(Bytes(deep / L"Appli.exe")[0x11E8 + 6], 'v') << finished.out;
    ASSERT_EQ(
        RunTressol(L" \"" + path + L"\" * 0x409 ~ 0x0", folder_.Path(), folder_.Path()).status, 0u);
  }
  EXPECT_EQ(Bytes(deep / L"Appli.exe"), Bytes(target_));
}

// The run's undo, printed last, typed as printed at a cmd prompt: the target and the
// journal's folder hold what the console's code page cannot show, which never passes
// through a shell's decoding. The target is padded to a few megabytes, so that the set and
// the undo read it whole with their second thread.
TEST_F(TressolProcess, TheUndoPrintedAfterASetGivesTheFileBack) {
  const fs::path local = folder_.Path() / L"profil \u6587\u4EF6";
  fs::create_directories(local);
  wchar_t saved[32768];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", saved, 32768);
  SetEnvironmentVariableW(L"LOCALAPPDATA", local.c_str());
  const fs::path target = target_.parent_path() / L"\u0153uvre \u20AC\u6587\u4EF6.exe";
  fs::copy_file(target_, target);
  fs::resize_file(target, 6 << 20);
  const std::vector<std::uint8_t> original = Bytes(target);
  const Finished set =
      RunTressol(L" --set vb6FR.dll 0x40C * 0x409 -- \"" + target.wstring() + L"\"", folder_.Path(),
                 target.parent_path());
  ASSERT_EQ(set.status, 0u) << set.out;
  const std::string intro = "Pour annuler cette modification : ";
  const std::size_t start = set.out.rfind(intro) + intro.size();
  const std::string line = set.out.substr(start, set.out.find(" Depuis PowerShell", start) - start);
  // Named by the run's date, time and process, so that two runs never share a journal.
  EXPECT_TRUE(std::regex_search(
      line,
      std::regex(R"(--undo "%LOCALAPPDATA%\\Tressol\\Retours\\journal-\d{8}-\d{6}-\d+\.txt")")))
      << set.out;
  EXPECT_NE(set.out.find("--undo \"$env:LOCALAPPDATA\\Tressol\\Retours\\journal-"),
            std::string::npos)
      << set.out;
  EXPECT_NE(Bytes(target), original);

  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  linguarde::test::ProcessStart prompt;
  prompt.application = std::wstring(system) + L"\\cmd.exe";
  prompt.commandLine = L"cmd.exe /d /s /c \"" + linguarde::test::FromUtf8(line) + L"\"";
  prompt.flags = CREATE_NO_WINDOW;
  const linguarde::test::StartedProcess undo = linguarde::test::StartProcess(prompt);
  ASSERT_TRUE(undo);
  EXPECT_EQ(linguarde::test::WaitForExitStatus(undo, std::chrono::seconds(30)), 0u) << line;
  SetEnvironmentVariableW(L"LOCALAPPDATA", length > 0 && length < 32768 ? saved : nullptr);
  EXPECT_EQ(Bytes(target), original);
}

// Linguarde's road: LancerAction writes the script beside Tressol.exe, the interpreter
// runs it, and the copy of the sample ends in the state the action promises.
TEST_F(TressolProcess, LinguardesActionsLeaveTheTargetAsTheyPromise) {
  TestFolder application(L" Program Files (x86)");
  fs::copy_file(linguarde::test::TestProgramFolder() / L"Tressol.exe",
                application.Path() / L"Tressol.exe");
  const std::vector<std::uint8_t> original = Bytes(target_);
  struct Expected {
    std::int16_t index;
    const char* primary;
    std::uint8_t primaryLcid;
    const char* secondary;
  };
  const Expected actions[] = {
      {2, "vb6FR.dll", 0x0C, "*"}, {3, "vb6FR.dll", 0x0C, "~"}, {1, "*", 0x09, "~"}};
  for (const Expected& action : actions) {
    linguarde::test::UnstartedPlatform platform(application.Text());
    linguarde::LancerAction(action.index, target_.wstring(), platform);
    ASSERT_EQ(linguarde::test::RunScriptToEnd(application.Text() + L"\\VBcommand.bat", {},
                                              platform.environment),
              0u);
    const std::vector<std::uint8_t> bytes = Bytes(target_);
    const std::size_t h = 0x11E8;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[h + 6])), action.primary);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[h + 0x14])), action.secondary);
    EXPECT_EQ(bytes[h + 0x24], action.primaryLcid);
    EXPECT_EQ(StoredChecksum(bytes), ReferenceChecksum(bytes)) << action.index;
  }
  // Back in its first state, the copy is the original again, byte for byte.
  EXPECT_EQ(Bytes(target_), original);

  // Viewing, with the target unquoted although its path holds spaces, changes nothing.
  const fs::path report = folder_.Path() / L"rapport.txt";
  linguarde::test::UnstartedPlatform platform(application.Text());
  linguarde::LancerAction(0, target_.wstring(), platform);
  ASSERT_EQ(linguarde::test::RunScriptToEnd(application.Text() + L"\\VBcommand.bat", report,
                                            platform.environment),
            0u);
  EXPECT_NE(ReadBytes(report).find("position 0x11E8"), std::string::npos) << ReadBytes(report);
  EXPECT_EQ(Bytes(target_), original);
}

}  // namespace
}  // namespace tressol::test
