#include "win32_script_platform.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "localisation_script/action_error.h"
#include "localisation_script/interpreter_text.h"
#include "windows_error.h"

namespace linguarde::win32 {
namespace {

// A step of an action that failed: the window reports it and the program ends.
[[noreturn]] void FailStep(const std::wstring& what) { throw ActionFailed(WithLastError(what)); }

std::wstring SystemFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const UINT length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) {
      FailStep(L"Impossible de trouver le dossier système");
    }
    if (length < buffer.size()) {
      return std::wstring(buffer.data(), length);
    }
    buffer.resize(length);
  }
}

bool IsRunning(const UniqueHandle& process) {
  return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// One name per script, whichever copy of the program asks: the path's case does not count.
std::wstring ClaimName(const std::wstring& scriptPath) {
  std::wstring upper = scriptPath;
  LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, scriptPath.data(),
                static_cast<int>(scriptPath.size()), upper.data(), static_cast<int>(upper.size()),
                nullptr, nullptr, 0);
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const wchar_t c : upper) {
    hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
  }
  constexpr wchar_t kHex[] = L"0123456789abcdef";
  std::wstring name = L"Local\\Linguarde.VBcommand.";
  for (int shift = 60; shift >= 0; shift -= 4) {
    name += kHex[(hash >> shift) & 0xF];
  }
  return name;
}

class Win32ScriptFile final : public ScriptFile {
 public:
  Win32ScriptFile(std::wstring path, UniqueFileHandle file)
      : path_(std::move(path)), file_(std::move(file)) {}

  void WriteLine(std::string_view bytes) override {
    const std::string line = std::string(bytes) + "\r\n";
    std::size_t done = 0;
    while (done < line.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(line.size() - done, 1u << 30));
      DWORD written = 0;
      if (!WriteFile(file_.Get(), line.data() + done, chunk, &written, nullptr)) {
        FailStep(L"Impossible d'écrire dans le fichier « " + path_ + L" »");
      }
      done += written;
    }
  }

  void Close() override {
    if (!CloseHandle(file_.Release())) {
      FailStep(L"Impossible de fermer le fichier « " + path_ + L" »");
    }
  }

 private:
  std::wstring path_;
  UniqueFileHandle file_;
};

}  // namespace

std::wstring ExecutableFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      FailStep(L"Impossible de trouver le dossier du programme");
    }
    if (length < buffer.size()) {
      std::wstring path(buffer.data(), length);
      const std::size_t slash = path.find_last_of(L'\\');
      path.erase(slash == std::wstring::npos ? 0 : slash);
      if (path.size() == 2 && path[1] == L':') {
        path += L'\\';
      }
      return path;
    }
    // A truncated result fills the buffer exactly: try again with more room.
    buffer.resize(buffer.size() * 2);
  }
}

UINT InterpreterCodePage() { return GetOEMCP(); }

ProcessCommand ScriptStartCommand(const std::wstring& path) {
  // The interpreter named in full: no "cmd.exe" of the current folder or of a folder of
  // the search path can be picked up instead.
  return {SystemFolder() + L"\\cmd.exe", interpreter::ScriptCommandLine(path)};
}

UniqueHandle StartScriptProcess(const std::wstring& path) {
  ProcessCommand command = ScriptStartCommand(path);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(command.application.c_str(), command.commandLine.data(), nullptr, nullptr,
                      FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &process)) {
    FailStep(L"Impossible de lancer le script « " + path + L" »");
  }
  const UniqueHandle thread(process.hThread);
  return UniqueHandle(process.hProcess);
}

Win32ScriptPlatform::Win32ScriptPlatform(std::wstring applicationFolder)
    : applicationFolder_(std::move(applicationFolder)) {}

std::wstring Win32ScriptPlatform::ApplicationFolder() { return applicationFolder_; }

std::optional<std::string> Win32ScriptPlatform::EncodeForInterpreter(std::wstring_view text) {
  if (text.empty()) {
    return std::string();
  }
  if (text.size() > INT_MAX / 4) {
    return std::nullopt;
  }
  const UINT codePage = InterpreterCodePage();
  // UTF-8 has every character; elsewhere a best-fit or default substitute would name
  // another file, so it counts as missing.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const int wideLength = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(codePage, flags, text.data(), wideLength, nullptr, 0,
                                         nullptr, usedDefaultOut);
  if (length == 0 || usedDefault) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), wideLength, bytes.data(), length, nullptr,
                      usedDefaultOut);
  if (usedDefault) {
    return std::nullopt;
  }
  return bytes;
}

// The claim is a named event that the console's interpreter is given a handle to: it
// lives exactly as long as that interpreter, which runs the tool and waits at "Pause",
// whichever copy of the program started it. Creating it where it already exists is the
// sign that such a console still runs.
bool Win32ScriptPlatform::ClaimScript(const std::wstring& path) {
  claim_.Reset();
  UniqueHandle claim(CreateEventW(nullptr, TRUE, FALSE, ClaimName(path).c_str()));
  if (!claim) {
    FailStep(L"Impossible de réserver le fichier « " + path + L" »");
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    BringConsoleToFront();
    return false;
  }
  claim_ = std::move(claim);
  return true;
}

void Win32ScriptPlatform::ForgetEndedConsoles() {
  consoles_.erase(std::remove_if(consoles_.begin(), consoles_.end(),
                                 [](const UniqueHandle& console) { return !IsRunning(console); }),
                  consoles_.end());
}

void Win32ScriptPlatform::BringConsoleToFront() {
  ForgetEndedConsoles();
  // Only a program without a console of its own can attach to another one.
  if (consoles_.empty() || !AttachConsole(GetProcessId(consoles_.back().Get()))) {
    return;
  }
  const HWND window = GetConsoleWindow();
  FreeConsole();
  if (window != nullptr) {
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
  }
}

std::unique_ptr<ScriptFile> Win32ScriptPlatform::CreateScript(const std::wstring& path) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    FailStep(L"Impossible de créer le fichier « " + path + L" »");
  }
  return std::make_unique<Win32ScriptFile>(path, std::move(file));
}

void Win32ScriptPlatform::StartScript(const std::wstring& path) {
  UniqueHandle console = StartScriptProcess(path);
  if (claim_) {
    // A handle in the interpreter's own table, not inherited: nothing that it starts, and
    // no console host, keeps the claim after the interpreter has ended. Should it already
    // have ended, there is nothing left to claim for.
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), claim_.Get(), console.Get(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    claim_.Reset();
  }
  ForgetEndedConsoles();
  consoles_.push_back(std::move(console));
}

}  // namespace linguarde::win32
