#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tressol {

// What tells a Windows file from another: its volume's serial number and its file ID, as
// wide as the system gives them (a handle's FILE_ID_INFO: 64 and 128 bits; the older calls,
// and volumes without the wider ones: 32 and 64).
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t high = 0;  // the file ID's upper half: zero for a 64-bit one
  std::uint64_t low = 0;
};

// Unknown where either ID is zero or all ones, 64 or 128 bits of them: what a volume without
// file IDs gives (some network shares), which names no file and so never two the same.
enum class IdentityMatch { Same, Other, Unknown };
IdentityMatch MatchIdentities(const FileIdentity& a, const FileIdentity& b);

// As TargetFile::Identity says it and journals keep it: "vvvvvvvv:hhhhhhhhllllllll", 1.4.0's
// form, the volume in 16 digits and the ID in 32 only where their values need them. After
// the colon stays the file's number within its volume, which 1.4.0 compares alone to
// recognise a renumbered volume.
std::string IdentityText(const FileIdentity& identity);
std::optional<FileIdentity> IdentityFromText(const std::string& text);
// Two identities in that form compared as above; any other (device and inode) the same only
// when equal.
IdentityMatch MatchIdentities(const std::string& a, const std::string& b);

}  // namespace tressol
