#include "win32_files.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "file_identity.h"
#include "report.h"
#include "shown_text.h"
#include "tool_error.h"
#include "way_back.h"
#include "wildcard.h"
#include "cmd_text.h"
#include "environment.h"
#include "file_names.h"
#include "long_path.h"
#include "owners.h"
#include "system_folders.h"
#include "text_encoding.h"
#include "windows_error.h"
#include "unicode_text.h"

namespace tressol {
namespace {

using linguarde::Digits;
using linguarde::win32::ExtendedPath;
using linguarde::win32::FromUtf8;
using linguarde::win32::PlainPath;
using linguarde::win32::StartsWithIgnoringCase;
using linguarde::win32::SystemFolder;
using linguarde::win32::ToUtf8;
using linguarde::win32::WithoutExtendedPrefix;

std::string SystemText(DWORD code) { return ToUtf8(linguarde::win32::WindowsErrorText(code)); }

// The ID's 16 bytes are the number's, lowest first.
FileIdentity IdentityOf(std::uint64_t volume, const FILE_ID_128& id) {
  FileIdentity identity{volume};
  std::memcpy(&identity.low, id.Identifier, sizeof identity.low);
  std::memcpy(&identity.high, id.Identifier + sizeof identity.low, sizeof identity.high);
  return identity;
}

struct Opened {
  FileIdentity identity;
  DWORD attributes;
};

// An open handle's identity, in full where its volume gives FILE_ID_INFO (as a listing's
// FILE_ID_EXTD_DIR_INFO does), else the 64-bit one: a volume without 128-bit IDs may also
// answer with a zero. Nothing where the system cannot say what it is (GetLastError says why).
std::optional<Opened> About(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION about{};
  if (!GetFileInformationByHandle(handle, &about)) return std::nullopt;
  FILE_ID_INFO id{};
  if (GetFileInformationByHandleEx(handle, FileIdInfo, &id, sizeof id)) {
    const FileIdentity full = IdentityOf(id.VolumeSerialNumber, id.FileId);
    if (full.high != 0 || full.low != 0) return Opened{full, about.dwFileAttributes};
  }
  return Opened{{about.dwVolumeSerialNumber, 0,
                 std::uint64_t{about.nFileIndexHigh} << 32 | about.nFileIndexLow},
                about.dwFileAttributes};
}

// An event that resets itself as the sleeper wakes.
class Win32Alarm final : public Alarm {
 public:
  explicit Win32Alarm(linguarde::win32::UniqueHandle event) : event_(std::move(event)) {}
  void Sleep() override { WaitForSingleObject(event_.Get(), INFINITE); }
  void Wake() override { SetEvent(event_.Get()); }

 private:
  linguarde::win32::UniqueHandle event_;
};

// Work on a thread of its own, waited for by its waiter, or else when the last copy of the
// waiter goes.
struct Started {
  std::function<void()> work;
  linguarde::win32::UniqueHandle thread;
  ~Started() {
    if (thread) WaitForSingleObject(thread.Get(), INFINITE);
  }
};

DWORD WINAPI RunStarted(void* started) {
  static_cast<Started*>(started)->work();
  return 0;
}

// A whole file's sum, which takes its pieces in turn with the caller. Nothing where no
// thread starts.
TargetFile::Waiter StartThread(const std::function<void()>& work) {
  // The waiter is made first: once the thread runs, nothing may fail before the caller has it.
  auto started = std::make_shared<Started>();
  started->work = work;
  TargetFile::Waiter waiter = [started] {
    WaitForSingleObject(started->thread.Get(), INFINITE);
    started->thread.Reset();
  };
  started->thread.Reset(CreateThread(nullptr, 0, RunStarted, started.get(), 0, nullptr));
  if (!started->thread) return {};
  return waiter;
}

class Win32File final : public TargetFile {
 public:
  explicit Win32File(linguarde::win32::UniqueFileHandle file) : file_(std::move(file)) {}

  // Asked before every read that is checked against it; nothing here changes the size.
  std::uint64_t Size() override {
    if (!size_) {
      LARGE_INTEGER size{};
      if (!GetFileSizeEx(file_.Get(), &size)) Fail(IoStep::Size);
      size_ = static_cast<std::uint64_t>(size.QuadPart);
    }
    return *size_;
  }

  void ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t size) override {
    while (size > 0) {
      OVERLAPPED at = Position(offset);
      DWORD done = 0;
      const DWORD chunk = static_cast<DWORD>(size < (1u << 30) ? size : (1u << 30));
      if (!ReadFile(file_.Get(), out, chunk, &done, &at)) Fail(IoStep::Read);
      // Success with nothing read: the end of the file, which was shortened meanwhile.
      if (done == 0) {
        throw StepError(IoStep::ReadShort, {});
      }
      out += done;
      offset += done;
      size -= done;
    }
  }

  Waiter StartBeside(const std::function<void()>& work) override { return StartThread(work); }
  std::unique_ptr<Alarm> NewAlarm() override {
    linguarde::win32::UniqueHandle event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!event) return nullptr;
    return std::make_unique<Win32Alarm>(std::move(event));
  }

  void WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) override {
    OVERLAPPED at = Position(offset);
    DWORD done = 0;
    if (!WriteFile(file_.Get(), data, static_cast<DWORD>(size), &done, &at)) {
      Fail(IoStep::Write);
    }
    if (done != size) throw StepError(IoStep::WriteShort, {});
  }

  void Flush() override {
    if (!FlushFileBuffers(file_.Get())) Fail(IoStep::Flush);
  }

  std::string Identity() override {
    const std::optional<Opened> about = About(file_.Get());
    if (!about) Fail(IoStep::Attributes);
    return IdentityText(about->identity);
  }

 private:
  static OVERLAPPED Position(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }
  [[noreturn]] void Fail(IoStep step) const {
    const DWORD code = GetLastError();
    // Another program locked a range of the file: busy, as held files are.
    if (code == ERROR_LOCK_VIOLATION) throw FileError(FileFailure::OpenElsewhere, false);
    throw StepError(step, SystemText(code));
  }

  linguarde::win32::UniqueFileHandle file_;
  std::optional<std::uint64_t> size_;
};

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsTargetName(const std::wstring& name) { return IsTargetFileName(ToUtf8(name)); }

struct Entry {
  std::wstring name;
  std::optional<Aside> leftAside;  // why it is not a regular file, or nothing
  bool folder = false;
  bool link = false;     // a name surrogate: a symbolic link, a junction, a mount point
  std::string identity;  // as Win32File::Identity says it
  bool onlineOnly = false;
};

// A link is never followed: it may lead out of the folder. Other reparse points (a cloud
// file's placeholder) are files like any other.
bool IsLink(DWORD attributes, DWORD reparseTag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(reparseTag);
}

// MatchListed for an open handle; nothing where the system cannot say what it is
// (GetLastError says why). A reparse point whose tag cannot be read is taken for a link.
std::optional<ListedMatch> MatchOpened(HANDLE handle, const std::string& listed) {
  const std::optional<Opened> about = About(handle);
  if (!about) return std::nullopt;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if ((about->attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
      !GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag)) {
    tag.ReparseTag = IO_REPARSE_TAG_SYMLINK;
  }
  return MatchListed(listed, IdentityText(about->identity), about->attributes, tag.ReparseTag);
}

// Every entry of a folder (opened: its extended form, ending in a backslash), each with its
// file ID, which the listing by handle gives and a search by name does not. The folder is
// held until the run ends, shared for reading and writing but not deleting, so that it is
// neither renamed nor replaced while its files are worked on. Only "no such folder" means
// none: any other failure of the listing is the target's, so that a folder never seems
// empty or shorter than it is. A folder the user names is reached as any path is; a
// sub-folder that a listing found (listed: the file ID it gave) is opened without following
// a reparse point and must be that very folder, else another program put a link or another
// folder in its place after its parent was listed, and nothing in it is listed.
std::vector<Entry> EntriesOf(const std::wstring& opened, const std::wstring& shown,
                             std::vector<linguarde::win32::UniqueFileHandle>& held,
                             const std::string& listed = {}) {
  std::vector<Entry> entries;
  const auto fail = [&shown](IoStep step) {
    throw StepError(step, SystemText(GetLastError()), ToUtf8(shown));
  };
  // A drive's root keeps its backslash.
  const std::wstring path = opened.size() > 1 && opened[opened.size() - 2] != L':'
                                ? opened.substr(0, opened.size() - 1)
                                : opened;
  const auto open = [&path](DWORD flags) {
    return linguarde::win32::UniqueFileHandle(
        CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
  };
  linguarde::win32::UniqueFileHandle folder =
      open(listed.empty() ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  if (!folder) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return entries;
    fail(IoStep::ListFolder);
  }
  if (!listed.empty()) {
    std::optional<ListedMatch> found = MatchOpened(folder.Get(), listed);
    // A folder in the cloud is listed through its driver, and must still be the one listed.
    if (found == ListedMatch::SameThroughDriver) {
      folder = open(0);
      found = folder ? MatchOpened(folder.Get(), listed) : std::nullopt;
    }
    if (!found) fail(IoStep::ListFolder);
    if (*found == ListedMatch::Replaced) {
      throw StepError(IoStep::FolderReplaced, {}, ToUtf8(shown));
    }
  }
  const std::optional<Opened> about = About(folder.Get());
  if (!about) fail(IoStep::ListFolder);
  const std::uint64_t volume = about->identity.volume;
  std::vector<std::uint64_t> buffer(8192);  // 64 KiB, aligned for the records
  const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof buffer[0]);
  // The 128-bit IDs that an open handle's FILE_ID_INFO gives; where the volume lists none
  // (Wine 8 among them), the 64-bit ones, which that info gives with a zero upper half.
  bool full = true;
  FILE_INFO_BY_HANDLE_CLASS kind = FileIdExtdDirectoryRestartInfo;
  for (;;) {
    if (!GetFileInformationByHandleEx(folder.Get(), kind, buffer.data(), bytes)) {
      if (GetLastError() == ERROR_NO_MORE_FILES) break;
      if (kind == FileIdExtdDirectoryRestartInfo) {
        full = false;
        kind = FileIdBothDirectoryRestartInfo;
        continue;
      }
      fail(kind == FileIdBothDirectoryRestartInfo ? IoStep::ListFolder : IoStep::ListFolderWhole);
    }
    const auto* record = reinterpret_cast<const std::uint8_t*>(buffer.data());
    for (;;) {
      const auto* wide = reinterpret_cast<const FILE_ID_EXTD_DIR_INFO*>(record);
      const auto* info = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(record);
      // The two records begin alike, up to the extended attributes' size, which for a
      // reparse point holds its tag in the older one.
      const DWORD attributes = info->FileAttributes;
      const DWORD tag = full ? wide->ReparsePointTag : info->EaSize;
      const std::wstring name(full ? wide->FileName : info->FileName,
                              info->FileNameLength / sizeof(wchar_t));
      if (name != L"." && name != L"..") {
        entries.push_back(
            {name, WhyNotRegular(attributes, tag), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
             IsLink(attributes, tag),
             IdentityText(
                 full ? IdentityOf(volume, wide->FileId)
                      : FileIdentity{volume, 0, static_cast<std::uint64_t>(info->FileId.QuadPart)}),
             OnlineOnly(attributes)});
      }
      if (info->NextEntryOffset == 0) break;
      record += info->NextEntryOffset;
    }
    kind = full ? FileIdExtdDirectoryInfo : FileIdBothDirectoryInfo;
  }
  held.push_back(std::move(folder));
  return entries;
}

// The file system's own rule: an ordinal comparison without regard to case, which the
// system's search applies too (its case table knows Ơ, Ə, polytonic Greek, Georgian…).
bool SameLetterAsWindows(char32_t a, char32_t b) {
  if (a == b) return true;
  if (a > 0x10FFFF || b > 0x10FFFF) return false;  // bytes that are not UTF-8
  std::wstring x, y;
  linguarde::unicode::AppendUtf16(x, a);
  linguarde::unicode::AppendUtf16(y, b);
  return linguarde::win32::SameIgnoringCase(x, y);
}

// The file opened must be the entry listed: another file, or a link, where the listing found
// it, is a replaced entry. A reparse point that is not a link (a deduplicated file, one that
// WOF compresses, a cloud file) is opened again through the driver that gives its data, and
// must still be the same file.
template <class Open>
linguarde::win32::UniqueFileHandle AsListed(linguarde::win32::UniqueFileHandle file,
                                            const std::string& listed, bool forWriting,
                                            const Open& open) {
  const auto match = [&](HANDLE handle) {
    const std::optional<ListedMatch> found = MatchOpened(handle, listed);
    if (!found) throw FileError(FileFailure::Unexaminable, forWriting, SystemText(GetLastError()));
    if (*found == ListedMatch::Replaced) throw FileError(FileFailure::Replaced, forWriting);
    return *found;
  };
  if (match(file.Get()) == ListedMatch::Same) return file;
  file.Reset();
  linguarde::win32::UniqueFileHandle data = open(0);
  if (data) match(data.Get());
  return data;
}

// Under one of the folders where Windows installs programs, which only administrators
// may change.
bool InProgramFiles(const std::wstring& extendedPath) {
  for (const wchar_t* variable : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"}) {
    const auto folder = linguarde::win32::EnvironmentValue(variable);
    if (!folder) continue;
    const std::wstring prefix = ExtendedPath(*folder) + L"\\";
    if (extendedPath.size() > prefix.size() && StartsWithIgnoringCase(extendedPath, prefix)) {
      return true;
    }
  }
  return false;
}

}  // namespace

// Reparse points that are neither links nor files: what they name is no file's bytes.
constexpr DWORD kAppExecutionAlias = 0x8000001B;  // IO_REPARSE_TAG_APPEXECLINK
constexpr DWORD kUnixSocket = 0x80000023;         // IO_REPARSE_TAG_AF_UNIX

bool OnlineOnly(unsigned long attributes) {
  constexpr unsigned long kRecallOnOpen = 0x00040000;        // FILE_ATTRIBUTE_RECALL_ON_OPEN
  constexpr unsigned long kRecallOnDataAccess = 0x00400000;  // FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS
  return (attributes & (kRecallOnOpen | kRecallOnDataAccess | FILE_ATTRIBUTE_OFFLINE)) != 0;
}

bool Win32FileSystem::OnlineOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(ExtendedPath(FromUtf8(path)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && tressol::OnlineOnly(attributes);
}

std::optional<Aside> WhyNotRegular(unsigned long attributes, unsigned long reparseTag) {
  if (IsLink(attributes, reparseTag)) return Aside::Link;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && reparseTag == kAppExecutionAlias) {
    return Aside::AppExecutionAlias;
  }
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && reparseTag == kUnixSocket) {
    return Aside::Socket;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Aside::Folder;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return Aside::Device;
  return std::nullopt;
}

ListedMatch MatchListed(const std::string& listed, const std::string& found,
                        unsigned long attributes, unsigned long reparseTag) {
  // Without an identity, the open that followed no reparse point is all that holds.
  if (MatchIdentities(listed, found) == IdentityMatch::Other) return ListedMatch::Replaced;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return ListedMatch::Same;
  return IsLink(attributes, reparseTag) ? ListedMatch::Replaced : ListedMatch::SameThroughDriver;
}

std::optional<std::vector<FileSystem::Listed>> Win32FileSystem::Expand(const std::string& target,
                                                                       bool recurse) {
  const std::wstring name = FromUtf8(target);
  const std::size_t slash = name.find_last_of(L"\\/:");
  const std::wstring folder = slash == std::wstring::npos ? L"" : name.substr(0, slash + 1);
  // A pattern's entries are those its last component matches; a folder's, its targets.
  std::string pattern;
  std::wstring prefix = folder;
  if (name.find_first_of(L"*?", folder.size()) != std::wstring::npos) {
    pattern = ToUtf8(name.substr(folder.size()));
  } else if (IsFolder(GetFileAttributesW(ExtendedPath(name).c_str()))) {
    prefix = name.back() == L'\\' || name.back() == L'/' ? name : name + L"\\";
  } else {
    return std::nullopt;
  }
  std::wstring opened = ExtendedPath(prefix.empty() ? L"." : prefix);
  if (opened.back() != L'\\') opened += L'\\';
  std::vector<Listed> listed;
  std::vector<std::pair<std::wstring, Listed>> found;  // by their names from the folder
  // An entry by its path from the target's folder.
  const auto add = [&](const std::wstring& inner, Listed entry) {
    entry.path = ToUtf8(opened + inner);
    entry.shown = ToUtf8(prefix + inner);
    entry.relative = ToUtf8(inner);
    found.emplace_back(inner, std::move(entry));
  };
  // From the target's folder, to list, each with the identity its parent's listing gave.
  std::vector<std::pair<std::wstring, std::string>> folders = {{L"", ""}};
  while (!folders.empty()) {
    const auto [relative, identity] = folders.back();
    folders.pop_back();
    std::vector<Entry> entries;
    try {
      entries = EntriesOf(opened + relative, prefix + relative, heldFolders_, identity);
    } catch (const ToolError& error) {
      // System Volume Information, another user's profile, a folder replaced: its files are
      // not checked, and the run says so and goes on.
      if (relative.empty()) throw;
      add(relative.substr(0, relative.size() - 1), {{}, {}, {}, {}, {}, Kept(error)});
      continue;
    }
    AfterListing(ToUtf8(prefix + relative));
    for (const Entry& entry : entries) {
      const std::wstring inner = relative + entry.name;
      const bool descend = recurse && entry.folder;
      if (descend && !entry.link) {
        folders.emplace_back(inner + L"\\", entry.identity);
      } else if (descend || (pattern.empty() ? IsTargetName(entry.name)
                                             : (!entry.folder || IsTargetName(entry.name)) &&
                                                   MatchesPattern(ToUtf8(entry.name), pattern,
                                                                  &SameLetterAsWindows))) {
        // A volume mounted in a folder is a junction, as anyone's junction is: never followed.
        add(inner, {{},
                    {},
                    {},
                    descend ? std::optional<Aside>(Aside::FolderLink) : entry.leftAside,
                    entry.identity,
                    {},
                    entry.onlineOnly});
      }
    }
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return linguarde::win32::CompareIgnoringCase(a.first, b.first) < 0;
  });
  for (auto& [key, entry] : found) listed.push_back(std::move(entry));
  return listed;
}

bool Win32FileSystem::Exists(const std::string& path) {
  if (GetFileAttributesW(ExtendedPath(FromUtf8(path)).c_str()) != INVALID_FILE_ATTRIBUTES) {
    return true;
  }
  const DWORD code = GetLastError();
  return code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND && code != ERROR_INVALID_NAME;
}

std::optional<std::string> Win32FileSystem::LinkTarget(const std::string& path) {
  const std::wstring name = ExtendedPath(FromUtf8(path));
  WIN32_FIND_DATAW found{};
  {
    const linguarde::win32::UniqueFindHandle search(
        FindFirstFileExW(name.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search) return std::nullopt;
  }
  if (!IsLink(found.dwFileAttributes, found.dwReserved0)) return std::nullopt;
  const linguarde::win32::UniqueFileHandle file(
      CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  std::wstring final(32768, L'\0');
  const DWORD length =
      file ? GetFinalPathNameByHandleW(file.Get(), final.data(), static_cast<DWORD>(final.size()),
                                       FILE_NAME_NORMALIZED)
           : 0;
  if (length == 0 || length >= final.size()) return std::string("(introuvable)");
  final.resize(length);
  return ToUtf8(PlainPath(final).value_or(final));
}

std::vector<FileSystem::Folder> Win32FileSystem::LibraryFolders(const std::string& target) {
  std::vector<Folder> folders;
  if (const auto full = linguarde::win32::FullPath(FromUtf8(target))) {
    std::wstring folder = *full;
    folder.erase(folder.find_last_of(L'\\'));
    folder = WithoutExtendedPrefix(folder);
    // For a control or a library, the application's folder is that of the program that
    // loads it: usually the same.
    folders.push_back({ToUtf8(folder), FolderKind::Application});
  }
  std::wstring system32Bit = SystemFolder(&GetSystemWow64DirectoryW);
  if (system32Bit.empty()) system32Bit = SystemFolder(&GetSystemDirectoryW);
  if (!system32Bit.empty()) {
    folders.push_back({ToUtf8(system32Bit), FolderKind::System32});
  }
  const std::wstring windows = SystemFolder(&GetSystemWindowsDirectoryW);
  if (!windows.empty()) {
    folders.push_back({ToUtf8(windows + L"\\System"), FolderKind::System16});
    folders.push_back({ToUtf8(windows), FolderKind::Windows});
  }
  return folders;
}

std::string Win32FileSystem::AbsolutePath(const std::string& path) {
  const std::wstring wide = FromUtf8(path);
  if (wide.rfind(L"\\\\?\\", 0) == 0) return ToUtf8(PlainPath(wide).value_or(wide));
  return ToUtf8(linguarde::win32::FullPath(wide).value_or(wide));
}

std::optional<std::string> Win32FileSystem::FileIn(const std::string& folder,
                                                   const std::string& name) {
  const std::string path = folder + "\\" + name;
  const DWORD attributes = GetFileAttributesW(ExtendedPath(FromUtf8(path)).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || IsFolder(attributes)) return std::nullopt;
  return path;
}

std::unique_ptr<TargetFile> Win32FileSystem::Open(const std::string& path, bool forWriting,
                                                  const std::string& listed) {
  const std::wstring name = ExtendedPath(FromUtf8(path));
  // Windows would refuse the write itself; checked here too, for administrators and
  // systems that let them through.
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (forWriting && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw FileError(FileFailure::ReadOnlyAttribute, true);
  }
  // An alias or a socket named by the user: nothing to read, said as for an entry.
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    WIN32_FIND_DATAW found{};
    const linguarde::win32::UniqueFindHandle search(
        FindFirstFileExW(name.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    const std::optional<Aside> why = search && !IsLink(found.dwFileAttributes, found.dwReserved0)
                                         ? WhyNotRegular(found.dwFileAttributes, found.dwReserved0)
                                         : std::nullopt;
    if (why) throw FileError(FileFailure::NotRegular, forWriting, {}, *why);
  }
  // Shared with nobody for a change: a target that runs or is open elsewhere is refused.
  // An entry of a listing is opened as itself, a link never followed.
  const auto open = [&](DWORD flags) {
    return linguarde::win32::UniqueFileHandle(
        CreateFileW(name.c_str(), forWriting ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                    forWriting ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | flags, nullptr));
  };
  linguarde::win32::UniqueFileHandle file = open(listed.empty() ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  if (file && GetFileType(file.Get()) != FILE_TYPE_DISK) {
    throw FileError(FileFailure::NotRegular, forWriting, {}, Aside::DeviceOrPipe);
  }
  if (file && !listed.empty()) file = AsListed(std::move(file), listed, forWriting, open);
  if (file) {
    return std::make_unique<PagedFile>(std::make_unique<Win32File>(std::move(file)));
  }
  const DWORD code = GetLastError();
  const std::string system = SystemText(code);
  if (IsFolder(attributes)) throw FileError(FileFailure::Folder, forWriting);
  switch (code) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      throw FileError(FileFailure::OpenElsewhere, forWriting);
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      // The name is there, its attributes those of the link itself: its target is not.
      throw FileError(
          attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
              ? FileFailure::LinkTargetMissing
              : FileFailure::NotFound,
          forWriting, system);
    case ERROR_ACCESS_DENIED:
      if (!forWriting) break;
      throw FileError(InProgramFiles(name)                        ? FileFailure::AdministratorsOnly
                      : linguarde::win32::InProtectedFolder(name) ? FileFailure::ProtectedFolder
                                                                  : FileFailure::AccessDenied,
                      true, system);
    default:
      break;
  }
  throw FileError(FileFailure::Unopenable, forWriting, system);
}

namespace {

// Whether the console's code page shows the text: a path it cannot show is copied from the
// console, or typed, as another.
bool ConsoleShows(const std::wstring& text) {
  UINT codePage = GetConsoleOutputCP();
  if (codePage == 0) codePage = GetOEMCP();
  if (codePage == CP_UTF8) return true;
  BOOL lost = FALSE;
  return WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(),
                             static_cast<int>(text.size()), nullptr, 0, nullptr, &lost) > 0 &&
         !lost;
}

// Appended to, never rewritten: each record is whole on the disk before the next change.
class Win32Journal final : public JournalFile {
 public:
  Win32Journal(std::string path, linguarde::win32::UniqueFileHandle file, bool writable)
      : path_(std::move(path)), file_(std::move(file)), writable_(writable) {}
  const std::string& Path() const override { return path_; }
  bool Writable() const override { return writable_; }

  void Append(const std::string& record, bool durable) override {
    LARGE_INTEGER end{};
    DWORD done = 0;
    if (!SetFilePointerEx(file_.Get(), end, nullptr, FILE_END) ||
        !WriteFile(file_.Get(), record.data(), static_cast<DWORD>(record.size()), &done, nullptr) ||
        done != record.size() || (durable && !FlushFileBuffers(file_.Get()))) {
      Fail(IoStep::WriteJournal);
    }
  }

  std::string ReadAll() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.Get(), &size)) Fail(IoStep::ReadJournal);
    if (static_cast<std::uint64_t>(size.QuadPart) > kJournalLimit) {
      Damaged(Verdict::JournalTooLarge);
    }
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file_.Get(), start, nullptr, FILE_BEGIN)) Fail(IoStep::ReadJournal);
    std::string text;
    char buffer[65536];
    for (;;) {
      DWORD done = 0;
      if (!ReadFile(file_.Get(), buffer, sizeof buffer, &done, nullptr)) Fail(IoStep::ReadJournal);
      if (done == 0) return text;
      text.append(buffer, done);
      if (text.size() > kJournalLimit) Damaged(Verdict::JournalTooLarge);
    }
  }

 private:
  [[noreturn]] void Fail(IoStep step) const {
    const DWORD code = GetLastError();
    throw StepError(step, code != 0 ? SystemText(code) : std::string(), path_);
  }

  std::string path_;
  linguarde::win32::UniqueFileHandle file_;
  bool writable_;
};

// A journal's handle, which must be a file's on a disk. Nothing where the name is taken
// (CREATE_NEW) or, asked, where the user may not write it.
std::unique_ptr<JournalFile> JournalAt(const std::wstring& path, DWORD access, DWORD sharing,
                                       DWORD disposition, bool orNothing = false) {
  SetLastError(0);
  linguarde::win32::UniqueFileHandle file(CreateFileW(ExtendedPath(path).c_str(), access, sharing,
                                                      nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                                      nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    if (orNothing && (code == ERROR_FILE_EXISTS || code == ERROR_ACCESS_DENIED)) return nullptr;
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) {
      throw StepError(IoStep::JournalBusy, {}, ToUtf8(path));
    }
    const bool missing = disposition == OPEN_EXISTING &&
                         (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND);
    throw StepError(missing ? IoStep::JournalMissing : IoStep::OpenJournal, SystemText(code),
                    ToUtf8(path));
  }
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) Damaged(Verdict::JournalNotAFile);
  return std::make_unique<Win32Journal>(ToUtf8(path), std::move(file),
                                        (access & GENERIC_WRITE) != 0);
}

// Shared for reading only, for the whole run: another run neither undoes a journal still
// being written nor undoes one twice at once.
constexpr DWORD kWritten = GENERIC_READ | GENERIC_WRITE;

}  // namespace

std::unique_ptr<JournalFile> Win32FileSystem::CreateJournal(const std::string& given) {
  if (!given.empty()) return JournalAt(FromUtf8(given), kWritten, FILE_SHARE_READ, CREATE_NEW);
  const std::wstring folder = linguarde::win32::JournalFolder();
  if (folder.empty()) {
    throw StepError(IoStep::NoJournalFolder, {}, "LOCALAPPDATA, TMP, TEMP, USERPROFILE");
  }
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const auto two = [](WORD part) { return Digits<wchar_t>(part, 10, 2); };
  const std::wstring name = folder + L"\\journal-" + Digits<wchar_t>(now.wYear, 10, 4) +
                            two(now.wMonth) + two(now.wDay) + L"-" + two(now.wHour) +
                            two(now.wMinute) + two(now.wSecond) + L"-" +
                            Digits<wchar_t>(GetCurrentProcessId());
  // Another run's journal of that name (a process id used again within the second): the
  // next free name.
  for (unsigned attempt = 1;; ++attempt) {
    const std::wstring path =
        name + (attempt > 1 ? L"-" + Digits<wchar_t>(attempt) : std::wstring()) + L".txt";
    const bool another = attempt < 100;
    auto journal = JournalAt(path, kWritten, FILE_SHARE_READ, CREATE_NEW, another);
    if (journal) return journal;
    if (GetLastError() != ERROR_FILE_EXISTS) {
      return JournalAt(path, kWritten, FILE_SHARE_READ, CREATE_NEW);
    }
  }
}

std::unique_ptr<JournalFile> Win32FileSystem::OpenJournal(const std::string& path, JournalUse use) {
  const std::wstring name = FromUtf8(path);
  // A look shares the journal with every run, an undo's included.
  if (use == JournalUse::Look) {
    return JournalAt(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  }
  // One the user may read but not write is undone all the same, held shared with nobody.
  if (auto journal = JournalAt(name, kWritten, FILE_SHARE_READ, OPEN_EXISTING, true)) {
    return journal;
  }
  return JournalAt(name, GENERIC_READ, 0, OPEN_EXISTING);
}

std::string Win32FileSystem::ConsoleWord(const std::string& path, Shell shell) {
  const std::wstring wide = FromUtf8(path);
  const bool powerShell = shell == Shell::PowerShell;
  if (!ConsoleShows(wide)) {
    // The user's folders, where a name in another script is most often found.
    for (const wchar_t* variable : {L"LOCALAPPDATA", L"USERPROFILE"}) {
      const auto folder = linguarde::win32::EnvironmentValue(variable);
      if (!folder) continue;
      const std::wstring prefix = *folder + L"\\";
      const std::wstring rest = wide.substr(std::min(wide.size(), prefix.size() - 1));
      // Between double quotes PowerShell expands $ and `; the rest must reach either shell
      // as it is.
      const std::string tail = ToUtf8(rest);
      if (!StartsWithIgnoringCase(wide, prefix) || !ConsoleShows(rest) ||
          tail.find_first_of("$`") != std::string::npos ||
          !linguarde::cmd::CarriedBetweenQuotes(tail, true)) {
        continue;
      }
      return (powerShell ? "\"$env:" : "\"%") + ToUtf8(variable) + (powerShell ? "" : "%") + tail +
             "\"";
    }
  }
  // A path with a control character cannot be shown as a word: it is shown escaped.
  if (powerShell)
    return ShellWord(path, Shell::PowerShell).value_or("'" + linguarde::Visible(path) + "'");
  return "\"" + linguarde::Visible(path) + "\"";
}

bool Win32FileSystem::CanReopen(const std::string& absolutePath) {
  return ExtendedPath(FromUtf8(absolutePath)).size() < 32767;
}

}  // namespace tressol
