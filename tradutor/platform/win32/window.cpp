// Windows platform: the console window, its window procedure and the message pumps.
#include "platform/window.h"

#include <windows.h>
#include <windowsx.h>

#include "platform/win32/win32_window_handle.h"

namespace platform {
namespace {

struct WindowState {
  WindowHandler handler = nullptr;
  HWND window = nullptr;
};

WindowState& state() {
  static WindowState s;
  return s;
}

bool eventOf(UINT message, WPARAM wParam, LPARAM lParam, WindowEvent& e) {
  switch (message) {
    case WM_CREATE: e.kind = EventKind::Create; return true;
    case WM_DESTROY: e.kind = EventKind::Destroy; return true;
    case WM_SETFOCUS: e.kind = EventKind::SetFocus; return true;
    case WM_KILLFOCUS: e.kind = EventKind::KillFocus; return true;
    case WM_PAINT: e.kind = EventKind::Paint; return true;
    case WM_CLOSE: e.kind = EventKind::Close; return true;
    case WM_GETMINMAXINFO: e.kind = EventKind::GetMinMaxInfo; return true;
    case WM_KEYDOWN: e.kind = EventKind::KeyDown; break;
    case WM_SYSKEYDOWN: e.kind = EventKind::SysKeyDown; break;
    case WM_KEYUP: e.kind = EventKind::KeyUp; break;
    case WM_CHAR: e.kind = EventKind::Char; break;
    case WM_MOUSEMOVE: e.kind = EventKind::MouseMove; break;
    case WM_RBUTTONDOWN: e.kind = EventKind::RightButtonDown; break;
    case WM_RBUTTONUP: e.kind = EventKind::RightButtonUp; break;
    case MM_WOM_DONE:
      e.kind = EventKind::WaveDone;
      e.waveDevice = static_cast<std::uintptr_t>(wParam);
      e.waveHeader = static_cast<std::uintptr_t>(lParam);
      return true;
    default: return false;
  }
  e.key = static_cast<unsigned>(wParam);
  e.mouse = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return true;
}

LRESULT CALLBACK consoleWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowState& s = state();
  s.window = window;  // valid from the first message of CreateWindowExA on
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) {
    // A lone Alt or F10 would put the window into menu mode, where the next
    // keys vanish without a sound. Alt with a character (lParam) beeps, as
    // the system does when no menu answers it.
    if (lParam != 0) MessageBeep(MB_OK);
    return 0;
  }
  WindowEvent e{EventKind::Create};
  if (s.handler != nullptr && eventOf(message, wParam, lParam, e)) {
    if (message == WM_GETMINMAXINFO) {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      MinMaxInfo limits{{info->ptMaxSize.x, info->ptMaxSize.y},
                        {info->ptMaxTrackSize.x, info->ptMaxTrackSize.y},
                        {info->ptMinTrackSize.x, info->ptMinTrackSize.y}};
      e.minMax = &limits;
      if (s.handler(e)) {
        info->ptMaxSize = {limits.maxSize.x, limits.maxSize.y};
        info->ptMaxTrackSize = {limits.maxTrackSize.x, limits.maxTrackSize.y};
        info->ptMinTrackSize = {limits.minTrackSize.x, limits.minTrackSize.y};
        return 0;
      }
    } else if (s.handler(e)) {
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

namespace win32 {
HWND consoleWindow() { return state().window; }
}  // namespace win32

void registerConsoleClass(const char* className, WindowHandler handler) {
  state().handler = handler;
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = consoleWindowProcedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = className;
  RegisterClassA(&wc);
}

bool createConsoleWindow(const char* className, const char* title, int width, int height) {
  HWND w = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (w != nullptr) state().window = w;
  return w != nullptr;
}

void showConsoleWindow(bool maximized) {
  ShowWindow(state().window, maximized ? SW_MAXIMIZE : SW_SHOW);
  UpdateWindow(state().window);
}

void destroyConsoleWindow() {
  if (state().window != nullptr) DestroyWindow(state().window);
  state().window = nullptr;
}

void detachWindowHandler() {
  if (state().window != nullptr)
    SetWindowLongPtrA(state().window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcA));
}

bool consoleWindowExists() { return state().window != nullptr && IsWindow(state().window); }
void setWindowTitle(const char* title) { SetWindowTextA(state().window, title); }

void enableCloseCommand() {
  if (HMENU menu = GetSystemMenu(state().window, FALSE)) EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
}

bool isActiveWindow() { return state().window != nullptr && GetActiveWindow() == state().window; }

Rect windowRect() {
  RECT r{};
  GetWindowRect(state().window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

void invalidateClient(bool erase) { InvalidateRect(state().window, nullptr, erase ? TRUE : FALSE); }
void updateWindow() { UpdateWindow(state().window); }
void postWakeMessage(unsigned id) { PostMessageA(state().window, id, 0, 0); }
void postQuit(int code) { PostQuitMessage(code); }

PumpResult pumpOne(bool consoleWindowOnly) {
  HWND filter = nullptr;
  if (consoleWindowOnly) {
    filter = state().window;
    if (filter == nullptr) return PumpResult::Empty;
  }
  MSG msg;
  if (!PeekMessageA(&msg, filter, 0, 0, PM_REMOVE)) return PumpResult::Empty;
  if (msg.message == WM_QUIT) return PumpResult::Quit;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return PumpResult::Dispatched;
}

void waitMessage() { WaitMessage(); }
bool isKeyDown(unsigned virtualKey) { return GetKeyState(static_cast<int>(virtualKey)) < 0; }

void createCaret(int width, int height) { CreateCaret(state().window, nullptr, width, height); }
void setCaretPosition(int x, int y) { SetCaretPos(x, y); }
void showCaret() { ShowCaret(state().window); }
void destroyCaret() { DestroyCaret(); }

}  // namespace platform
