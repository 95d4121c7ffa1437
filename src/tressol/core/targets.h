#pragma once

#include <vector>

#include "command_line.h"
#include "file_system.h"
#include "outcome.h"

namespace tressol {

// The files a command's targets name, in order, before anything is written: each Pending,
// or already known (left aside, a sub-folder that could not be listed). Within one folder or
// pattern, a file is named by its name; among several targets, by its path. many: whether
// the run reports several files. Throws ToolError where a target names nothing and the run
// must stop before it writes anything.
std::vector<FileOutcome> ListTargets(const Command& command, FileSystem& files, bool& many);

}  // namespace tressol
