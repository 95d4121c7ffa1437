// Tressol.exe: the tool's core over Win32 files and the console.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "argument_words.h"
#include "core/tool_error.h"
#include "core/tressol.h"
#include "core/wildcard.h"
#include "long_path.h"
#include "owners.h"
#include "system_folders.h"
#include "text_encoding.h"
#include "windows_error.h"

namespace {

using tressol::Failure;
using tressol::ToolError;

using linguarde::win32::FromUtf8;
using linguarde::win32::ToUtf8;

std::string SystemText(DWORD code) { return ToUtf8(linguarde::win32::WindowsErrorText(code)); }

using linguarde::win32::ExtendedPath;
using linguarde::win32::SystemFolder;

class Win32File final : public tressol::TargetFile {
 public:
  explicit Win32File(linguarde::win32::UniqueFileHandle file) : file_(std::move(file)) {}

  // Asked before every read that is checked against it; nothing here changes the size.
  std::uint64_t Size() override {
    if (!size_) {
      LARGE_INTEGER size{};
      if (!GetFileSizeEx(file_.Get(), &size)) Fail("sa taille ne peut pas être lue");
      size_ = static_cast<std::uint64_t>(size.QuadPart);
    }
    return *size_;
  }

  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
    while (size > 0) {
      OVERLAPPED at = Position(offset);
      DWORD done = 0;
      const DWORD chunk = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
      if (!ReadFile(file_.Get(), out, chunk, &done, &at) || done == 0) Fail("lecture impossible");
      out += done;
      offset += done;
      size -= done;
    }
  }

  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    OVERLAPPED at = Position(offset);
    DWORD done = 0;
    if (!WriteFile(file_.Get(), data, static_cast<DWORD>(size), &done, &at) || done != size) {
      Fail("écriture impossible");
    }
  }

  void Flush() override {
    if (!FlushFileBuffers(file_.Get())) Fail("enregistrement sur le disque impossible");
  }

 private:
  static OVERLAPPED Position(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }
  [[noreturn]] void Fail(const std::string& what) const {
    const DWORD code = GetLastError();
    throw ToolError(Failure::Io, what + " (" + SystemText(code) + ")");
  }

  linguarde::win32::UniqueFileHandle file_;
  std::optional<std::uint64_t> size_;
};

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool EndsWithIgnoringCase(const std::wstring& name, const wchar_t* ending) {
  const std::size_t length = wcslen(ending);
  return name.size() >= length &&
         CompareStringOrdinal(name.c_str() + name.size() - length, static_cast<int>(length), ending,
                              static_cast<int>(length), TRUE) == CSTR_EQUAL;
}

// The names of the files (not folders) whose long names a search pattern matches, sorted.
std::vector<std::wstring> MatchingFiles(const std::wstring& pattern) {
  std::vector<std::wstring> names;
  const std::string lastComponent = ToUtf8(pattern.substr(pattern.find_last_of(L"\\/") + 1));
  WIN32_FIND_DATAW found{};
  const HANDLE first = FindFirstFileExW(ExtendedPath(pattern).c_str(), FindExInfoBasic, &found,
                                        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (first == INVALID_HANDLE_VALUE) return names;
  const linguarde::win32::UniqueFindHandle search(first);
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        tressol::MatchesPattern(ToUtf8(found.cFileName), lastComponent)) {
      names.push_back(found.cFileName);
    }
  } while (FindNextFileW(search.get(), &found));
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
  });
  return names;
}

// Under one of the folders where Windows installs programs, which only administrators
// may change.
bool InProgramFiles(const std::wstring& extendedPath) {
  for (const wchar_t* variable : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"}) {
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(variable, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) continue;
    const std::wstring prefix = ExtendedPath(folder) + L"\\";
    if (extendedPath.size() > prefix.size() &&
        CompareStringOrdinal(extendedPath.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                             static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL) {
      return true;
    }
  }
  return false;
}

class Win32FileSystem final : public tressol::FileSystem {
 public:
  std::optional<std::vector<std::string>> Expand(const std::string& target) override {
    const std::wstring name = FromUtf8(target);
    const std::size_t slash = name.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : name.substr(0, slash + 1);
    const bool pattern = name.find_first_of(L"*?", folder.size()) != std::wstring::npos;
    std::vector<std::wstring> names;
    std::wstring prefix = folder;
    if (pattern) {
      names = MatchingFiles(name);
    } else if (IsFolder(GetFileAttributesW(ExtendedPath(name).c_str()))) {
      prefix = name.back() == L'\\' || name.back() == L'/' ? name : name + L"\\";
      for (std::wstring& file : MatchingFiles(prefix + L"*")) {
        if (EndsWithIgnoringCase(file, L".exe") || EndsWithIgnoringCase(file, L".dll") ||
            EndsWithIgnoringCase(file, L".ocx")) {
          names.push_back(std::move(file));
        }
      }
    } else {
      return std::nullopt;
    }
    std::vector<std::string> paths;
    for (const std::wstring& file : names) paths.push_back(ToUtf8(prefix + file));
    return paths;
  }

  // The runtime, a 32-bit library, is loaded by a 32-bit program, which looks for a
  // library loaded by name in its own folder, the 32-bit system folder (SysWOW64 on 64-bit
  // Windows, where this 64-bit tool's System32 is the 64-bit one), the 16-bit system
  // folder, the Windows folder; then the current folder and the PATH, which depend on how
  // the program is started and are not checked.
  std::vector<Folder> LibraryFolders(const std::string& target) override {
    std::vector<Folder> folders;
    if (const auto full = linguarde::win32::FullPath(FromUtf8(target))) {
      std::wstring folder = *full;
      folder.erase(folder.find_last_of(L'\\'));
      if (folder.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        folder = L"\\" + folder.substr(7);
      } else if (folder.rfind(L"\\\\?\\", 0) == 0) {
        folder.erase(0, 4);
      }
      // For a control or a library, the application's folder is that of the program that
      // loads it: usually the same.
      folders.push_back({ToUtf8(folder), "dossier de l'application, d'ordinaire celui du fichier"});
    }
    std::wstring system32Bit = SystemFolder(&GetSystemWow64DirectoryW);
    if (system32Bit.empty()) system32Bit = SystemFolder(&GetSystemDirectoryW);
    if (!system32Bit.empty()) {
      folders.push_back({ToUtf8(system32Bit), "dossier système 32 bits"});
    }
    const std::wstring windows = SystemFolder(&GetSystemWindowsDirectoryW);
    if (!windows.empty()) {
      folders.push_back({ToUtf8(windows + L"\\System"), "dossier système 16 bits"});
      folders.push_back({ToUtf8(windows), "dossier de Windows"});
    }
    return folders;
  }

  std::string AbsolutePath(const std::string& path) override {
    return ToUtf8(linguarde::win32::FullPath(FromUtf8(path)).value_or(FromUtf8(path)));
  }

  bool HasFile(const std::string& folder, const std::string& name) override {
    const DWORD attributes =
        GetFileAttributesW(ExtendedPath(FromUtf8(folder) + L"\\" + FromUtf8(name)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !IsFolder(attributes);
  }

  std::unique_ptr<tressol::TargetFile> Open(const std::string& path, bool forWriting) override {
    const std::wstring name = ExtendedPath(FromUtf8(path));
    // Windows would refuse the write itself; checked here too, for administrators and
    // systems that let them through.
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (forWriting && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      throw ToolError(Failure::Refused,
                      "il est en lecture seule ; retirez cet attribut (Propriétés du fichier, "
                      "décochez « Lecture seule »), puis recommencez");
    }
    // Shared with nobody for a change: a target that runs or is open elsewhere is refused.
    linguarde::win32::UniqueFileHandle file(
        CreateFileW(name.c_str(), forWriting ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                    forWriting ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      return std::make_unique<tressol::PagedFile>(std::make_unique<Win32File>(std::move(file)));
    }
    const DWORD code = GetLastError();
    const std::string system = " (" + SystemText(code) + ")";
    switch (code) {
      case ERROR_SHARING_VIOLATION:
      case ERROR_LOCK_VIOLATION:
        throw tressol::BusyFile(
            "il est ouvert par un autre programme ou en cours d'exécution ; fermez ce programme, "
            "puis recommencez");
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_INVALID_NAME:
        throw ToolError(Failure::Io, "il n'existe pas ; vérifiez le chemin" + system);
      case ERROR_ACCESS_DENIED:
        if (!forWriting) break;
        throw ToolError(Failure::Refused,
                        InProgramFiles(name)
                            ? "Windows réserve sa modification aux administrateurs, car il est "
                              "dans Program Files ; lancez Linguarde ou l'invite de commandes "
                              "en tant qu'administrateur"
                            : "vos droits ne permettent pas de le modifier ; demandez-les à "
                              "l'administrateur de l'ordinateur" +
                                  system);
      default:
        break;
    }
    throw ToolError(Failure::Io, "il ne peut pas être ouvert" + system);
  }
};

// A real console gets UTF-16, so that accents show whatever its code page; a redirected
// stream gets UTF-8.
void Write(DWORD stream, const std::string& text) {
  if (text.empty()) return;
  const HANDLE handle = GetStdHandle(stream);
  DWORD mode = 0;
  DWORD done = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = FromUtf8(text);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr);
  } else {
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
  }
}

// Each file's lines show as soon as it is done.
class ConsoleOutput final : public tressol::Output {
 public:
  void Flush() override {
    Write(STD_OUTPUT_HANDLE, out);
    Write(STD_ERROR_HANDLE, err);
    out.clear();
    err.clear();
  }
};

}  // namespace

int wmain() {
  Win32FileSystem files;
  ConsoleOutput output;
  output.shell = tressol::Shell::Cmd;
  try {
    output.toolPath = ToUtf8(linguarde::win32::ExecutablePath());
  } catch (const linguarde::win32::Win32Error&) {
    output.toolPath = "Tressol.exe";  // the way back then needs the tool's folder
  }
  const int status = tressol::Run(
      ToUtf8(std::wstring(linguarde::arguments::CommandTail(std::wstring_view(GetCommandLineW())))),
      files, output);
  output.Flush();
  return status;
}
