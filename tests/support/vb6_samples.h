#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace linguarde::test {

// Where the real VB6 binaries are: $LINGUARDE_VB6_SAMPLES, or the folder the build names.
inline std::filesystem::path SamplesFolder() {
  if (const char* folder = std::getenv("LINGUARDE_VB6_SAMPLES")) return folder;
  return LINGUARDE_VB6_SAMPLES;
}

// A writable copy of a sample (the samples themselves are read-only); false when the
// samples are not there.
inline bool CopySample(const std::wstring& name, const std::filesystem::path& copy) {
  const std::filesystem::path sample = SamplesFolder() / name;
  if (!std::filesystem::exists(sample)) return false;
  std::filesystem::create_directories(copy.parent_path());
  std::filesystem::copy_file(sample, copy);
  std::filesystem::permissions(copy, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  return true;
}

}  // namespace linguarde::test
