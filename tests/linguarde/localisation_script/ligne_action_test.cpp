#include "action_table.h"

#include <gtest/gtest.h>

namespace {

using linguarde::LigneAction;

struct Case {
  const wchar_t* folder;
  const wchar_t* target;
  std::int16_t index;
  const wchar_t* expected;  // nullptr: no line
};

// clang-format off
constexpr Case kCases[] = {
    // The four actions on an ordinary folder and target.
    {L"C:\\Outils", L"C:\\Projets\\Appli.exe", 0, L"C:\\Outils\\Tressol.exe C:\\Projets\\Appli.exe"},
    {L"C:\\Outils", L"C:\\Projets\\Appli.exe", 1, L"C:\\Outils\\Tressol.exe \"C:\\Projets\\Appli.exe\" * 0x409 ~ 0x0"},
    {L"C:\\Outils", L"C:\\Projets\\Appli.exe", 2, L"C:\\Outils\\Tressol.exe \"C:\\Projets\\Appli.exe\" vb6FR.dll 0x40C * 0x409"},
    {L"C:\\Outils", L"C:\\Projets\\Appli.exe", 3, L"C:\\Outils\\Tressol.exe \"C:\\Projets\\Appli.exe\" vb6FR.dll 0x40C ~ 0x409"},
    // The folder comes with or without its backslash; a drive root keeps a single one.
    {L"C:\\Outils\\", L"a.exe", 1, L"C:\\Outils\\Tressol.exe \"a.exe\" * 0x409 ~ 0x0"},
    {L"C:\\",         L"a.exe", 0, L"C:\\Tressol.exe a.exe"},
    {L"C:\\Outils  ", L"a.exe", 0, L"C:\\Outils\\Tressol.exe a.exe"},
    // An empty target.
    {L"C:\\Outils", L"", 0, L"C:\\Outils\\Tressol.exe "},
    {L"C:\\Outils", L"", 1, L"C:\\Outils\\Tressol.exe \"\" * 0x409 ~ 0x0"},
    // Spaces in and around the target stay where they are.
    {L"C:\\Outils", L"C:\\Mes Projets\\Appli.exe", 0, L"C:\\Outils\\Tressol.exe C:\\Mes Projets\\Appli.exe"},
    {L"C:\\Outils", L"C:\\Mes Projets\\Appli.exe", 2, L"C:\\Outils\\Tressol.exe \"C:\\Mes Projets\\Appli.exe\" vb6FR.dll 0x40C * 0x409"},
    {L"C:\\Outils", L"  a.exe  ", 0, L"C:\\Outils\\Tressol.exe   a.exe  "},
    {L"C:\\Outils", L"  a.exe  ", 3, L"C:\\Outils\\Tressol.exe \"  a.exe  \" vb6FR.dll 0x40C ~ 0x409"},
    // Relative paths are written as typed.
    {L"C:\\Outils", L"..\\bin\\a.dll", 0, L"C:\\Outils\\Tressol.exe ..\\bin\\a.dll"},
    // A folder the interpreter would split or expand: the tool's path is quoted, % doubled.
    {L"C:\\Program Files\\Linguarde", L"a.exe", 0, L"\"C:\\Program Files\\Linguarde\\Tressol.exe\" a.exe"},
    {L"C:\\Program Files\\Linguarde", L"a.exe", 1, L"\"C:\\Program Files\\Linguarde\\Tressol.exe\" \"a.exe\" * 0x409 ~ 0x0"},
    {L"C:\\R&D",       L"a.exe", 2, L"\"C:\\R&D\\Tressol.exe\" \"a.exe\" vb6FR.dll 0x40C * 0x409"},
    {L"C:\\100%",      L"a.exe", 3, L"\"C:\\100%%\\Tressol.exe\" \"a.exe\" vb6FR.dll 0x40C ~ 0x409"},
    {L"C:\\Outils (x86)", L"a.exe", 0, L"\"C:\\Outils (x86)\\Tressol.exe\" a.exe"},
    {L"C:\\a^b",       L"a.exe", 0, L"\"C:\\a^b\\Tressol.exe\" a.exe"},
    {L"C:\\a,b;c=d",   L"a.exe", 0, L"\"C:\\a,b;c=d\\Tressol.exe\" a.exe"},
    {L"C:\\Outils!",   L"a.exe", 0, L"C:\\Outils!\\Tressol.exe a.exe"},
    // Operators in the target: literal inside quotes but %, escaped where it stands bare.
    {L"C:\\Outils", L"C:\\R&D\\a.exe",   1, L"C:\\Outils\\Tressol.exe \"C:\\R&D\\a.exe\" * 0x409 ~ 0x0"},
    {L"C:\\Outils", L"C:\\R&D\\a.exe",   0, L"C:\\Outils\\Tressol.exe C:\\R^&D\\a.exe"},
    {L"C:\\Outils", L"C:\\100%\\a.exe",  1, L"C:\\Outils\\Tressol.exe \"C:\\100%%\\a.exe\" * 0x409 ~ 0x0"},
    {L"C:\\Outils", L"%PATH%",           0, L"C:\\Outils\\Tressol.exe %%PATH%%"},
    {L"C:\\Outils", L"a|b<c>d^e(f)g",    0, L"C:\\Outils\\Tressol.exe a^|b^<c^>d^^e^(f^)g"},
    {L"C:\\Outils", L"a|b<c>d^e(f)g",    2, L"C:\\Outils\\Tressol.exe \"a|b<c>d^e(f)g\" vb6FR.dll 0x40C * 0x409"},
    {L"C:\\Outils", L"a!b",              0, L"C:\\Outils\\Tressol.exe a!b"},
    // Backslashes before a closing quote would escape it: they are doubled there only.
    {L"C:\\Outils", L"C:\\Dossier\\",            1, L"C:\\Outils\\Tressol.exe \"C:\\Dossier\\\\\" * 0x409 ~ 0x0"},
    {L"C:\\Outils", L"C:\\",                     2, L"C:\\Outils\\Tressol.exe \"C:\\\\\" vb6FR.dll 0x40C * 0x409"},
    {L"C:\\Outils", L"\\\\serveur\\partage\\", 3, L"C:\\Outils\\Tressol.exe \"\\\\serveur\\partage\\\\\" vb6FR.dll 0x40C ~ 0x409"},
    {L"C:\\Outils", L"C:\\Dossier\\",            0, L"C:\\Outils\\Tressol.exe C:\\Dossier\\"},
    // Outside the table: no line.
    {L"C:\\Outils", L"a.exe", -1,     nullptr},
    {L"C:\\Outils", L"a.exe", 4,      nullptr},
    {L"C:\\Outils", L"a.exe", 32767,  nullptr},
    {L"C:\\Outils", L"a.exe", -32768, nullptr},
};
// clang-format on

TEST(LigneAction, BuildsTheToolCommandOfEachAction) {
  for (const Case& c : kCases) {
    const auto line = LigneAction(c.folder, c.target, c.index);
    const std::wstring where =
        std::wstring(c.folder) + L" | " + c.target + L" | " + std::to_wstring(c.index);
    if (c.expected == nullptr) {
      EXPECT_FALSE(line.has_value()) << testing::PrintToString(where);
    } else {
      ASSERT_TRUE(line.has_value()) << testing::PrintToString(where);
      EXPECT_EQ(std::wstring(line->text.begin(), line->text.end()), c.expected)
          << testing::PrintToString(where);
      EXPECT_TRUE(line->environment.empty()) << testing::PrintToString(where);
    }
  }
}

// Beyond ASCII, the folder is the script's own and the target is carried by a variable
// whose value is read once the line is parsed: escaped as the line would be, % alone.
struct CarriedCase {
  const wchar_t* folder;
  const wchar_t* target;
  std::int16_t index;
  const wchar_t* expected;
  const wchar_t* carried;  // nullptr: nothing
};

// clang-format off
constexpr CarriedCase kCarriedCases[] = {
    {L"C:\\Outils", L"Données\\été.ocx", 1, L"C:\\Outils\\Tressol.exe \"%LINGUARDE_CIBLE%\" * 0x409 ~ 0x0", L"Données\\été.ocx"},
    {L"C:\\Outils", L"C:\\Été 100%\\a&b(c).exe", 0, L"C:\\Outils\\Tressol.exe %LINGUARDE_CIBLE%", L"C:\\Été 100%\\a^&b^(c^).exe"},
    {L"C:\\Outils", L"C:\\Été\\",   2, L"C:\\Outils\\Tressol.exe \"%LINGUARDE_CIBLE%\" vb6FR.dll 0x40C * 0x409", L"C:\\Été\\\\"},
    {L"C:\\Outils été", L"a.exe", 1, L"\"%~dp0Tressol.exe\" \"a.exe\" * 0x409 ~ 0x0", nullptr},
    {L"C:\\\u5DE5\u5177", L"C:\\\u6587\u4EF6.exe", 0, L"\"%~dp0Tressol.exe\" %LINGUARDE_CIBLE%", L"C:\\\u6587\u4EF6.exe"},
};
// clang-format on

TEST(LigneAction, WritesOnlyAsciiAndCarriesTheRestInTheEnvironment) {
  for (const CarriedCase& c : kCarriedCases) {
    const auto line = LigneAction(c.folder, c.target, c.index);
    const std::wstring where = std::wstring(c.folder) + L" | " + c.target;
    ASSERT_TRUE(line.has_value()) << testing::PrintToString(where);
    EXPECT_EQ(std::wstring(line->text.begin(), line->text.end()), c.expected)
        << testing::PrintToString(where);
    ASSERT_EQ(line->environment.size(), c.carried ? 1u : 0u) << testing::PrintToString(where);
    if (c.carried) {
      EXPECT_EQ(line->environment[0].name, L"LINGUARDE_CIBLE");
      EXPECT_EQ(line->environment[0].value, c.carried) << testing::PrintToString(where);
    }
  }
}

TEST(LigneAction, LeavesTheCallersFolderAlone) {
  const std::wstring folder = L"C:\\Outils   ";
  const std::wstring copy = folder;
  (void)LigneAction(folder, L"a.exe", 0);
  EXPECT_EQ(folder, copy);
}

}  // namespace
