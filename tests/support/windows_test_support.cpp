#include "windows_test_support.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <tlhelp32.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>
#include <vector>

#include "text_encoding.h"
#include "owners.h"
#include "win32_script_platform.h"

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

void MakeShortcut(const std::filesystem::path& shortcut, const std::filesystem::path& target) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                             reinterpret_cast<void**>(&link)),
            S_OK);
  link->SetPath(target.c_str());
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  EXPECT_EQ(file->Save(shortcut.c_str(), TRUE), S_OK);
  file->Release();
  link->Release();
  CoUninitialize();
}

StartedProcess StartProcess(ProcessStart start) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const bool standard = start.input != nullptr || start.output != nullptr;
  if (standard) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = start.input;
    startup.hStdOutput = startup.hStdError = start.output;
  }
  if (!start.title.empty()) startup.lpTitle = start.title.data();
  PROCESS_INFORMATION process{};
  StartedProcess started;
  if (CreateProcessW(start.application.c_str(), start.commandLine.data(), nullptr, nullptr,
                     standard ? TRUE : FALSE,
                     start.flags | (start.environment.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT),
                     start.environment.empty() ? nullptr : start.environment.data(),
                     start.currentFolder.empty() ? nullptr : start.currentFolder.c_str(), &startup,
                     &process)) {
    started.process.Reset(process.hProcess);
    started.thread.Reset(process.hThread);
    started.id = process.dwProcessId;
  }
  return started;
}

unsigned long WaitForExitStatus(const StartedProcess& started, std::chrono::milliseconds timeout) {
  if (WaitForSingleObject(started.process.Get(), static_cast<DWORD>(timeout.count())) !=
      WAIT_OBJECT_0) {
    TerminateProcess(started.process.Get(), 1);
    return 0x40000000ul;
  }
  DWORD status = 0;
  GetExitCodeProcess(started.process.Get(), &status);
  return status;
}

unsigned long RunScriptToEnd(const std::wstring& script, const std::filesystem::path& output,
                             const std::vector<ScriptVariable>& environment) {
  const win32::ProcessCommand command = win32::ScriptStartCommand(script);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const win32::UniqueFileHandle input(CreateFileW(L"NUL", GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                                  OPEN_EXISTING, 0, nullptr));
  const win32::UniqueFileHandle out(CreateFileW(output.empty() ? L"NUL" : output.c_str(),
                                                GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                &inherit, CREATE_ALWAYS, 0, nullptr));
  ProcessStart start;
  start.application = command.application;
  start.commandLine = command.commandLine;
  start.flags = CREATE_NO_WINDOW;
  start.input = input.Get();
  start.output = out.Get();
  if (!environment.empty()) start.environment = win32::EnvironmentBlockWith(environment);
  const StartedProcess started = StartProcess(start);
  if (!started) return 0x80000000ul | GetLastError();
  return WaitForExitStatus(started, std::chrono::seconds(30));
}

void EndChildProcesses(DWORD root) {
  const win32::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return;
  std::vector<PROCESSENTRY32W> all;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
       more = Process32NextW(snapshot.Get(), &entry)) {
    all.push_back(entry);
  }

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
    if (const win32::UniqueHandle process{
            OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)}) {
      TerminateProcess(process.Get(), 1);
      WaitForSingleObject(process.Get(), 5000);
    }
  }
}

}  // namespace linguarde::test
