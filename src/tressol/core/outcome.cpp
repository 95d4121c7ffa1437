#include "outcome.h"

namespace tressol {

FileOutcome::FileOutcome() = default;
FileOutcome::FileOutcome(const FileOutcome&) = default;
FileOutcome::FileOutcome(FileOutcome&&) noexcept = default;
FileOutcome& FileOutcome::operator=(const FileOutcome&) = default;
FileOutcome& FileOutcome::operator=(FileOutcome&&) noexcept = default;
FileOutcome::~FileOutcome() = default;

}  // namespace tressol
