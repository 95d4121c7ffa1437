#include "windows_test_support.h"

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>
#include <vector>

#include "text_encoding.h"
#include "owners.h"
#include "platform_win32/win32_script_platform.h"

namespace linguarde::test {

TestFolder::TestFolder(const std::wstring& nameEnding) {
  // Wine numbers processes from 32 again in every session, so the process ID alone does
  // not make a name unique: the folder must be new, or another name is tried.
  static unsigned counter = 0;
  for (;;) {
    const std::wstring name = L"linguarde-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(GetTickCount64() % 100000) + L"-" +
                              std::to_wstring(++counter) + nameEnding;
    path_ = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::create_directory(path_)) return;
  }
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TestProgramFolder() {
  wchar_t self[32768];
  const DWORD length = GetModuleFileNameW(nullptr, self, 32768);
  return std::filesystem::path(std::wstring(self, length)).parent_path();
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::wstring FromUtf8(const std::string& bytes) { return win32::FromUtf8(bytes); }

std::string Ascii(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::filesystem::path AnotherSpelling(const std::filesystem::path& folder) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName != nullptr) {
    if (char* name = unixName(folder.c_str())) {
      std::wstring path = L"Z:" + win32::FromUtf8(name);
      HeapFree(GetProcessHeap(), 0, name);
      std::replace(path.begin(), path.end(), L'/', L'\\');
      return path;
    }
  }
  wchar_t shortName[32768];
  const DWORD length = GetShortPathNameW(folder.c_str(), shortName, 32768);
  if (length == 0 || length >= 32768 || folder.wstring() == shortName) return {};
  return std::wstring(shortName, length);
}

bool WaitForFile(const std::filesystem::path& file, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  std::error_code error;
  while (std::chrono::steady_clock::now() < end) {
    if (std::filesystem::exists(file, error) && std::filesystem::file_size(file, error) > 0) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

unsigned long RunScriptToEnd(const std::wstring& script, const std::filesystem::path& output) {
  win32::ProcessCommand command = win32::ScriptStartCommand(script);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const win32::UniqueFileHandle input(CreateFileW(L"NUL", GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                                  OPEN_EXISTING, 0, nullptr));
  const win32::UniqueFileHandle out(CreateFileW(output.empty() ? L"NUL" : output.c_str(),
                                                GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                &inherit, CREATE_ALWAYS, 0, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.Get();
  startup.hStdOutput = startup.hStdError = out.Get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(command.application.empty() ? nullptr : command.application.c_str(),
                      command.commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &process)) {
    return 0x80000000ul | GetLastError();
  }
  const win32::UniqueHandle processHandle(process.hProcess);
  const win32::UniqueHandle thread(process.hThread);
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    return 0x40000000ul;
  }
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  return status;
}

void EndChildProcesses(DWORD root) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  std::vector<PROCESSENTRY32W> all;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    all.push_back(entry);
  }
  CloseHandle(snapshot);

  std::set<DWORD> family = {root};
  for (bool grown = true; grown;) {
    grown = false;
    for (const PROCESSENTRY32W& process : all) {
      if (family.count(process.th32ParentProcessID) && !family.count(process.th32ProcessID)) {
        family.insert(process.th32ProcessID);
        grown = true;
      }
    }
  }
  family.erase(root);
  for (const DWORD id : family) {
    if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
}

}  // namespace linguarde::test
