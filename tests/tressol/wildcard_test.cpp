// Patterns match long names only, by Windows' wildcards without their 8.3 quirks.
#include "wildcard.h"

#include <gtest/gtest.h>

#include "unicode_text.h"

namespace tressol {
namespace {

// Letters as the file system is asked to compare them; here, ASCII without case.
bool SameAsciiLetter(char32_t a, char32_t b) {
  using linguarde::unicode::AsciiLower;
  return a == b || (a < 0x80 && b < 0x80 &&
                    AsciiLower(static_cast<char>(a)) == AsciiLower(static_cast<char>(b)));
}

TEST(MatchesPattern, StarIsAnyRunQuestionMarkExactlyOneLettersAsGiven) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"Setup.exe", "*.exe", true},
      {"SETUP.EXE", "*.exe", true},
      {"Setup.exe1", "*.exe", false},  // its short name SETUP~1.EXE would match
      {"App.exe_old", "*.exe", false},
      {"Client1.exe", "Client?.exe", true},
      {"Client.exe", "Client?.exe", false},  // Windows' "?" may match nothing before a dot
      {"Client12.exe", "Client?.exe", false},
      {"Lisezmoi", "*.*", true},
      {"a.b.c", "*.*", true},
      // A final dot as dir reads it: "*." is a name without an extension, "*.exe." is
      // "*.exe", each also for a name that really ends with a dot.
      {"Lisezmoi", "*.", true},
      {"Lisezmoi.", "*.", true},
      {"Setup.exe", "*.", false},
      {"Setup.exe", "*.exe.", true},
      {"Setup.exe.", "*.exe.", true},
      {"ab", "a*b*", true},
      {"aXbYb", "a*b", true},
      {"aXbYc", "a*b", false},
      {"", "*", true},
      {"x", "", false},
      {"\xff.exe", "?.exe", true},  // a byte that is not UTF-8 still counts as one
      {"\xff.exe", "\xfe.exe", false},
      {"\xc3\xa9t\xc3\xa9.exe", "?t?.exe", true},  // one character, two bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesPattern(c.name, c.pattern, &SameAsciiLetter), c.matches)
        << c.name << " ~ " << c.pattern;
  }
}

}  // namespace
}  // namespace tressol
