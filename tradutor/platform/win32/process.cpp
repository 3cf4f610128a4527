// Windows platform: the module file name and the end of the process.
#include "platform/process.h"

#include <windows.h>

#include <cstdlib>

namespace platform {

std::string moduleFileName(int bufferSize) {
  if (bufferSize <= 0) return {};
  std::string buffer(static_cast<std::size_t>(bufferSize), '\0');
  DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(bufferSize));
  if (n >= static_cast<DWORD>(bufferSize)) n = static_cast<DWORD>(bufferSize - 1);  // cut, as the buffer holds
  buffer.resize(n);
  return buffer;
}

void oemToAnsi(std::string& text) {
  if (!text.empty()) OemToCharBuffA(text.data(), text.data(), static_cast<DWORD>(text.size()));
}

void exitProcess(int code) { std::exit(code); }

}  // namespace platform
