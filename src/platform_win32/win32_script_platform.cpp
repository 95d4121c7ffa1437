#include "win32_script_platform.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "localisation_script/action_error.h"
#include "localisation_script/interpreter_text.h"
#include "windows_error.h"

namespace linguarde::win32 {
namespace {

std::wstring SystemFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const UINT length = GetSystemDirectoryW(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length == 0) {
      ThrowLastError(L"Impossible de trouver le dossier système");
    }
    if (length < buffer.size()) {
      return std::wstring(buffer.data(), length);
    }
    buffer.resize(length);
  }
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
        ThrowLastError(L"Impossible d'écrire dans le fichier « " + path_ + L" »");
      }
      done += written;
    }
  }

  void Close() override {
    if (!CloseHandle(file_.Release())) {
      ThrowLastError(L"Impossible de fermer le fichier « " + path_ + L" »");
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
      ThrowLastError(L"Impossible de trouver le dossier du programme");
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
  // A path that is not plain is run by the interpreter named in full, so that no
  // "C:\Program.exe" can be picked up instead.
  return {interpreter::IsPlain(path) ? std::wstring() : SystemFolder() + L"\\cmd.exe",
          interpreter::ScriptCommandLine(path)};
}

UniqueHandle StartScriptProcess(const std::wstring& path) {
  ProcessCommand command = ScriptStartCommand(path);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(command.application.empty() ? nullptr : command.application.c_str(),
                      command.commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                      nullptr, nullptr, &startup, &process)) {
    ThrowLastError(L"Impossible de lancer le script « " + path + L" »");
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

std::unique_ptr<ScriptFile> Win32ScriptPlatform::CreateScript(const std::wstring& path) {
  UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    ThrowLastError(L"Impossible de créer le fichier « " + path + L" »");
  }
  return std::make_unique<Win32ScriptFile>(path, std::move(file));
}

void Win32ScriptPlatform::StartScript(const std::wstring& path) {
  // The console runs on its own; nothing here follows it.
  StartScriptProcess(path);
}

}  // namespace linguarde::win32
