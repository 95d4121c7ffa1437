// A Windows file's identity: a listing's beside a handle's, a journal's beside a file's.
#include "file_identity.h"

#include <gtest/gtest.h>

namespace tressol {
namespace {

constexpr std::uint64_t kOnes = ~std::uint64_t{0};
constexpr IdentityMatch kSame = IdentityMatch::Same, kOther = IdentityMatch::Other,
                        kUnknown = IdentityMatch::Unknown;

TEST(FileIdentity, TheSameFileOnlyWhereBothIdsNameOne) {
  struct Case {
    const char* what;
    FileIdentity listed, opened;
    IdentityMatch match;
  };
  const std::uint64_t volume = 0x1a2b3c4d5e6f7081;
  const Case cases[] = {
      {"agree", {volume, 0, 0x1234}, {volume, 0, 0x1234}, kSame},
      {"another ID", {volume, 0, 0x1234}, {volume, 0, 0x1235}, kOther},
      {"agree in 128 bits", {volume, 7, 0x1234}, {volume, 7, 0x1234}, kSame},
      {"64-bit listing, upper half set", {volume, 0, 0x1234}, {volume, 7, 0x1234}, kOther},
      // The older calls give 32 bits of the volume serial FILE_ID_INFO gives in 64.
      {"32-bit serial", {0x5e6f7081, 0, 0x1234}, {volume, 0, 0x1234}, kSame},
      {"32-bit serial, another", {0x5e6f7082, 0, 0x1234}, {volume, 0, 0x1234}, kOther},
      {"upper halves of the serial differ",
       {volume, 0, 0x1234},
       {volume ^ 1ull << 40, 0, 0x1234},
       kOther},
      {"zeros", {volume, 0, 0}, {volume, 0, 0}, kUnknown},
      {"zero listed", {volume, 0, 0}, {volume, 0, 0x1234}, kUnknown},
      {"64 ones", {volume, 0, kOnes}, {volume, 0, kOnes}, kUnknown},
      {"128 ones", {volume, kOnes, kOnes}, {volume, kOnes, kOnes}, kUnknown},
      {"ones in the upper half only", {volume, kOnes, 5}, {volume, kOnes, 5}, kSame},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchIdentities(c.listed, c.opened), c.match) << c.what;
    EXPECT_EQ(MatchIdentities(c.opened, c.listed), c.match) << c.what;
    EXPECT_EQ(MatchIdentities(IdentityText(c.listed), IdentityText(c.opened)), c.match) << c.what;
  }
}

// 1.4.0 wrote a 32-bit volume serial and a 64-bit file ID; its journals name the same files.
TEST(FileIdentity, TextKeepsTheFormOfOldJournals) {
  struct Case {
    FileIdentity identity;
    const char* text;
  };
  const Case cases[] = {
      {{0x0000abcd, 0, 0x0000000100000002}, "0000abcd:0000000100000002"},
      {{0xffffffff, 0, 1}, "ffffffff:0000000000000001"},
      {{0x100000000, 0, 1}, "0000000100000000:0000000000000001"},
      {{0xabcd, 1, 2}, "0000abcd:00000000000000010000000000000002"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IdentityText(c.identity), c.text);
    const std::optional<FileIdentity> read = IdentityFromText(c.text);
    ASSERT_TRUE(read) << c.text;
    EXPECT_EQ(MatchIdentities(*read, c.identity), kSame) << c.text;
  }
  struct Journal {
    const char* recorded;
    const char* now;
    IdentityMatch match;
  };
  const Journal journals[] = {
      {"5e6f7081:0001000000001234", "1a2b3c4d5e6f7081:0001000000001234", kSame},
      {"5e6f7081:0001000000001234", "1a2b3c4d5e6f7081:0001000000001235", kOther},
      {"5e6f7081:0000000000000000", "5e6f7081:0000000000000000", kUnknown},
      {"2049:1234", "2049:1234", kSame},  // a device and an inode
      {"2049:1234", "2049:1235", kOther},
      // Read as written, in lower case: another spelling is other text, not the same file.
      {"5E6F7081:0001000000001234", "5e6f7081:0001000000001234", kOther},
  };
  for (const Journal& j : journals) {
    EXPECT_EQ(MatchIdentities(std::string(j.recorded), std::string(j.now)), j.match) << j.recorded;
  }
}

}  // namespace
}  // namespace tressol
