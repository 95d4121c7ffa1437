#include "win32_script_platform.h"

#include <algorithm>
#include <vector>

#include "action_error.h"
#include "file_names.h"
#include "shown_text.h"
#include "cmd_text.h"
#include "system_folders.h"
#include "windows_error.h"

namespace linguarde::win32 {
namespace {

bool IsRunning(const UniqueHandle& process) {
  return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

bool IsBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// The script as it is on disk, up to one byte more than was written: enough to tell that
// it is the same, however long another program made it. Nothing when another program
// locked a range of it: held, as a file open without sharing is.
std::optional<std::string> ReadAtMost(HANDLE file, std::size_t limit, const std::wstring& path) {
  std::string bytes(limit + 1, '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data() + done, chunk, &read, nullptr)) {
      if (IsBusy(GetLastError())) return std::nullopt;
      FailSaying(WindowWords::ScriptUnreadable, path);
    }
    if (read == 0) break;
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

class Win32HeldScript final : public HeldScript {
 public:
  explicit Win32HeldScript(UniqueFileHandle file) : file_(std::move(file)) {}
  HANDLE Get() const { return file_.Get(); }

 private:
  UniqueFileHandle file_;
};

class Win32Console final : public Console {
 public:
  explicit Win32Console(UniqueHandle process) : process_(std::move(process)) {}
  void* WaitHandle() const override { return process_.Get(); }

 private:
  UniqueHandle process_;
};

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
        FailSaying(WindowWords::ScriptUnwritable, path_);
      }
      done += written;
    }
    written_ += line;
  }

  // Sharing the script for reading only keeps every writer out, whichever copy, user,
  // spelling of the path or computer it comes from: share modes hold on the file itself.
  std::unique_ptr<HeldScript> Close() override {
    if (!file_.Close()) {
      FailSaying(WindowWords::ScriptUnclosable, path_);
    }
    UniqueFileHandle reader(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!reader) {
      if (IsBusy(GetLastError())) {
        return nullptr;
      }
      FailSaying(WindowWords::ScriptUnreopenable, path_);
    }
    if (ReadAtMost(reader.Get(), written_.size(), path_) != std::optional<std::string>(written_)) {
      return nullptr;
    }
    return std::make_unique<Win32HeldScript>(std::move(reader));
  }

 private:
  std::wstring path_;
  UniqueFileHandle file_;
  std::string written_;
};

// The interpreter in a console of its own, normal and focused, titled for Linguarde's console
// settings, suspended, with this process's environment and the variables.
struct Started {
  UniqueHandle process;
  UniqueHandle thread;
};
Started StartInConsole(ProcessCommand command, const std::vector<ScriptVariable>& variables,
                       WindowWords failure, const std::wstring& path) {
  std::wstring environment = variables.empty() ? std::wstring() : EnvironmentBlockWith(variables);
  std::wstring title = kConsoleTitle;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpTitle = title.data();
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(command.application.c_str(), command.commandLine.data(), nullptr, nullptr,
                      FALSE, CREATE_NEW_CONSOLE | CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT,
                      environment.empty() ? nullptr : environment.data(), nullptr, &startup,
                      &process)) {
    FailSaying(failure, path);
  }
  return {UniqueHandle(process.hProcess), UniqueHandle(process.hThread)};
}

// Starts a batch file as the script is started, holding the script, and returns the
// interpreter's process. The held script is copied into the interpreter before it runs a
// line: it starts suspended.
UniqueHandle StartScriptProcess(const std::wstring& path, HANDLE script,
                                const std::vector<ScriptVariable>& variables) {
  Started started =
      StartInConsole(ScriptStartCommand(path), variables, WindowWords::ScriptUnstartable, path);
  const UniqueHandle thread = std::move(started.thread);
  UniqueHandle interpreter = std::move(started.process);
  // Copied into the interpreter's own table, not inherited: nothing that it starts, and
  // no console host, keeps the script after the interpreter has ended.
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), script, interpreter.Get(), &copy, 0, FALSE,
                       DUPLICATE_SAME_ACCESS) ||
      ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) {
    const StepFailed failure = LastErrorSaid(WindowWords::ScriptUnstartable, path);
    TerminateProcess(interpreter.Get(), 1);
    throw failure;
  }
  return interpreter;
}

}  // namespace

StepFailed LastErrorSaid(WindowWords entry, const std::wstring& path) {
  const DWORD code = GetLastError();
  return StepFailed(Say(entry, {{L"path", Visible(std::wstring_view(path))},
                                {L"system", WindowsErrorText(code)}}),
                    code);
}

void FailSaying(WindowWords entry, const std::wstring& path) { throw LastErrorSaid(entry, path); }

std::wstring ProgramFolder() {
  std::optional<std::wstring> folder = ExecutableFolder();
  if (!folder) FailSaying(WindowWords::ApplicationFolderUnknown);
  return *folder;
}

UniqueHandle StartHiddenProgram(const std::wstring& program, std::wstring commandLine,
                                HANDLE output, WindowWords failure) {
  // Of all the handles this process has, the program inherits the output alone.
  SIZE_T size = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
  std::vector<unsigned char> storage(size);
  const auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
  if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) FailSaying(failure, program);
  HANDLE inherited[] = {output};
  const bool listed = UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                                inherited, sizeof inherited, nullptr, nullptr);
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
  startup.StartupInfo.hStdOutput = output;
  startup.StartupInfo.hStdError = output;
  startup.lpAttributeList = attributes;
  PROCESS_INFORMATION process{};
  // A reading writes nothing: no journal of this process's environment is passed on.
  std::wstring environment = EnvironmentBlockWith({{std::wstring(kJournalVariable), L""}});
  const bool started =
      listed && CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                               DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT |
                                   BELOW_NORMAL_PRIORITY_CLASS | CREATE_UNICODE_ENVIRONMENT,
                               environment.data(), nullptr, &startup.StartupInfo, &process);
  const DWORD error = GetLastError();
  DeleteProcThreadAttributeList(attributes);
  if (!started) {
    SetLastError(error);
    FailSaying(failure, program);
  }
  const UniqueHandle thread(process.hThread);
  return UniqueHandle(process.hProcess);
}

std::wstring EnvironmentBlockWith(const std::vector<ScriptVariable>& variables) {
  // Names compare without regard to case; a name ends at its first '=' but one that starts
  // it, as in the drive entries "=C:=C:\x".
  const auto compareNames = [](std::wstring_view a, std::wstring_view b) {
    a = a.substr(0, a.find(L'=', 1));
    b = b.substr(0, b.find(L'=', 1));
    return CompareIgnoringCase(a, b);
  };
  std::vector<std::wstring> entries;
  for (const ScriptVariable& variable : variables) {
    if (!variable.value.empty()) entries.push_back(variable.name + L"=" + variable.value);
  }
  const UniqueEnvironment own(GetEnvironmentStringsW());
  for (const wchar_t* at = own.Get(); at != nullptr && *at != L'\0'; at += wcslen(at) + 1) {
    const std::wstring_view entry(at);
    if (std::none_of(variables.begin(), variables.end(), [&](const ScriptVariable& given) {
          return compareNames(entry, given.name + L"=") == 0;
        })) {
      entries.emplace_back(entry);
    }
  }
  std::sort(entries.begin(), entries.end(),
            [&](const std::wstring& a, const std::wstring& b) { return compareNames(a, b) < 0; });
  std::wstring block;
  for (const std::wstring& entry : entries) {
    block += entry;
    block += L'\0';
  }
  return block + L'\0';
}

HWND ConsoleWindowToRaise(HWND console) {
  wchar_t className[32] = {};
  GetClassNameW(console, className, 32);
  if (wcscmp(className, L"PseudoConsoleWindow") != 0) {
    return console;
  }
  // Hidden: showing it would show a stray empty window on older terminals.
  return GetWindow(console, GW_OWNER);
}

namespace {

// The interpreter named in full: no "cmd.exe" of the current folder or of a folder of the
// search path can be picked up instead.
std::wstring InterpreterPath() {
  const std::wstring system = SystemFolder(&GetSystemDirectoryW);
  if (system.empty()) {
    FailSaying(WindowWords::SystemFolderUnknown);
  }
  return system + L"\\cmd.exe";
}

}  // namespace

ProcessCommand ScriptStartCommand(const std::wstring& path) {
  return {InterpreterPath(), cmd::ScriptCommandLine(path)};
}

Win32ScriptPlatform::Win32ScriptPlatform(std::wstring applicationFolder)
    : applicationFolder_(std::move(applicationFolder)) {}

std::wstring Win32ScriptPlatform::ApplicationFolder() { return applicationFolder_; }

std::wstring Win32ScriptPlatform::CurrentFolder() {
  std::wstring folder(32768, L'\0');
  const DWORD length = GetCurrentDirectoryW(32768, folder.data());
  folder.resize(length < 32768 ? length : 0);
  return folder;
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
  const HWND window = ConsoleWindowToRaise(GetConsoleWindow());
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
    if (IsBusy(GetLastError())) {
      BringConsoleToFront();
      return nullptr;
    }
    FailSaying(WindowWords::ScriptUncreatable, path);
  }
  return std::make_unique<Win32ScriptFile>(path, std::move(file));
}

std::unique_ptr<Console> Win32ScriptPlatform::StartScript(
    const std::wstring& path, std::unique_ptr<HeldScript> script,
    const std::vector<ScriptVariable>& environment) {
  // Only a script that this platform held can be handed on: never a handle that is none.
  const auto* held = dynamic_cast<const Win32HeldScript*>(script.get());
  if (held == nullptr) {
    throw StepFailed(
        Say(WindowWords::ScriptNotHeld, {{L"path", Visible(std::wstring_view(path))}}));
  }
  UniqueHandle console = StartScriptProcess(path, held->Get(), environment);
  script.reset();
  return Kept(std::move(console));
}

std::unique_ptr<Console> Win32ScriptPlatform::Kept(UniqueHandle console) {
  HANDLE caller = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), console.Get(), GetCurrentProcess(), &caller,
                       SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, 0)) {
    caller = nullptr;
  }
  ForgetEndedConsoles();
  consoles_.push_back(std::move(console));
  return std::make_unique<Win32Console>(UniqueHandle(caller));
}

std::wstring Win32ScriptPlatform::NewJournalPath() {
  // The folder the tool itself keeps its journals in; the name says who made it and when.
  const std::wstring folder = JournalFolder();
  if (folder.empty()) return {};
  // The milliseconds since 1601 and this process: one name an action, in the order made.
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return folder + L"\\linguarde-" + Decimal(ticks / 10000) + L"-" + Decimal(GetCurrentProcessId()) +
         L".txt";
}

std::unique_ptr<Console> Win32ScriptPlatform::StartUndo(
    const std::wstring& tool, const std::wstring& journal,
    const std::vector<ScriptVariable>& environment) {
  // The paths reach the tool through the environment, which the interpreter expands once
  // and never parses again inside quotes: any name a folder may have is carried as it is.
  std::vector<ScriptVariable> variables = environment;
  variables.push_back({L"LINGUARDE_OUTIL", tool});
  variables.push_back({L"LINGUARDE_JOURNAL", journal});
  const std::wstring interpreter = InterpreterPath();
  Started started = StartInConsole(
      {interpreter,
       cmd::RunCommandLine(L"\"" + interpreter + L"\"",
                           L"\"" + cmd::Expansion(L"LINGUARDE_OUTIL") + L"\" --undo \"" +
                               cmd::Expansion(L"LINGUARDE_JOURNAL") + L"\" & pause")},
      variables, WindowWords::UndoUnstartable, {});
  // A console never started would be followed for ever, and refuse every later action.
  if (ResumeThread(started.thread.Get()) == static_cast<DWORD>(-1)) {
    const StepFailed failure = LastErrorSaid(WindowWords::UndoUnstartable);
    TerminateProcess(started.process.Get(), 1);
    throw failure;
  }
  return Kept(std::move(started.process));
}

}  // namespace linguarde::win32
