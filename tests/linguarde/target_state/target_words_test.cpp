// The window's line from what the tool wrote with --json: a file's own words, a folder's
// count, the tool's message, and output that is not what the tool writes.
#include "target_words.h"

#include <gtest/gtest.h>

namespace {

const std::string kSetup =
    R"({"path":"C:\\Projets\\Setup.exe","vb6":true,"done":"shown","signed":false,)"
    R"("headerOffset":4584,"runtimeBuild":8988,"primaryLibrary":"*","primaryLcid":1033,)"
    R"("secondaryLibrary":"~","secondaryLcid":0,"libraries":[],)"
    R"("effect":"messages en anglais","words":"fichier VB6, messages en anglais"})";

std::string File(const std::string& path, const std::string& vb6, const std::string& done,
                 const std::string& effect) {
  return R"({"path":")" + path + R"(","vb6":)" + vb6 + R"(,"done":")" + done +
         R"(","libraries":[{"name":"vb6FR.dll","found":false}],"before":{"primaryLcid":1033},)" +
         R"("effect":")" + effect + R"(","words":"?"})" + "\n";
}

TEST(TargetWords, SaysWhatTheToolSaidOfTheTarget) {
  struct Case {
    const char* what;
    std::string target;
    std::string output;
    std::string words;
  };
  const std::string deep = std::string(100, '[') + std::string(100, ']');
  const Case cases[] = {
      {"the file itself", "C:\\Projets\\Setup.exe", kSetup + "\r\n",
       "fichier VB6, messages en anglais"},
      {"escapes", "C:\\\"é😀\\a.dll",
       R"({"path":"C:\\\"\u00e9\ud83d\ude00\\a.dll","vb6":false,"done":"skipped","words":"n'est pas un fichier VB6 : trop court\tpour une image PE"})",
       "n'est pas un fichier VB6 : trop court\tpour une image PE"},
      {"a folder", "app",
       File("app/a.exe", "true", "shown", "messages en anglais") +
           File("app/b.ocx", "true", "shown", "messages en français, sinon en anglais") +
           File("app/c.dll", "true", "shown", "messages en anglais") +
           File("app/d.dll", "false", "skipped", "") + File("app/e.exe", "null", "failed", "") +
           "Tressol : « app/e.exe » ne peut pas être lu.\n",
       "3 fichiers VB6 (2 : messages en anglais ; 1 : messages en français, sinon en anglais), "
       "1 non VB6, 1 en échec"},
      {"a pattern that finds the one file", "C:\\Projets\\*.exe", kSetup,
       "1 fichier VB6 (messages en anglais)"},
      {"a folder without VB6 files", "app", File("app/d.dll", "false", "skipped", ""),
       "aucun fichier VB6, 1 non VB6"},
      {"the tool's message, wrapped in lines", "x.exe",
       "Tressol : « x.exe » ne peut pas être lu : il n'existe pas ; vérifiez le chemin (File "
       "not\n  found).\n",
       "« x.exe » ne peut pas être lu : il n'existe pas ; vérifiez le chemin (File not found)"},
      {"nothing", "x.exe", "", "l'outil n'a rien répondu"},
      {"an object cut short", "C:\\Projets\\Setup.exe", kSetup.substr(0, 60), kSetup.substr(0, 60)},
      {"nesting deeper than the tool writes", "x.exe", deep, deep},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(linguarde::TargetWords(c.target, c.output), c.words) << c.what;
  }
}

}  // namespace
