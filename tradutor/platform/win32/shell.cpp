// Windows platform: ShellExecuteA.
#include "platform/shell.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/win32_window_handle.h"

namespace platform {

void shellOpen(const std::string& program, const std::string& parameters, const std::string& directory) {
  ShellExecuteA(win32::consoleWindow(), "open", program.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                directory.c_str(), SW_SHOWNORMAL);
}

}  // namespace platform
