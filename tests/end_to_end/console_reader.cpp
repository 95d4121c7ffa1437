// Reads another process's console as the user sees it, then answers its "Pause" with a
// key: console_reader PID OUTPUT-FILE. Waits until the screen shows the tool's report
// ("Effet :", "Résumé :" or "Tressol :") and the interpreter's prompt, writes the screen's text in
// UTF-8 to the file, presses Space. Exit status 0 once answered, 1 after 30 s.
#include <windows.h>

#include <algorithm>
#include <string>

#include "owners.h"

namespace {

std::wstring ScreenText(HANDLE screen) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(screen, &info)) return {};
  std::wstring text;
  for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
    std::wstring line(static_cast<std::size_t>(info.dwSize.X), L' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterW(screen, line.data(), info.dwSize.X, COORD{0, row}, &read);
    line.resize(
        line.find_last_not_of(L' ') == std::wstring::npos ? 0 : line.find_last_not_of(L' ') + 1);
    text += line + L"\n";
  }
  // The report's no-break spaces read as spaces, as the eye reads them.
  std::replace(text.begin(), text.end(), L'\u00A0', L' ');
  return text;
}

bool Answered(const std::wstring& text) {
  const bool report = text.find(L"D\x00E9tails :") != std::wstring::npos ||
                      text.find(L"R\x00E9sum\x00E9 :") != std::wstring::npos ||
                      text.find(L"Tressol :") != std::wstring::npos;
  const bool prompt =
      text.find(L"any key") != std::wstring::npos || text.find(L"une touche") != std::wstring::npos;
  return report && prompt;
}

void PressSpace(HANDLE input) {
  INPUT_RECORD keys[2]{};
  for (int i = 0; i < 2; ++i) {
    keys[i].EventType = KEY_EVENT;
    keys[i].Event.KeyEvent.bKeyDown = i == 0;
    keys[i].Event.KeyEvent.wRepeatCount = 1;
    keys[i].Event.KeyEvent.wVirtualKeyCode = VK_SPACE;
    keys[i].Event.KeyEvent.uChar.UnicodeChar = L' ';
  }
  DWORD written = 0;
  WriteConsoleInputW(input, keys, 2, &written);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const DWORD process = static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10));
  FreeConsole();
  const DWORD end = GetTickCount() + 30000;
  while (!AttachConsole(process)) {
    if (GetTickCount() > end) return 1;
    Sleep(50);
  }
  const HANDLE screen =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  const HANDLE input =
      CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  std::wstring text;
  while (!Answered(text = ScreenText(screen))) {
    if (GetTickCount() > end) break;
    Sleep(100);
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  {
    const linguarde::win32::UniqueFileHandle file(
        CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  if (!Answered(text)) return 1;
  PressSpace(input);
  return 0;
}
