// The extended form of a path, and the folders the programs find themselves in.
#include <gtest/gtest.h>
#include <windows.h>

#include "long_path.h"
#include "system_folders.h"

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

// Found through another call than the one the function makes.
TEST(ExecutableFolder, IsTheFolderOfTheRunningProgram) {
  wchar_t image[32768];
  DWORD size = 32768;
  ASSERT_TRUE(QueryFullProcessImageNameW(GetCurrentProcess(), 0, image, &size));
  const std::wstring path(image, size);
  EXPECT_EQ(linguarde::win32::ExecutableFolder(), path.substr(0, path.find_last_of(L'\\')));
}

}  // namespace
