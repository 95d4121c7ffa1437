// The extended form of a path, the folders the programs find themselves in, and the owners
// of Windows resources.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "environment.h"
#include "long_path.h"
#include "owners.h"
#include "system_folders.h"
#include "text_encoding.h"

namespace {

TEST(ExtendedPath, NormalisesThenPrefixesDrivesAndShares) {
  wchar_t current[MAX_PATH];
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, current), 0u);
  std::wstring here = current;
  if (here.back() != L'\\') here += L'\\';
  const std::wstring longName(300, L'x');
  struct Case {
    std::wstring path;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"C:\\Appli\\a.exe", L"\\\\?\\C:\\Appli\\a.exe"},
      {L"C:/Appli/./sous/../a.exe", L"\\\\?\\C:\\Appli\\a.exe"},
      {L"\\\\serveur\\partage\\" + longName + L"\\a.exe",
       L"\\\\?\\UNC\\serveur\\partage\\" + longName + L"\\a.exe"},
      {L"//serveur/partage/dossier/../a.exe", L"\\\\?\\UNC\\serveur\\partage\\a.exe"},
      {L"relatif\\a.exe", L"\\\\?\\" + here + L"relatif\\a.exe"},
      {L"\\\\?\\C:\\tel quel\\..\\a.exe", L"\\\\?\\C:\\tel quel\\..\\a.exe"},
      {L"\\\\.\\pipe\\x", L"\\\\.\\pipe\\x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(linguarde::win32::ExtendedPath(c.path), c.expected) << testing::PrintToString(c.path);
  }
}

// Any Windows name comes back from its bytes, a lone surrogate included; bytes that are no
// UTF-8 read as U+FFFD, one a byte.
TEST(TextEncoding, KeepsEveryNameAndReplacesWhatIsNoUtf8) {
  struct Case {
    std::wstring text;
    std::string bytes;
  };
  const Case cases[] = {
      {L"\u00E9\u20AC\u6587", "\xC3\xA9\xE2\x82\xAC\xE6\x96\x87"},
      {L"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
      {L"a\xD800"
       L"b\xDC00",
       "a\xED\xA0\x80"
       "b\xED\xB0\x80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(linguarde::win32::ToUtf8(c.text), c.bytes) << testing::PrintToString(c.text);
    EXPECT_EQ(linguarde::win32::FromUtf8(c.bytes), c.text) << c.bytes;
  }
  for (const char* bytes : {"\xFF", "\xC0\xAF", "\xE2\x82", "\xF4\x90\x80\x80"}) {
    const std::wstring text = linguarde::win32::FromUtf8(bytes);
    EXPECT_EQ(text, std::wstring(text.size(), L'\xFFFD')) << bytes;
    EXPECT_FALSE(text.empty()) << bytes;
  }
}

// Found through another call than the one the function makes.
// Each kind knows its own invalid value; a move leaves one owner; giving back keeps the
// error that a failure is reported with.
TEST(Unique, OneOwnerAndTheLastErrorKept) {
  using linguarde::win32::UniqueFileHandle;
  using linguarde::win32::UniqueFindHandle;
  using linguarde::win32::UniqueHandle;
  WIN32_FIND_DATAW found{};
  EXPECT_FALSE(UniqueFileHandle(
      CreateFileW(L"Z:\\absent\\x", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
  EXPECT_FALSE(UniqueFindHandle(FindFirstFileExW(L"Z:\\absent\\*", FindExInfoBasic, &found,
                                                 FindExSearchNameMatch, nullptr, 0)));
  EXPECT_FALSE(UniqueHandle(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 0)));

  UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  const HANDLE held = event.Get();
  UniqueHandle moved(std::move(event));
  EXPECT_FALSE(event);
  EXPECT_EQ(moved.Get(), held);
  EXPECT_NE(WaitForSingleObject(held, 0), WAIT_FAILED);  // still open

  SetLastError(ERROR_DISK_FULL);
  moved.Reset();
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
  EXPECT_EQ(WaitForSingleObject(held, 0), WAIT_FAILED);  // given back
  EXPECT_FALSE(moved.Close());                           // nothing left to give back
}

// The journals' folder is the user's; never the Windows folder, where the temporary folder
// falls back to when no variable names one, and which a user cannot write.
TEST(JournalFolder, IsTheUsersOrNone) {
  const wchar_t* const variables[] = {L"LOCALAPPDATA", L"TMP", L"TEMP", L"USERPROFILE"};
  std::vector<std::pair<const wchar_t*, std::wstring>> kept;
  for (const wchar_t* name : variables) {
    wchar_t value[32768];
    const DWORD length = GetEnvironmentVariableW(name, value, 32768);
    if (length > 0 && length < 32768) kept.emplace_back(name, std::wstring(value, length));
  }
  const std::wstring user = linguarde::win32::JournalFolder();
  EXPECT_NE(user.find(L"\\Tressol\\Retours"), std::wstring::npos) << user;
  for (const wchar_t* name : variables) SetEnvironmentVariableW(name, nullptr);
  EXPECT_EQ(linguarde::win32::JournalFolder(), L"");
  for (const auto& [name, value] : kept) SetEnvironmentVariableW(name, value.c_str());
  EXPECT_EQ(linguarde::win32::JournalFolder(), user);
}

// The folders Windows Security protects by default, as the system names them, and nothing
// beside them.
TEST(InProtectedFolder, TheUsersDocumentsAndPicturesNotTheirNeighbours) {
  PWSTR found = nullptr;
  ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DONT_VERIFY, nullptr, &found), S_OK);
  const std::wstring documents = found;
  CoTaskMemFree(found);
  const std::pair<std::wstring, bool> cases[] = {
      {documents + L"\\Appli\\Appli.exe", true},
      {L"\\\\?\\" + documents + L"\\Appli.exe", true},
      {documents + L"2\\Appli.exe", false},
      {L"C:\\Outils\\Appli.exe", false},
  };
  for (const auto& [path, protectedFolder] : cases) {
    EXPECT_EQ(linguarde::win32::InProtectedFolder(path), protectedFolder);
  }
}

TEST(ExecutableFolder, IsTheFolderOfTheRunningProgram) {
  wchar_t image[32768];
  DWORD size = 32768;
  ASSERT_TRUE(QueryFullProcessImageNameW(GetCurrentProcess(), 0, image, &size));
  const std::wstring path(image, size);
  EXPECT_EQ(linguarde::win32::ExecutableFolder(), path.substr(0, path.find_last_of(L'\\')));
}

// A value is read whole at any length the system keeps (32767 characters with its
// terminator), past the MAX_PATH that buffers once cut it at; unset or empty is none.
TEST(EnvironmentValue, WholeAtAnyLengthOrNone) {
  const wchar_t* const name = L"LINGUARDE_TEST_VALUE";
  const std::optional<std::wstring> cases[] = {std::nullopt, std::wstring(), L"C:\\Outils",
                                               std::wstring(MAX_PATH, L'x'),
                                               std::wstring(32766, L'y')};
  for (const std::optional<std::wstring>& value : cases) {
    // Removing a variable that is not set may report a failure: only a value is checked.
    const bool set = SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
    ASSERT_TRUE(set || !value);
    const std::optional<std::wstring> read = linguarde::win32::EnvironmentValue(name);
    if (value && !value->empty()) {
      ASSERT_TRUE(read) << value->size();
      EXPECT_TRUE(*read == *value) << value->size() << " read as " << read->size();
    } else {
      EXPECT_FALSE(read);
    }
  }
  SetEnvironmentVariableW(name, nullptr);
}

}  // namespace
