// The window's line from what the tool wrote with --json: a file's own words, a folder's
// summary, the tool's message, and output that is not what the tool writes.
#include "target_words.h"

#include <gtest/gtest.h>

namespace {

using linguarde::WindowWords;

// A line as the window shows it for a target named "x", its entry filled.
std::wstring Shown(const linguarde::Line& line) { return linguarde::LineText(line, L"x"); }

const std::string kSetup =
    R"({"line":"file","path":"C:\\Projets\\Setup.exe","vb6":true,"done":"shown",)"
    R"("signed":false,"headerOffset":4584,"runtimeBuild":8988,"primaryLibrary":"*",)"
    R"("primaryLcid":1033,"secondaryLibrary":"~","secondaryLcid":0,"libraries":[],)"
    R"("effect":"messages en anglais","words":"fichier VB6, messages en anglais"})";

std::string File(const std::string& path, const std::string& words) {
  return R"({"line":"file","path":")" + path + R"(","vb6":true,"done":"shown",)" +
         R"("libraries":[{"name":"vb6FR.dll","found":false}],"before":{"primaryLcid":1033},)" +
         R"("words":")" + words + R"("})" + "\n";
}

std::string Message(int status, const std::string& words) {
  return R"({"line":"message","status":)" + std::to_string(status) + R"(,"words":")" + words +
         R"("})" + "\n";
}

const std::string kSummary =
    R"({"line":"summary","mode":"view","files":5,"vb6Files":3,"notVb6Files":1,)"
    R"("leftAsideFiles":6,"failedFiles":1,"journal":null,"undoExact":false,)"
    R"("words":"Résumé : 3 fichiers VB6, 1 non VB6, 6 laissés de côté, 1 en échec.",)"
    R"("short":"3 fichiers VB6 (messages en anglais), 1 non VB6, 6 laissés de côté, 1 en échec"})"
    "\n";

TEST(TargetLine, SaysOnlyWhatTheToolSaidOfTheTarget) {
  struct Case {
    const char* what;
    std::string output;
    std::string words;  // the tool's; none where the window says it has none
    WindowWords entry = WindowWords::LineToolWords;
    const wchar_t* library = nullptr;  // that the file lacks
  };
  const std::string deep = std::string(100, '[') + std::string(100, ']');
  const Case cases[] = {
      {"the file itself", kSetup + "\r\n", "fichier VB6, messages en anglais"},
      {"escapes",
       R"({"line":"file","path":"C:\\\"\u00e9\ud83d\ude00\\a.dll","vb6":false,"done":"skipped","words":"n'est pas un fichier VB6 : trop court\tpour une image PE"})",
       "n'est pas un fichier VB6 : trop court\tpour une image PE"},
      {"a folder: its summary's short form, whatever its files say",
       File("app/a.exe", "fichier VB6, messages en anglais") + File("app/e.exe", "en échec") +
           kSummary,
       "3 fichiers VB6 (messages en anglais), 1 non VB6, 6 laissés de côté, 1 en échec"},
      {"a folder with no VB6 file, refused after its summary", kSummary + Message(3, "aucun"),
       "3 fichiers VB6 (messages en anglais), 1 non VB6, 6 laissés de côté, 1 en échec"},
      {"a file that failed: its line, before the run's message",
       File("x.exe", "en échec : introuvable") + Message(4, "« x.exe » ne peut pas être lu"),
       "en échec : introuvable", WindowWords::LineLibraryMissing, L"vb6FR.dll"},
      {"a message's short form where it has one",
       R"({"line":"message","status":3,"words":"le dossier « C:\\Vide » ne contient aucun fichier .exe, .dll ou .ocx","short":"aucun fichier .exe, .dll ou .ocx"})",
       "aucun fichier .exe, .dll ou .ocx"},
      {"a file's short words where it has some",
       R"({"line":"file","path":"d.exe","vb6":null,"done":"failed","words":"en échec : le fichier est tronqué (…) ; recopiez-le depuis l'original","short":"endommagé ; recopiez-le depuis l'original"})",
       "endommagé ; recopiez-le depuis l'original"},
      {"no file: the run's message",
       Message(0, "Attention : le journal…") + Message(2, "L'option « --x » n'existe pas."),
       "L'option « --x » n'existe pas."},
      {"prose, not the tool's lines", "Tressol : erreur interne, rien de plus n'a été fait.\n", "",
       WindowWords::LineUnreadable},
      {"nothing", "", "", WindowWords::LineSilent},
      {"an object cut short", kSetup.substr(0, 60), "", WindowWords::LineUnreadable},
      {"nesting deeper than the tool writes", deep, "", WindowWords::LineUnreadable},
  };
  for (const Case& c : cases) {
    const linguarde::Line expected{c.entry, linguarde::Typeset(linguarde::Widened(c.words)),
                                   L"library", c.library == nullptr ? L"" : c.library};
    EXPECT_EQ(Shown(linguarde::TargetLine(c.output)), Shown(expected)) << c.what;
  }
}

// The window offers an undo only where the tool says every change comes back exactly.
TEST(UndoOfferOf, OnlyWhereEveryChangeComesBackExactly) {
  const auto summary = [](int restorable, int failed) {
    return R"({"line":"summary","mode":"undo","files":2,"restorableFiles":)" +
           std::to_string(restorable) + R"(,"alreadySetFiles":0,"failedFiles":)" +
           std::to_string(failed) + "}\n";
  };
  const std::string changedSince =
      R"({"line":"file","path":"C:\\a.exe","done":"failed","reason":"sa taille a changé depuis la modification ; il est laissé tel quel"})"
      "\n";
  const std::string held =
      R"({"line":"file","path":"C:\\b.exe","done":"failed","reasonKind":"open-elsewhere","reason":"il est ouvert"})"
      "\n";
  struct Case {
    const char* what;
    std::string output;
    bool offered;
    WindowWords why;
    std::string reason;         // the tool's, after the line's words
    const wchar_t* name = L"";  // the file that cannot come back
  };
  const Case cases[] = {
      {"every change", summary(2, 0), true, WindowWords::kEnd, ""},
      {"one changed since", changedSince + summary(1, 1), false, WindowWords::LineUndoInexact,
       "sa taille a changé depuis la modification ; il est laissé tel quel", L"a.exe"},
      // A cause that may go: no word of an inexact undo.
      {"one held by another program", held + summary(1, 1), false, WindowWords::LineUndoHeld, "",
       L"b.exe"},
      {"already undone", summary(0, 0), false, WindowWords::kEnd, ""},
      {"nothing to undo", R"({"line":"message","status":0,"words":"Rien à annuler"})", false,
       WindowWords::kEnd, ""},
      {"not the tool's", "Tressol : erreur interne\n", false, WindowWords::kEnd, ""},
      {"its journal gone",
       R"({"line":"message","status":4,"kind":"journal-missing","words":"le journal J est introuvable"})",
       false, WindowWords::LineJournalGone, ""},
      {"its journal held by an undo",
       R"({"line":"message","status":3,"kind":"journal-busy","words":"le journal J est en cours d'utilisation"})",
       false, WindowWords::LineJournalBusy, ""},
      {"its journal refused",
       R"({"line":"message","status":3,"kind":"refused","words":"le journal J est endommagé"})",
       false, WindowWords::LineUndoRefused, "le journal J est endommagé"},
  };
  const linguarde::Line words{WindowWords::LineToolWords, L"mots"};
  for (const Case& c : cases) {
    const linguarde::UndoOffer offer = linguarde::UndoOfferOf(c.output);
    EXPECT_EQ(offer.offered, c.offered) << c.what;
    EXPECT_EQ(offer.why, c.why) << c.what;
    if (c.why != WindowWords::kEnd) {
      const linguarde::Line expected{c.why, L"mots", L"reason",
                                     linguarde::Typeset(linguarde::Widened(c.reason)), c.name};
      EXPECT_EQ(Shown(linguarde::Followed(words, offer.why, offer)), Shown(expected)) << c.what;
    }
    EXPECT_EQ(offer.journalMissing, c.output.find("journal-missing") != std::string::npos)
        << c.what;
  }
}

}  // namespace
