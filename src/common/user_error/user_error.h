#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

namespace linguarde {

// What the user is told when something fails: a French sentence, which the window shows
// once. Both the script's failures and the failed Windows calls are of this kind.
class UserError : public std::exception {
 public:
  explicit UserError(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return "Linguarde error"; }

 private:
  std::wstring message_;
};

// A step could not be done (a file, a process, a Windows call): the program says it and
// ends. One kind for the script's steps and the Windows calls alike.
// The system's code is kept beside the words (0 where no system call failed), so that a
// caller decides from the code, not from the sentence or by asking the system again.
class StepFailed : public UserError {
 public:
  explicit StepFailed(std::wstring message, std::uint32_t systemCode = 0)
      : UserError(std::move(message)), systemCode_(systemCode) {}
  std::uint32_t SystemCode() const noexcept { return systemCode_; }

 private:
  std::uint32_t systemCode_;
};

}  // namespace linguarde
