#include "win32_test_support.h"

#include <cstdio>
#include <vector>

#include "platform/win32/win32_window_handle.h"
#include "screen/kzcrt.h"

namespace win32_test {

void writeIni(const std::string& content) {
  char dir[MAX_PATH];
  GetWindowsDirectoryA(dir, sizeof dir);
  const std::string path = std::string(dir) + "\\ORALIS.INI";
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
  // Wine caches profile files; flush its cache so the new text is read.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, "ORALIS.INI");
}

HWND openConsole() {
  static bool opened = false;
  if (!opened) {
    tradutor::initConsoleUnit();
    tradutor::openConsoleWindow();
    opened = true;
  }
  HWND w = platform::win32::consoleWindow();
  SetForegroundWindow(w);
  SetFocus(w);
  tradutor::pumpMessages();
  return w;
}

namespace {

INPUT keyInput(WORD virtualKey, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = virtualKey;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  switch (virtualKey) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_INSERT: case VK_DELETE:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
      in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default:
      break;
  }
  return in;
}

}  // namespace

void sendKey(WORD virtualKey, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> inputs;
  for (WORD m : modifiers) inputs.push_back(keyInput(m, false));
  inputs.push_back(keyInput(virtualKey, false));
  inputs.push_back(keyInput(virtualKey, true));
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) inputs.push_back(keyInput(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void sendUnicodeChar(wchar_t ch) {
  INPUT in[2]{};
  for (int i = 0; i < 2; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wScan = ch;
    in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
  }
  SendInput(2, in, sizeof(INPUT));
}

void sendRightButton(bool down, int clientX, int clientY) {
  POINT p{clientX, clientY};
  ClientToScreen(platform::win32::consoleWindow(), &p);
  SetCursorPos(p.x, p.y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  SendInput(1, &in, sizeof(INPUT));
}

std::string readKeys(int count, int timeoutMs) {
  std::string keys;
  const DWORD start = GetTickCount();
  while (static_cast<int>(keys.size()) < count && GetTickCount() - start < static_cast<DWORD>(timeoutMs)) {
    if (tradutor::keyPressed()) {
      keys += static_cast<char>(tradutor::readKey());
    } else {
      Sleep(5);
    }
  }
  // Let stray messages land, so the next test starts from an empty queue.
  Sleep(50);
  while (tradutor::keyPressed() && static_cast<int>(keys.size()) < count + 16) keys += static_cast<char>(tradutor::readKey());
  return keys;
}

bool pumpUntil(const std::function<bool()>& condition) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 2000) {
    tradutor::pumpMessages();
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

DWORD runChild(const char* scenario) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, sizeof self);
  std::string command = std::string("\"") + self + "\" --child " + scenario;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 9999;
  DWORD code = 9998;
  if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

COLORREF clientPixel(int x, int y) {
  HWND w = platform::win32::consoleWindow();
  HDC dc = GetDC(w);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(w, dc);
  return c;
}

bool anyPixel(RECT area, COLORREF colour) {
  HWND w = platform::win32::consoleWindow();
  HDC dc = GetDC(w);
  bool found = false;
  for (int y = area.top; y < area.bottom && !found; ++y)
    for (int x = area.left; x < area.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
  ReleaseDC(w, dc);
  return found;
}

TEXTMETRICA fontMetrics(int height, int width, const char* face) {
  HFONT font = CreateFontA(height, width, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return tm;
}

int runScenario(const std::string& scenario) {
  if (scenario == "close") {
    openConsole();
    PostMessageA(platform::win32::consoleWindow(), WM_CLOSE, 0, 0);
    tradutor::readKey();
    return 2;  // not reached: closing ends the program with 0
  }
  if (scenario == "quit") {
    openConsole();
    PostQuitMessage(0);
    tradutor::readKey();
    return 2;
  }
  if (scenario == "ctrl-break") {
    openConsole();
    sendKey(VK_CANCEL, {VK_CONTROL});
    tradutor::readKey();
    return 2;
  }
  if (scenario == "alt-f4") {
    openConsole();
    sendKey(VK_F4, {VK_MENU});
    tradutor::readKey();
    return 2;
  }
  return 3;
}

}  // namespace win32_test
