#include "unicode_text.h"

#include <gtest/gtest.h>

#include <string>

namespace linguarde::unicode {
namespace {

TEST(Utf8SequenceAt, OnlyWellFormedSequencesAndEncodedSurrogatesWhereKept) {
  struct Case {
    const char* what;
    std::string bytes;
    std::size_t strict;  // JSON's rule
    std::size_t kept;    // a Windows name's bytes
    char32_t point;
  };
  const Case cases[] = {
      {"ASCII", "A", 1, 1, U'A'},
      {"two bytes", "\xC3\xA9", 2, 2, U'\u00E9'},
      {"three bytes", "\xE2\x82\xAC", 3, 3, U'\u20AC'},
      {"four bytes", "\xF0\x9F\x98\x80", 4, 4, U'\U0001F600'},
      {"last code point", "\xF4\x8F\xBF\xBF", 4, 4, U'\U0010FFFF'},
      {"an encoded surrogate", "\xED\xA0\x80", 0, 3, 0xD800},
      {"overlong two bytes", "\xC0\xAF", 0, 0, 0},
      {"overlong three bytes", "\xE0\x9F\xBF", 0, 0, 0},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", 0, 0, 0},
      {"past U+10FFFF", "\xF4\x90\x80\x80", 0, 0, 0},
      {"a continuation byte alone", "\x80", 0, 0, 0},
      {"cut short", "\xE2\x82", 0, 0, 0},
      {"a lead followed by ASCII",
       "\xC3"
       "A",
       0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8SequenceAt(c.bytes, 0), c.strict) << c.what;
    EXPECT_EQ(Utf8SequenceAt(c.bytes, 0, Surrogates::Kept), c.kept) << c.what;
    if (c.kept == 0) continue;
    EXPECT_EQ(Utf8CodePoint(c.bytes, 0, c.kept), c.point) << c.what;
    std::string written;
    AppendUtf8(written, c.point);
    EXPECT_EQ(written, c.bytes) << c.what;
    std::u16string units;
    AppendUtf16(units, c.point);
    std::size_t at = 0;
    EXPECT_EQ(Utf16CodePoint(std::u16string_view(units), at), c.point) << c.what;
    EXPECT_EQ(at + 1, units.size()) << c.what;
  }
}

TEST(FindLoneSurrogate, APairIsOneCharacterAndHalfOfOneIsFound) {
  struct Case {
    std::u16string text;
    std::optional<std::size_t> lone;
  };
  const Case cases[] = {
      {u"abc", std::nullopt},
      {u"a\U0001F600b", std::nullopt},
      {std::u16string(u"a") + char16_t(0xD83D), 1},
      {std::u16string(u"ab") + char16_t(0xDE00) + u"c", 2},
      {std::u16string(1, char16_t(0xDE00)) + char16_t(0xD83D), 0},  // the wrong order
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindLoneSurrogate(std::u16string_view(c.text)), c.lone);
  }
}

TEST(AsciiText, CharactersAreCountedAndOnlyAsciiLettersFoldCase) {
  EXPECT_EQ(CharacterCount("d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC"), 6u);
  EXPECT_TRUE(SameIgnoringAsciiCase("MSVBVM60.DLL", "msvbvm60.dll"));
  EXPECT_FALSE(SameIgnoringAsciiCase("\xC3\x89T\xC3\x89", "\xC3\xA9t\xC3\xA9"));  // ÉTÉ, été
  EXPECT_FALSE(SameIgnoringAsciiCase("vb6fr.dll", "vb6fr.dl"));
}

}  // namespace
}  // namespace linguarde::unicode
