#pragma once

#include <string>
#include <string_view>

namespace linguarde {

// What the window's line says after a target's name, in UTF-8 and in the words of the
// tool's report, from what the tool wrote when run with --json on that target (UTF-8, as
// given): for the file itself, its own words; for a folder or a pattern, the count of VB6
// files by effect and of the others; without a file, the tool's message.
std::string TargetWords(std::string_view target, std::string_view output);

}  // namespace linguarde
