#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "script_platform.h"

namespace linguarde {

inline constexpr std::wstring_view kScriptName = L"VBcommand.bat";

// Writes "VBcommand.bat" into the application folder (the action's line, then "Pause")
// and starts it; returns its console, which the caller may wait on. An action that writes
// gives the tool `journal` for its journal; a view, none, not even one inherited. Throws
// ActionRefused, before anything is written, for a text the interpreter cannot carry; any
// failed step throws StepFailed and the rest is not done.
std::unique_ptr<Console> LancerAction(std::int16_t Index, const std::wstring& cible,
                                      ScriptPlatform& platform, const std::wstring& journal = {});

// What the console still open was started for.
enum class ConsoleOf { Action, Undo, Redo };

// Why nothing more is started while that console is open.
std::wstring ConsoleStillOpen(ConsoleOf console);

}  // namespace linguarde
