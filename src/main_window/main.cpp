#include <windows.h>
#include <commctrl.h>

#include "Form1.h"
#include "localisation_script/action_error.h"
#include "platform_win32/win32_script_platform.h"
#include "windows_error.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  try {
    linguarde::win32::Win32ScriptPlatform platform;
    linguarde::Form1 form(instance, platform);
    form.Show(showCommand);
    return linguarde::RunMessageLoop(form.Handle());
  } catch (const linguarde::win32::Win32Error& error) {
    MessageBoxW(nullptr, error.Message().c_str(), L"Linguarde", MB_OK | MB_ICONERROR);
    return 1;
  } catch (const linguarde::ActionError& error) {
    MessageBoxW(nullptr, error.Message().c_str(), L"Linguarde", MB_OK | MB_ICONERROR);
    return 1;
  }
}
