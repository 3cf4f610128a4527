#pragma once
// Windows platform: the console window's handle, shared by the files that
// draw into it or talk to it.
#include <windows.h>

namespace platform::win32 {

HWND consoleWindow();

}  // namespace platform::win32
