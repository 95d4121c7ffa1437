#pragma once

#include <cstdint>
#include <string>

#include "script_platform.h"

namespace linguarde {

inline constexpr std::wstring_view kScriptName = L"VBcommand.bat";

// Writes "VBcommand.bat" into the application folder (the action's line, then "Pause")
// and starts it. Throws ActionRefused, before anything is written, for a text the
// interpreter cannot carry; any failed step throws ActionFailed and the rest is not done.
void LancerAction(std::int16_t Index, const std::wstring& cible, ScriptPlatform& platform);

}  // namespace linguarde
