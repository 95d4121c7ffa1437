#pragma once

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
class StepFailed : public UserError {
 public:
  using UserError::UserError;
};

}  // namespace linguarde
