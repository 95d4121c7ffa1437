// How a run over several files ends, from its outcomes alone.
#include "run_end.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "run_output.h"

namespace tressol {
namespace {

FileOutcome With(Result result, Failure failure = Failure::Refused,
                 std::optional<Verdict> verdict = std::nullopt) {
  FileOutcome outcome;
  outcome.result = result;
  outcome.failure = failure;
  outcome.verdict = verdict;
  return outcome;
}

TEST(RunEnd, TheStatusAndTheRefusalFromTheOutcomesAlone) {
  struct Case {
    const char* what;
    std::vector<FileOutcome> outcomes;
    Mode mode;
    int status;
    std::optional<Verdict> refusal;
  };
  const Case cases[] = {
      {"a journal that stopped the run, over an earlier failure",
       {With(Result::Failed), With(Result::Failed, Failure::Io, Verdict::NotRecorded)},
       Mode::Set,
       4,
       std::nullopt},
      {"the first failure's",
       {With(Result::Changed), With(Result::Failed), With(Result::Failed, Failure::Io)},
       Mode::Set,
       3,
       std::nullopt},
      {"no VB6 file to set",
       {With(Result::NotVb6), With(Result::LeftAside)},
       Mode::Set,
       3,
       Verdict::NoVb6File},
      // Nothing done is no success, though nothing failed: the help says status 3.
      {"a view of a folder of files that are not VB6",
       {With(Result::NotVb6), With(Result::NotVb6)},
       Mode::View,
       3,
       Verdict::NoVb6File},
      {"a check of files left aside only",
       {With(Result::LeftAside)},
       Mode::Check,
       3,
       Verdict::NoVb6File},
      {"a view with one VB6 file among others",
       {With(Result::NotVb6), With(Result::Shown), With(Result::LeftAside)},
       Mode::View,
       0,
       std::nullopt},
      {"nothing to undo is no refusal", {With(Result::LeftAside)}, Mode::Undo, 0, std::nullopt},
      {"a wrong checksum outranks a difference",
       {With(Result::Differs), With(Result::WrongChecksum)},
       Mode::Check,
       kWrongChecksum,
       std::nullopt},
      {"a difference",
       {With(Result::Matches), With(Result::Differs)},
       Mode::Check,
       kDiffers,
       std::nullopt},
      {"done",
       {With(Result::Changed), With(Result::AlreadySet), With(Result::NotVb6)},
       Mode::Set,
       0,
       std::nullopt},
  };
  for (const Case& c : cases) {
    const RunEnd end = EndOf(c.outcomes, c.mode);
    EXPECT_EQ(end.status, c.status) << c.what;
    EXPECT_EQ(end.refusal, c.refusal) << c.what;
  }
}

}  // namespace
}  // namespace tressol
