#include "tool_reading.h"

#include "argument_words.h"
#include "win32_script_platform.h"
#include "windows_error.h"

namespace linguarde {
namespace {

// More than any folder gives; a tool that writes without end is stopped there.
constexpr std::size_t kLongestOutput = 64u << 20;

// How long the window waits for the reading thread to end: a moment, never more.
constexpr DWORD kPatienceMs = 50;

std::wstring ReadingCommandLine(const std::wstring& tool, const std::wstring& options,
                                const std::wstring& argument) {
  using arguments::QuotedArgument;
  return QuotedArgument<wchar_t>(tool) + L" " + options + L" " + QuotedArgument<wchar_t>(argument);
}

}  // namespace

ToolReading::ToolReading(const std::wstring& tool, const std::wstring& options,
                         const std::wstring& argument, HWND window, UINT done, WPARAM id)
    : state_(new State) {
  state_->window = window;
  state_->done = done;
  state_->id = id;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
    win32::FailSaying(WindowWords::ToolUnstartable, tool);
  state_->pipe.Reset(readEnd);
  const win32::UniqueHandle writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  state_->process = win32::StartHiddenProgram(tool, ReadingCommandLine(tool, options, argument),
                                              writeEnd, WindowWords::ToolUnstartable);
  // The thread holds the state as long as it runs.
  ++state_->holders;
  thread_.Reset(CreateThread(nullptr, 0, &ToolReading::Read, state_.get(), 0, nullptr));
  if (!thread_) {
    --state_->holders;
    // The thread's failure, which the end of the tool would replace.
    const DWORD code = GetLastError();
    TerminateProcess(state_->process.Get(), 1);
    SetLastError(code);
    win32::FailSaying(WindowWords::ToolUnstartable, tool);
  }
}

ToolReading::~ToolReading() {
  state_->abandoned = true;
  // Ended, the tool closes the pipe's write end and the thread's read returns, unless a
  // child of the tool holds it too: the read is then cancelled.
  TerminateProcess(state_->process.Get(), 1);
  if (WaitForSingleObject(thread_.Get(), kPatienceMs) == WAIT_TIMEOUT) {
    CancelSynchronousIo(thread_.Get());
    WaitForSingleObject(thread_.Get(), kPatienceMs);
  }
}

const std::string& ToolReading::Output() const { return state_->output; }

DWORD WINAPI ToolReading::Read(void* held) {
  const Held owner(static_cast<State*>(held));
  State& state = *owner;
  char chunk[16384];
  DWORD read = 0;
  while (!state.abandoned && ReadFile(state.pipe.Get(), chunk, sizeof chunk, &read, nullptr) &&
         read > 0) {
    state.output.append(chunk, read);
    if (state.output.size() > kLongestOutput) {
      TerminateProcess(state.process.Get(), 1);
      break;
    }
  }
  // The output is whole before the window hears of it, and nothing touches it after.
  if (!state.abandoned) PostMessageW(state.window, state.done, state.id, 0);
  return 0;
}

}  // namespace linguarde
