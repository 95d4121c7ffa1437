#include "system_folders.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "environment.h"
#include "file_names.h"
#include "long_path.h"
#include "system_library.h"
#include "windows_error.h"

namespace linguarde::win32 {

std::wstring SystemFolder(FolderQuery query) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    // Too small: the length asked for counts the terminating null.
    buffer.resize(length);
  }
}

std::optional<std::wstring> ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    // A truncated result fills the buffer exactly: try again with more room.
    buffer.resize(buffer.size() * 2);
  }
}

bool InProtectedFolder(const std::wstring& path) {
  // Loaded here, where a file was refused, and not imported: what shell32 pulls in would
  // otherwise load before every start of either program.
  SystemLibrary shell32(L"shell32.dll"), ole32(L"ole32.dll");
  using KnownFolderPath = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
  using TaskMemFree = void(WINAPI*)(LPVOID);
  const auto knownFolderPath = shell32.Get<KnownFolderPath>("SHGetKnownFolderPath");
  const auto taskMemFree = ole32.Get<TaskMemFree>("CoTaskMemFree");
  if (knownFolderPath == nullptr || taskMemFree == nullptr) return false;
  const std::wstring plain = WithoutExtendedPrefix(path);
  for (const KNOWNFOLDERID* known :
       {&FOLDERID_Documents, &FOLDERID_Pictures, &FOLDERID_Videos, &FOLDERID_Music,
        &FOLDERID_Desktop, &FOLDERID_Favorites, &FOLDERID_PublicDocuments, &FOLDERID_PublicPictures,
        &FOLDERID_PublicVideos, &FOLDERID_PublicMusic, &FOLDERID_PublicDesktop}) {
    PWSTR found = nullptr;
    if (knownFolderPath(*known, KF_FLAG_DONT_VERIFY, nullptr, &found) != S_OK) continue;
    const std::wstring folder = std::wstring(found) + L"\\";
    taskMemFree(found);
    if (StartsWithIgnoringCase(plain, folder)) return true;
  }
  return false;
}

std::wstring JournalFolder() {
  std::wstring folder = EnvironmentValue(L"LOCALAPPDATA").value_or(std::wstring());
  if (folder.empty()) {
    folder.resize(32768);
    const DWORD length = GetTempPathW(32768, folder.data());
    if (length == 0 || length >= 32768) return {};
    folder.resize(length);
  }
  if (folder.back() == L'\\') folder.pop_back();
  // Without TMP, TEMP and USERPROFILE, the temporary folder is the Windows folder, which a
  // user cannot write: no folder, rather than one that fails at the first record.
  const std::wstring windows = SystemFolder(&GetWindowsDirectoryW);
  if (!windows.empty() && SameIgnoringCase(folder, windows)) {
    return {};
  }
  for (const wchar_t* part : {L"\\Tressol", L"\\Retours"}) {
    folder += part;
    CreateDirectoryW(ExtendedPath(folder).c_str(), nullptr);
  }
  return folder;
}

std::optional<std::wstring> ExecutableFolder() {
  std::optional<std::wstring> found = ExecutablePath();
  if (!found) return std::nullopt;
  std::wstring& path = *found;
  const std::size_t slash = path.find_last_of(L'\\');
  path.erase(slash == std::wstring::npos ? 0 : slash);
  if (path.size() == 2 && path[1] == L':') {
    path += L'\\';
  }
  return found;
}

}  // namespace linguarde::win32
