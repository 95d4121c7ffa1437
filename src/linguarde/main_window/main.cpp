#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "Form1.h"
#include "argument_words.h"
#include "dropped_path.h"
#include "long_path.h"
#include "message_box.h"
#include "user_error.h"
#include "win32_script_platform.h"
#include "windows_error.h"

#if defined(__GLIBCXX__)
// GCC's default handler for an exception that nothing catches writes the exception's
// type to the standard error, which a window program does not have; the demangler it
// needs for that is some 58 KB of the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    linguarde::win32::Win32ScriptPlatform platform;
    linguarde::Form1 form(instance, platform);
    // A file dropped on the program's icon, sent to it, or a shortcut's argument: the first
    // argument, split by our own rules rather than by shell32, which start-up would load.
    const std::vector<std::wstring> arguments = linguarde::arguments::SplitArguments(
        linguarde::arguments::CommandTail(std::wstring_view(GetCommandLineW())));
    if (!arguments.empty() && !arguments.front().empty()) {
      // A shortcut stands for its target, as a dropped one does.
      linguarde::DroppedPath shortcut;
      form.ShowTarget(shortcut.Resolved(
          linguarde::win32::FullPath(arguments.front()).value_or(arguments.front())));
    }
    form.Show(showCommand);
    return linguarde::RunMessageLoop(form.Handle());
  } catch (const linguarde::UserError& error) {
    linguarde::ShowMessage(nullptr, error.Message(), MB_OK | MB_ICONERROR);
    return 1;
  }
}
