#pragma once

#include <optional>
#include <string>

namespace linguarde::win32 {

// A path made absolute and normalised as the file functions would ("/", ".", "..", a
// relative start), of any length; nothing where it cannot be.
std::optional<std::wstring> FullPath(const std::wstring& path);

// A path in the extended form that every file function takes whatever its length:
// made absolute and normalised first ("/", ".", "..", a relative start), since the
// extended form turns normalisation off; a UNC path becomes "\\?\UNC\server\share\…".
// A path already written "\\?\" or "\\.\" stays as written; one that cannot be made
// absolute is returned unchanged, for the file function to report.
std::wstring ExtendedPath(const std::wstring& path);

// A path without its extended prefix: "\\?\C:\…" as "C:\…", "\\?\UNC\server\…" as
// "\\server\…"; any other path as it is.
std::wstring WithoutExtendedPrefix(const std::wstring& path);

// The plain form of an extended path where it names the same file once normalised again;
// nothing where it would not (a device name such as "NUL.exe", a final dot or space).
std::optional<std::wstring> PlainPath(const std::wstring& extended);

}  // namespace linguarde::win32
