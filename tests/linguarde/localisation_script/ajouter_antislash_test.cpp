#include "modOperationFichier.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const wchar_t* input;
  const wchar_t* expected;
};

// clang-format off
constexpr Case kCases[] = {
    {L"C:\\Outils",            L"C:\\Outils\\"},
    {L"C:\\Outils\\",          L"C:\\Outils\\"},
    {L"C:\\",                  L"C:\\"},
    {L"C:\\Outils\\   ",       L"C:\\Outils\\"},
    {L"C:\\Outils   ",         L"C:\\Outils\\"},
    {L"",                      L"\\"},
    {L"    ",                  L"\\"},
    {L"C:/Outils/",            L"C:/Outils/\\"},
    {L"C:\\Outils\\\\",        L"C:\\Outils\\\\"},
    {L"C:\\Outils\t",          L"C:\\Outils\t\\"},
    {L"C:\\Outils\\\t",        L"C:\\Outils\\\t\\"},
    {L"  C:\\Outils",          L"  C:\\Outils\\"},
    {L"C:\\Program Files",     L"C:\\Program Files\\"},
    {L"\\\\serveur\\partage",  L"\\\\serveur\\partage\\"},
};
// clang-format on

TEST(AjouterAntislash, EndsInExactlyOneAddedBackslash) {
  for (const Case& c : kCases) {
    std::wstring chemin = c.input;
    const std::wstring result = modOperationFichier::AjouterAntislash(chemin);
    EXPECT_EQ(result, c.expected) << "input: [" << testing::PrintToString(std::wstring(c.input))
                                  << "]";
    // The caller's variable carries the same new value.
    EXPECT_EQ(chemin, result);
  }
}

TEST(AjouterAntislash, ReturnsACopyNotAnAlias) {
  std::wstring chemin = L"C:\\Outils";
  std::wstring result = modOperationFichier::AjouterAntislash(chemin);
  result += L"Tressol.exe";
  EXPECT_EQ(chemin, L"C:\\Outils\\");
}

}  // namespace
