#pragma once

#include <stdexcept>
#include <string>

namespace tressol {

// Each kind has its own exit status.
enum class Failure { Usage = 2, Refused = 3, Io = 4 };

// A French message (UTF-8) for the user and the kind of failure.
class ToolError : public std::runtime_error {
 public:
  ToolError(Failure kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Failure Kind() const noexcept { return kind_; }

 private:
  Failure kind_;
};

// The file is open elsewhere without sharing, or locked: a scanner or an indexer holding
// a fresh build lets go a moment later, so it is tried again before it fails.
class BusyFile : public ToolError {
 public:
  explicit BusyFile(const std::string& message) : ToolError(Failure::Refused, message) {}
};

// The file is shown not to be a VB6 binary: it is left aside, where a file that cannot be
// read well enough to tell is a failure.
class NotVb6File : public ToolError {
 public:
  explicit NotVb6File(const std::string& message) : ToolError(Failure::Refused, message) {}
};

// Not a regular file (a device, a pipe, a folder): within a folder or a pattern it is left
// aside, and it never blocks the run.
class NotRegularFile : public ToolError {
 public:
  explicit NotRegularFile(const std::string& message) : ToolError(Failure::Refused, message) {}
};

[[noreturn]] inline void NotVb6(const std::string& why) { throw NotVb6File(why); }

[[noreturn]] inline void Refuse(const std::string& why) { throw ToolError(Failure::Refused, why); }

}  // namespace tressol
