#pragma once

#include "user_error.h"

namespace linguarde {

// The action cannot be run safely now: a character of the target or the folder cannot
// reach the tool unchanged, the line is too long, or an earlier console still reads the
// script. Nothing was written or started; the user may correct the cause and go on.
class ActionRefused : public UserError {
 public:
  using UserError::UserError;
};

}  // namespace linguarde
