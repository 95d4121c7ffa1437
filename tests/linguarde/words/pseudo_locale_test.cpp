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
#include "window_words.h"

namespace linguarde {
namespace {

// A system on which every action is refused or started, nothing written.
struct QuietPlatform final : ScriptPlatform, ScriptFile {
  std::wstring folder = L"C:\\Outils";
  std::wstring current = L"C:\\Outils";
  bool held = false;
  bool rewritten = false;

  std::wstring ApplicationFolder() override { return folder; }
  std::wstring CurrentFolder() override { return current; }
  std::unique_ptr<ScriptFile> CreateScript(const std::wstring&) override {
    return held ? nullptr : std::make_unique<QuietPlatform>(*this);
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
  void WriteLine(std::string_view) override {}
  std::unique_ptr<HeldScript> Close() override {
    return rewritten ? nullptr : std::make_unique<HeldScript>();
  }
};

// The characters of a text outside any entry's markers; blanks between entries are fine.
std::size_t Escaped(const std::wstring& text) {
  std::size_t outside = 0;
  int depth = 0;
  for (const wchar_t c : text) {
    depth += c == catalog::kWidePseudoStart[0] ? 1 : c == catalog::kWidePseudoEnd[0] ? -1 : 0;
    const bool marker = c == catalog::kWidePseudoStart[0] || c == catalog::kWidePseudoEnd[0];
    if (!marker && depth == 0 && c != L' ' && c != L'\n') ++outside;
  }
  return outside;
}

TEST(PseudoLocale, NothingTheWindowShowsEscapesTheCatalog) {
  std::vector<std::wstring> shown;

  // The line, from what the tool writes: a file's words and the libraries it lacks, a
  // folder's summary, a message, nothing it can read, nothing.
  const std::string lacking =
      R"({"line":"file","done":"shown","libraries":[{"name":"a.dll","found":false})";
  const std::string summary =
      R"({"line":"summary","restorableFiles":1,"failedFiles":1,"short":"3 VB6"})";
  for (const std::string& output :
       {lacking + R"(],"words":"VB6"})",
        lacking + R"(,{"name":"b.dll","found":false}],"words":"VB6"})", summary,
        std::string(R"({"line":"message","status":3,"words":"x"})"),
        std::string("Tressol : erreur\n"), std::string()}) {
    shown.push_back(LineText(TargetLine(output), L"Appli.exe"));
  }
  // ... and what it says of the undo, after the tool's words.
  const Line words(WindowWords::LineToolWords, L"fichier VB6");
  for (const char* kind :
       {"changed-since", "open-elsewhere", "read-only-attribute", "access-denied"}) {
    const UndoOffer offer = UndoOfferOf(
        R"({"line":"file","path":"C:\\a.exe","done":"failed","reason":"r","reasonKind":")" +
        std::string(kind) + "\"}\n" + summary);
    shown.push_back(LineText(Followed(words, offer.why, offer), L"Appli.exe"));
  }
  for (const char* kind : {"journal-missing", "journal-busy", "refused"}) {
    const UndoOffer offer = UndoOfferOf(R"({"line":"message","status":3,"words":"x","kind":")" +
                                        std::string(kind) + "\"}");
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
  shown.push_back(LineText({WindowWords::LineToolUnstartable, L"", L"system", L"refusé"}, L"a"));

  // The script's refusals, each holder and case: folder, target, current folder.
  const std::wstring cases[][3] = {
      {L"C:\\Outils", L"C:\\a\"b.exe", L""},
      {L"C:\\a\"b", L"a.exe", L""},
      {L"C:\\Outils", L"\"C:\\a.exe\"", L""},
      {L"C:\\Outils", L"C:\\a.exe\r\ndel *", L""},
      {L"C:\\Outils", L"C:\\\xD800.exe", L""},
      {L"C:\\\xDE00", L"a.exe", L""},
      {L"C:\\a%b%c", L"a.exe", L""},
      {L"C:\\Outils", L"-a.exe", L""},
      {L"C:\\Outils", L"Appli.exe", L"\\\\serveur\\partage"},
      {L"C:\\Outils", L"C:\\" + std::wstring(9000, L'a'), L""},
      {L"C:\\Outils", L"held", L""},
      {L"C:\\Outils", L"rewritten", L""},
  };
  for (const auto& c : cases) {
    QuietPlatform platform;
    platform.folder = c[0];
    platform.current = c[2].empty() ? platform.current : c[2];
    platform.held = c[1] == L"held";
    platform.rewritten = c[1] == L"rewritten";
    try {
      LancerAction(1, c[1], platform);
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
  shown.push_back(Say(WindowWords::UndoCaption) + L" " + Say(WindowWords::RedoCaption));

  std::size_t outside = 0;
  std::size_t texts = 0;
  for (const std::wstring& text : shown) {
    outside += Escaped(text);
    texts += Escaped(text) > 0 ? 1 : 0;
    EXPECT_EQ(Escaped(text), 0u) << testing::PrintToString(text);
  }
  std::printf("%zu characters outside any entry on %zu of %zu texts\n", outside, texts,
              shown.size());
}

// Each place of each entry is one that the code gives: a place misspelt would show as is.
TEST(PseudoLocale, EveryPlaceIsOneTheCodeGives) {
  const std::string_view given[] = {"file",  "words",     "library", "libraries", "reason",
                                    "name",  "character", "system",  "path",      "folder",
                                    "limit", "list",      "item"};
  for (std::size_t i = 0; i < kWindowWordsCount; ++i) {
    const std::string_view text = EntryAt(static_cast<WindowWords>(i)).one;
    for (std::size_t open = text.find('{'); open != text.npos; open = text.find('{', open + 1)) {
      const std::string_view name = text.substr(open + 1, text.find('}', open) - open - 1);
      EXPECT_NE(std::find(std::begin(given), std::end(given), name), std::end(given))
          << "entry " << i << ": {" << name << "}";
    }
  }
}

}  // namespace
}  // namespace linguarde
