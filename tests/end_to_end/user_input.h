#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace linguarde::test {

// Input as the user gives it: hardware events through SendInput, not window messages.
void ClickCentre(HWND window);
void ClickAt(POINT screen);
void TypeText(const std::wstring& text);
void PressKey(WORD key);
// The close box of a top-level window, found by asking the window itself where it is.
bool ClickCloseBox(HWND window);

// What the screen shows inside a rectangle, saved as a 24-bit BMP file.
bool SaveScreenshot(const RECT& area, const std::filesystem::path& file);
RECT ScreenRect();

}  // namespace linguarde::test
