#pragma once

#include <memory>
#include <string>

#include "core/tressol.h"

namespace tressol {

// Targets as POSIX files; a target opened for a change is locked against other writers.
class PosixFileSystem final : public FileSystem {
 public:
  std::unique_ptr<TargetFile> Open(const std::string& path, bool forWriting) override;
};

}  // namespace tressol
