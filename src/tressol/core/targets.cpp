#include "targets.h"

#include <optional>
#include <string>

#include "one_file.h"
#include "report.h"
#include "tool_error.h"

namespace tressol {
namespace {

bool IsPattern(const std::string& target) {
  return FileName(target).find_first_of("*?") != std::string::npos;
}

// The folder a path names its file in: the current one for a bare name, a drive's root
// with its separator ("C:\" is the root, "C:" the drive's current folder).
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return ".";
  const bool root = slash == 0 || (slash == 2 && path[1] == ':');
  return path.substr(0, root ? slash + 1 : slash);
}

}  // namespace

std::vector<FileOutcome> ListTargets(const Command& command, FileSystem& files, bool& many) {
  std::vector<FileOutcome> pending;
  many = command.targets.size() > 1;
  for (const std::string& target : command.targets) {
    std::optional<std::vector<FileSystem::Listed>> expanded;
    try {
      expanded = files.Expand(target, command.recurse);
    } catch (const ToolError& error) {
      pending.push_back(Failed(Unprocessed(target, target, target), error));
      continue;
    }
    if (!expanded) {
      // A set stops before its first write when one of its targets names nothing.
      if (command.settings && many && !files.Exists(target)) {
        throw VerdictError(Failure::Io, Verdict::TargetMissing, target);
      }
      pending.push_back(Unprocessed(target, target, target));
      pending.back().linkTarget = files.LinkTarget(target);
      if (command.localOnly && files.OnlineOnly(target)) {
        pending.back().result = Result::LeftAside;
        pending.back().failure = Failure::Refused;
        pending.back().aside = Aside::OnlineOnly;
      }
      continue;
    }
    if (expanded->empty()) {
      // A bare tail meant as a change holds "*" in its settings: it names no pattern.
      if (command.meant) {
        throw VerdictError(Failure::Io, Verdict::MeantTargetMissing, target);
      }
      if (!IsPattern(target)) Damaged(Verdict::NoTargetInFolder, target);
      if (const std::string folder = FolderOf(target); !files.Exists(folder)) {
        // As absent as a file that is not there, and said with the same status.
        throw VerdictError(Failure::Io, Verdict::PatternFolderMissing, folder);
      }
      Damaged(Verdict::NoPatternMatch, target);
    }
    pending.reserve(pending.size() + expanded->size());
    for (const FileSystem::Listed& entry : *expanded) {
      pending.push_back(Unprocessed(entry.shown, entry.path,
                                    command.targets.size() > 1 ? entry.shown : entry.relative));
      pending.back().listed = entry.identity;
      if (entry.leftAside) {
        pending.back().result = Result::LeftAside;
        pending.back().aside = entry.leftAside;
      }
      if (command.localOnly && entry.onlineOnly) {
        pending.back().result = Result::LeftAside;
        pending.back().aside = Aside::OnlineOnly;
      }
      if (entry.failed) {
        pending.back().result = Result::Failed;
        pending.back().error = entry.failed;
      }
    }
    many = true;
  }
  return pending;
}

}  // namespace tressol
