// The window's words in the pseudo-locale: every text that the existing tests make the window
// show (the line under the target, the script's refusals, the message boxes, the undo
// button) rendered through the real functions, and nothing of it outside an entry's markers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "LancerAction.h"
#include "action_error.h"
#include "target_words.h"
#include "words.h"

namespace linguarde {
namespace {

// A system on which every action is refused or started, nothing written.
class QuietPlatform final : public ScriptPlatform {
 public:
  std::wstring folder = L"C:\\Outils";
  std::wstring current = L"C:\\Outils";
  bool held = false;
  bool rewritten = false;

  std::wstring ApplicationFolder() override { return folder; }
  std::wstring CurrentFolder() override { return current; }
  std::unique_ptr<ScriptFile> CreateScript(const std::wstring&) override {
    return held ? nullptr : std::make_unique<File>(*this);
  }
  std::unique_ptr<Console> StartScript(const std::wstring&, std::unique_ptr<HeldScript>,
                                       const std::vector<ScriptVariable>&) override {
    return nullptr;
  }
  std::wstring NewJournalPath() override { return L"j.txt"; }
  std::unique_ptr<Console> StartUndo(const std::wstring&, const std::wstring&,
                                     const std::vector<ScriptVariable>&) override {
    return nullptr;
  }

 private:
  class File final : public ScriptFile {
   public:
    explicit File(QuietPlatform& owner) : owner_(owner) {}
    void WriteLine(std::string_view) override {}
    std::unique_ptr<HeldScript> Close() override {
      return owner_.rewritten ? nullptr : std::make_unique<HeldScript>();
    }

   private:
    QuietPlatform& owner_;
  };
};

// The characters of a text outside any entry's markers; blanks between entries are fine.
std::size_t Escaped(const std::wstring& text) {
  std::size_t outside = 0;
  int depth = 0;
  for (const wchar_t c : text) {
    if (c == catalog::kWidePseudoStart[0]) {
      ++depth;
    } else if (c == catalog::kWidePseudoEnd[0]) {
      --depth;
    } else if (depth == 0 && c != L' ' && c != L'\n' && c != L'\u00A0') {
      ++outside;
    }
  }
  return outside;
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (const wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

TEST(PseudoLocale, NothingTheWindowShowsEscapesTheCatalog) {
  std::vector<std::wstring> shown;

  // The line, from what the tool writes: its words, a folder's summary, its messages, none.
  const std::string file =
      R"({"line":"file","path":"C:\\a.exe","vb6":true,"done":"shown","libraries":[{"name":"vb6FR.dll","found":false}],"words":"fichier VB6, messages en anglais"})"
      "\n";
  const std::string twoMissing =
      R"({"line":"file","path":"C:\\a.exe","done":"shown","libraries":[{"name":"a.dll","found":false},{"name":"b.dll","found":false}],"words":"fichier VB6"})";
  const std::string summary =
      R"({"line":"summary","restorableFiles":1,"failedFiles":1,"short":"3 fichiers VB6"})"
      "\n";
  for (const std::string& output : {file, twoMissing, file + summary,
                                    std::string(R"({"line":"message","status":3,"words":"x"})"),
                                    std::string("Tressol : erreur\n"), std::string()}) {
    shown.push_back(LineText(TargetLine(output), L"Appli.exe"));
  }
  // ... and what it says of the undo.
  const Line words(WindowWords::LineToolWords, L"fichier VB6");
  for (
      const std::string& output : {
          std::string(
              R"({"line":"file","path":"C:\\a.exe","done":"failed","reasonKind":"changed-since","reason":"il a changé"})"
              "\n") +
              summary,
          std::string(
              R"({"line":"file","path":"C:\\a.exe","done":"failed","reasonKind":"open-elsewhere","reason":"ouvert"})"
              "\n") +
              summary,
          std::string(
              R"({"line":"file","path":"C:\\a.exe","done":"failed","reasonKind":"read-only-attribute","reason":"r"})"
              "\n") +
              summary,
          std::string(
              R"({"line":"file","path":"C:\\a.exe","done":"failed","reasonKind":"access-denied","reason":"r"})"
              "\n") +
              summary,
          std::string(R"({"line":"message","status":4,"kind":"journal-missing","words":"x"})"),
          std::string(R"({"line":"message","status":3,"kind":"journal-busy","words":"x"})"),
          std::string(R"({"line":"message","status":3,"kind":"refused","words":"x"})"),
      }) {
    const UndoOffer offer = UndoOfferOf(output);
    shown.push_back(LineText(Followed(words, offer.why, offer), L"Appli.exe"));
  }
  shown.push_back(LineText(Followed(words, WindowWords::LineRedoOffered), L"Appli.exe"));
  // ... and what the window says of its own while it reads and follows consoles.
  for (const WindowWords entry :
       {WindowWords::LineReading, WindowWords::LineNoAnswer, WindowWords::LineActionConsole,
        WindowWords::LineUndoConsole, WindowWords::LineRedoConsole,
        WindowWords::LineActionConsoleUnfollowed, WindowWords::LineUndoConsoleUnfollowed,
        WindowWords::LineRedoConsoleUnfollowed, WindowWords::LineRelativeOnNetwork,
        WindowWords::LineToolMissing}) {
    shown.push_back(LineText(Line(entry), L"Appli.exe"));
  }
  shown.push_back(LineText({WindowWords::LineQuote, L"", L"character", CodePointName(L'"')}, L"a"));
  shown.push_back(
      LineText({WindowWords::LineToolUnstartable, L"", L"system", L"accès refusé"}, L"a"));

  // The script's refusals, each holder and case.
  struct Refused {
    const wchar_t* folder;
    std::wstring target;
    const wchar_t* current;
    bool held;
    bool rewritten;
  };
  const Refused refusals[] = {
      {L"C:\\Outils", L"C:\\a\"b.exe", L"C:\\Outils", false, false},
      {L"C:\\a\"b", L"a.exe", L"C:\\Outils", false, false},
      {L"C:\\Outils", L"\"C:\\Mes Projets\\a.exe\"", L"C:\\Outils", false, false},
      {L"C:\\Outils", L"C:\\a.exe\r\ndel *", L"C:\\Outils", false, false},
      {L"C:\\Outils", L"C:\\\xD800.exe", L"C:\\Outils", false, false},
      {L"C:\\\xDE00\xD83D", L"a.exe", L"C:\\Outils", false, false},
      {L"C:\\a%b%c", L"a.exe", L"C:\\Outils", false, false},
      {L"C:\\Outils", L"-a.exe", L"C:\\Outils", false, false},
      {L"C:\\Outils", L"Appli.exe", L"\\\\serveur\\partage", false, false},
      {L"C:\\Outils", L"C:\\" + std::wstring(9000, L'a'), L"C:\\Outils", false, false},
      {L"C:\\Outils", L"a.exe", L"C:\\Outils", true, false},
      {L"C:\\Outils", L"a.exe", L"C:\\Outils", false, true},
  };
  for (const Refused& r : refusals) {
    QuietPlatform platform;
    platform.folder = r.folder;
    platform.current = r.current;
    platform.held = r.held;
    platform.rewritten = r.rewritten;
    try {
      LancerAction(1, r.target, platform);
      ADD_FAILURE() << "not refused";
    } catch (const ActionRefused& refusal) {
      shown.push_back(refusal.Message());
    }
  }

  // The message boxes and the undo button.
  for (const ConsoleOf console : {ConsoleOf::Action, ConsoleOf::Undo, ConsoleOf::Redo}) {
    shown.push_back(ConsoleStillOpen(console));
  }
  shown.push_back(Say(WindowWords::UnexpectedFailure) + L"\n\n" + Say(WindowWords::Closing));
  shown.push_back(Say(WindowWords::ActionFailed) + L"\n\n" + Say(WindowWords::Closing));
  shown.push_back(Say(WindowWords::UndoCaption));
  shown.push_back(Say(WindowWords::RedoCaption));

  std::size_t outside = 0;
  std::size_t lines = 0;
  for (const std::wstring& text : shown) {
    const std::size_t escaped = Escaped(text);
    outside += escaped;
    lines += escaped > 0 ? 1 : 0;
    EXPECT_EQ(escaped, 0u) << Narrow(text);
  }
  std::printf("%zu characters outside any entry on %zu of %zu texts\n", outside, lines,
              shown.size());
}

// Each place of each entry is one that the code gives: a place misspelt would show as is.
TEST(PseudoLocale, EveryPlaceIsOneTheCodeGives) {
  const std::string_view given[] = {"file",      "words",  "library", "libraries", "reason", "name",
                                    "character", "system", "path",    "folder",    "count"};
  for (std::size_t i = 0; i < kWindowWordsCount; ++i) {
    const catalog::Entry<char>& entry = EntryAt(static_cast<WindowWords>(i));
    for (const char* form : {entry.one, entry.other}) {
      const std::string_view text = form == nullptr ? "" : form;
      for (std::size_t open = text.find('{'); open != text.npos; open = text.find('{', open + 1)) {
        const std::string_view name = text.substr(open + 1, text.find('}', open) - open - 1);
        EXPECT_NE(std::find(std::begin(given), std::end(given), name), std::end(given))
            << "entry " << i << ": {" << name << "}";
      }
    }
  }
}

}  // namespace
}  // namespace linguarde
