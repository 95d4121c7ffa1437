// Tressol.exe: the tool's core over Win32 files, reporting to the console.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "argument_words.h"
#include "environment.h"
#include "report.h"
#include "system_folders.h"
#include "text_encoding.h"
#include "tressol.h"
#include "win32_files.h"
#include "windows_error.h"
#include "words.h"

#if defined(__GLIBCXX__)
// GCC's default handler for an exception that nothing catches demangles its type's name:
// some 45 KB of the program, for a case that only a fault of ours reaches.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  const char* said = tressol::EntryAt(tressol::Words::InternalError).one;
  DWORD done = 0;
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  WriteFile(error, said, static_cast<DWORD>(std::strlen(said)), &done, nullptr);
  WriteFile(error, "\r\n", 2, &done, nullptr);
  std::abort();
}
}  // namespace __gnu_cxx
#endif

namespace {

using linguarde::win32::FromUtf8;
using linguarde::win32::ToUtf8;

// A real console gets UTF-16, so that accents show whatever its code page; a redirected
// stream gets the text as it is, in UTF-8.
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

// A console's columns: its screen buffer's width, which its lines wrap at; 0 for a file or a
// pipe, where lines are not wrapped.
std::size_t Columns(DWORD stream) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(GetStdHandle(stream), &info) || info.dwSize.X <= 0) return 0;
  return static_cast<std::size_t>(info.dwSize.X);
}

// Each file's lines show as soon as it is done.
class ConsoleOutput final : public tressol::Output {
 public:
  void Flush() override {
    Lay();
    Write(STD_OUTPUT_HANDLE, out);
    Write(STD_ERROR_HANDLE, err);
    Shown();
  }
};

}  // namespace

int wmain() {
  tressol::Win32FileSystem files;
  ConsoleOutput output;
  output.shell = tressol::Shell::Cmd;
  output.outWidth = Columns(STD_OUTPUT_HANDLE);
  output.errWidth = Columns(STD_ERROR_HANDLE);
  // French typography where a console shows the text.
  DWORD mode = 0;
  output.outTypeset = GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
  output.errTypeset = GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
  // Without its path, the way back needs the tool's folder to be the current one.
  const auto path = linguarde::win32::ExecutablePath();
  output.toolPath = path ? ToUtf8(*path) : "Tressol.exe";
  const auto journal = linguarde::win32::EnvironmentValue(L"TRESSOL_JOURNAL");
  if (journal) output.journalPath = ToUtf8(*journal);
  const int status = tressol::Run(
      ToUtf8(std::wstring(linguarde::arguments::CommandTail(std::wstring_view(GetCommandLineW())))),
      files, output);
  output.Flush();
  return status;
}
