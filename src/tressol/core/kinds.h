#pragma once

#include <string_view>

#include "tool_error.h"

// What programs read beside the words: each reason's name, stable from release to release.
namespace tressol {

// An error's: its verdict, file failure, step or left-aside kind ("too-short", "not-found",
// "folder-replaced", "fifo"…); a bare error's kind of failure.
std::string_view ReasonKindOf(const ToolError& error);
// Why an entry is left aside: "link", "folder", "online-only"…
std::string_view AsideKindOf(Aside aside);

}  // namespace tressol
