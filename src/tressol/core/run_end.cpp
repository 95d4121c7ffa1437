#include "run_end.h"

#include <algorithm>

#include "run_output.h"

namespace tressol {

RunEnd EndOf(const std::vector<FileOutcome>& outcomes, Mode mode) {
  if (std::any_of(outcomes.begin(), outcomes.end(),
                  [](const FileOutcome& o) { return o.verdict == Verdict::NotRecorded; })) {
    return {static_cast<int>(Failure::Io), std::nullopt};
  }
  // A failure wins over a difference: what failed was not checked.
  const auto failed = std::find_if(outcomes.begin(), outcomes.end(),
                                   [](const FileOutcome& o) { return o.result == Result::Failed; });
  if (failed != outcomes.end()) {
    return {static_cast<int>(failed->failure), std::nullopt};
  }
  if (mode != Mode::Undo && std::all_of(outcomes.begin(), outcomes.end(), [](const FileOutcome& o) {
        return o.result == Result::NotVb6 || o.result == Result::LeftAside;
      })) {
    return {static_cast<int>(Failure::Refused), Verdict::NoVb6File};
  }
  const auto any = [&outcomes](Result result) {
    return std::any_of(outcomes.begin(), outcomes.end(),
                       [result](const FileOutcome& o) { return o.result == result; });
  };
  return {any(Result::WrongChecksum) ? kWrongChecksum
          : any(Result::Differs)     ? kDiffers
                                     : 0,
          std::nullopt};
}

}  // namespace tressol
