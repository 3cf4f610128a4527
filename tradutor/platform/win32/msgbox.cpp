// Windows platform: MessageBoxA, owned by the console window.
#include "platform/msgbox.h"

#include <windows.h>

#include "platform/win32/win32_window_handle.h"

namespace platform {

void showMessage(const std::string& text, const std::string& caption) {
  MessageBoxA(win32::consoleWindow(), text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace platform
