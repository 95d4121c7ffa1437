// Stand-in for the localisation tool: writes its working folder to "cwd.txt" and then
// appends the raw command line it was given as one line of "received.txt", both in
// UTF-8 beside itself, and exits. The window's readings (--json) go to "read.txt" instead,
// so that they are told apart from the actions. A reading of a target named "tenace"
// leaves behind a child that holds its output for 5 s, as a program the tool started
// could.
#include <windows.h>

#include <string>

#include "owners.h"

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

bool Write(const std::wstring& path, DWORD access, DWORD disposition, const std::string& bytes) {
  const linguarde::win32::UniqueFileHandle file(CreateFileW(
      path.c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return false;
  }
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int wmain() {
  wchar_t buffer[32768];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
  std::wstring folder(buffer, length);
  folder.erase(folder.find_last_of(L'\\') + 1);

  const std::wstring line = GetCommandLineW();
  if (line.find(L" --dormir") != std::wstring::npos) {
    Sleep(5000);
    return 0;
  }
  if (line.find(L" --json --local-only -- \"tenace\"") != std::wstring::npos) {
    std::wstring child = L"\"" + folder + L"Tressol.exe\" --dormir";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, child.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &started)) {
      return 2;
    }
    const linguarde::win32::UniqueHandle process(started.hProcess), thread(started.hThread);
    return 0;
  }
  if (line.find(L" --json --local-only -- ") != std::wstring::npos) {
    return Write(folder + L"read.txt", FILE_APPEND_DATA, OPEN_ALWAYS, Utf8(line.c_str()) + "\n")
               ? 0
               : 2;
  }
  GetCurrentDirectoryW(32768, buffer);
  const bool ok = Write(folder + L"cwd.txt", GENERIC_WRITE, CREATE_ALWAYS, Utf8(buffer)) &&
                  Write(folder + L"received.txt", FILE_APPEND_DATA, OPEN_ALWAYS,
                        Utf8(GetCommandLineW()) + "\n");
  return ok ? 0 : 2;
}
