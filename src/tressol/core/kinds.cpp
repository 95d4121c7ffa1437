#include "kinds.h"

#include <iterator>

namespace tressol {
namespace {

// Each enumeration's names, in its order: the last one's index is the count less one.
constexpr const char* kVerdictNames[] = {
    "too-short",
    "no-mz-signature",
    "no-pe-signature",
    "dos-program",
    "pe64",
    "not-i386",
    "no-header-outside-file",
    "no-header-where-code-says",
    "no-vb-signature",
    "packed-without-runtime",
    "unreadable-imports",
    "truncated-before-pe",
    "section-past-end",
    "malformed-pe",
    "field-past-end",
    "truncated-structures",
    "invalid-header",
    "search-too-long",
    "several-headers",
    "exports-disagree",
    "packed-with-runtime",
    "signature-damaged",
    "runtime-without-header",
    "pe-header-elsewhere",
    "past-four-gib",
    "certificates-outside",
    "checksum-uncomputable",
    "read-back-differs",
    "changed-by-another",
    "not-recorded",
    "write-failed",
    "write-failed-not-restored",
    "another-file-now",
    "size-changed",
    "changed-since",
    "mixed-bytes",
    "content-changed",
    "outside-settings",
    "journal-of-another-version",
    "not-a-journal",
    "journal-too-large",
    "journal-not-a-file",
    "journal-line-damaged",
    "journal-may-miss-changes",
    "no-vb6-file",
    "journal-exists",
    "target-missing",
    "meant-target-missing",
    "no-pattern-match",
    "pattern-folder-missing",
    "no-target-in-folder",
};
static_assert(std::size(kVerdictNames) == static_cast<std::size_t>(Verdict::NoTargetInFolder) + 1);

constexpr const char* kFileFailureNames[] = {
    "not-found",
    "folder",
    "not-regular",
    "open-elsewhere",
    "locked",
    "read-only-attribute",
    "no-write-permission",
    "read-only-disk",
    "administrators-only",
    "access-denied",
    "protected-folder",
    "own-file-denied",
    "others-file-denied",
    "unopenable",
    "unexaminable",
    "replaced",
    "link-target-missing",
};
static_assert(std::size(kFileFailureNames) ==
              static_cast<std::size_t>(FileFailure::LinkTargetMissing) + 1);

constexpr const char* kIoStepNames[] = {
    "size",
    "read",
    "read-short",
    "write",
    "write-short",
    "flush",
    "attributes",
    "list-folder",
    "list-folder-whole",
    "folder-replaced",
    "open-journal",
    "journal-missing",
    "no-journal-folder",
    "journal-busy",
    "write-journal",
    "read-journal",
};
static_assert(std::size(kIoStepNames) == static_cast<std::size_t>(IoStep::ReadJournal) + 1);

constexpr const char* kAsideNames[] = {
    "link",     "folder-link",    "folder",
    "fifo",     "socket",         "special-file",
    "device",   "device-or-pipe", "app-execution-alias",
    "vanished", "online-only",
};
static_assert(std::size(kAsideNames) == static_cast<std::size_t>(Aside::OnlineOnly) + 1);

}  // namespace

std::string_view ReasonKindOf(const ToolError& error) {
  if (const auto* verdict = dynamic_cast<const VerdictError*>(&error)) {
    return kVerdictNames[static_cast<std::size_t>(verdict->Which())];
  }
  if (const auto* file = dynamic_cast<const FileError*>(&error)) {
    if (file->Why() == FileFailure::NotRegular) return AsideKindOf(file->WhatItIs());
    return kFileFailureNames[static_cast<std::size_t>(file->Why())];
  }
  if (const auto* step = dynamic_cast<const StepError*>(&error)) {
    return kIoStepNames[static_cast<std::size_t>(step->Which())];
  }
  return error.Kind() == Failure::Usage     ? "usage"
         : error.Kind() == Failure::Refused ? "refused"
                                            : "io";
}

std::string_view AsideKindOf(Aside aside) { return kAsideNames[static_cast<std::size_t>(aside)]; }

}  // namespace tressol
