#pragma once

#include <optional>
#include <string>

namespace linguarde::win32 {

// A variable of this process's environment, at any length the system allows (32767
// characters); none when it is not set or empty, as an empty value names nothing. Every
// read of the environment goes through here, so that a long value is never cut at one
// caller's buffer and taken whole at another's.
std::optional<std::wstring> EnvironmentValue(const wchar_t* name);

}  // namespace linguarde::win32
