#pragma once

#include <optional>
#include <vector>

#include "command_line.h"
#include "outcome.h"
#include "tool_error.h"

namespace tressol {

// How a run over several files ends, from its outcomes alone: its exit status (that of a
// journal that stopped it, of the first failure, then kWrongChecksum, then kDiffers) and,
// for a view, a check or a set that found no VB6 file, the refusal said after the summary.
struct RunEnd {
  int status = 0;
  std::optional<Verdict> refusal;
};
RunEnd EndOf(const std::vector<FileOutcome>& outcomes, Mode mode);

}  // namespace tressol
