#pragma once

#include <memory>
#include <string>

#include "target_file.h"

namespace tressol {

// How the tool reaches files: for a set, the target is opened for writing and shared
// with nobody, so that a running or open target is refused rather than changed under it.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual std::unique_ptr<TargetFile> Open(const std::string& path, bool forWriting) = 0;
};

struct Output {
  std::string out;  // the report, UTF-8
  std::string err;  // the failure or the usage, UTF-8
};

// Runs one command line tail and returns the exit status: 0, or that of the failure.
int Run(const std::string& tail, FileSystem& files, Output& output);

}  // namespace tressol
