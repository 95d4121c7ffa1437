#include "windows_test_support.h"

#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <set>
#include <thread>
#include <vector>

namespace linguarde::test {

TestFolder::TestFolder(const std::wstring& nameEnding) {
  static unsigned counter = 0;
  const std::wstring name = L"linguarde-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++counter) + nameEnding;
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(path_);
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

std::wstring FromUtf8(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                       nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
  return text;
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

void EndChildProcesses() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  std::vector<PROCESSENTRY32W> all;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    all.push_back(entry);
  }
  CloseHandle(snapshot);

  std::set<DWORD> family = {GetCurrentProcessId()};
  for (bool grown = true; grown;) {
    grown = false;
    for (const PROCESSENTRY32W& process : all) {
      if (family.count(process.th32ParentProcessID) && !family.count(process.th32ProcessID)) {
        family.insert(process.th32ProcessID);
        grown = true;
      }
    }
  }
  family.erase(GetCurrentProcessId());
  for (const DWORD id : family) {
    if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
}

}  // namespace linguarde::test
