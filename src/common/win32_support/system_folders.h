#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace linguarde::win32 {

// A folder that a call of the GetSystemDirectoryW kind reports, of any length; empty when
// the call fails (GetSystemWow64DirectoryW does on 32-bit Windows).
using FolderQuery = UINT(WINAPI*)(LPWSTR, UINT);
std::wstring SystemFolder(FolderQuery query);

// The running executable's full path, of any length; nothing where Windows gives none (its
// last error then says why, for the caller to word).
std::optional<std::wstring> ExecutablePath();

// The folder of the running executable, of any length; a drive root keeps its backslash.
std::optional<std::wstring> ExecutableFolder();

// Whether a path (extended or not) lies in a folder that Windows Security's Controlled
// Folder Access protects by default: the user's and the public Documents, Pictures, Videos,
// Music, and the Desktop and Favorites. A program it does not trust is refused writing
// there as if the user had no rights, which asking an administrator would not mend.
bool InProtectedFolder(const std::wstring& path);

// Where the tool keeps its journals, made if need be: %LOCALAPPDATA%\Tressol\Retours, or
// the same under the temporary folder; empty where neither folder is known.
std::wstring JournalFolder();

}  // namespace linguarde::win32
