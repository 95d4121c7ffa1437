#pragma once

#include <exception>
#include <string>
#include <utility>

namespace linguarde {

// The errors an action can end in. Both carry a French message for the user.
class ActionError : public std::exception {
 public:
  explicit ActionError(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return "Linguarde action error"; }

 private:
  std::wstring message_;
};

// A step could not be done (file, code page, process): the program reports it and ends.
class ActionFailed : public ActionError {
 public:
  using ActionError::ActionError;
};

// The action cannot be run safely now: a character of the target or the folder cannot
// reach the tool unchanged, the line is too long, or an earlier console still reads the
// script. Nothing was written or started; the user may correct the cause and go on.
class ActionRefused : public ActionError {
 public:
  using ActionError::ActionError;
};

}  // namespace linguarde
