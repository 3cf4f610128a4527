// Windows platform: the clipboard's CF_TEXT.
#include "platform/clipboard.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/win32_window_handle.h"

namespace platform {

bool setClipboardText(const std::string& text) {
  if (!OpenClipboard(win32::consoleWindow())) return false;
  EmptyClipboard();
  const std::size_t length = std::strlen(text.c_str());
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1)) {
    if (void* p = GlobalLock(memory)) {
      std::memcpy(p, text.c_str(), length + 1);
      GlobalUnlock(memory);
      if (SetClipboardData(CF_TEXT, memory) == nullptr) GlobalFree(memory);
    } else {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
  return true;
}

ClipboardRead getClipboardText(std::string& text) {
  if (!OpenClipboard(win32::consoleWindow())) return ClipboardRead::OpenFailed;
  ClipboardRead result = ClipboardRead::NoText;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      // The memory block may carry no terminator; never read past its size.
      const std::size_t size = GlobalSize(data);
      std::size_t length = 0;
      while (length < size && p[length] != '\0') ++length;
      text.assign(p, length);
      GlobalUnlock(data);
      result = ClipboardRead::Text;
    }
  }
  CloseClipboard();
  return result;
}

}  // namespace platform
