// LancerAction over an in-memory system: the order of the steps, what a refusal leaves
// untouched, and how a failed step stops the rest.
#include "LancerAction.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "action_error.h"
#include "window_words.h"

namespace {

using linguarde::ActionRefused;
using linguarde::LancerAction;
using linguarde::Say;
using linguarde::StepFailed;
using linguarde::WindowWords;

// A system that records each call.
class RecordingPlatform final : public linguarde::ScriptPlatform {
 public:
  explicit RecordingPlatform(std::wstring folder) : folder_(std::move(folder)) {}

  std::vector<std::string> calls;
  std::string failOn;            // the call that throws StepFailed
  bool scriptHeld = false;       // an earlier console still reads the script
  bool scriptRewritten = false;  // another copy wrote the script before it was held

  std::wstring ApplicationFolder() override { return folder_; }
  std::wstring current = L"C:\\Outils";  // the program's current folder
  std::wstring CurrentFolder() override { return current; }

  std::unique_ptr<linguarde::ScriptFile> CreateScript(const std::wstring& path) override {
    Record("create " + Narrow(path));
    return scriptHeld ? nullptr : std::make_unique<File>(*this);
  }

  std::unique_ptr<linguarde::Console> StartScript(
      const std::wstring& path, std::unique_ptr<linguarde::HeldScript> script,
      const std::vector<linguarde::ScriptVariable>& variables) override {
    Record(std::string("start ") + Narrow(path) + (script ? "" : " without the script"));
    environment = variables;
    return nullptr;
  }
  std::wstring NewJournalPath() override { return L"C:\\Retours\\j.txt"; }
  std::unique_ptr<linguarde::Console> StartUndo(
      const std::wstring&, const std::wstring&,
      const std::vector<linguarde::ScriptVariable>&) override {
    Record("undo");
    return nullptr;
  }

  std::vector<linguarde::ScriptVariable> environment;  // of the last start

 private:
  class File final : public linguarde::ScriptFile {
   public:
    explicit File(RecordingPlatform& owner) : owner_(owner) {}
    void WriteLine(std::string_view bytes) override {
      owner_.Record("write " + std::string(bytes));
    }
    std::unique_ptr<linguarde::HeldScript> Close() override {
      owner_.Record("close");
      return owner_.scriptRewritten ? nullptr : std::make_unique<linguarde::HeldScript>();
    }

   private:
    RecordingPlatform& owner_;
  };

  void Record(const std::string& call) {
    calls.push_back(call);
    if (!failOn.empty() && call.rfind(failOn, 0) == 0) {
      throw StepFailed(L"échec simulé");
    }
  }

  static std::string Narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) out += static_cast<char>(c);
    return out;
  }

  std::wstring folder_;
};

TEST(LancerAction, WritesTheLineThenPauseThenClosesThenStarts) {
  RecordingPlatform platform(L"C:\\Outils");
  LancerAction(3, L"C:\\Projets\\Appli.exe", platform);
  const std::vector<std::string> expected = {
      "create C:\\Outils\\VBcommand.bat",
      "write C:\\Outils\\Tressol.exe \"C:\\Projets\\Appli.exe\" vb6FR.dll 0x40C ~ 0x409",
      "write Pause",
      "close",
      "start C:\\Outils\\VBcommand.bat",
  };
  EXPECT_EQ(platform.calls, expected);
}

// An action that writes names its journal to the tool; a view takes out any journal the
// program was given, so that its tool never writes one.
TEST(LancerAction, AnActionThatWritesGetsItsJournalAndAViewNone) {
  for (std::int16_t index = 0; index <= 3; ++index) {
    RecordingPlatform platform(L"C:\\Outils");
    LancerAction(index, L"C:\\Projets\\Appli.exe", platform, L"C:\\Retours\\j.txt");
    ASSERT_EQ(platform.environment.size(), 1u) << index;
    EXPECT_EQ(platform.environment[0].name, L"TRESSOL_JOURNAL") << index;
    EXPECT_EQ(platform.environment[0].value, index == 0 ? L"" : L"C:\\Retours\\j.txt") << index;
  }
}

TEST(LancerAction, ScriptPathHasOneBackslashAtADriveRoot) {
  RecordingPlatform platform(L"D:\\");
  LancerAction(0, L"a.exe", platform);
  ASSERT_FALSE(platform.calls.empty());
  EXPECT_EQ(platform.calls.front(), "create D:\\VBcommand.bat");
  EXPECT_EQ(platform.calls.back(), "start D:\\VBcommand.bat");
}

TEST(LancerAction, IndexOutsideTheTableWritesOnlyPause) {
  for (const std::int16_t index : {std::int16_t{-1}, std::int16_t{4}, std::int16_t{-32768}}) {
    RecordingPlatform platform(L"C:\\Outils");
    // Nothing of the target is written, so nothing of it can be refused either.
    LancerAction(index, L"a\"b\n", platform);
    const std::vector<std::string> expected = {"create C:\\Outils\\VBcommand.bat", "write Pause",
                                               "close", "start C:\\Outils\\VBcommand.bat"};
    EXPECT_EQ(platform.calls, expected) << index;
  }
}

TEST(LancerAction, RefusesTextsThatCannotReachTheToolBeforeTouchingAnything) {
  struct Case {
    const wchar_t* folder;
    std::wstring target;
    std::wstring said;  // the refusal, whole
    const wchar_t* current = L"C:\\Outils";
  };
  const auto with = [](WindowWords entry, const wchar_t* character) {
    return Say(entry, {{L"character", character}});
  };
  const Case cases[] = {
      // No Windows name holds one: it goes from the path, not from the file's name.
      {L"C:\\Outils", L"C:\\a\"b.exe", with(WindowWords::TargetQuote, L"U+0022")},
      {L"C:\\a\"b", L"a.exe", with(WindowWords::FolderUncarriable, L"U+0022")},
      // Explorer's "Copy as path".
      {L"C:\\Outils", L"\"C:\\Mes Projets\\a.exe\"", Say(WindowWords::TargetQuoted)},
      {L"C:\\Outils", L"C:\\a.exe\r\ndel *", with(WindowWords::TargetControlCharacter, L"U+000D")},
      {L"C:\\Outils", L"C:\\a\tb.exe", with(WindowWords::TargetControlCharacter, L"U+0009")},
      {L"C:\\Outils", std::wstring(L"C:\\a", 4) + L'\0' + L"b",
       with(WindowWords::TargetControlCharacter, L"U+0000")},
      // Not Unicode text: half of a pair alone, first or second.
      {L"C:\\Outils", L"C:\\\xD800.exe", with(WindowWords::TargetLoneSurrogate, L"U+D800")},
      {L"C:\\\xDE00\xD83D", L"a.exe", with(WindowWords::FolderLoneSurrogate, L"U+DE00")},
      {L"C:\\a%b%c", L"a.exe", Say(WindowWords::FolderPercents, {{L"folder", L"C:\\a%b%c"}})},
      // A view of this would be a change.
      {L"C:\\Outils", L" --set * 0x409 ~ 0x0 C:\\a.exe",
       Say(WindowWords::TargetOptionLike, {{L"file", L" --set * 0x409 ~ 0x0 C:\\a.exe"},
                                           {L"name", L"--set * 0x409 ~ 0x0 C:\\a.exe"}})},
      {L"C:\\Outils", L"-a.exe",
       Say(WindowWords::TargetOptionLike, {{L"file", L"-a.exe"}, {L"name", L"-a.exe"}})},
      // The console would start in the Windows folder and find another file of that name.
      {L"C:\\Outils", L"Appli.exe",
       Say(WindowWords::TargetRelativeOnNetwork, {{L"path", L"Appli.exe"}}),
       L"\\\\serveur\\partage"},
  };
  for (const Case& c : cases) {
    for (std::int16_t index = 0; index <= 3; ++index) {
      RecordingPlatform platform(c.folder);
      platform.current = c.current;
      try {
        LancerAction(index, c.target, platform);
        ADD_FAILURE() << "not refused: " << testing::PrintToString(c.target) << " " << index;
      } catch (const ActionRefused& refusal) {
        EXPECT_EQ(refusal.Message(), c.said) << testing::PrintToString(c.target);
      }
      EXPECT_TRUE(platform.calls.empty()) << testing::PrintToString(c.target);
    }
  }
}

TEST(LancerAction, AFailedStepStopsTheStepsAfterIt) {
  struct Case {
    const char* failOn;
    std::vector<std::string> done;
  };
  const std::string create = "create C:\\O\\VBcommand.bat";
  const std::string line = "write C:\\O\\Tressol.exe a.exe";
  const Case cases[] = {
      {"create", {create}},
      {"write C:", {create, line}},
      {"write Pause", {create, line, "write Pause"}},
      {"close", {create, line, "write Pause", "close"}},
      {"start", {create, line, "write Pause", "close", "start C:\\O\\VBcommand.bat"}},
  };
  for (const Case& c : cases) {
    RecordingPlatform platform(L"C:\\O");
    platform.failOn = c.failOn;
    EXPECT_THROW(LancerAction(0, L"a.exe", platform), StepFailed) << c.failOn;
    EXPECT_EQ(platform.calls, c.done) << c.failOn;
  }
}

TEST(LancerAction, OneSignPercentFolderIsCarried) {
  RecordingPlatform platform(L"C:\\100%");
  LancerAction(1, L"a.exe", platform);
  ASSERT_EQ(platform.calls.size(), 5u);
  EXPECT_EQ(platform.calls[1], "write \"C:\\100%%\\Tressol.exe\" \"a.exe\" * 0x409 ~ 0x0");
}

// Held: nothing written. Rewritten by another copy between the close and the hold: that
// copy's console runs it, so this one starts nothing.
TEST(LancerAction, AScriptHeldOrRewrittenElsewhereIsNotStarted) {
  const std::string create = "create C:\\Outils\\VBcommand.bat";
  const std::string line = "write C:\\Outils\\Tressol.exe a.exe";
  struct Case {
    bool held;
    std::vector<std::string> done;
    WindowWords said;
  };
  const Case cases[] = {
      {true, {create}, WindowWords::ScriptHeld},
      {false, {create, line, "write Pause", "close"}, WindowWords::ScriptRewritten},
  };
  for (const Case& c : cases) {
    RecordingPlatform platform(L"C:\\Outils");
    platform.scriptHeld = c.held;
    platform.scriptRewritten = !c.held;
    try {
      LancerAction(0, L"a.exe", platform);
      ADD_FAILURE() << "not refused";
    } catch (const ActionRefused& refusal) {
      EXPECT_EQ(refusal.Message(), Say(c.said, {{L"file", L"VBcommand.bat"}}));
    }
    EXPECT_EQ(platform.calls, c.done);
  }
}

// The interpreter reads 8191 characters of a line, as written and once expanded:
// "C:\O\Tressol.exe " takes 17 of them; each % of the target is written twice in the line
// but once in the variable that carries a target beyond ASCII.
TEST(LancerAction, RefusesALineLongerThanTheInterpreterReads) {
  struct Case {
    std::int16_t index;
    std::wstring target;
    std::size_t written;  // the line's length when it is not refused, else 0
  };
  const std::size_t variableLine = std::string("C:\\O\\Tressol.exe %LINGUARDE_CIBLE%").size();
  const Case cases[] = {
      {0, std::wstring(8174, L'a'), 8191},
      {0, std::wstring(8175, L'a'), 0},
      {0, std::wstring(4087, L'%'), 8191},
      {0, std::wstring(4088, L'%'), 0},
      {1, std::wstring(8174 - 16, L'a'), 8191},
      {1, std::wstring(8174 - 17, L'a') + L"\\", 0},
      {0, L"\x00E9" + std::wstring(8173, L'%'), variableLine},
      {0, L"\x00E9" + std::wstring(8174, L'%'), 0},
      {0, L"\x00E9" + std::wstring(4086, L'&'), variableLine},
      {0, L"\x00E9" + std::wstring(4087, L'&'), 0},
  };
  for (const Case& c : cases) {
    RecordingPlatform platform(L"C:\\O");
    if (c.written == 0) {
      EXPECT_THROW(LancerAction(c.index, c.target, platform), ActionRefused) << c.target.size();
      EXPECT_TRUE(platform.calls.empty());
    } else {
      LancerAction(c.index, c.target, platform);
      ASSERT_EQ(platform.calls.size(), 5u);
      EXPECT_EQ(platform.calls[1].size(), std::string("write ").size() + c.written);
    }
  }
}

}  // namespace
