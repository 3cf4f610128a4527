#pragma once
// The console window: one top-level window per process, its messages and its
// message pumps.
//
// Contract: registerConsoleClass is called once before createConsoleWindow.
// Every message the window receives, from the start of createConsoleWindow
// on, is first offered to the handler; a handler that returns false leaves
// the message to the system's default handling. pumpOne dispatches at most
// one pending message; a WM_QUIT is reported, not dispatched. The
// implementation keeps the window handle; no handle crosses this interface.
#include <cstdint>

#include "platform/geometry.h"

namespace platform {

enum class EventKind {
  Create,
  Destroy,
  SetFocus,
  KillFocus,
  Paint,
  Close,
  GetMinMaxInfo,
  KeyDown,
  SysKeyDown,
  KeyUp,
  Char,
  MouseMove,
  RightButtonDown,
  RightButtonUp,
  WaveDone,
};

struct MinMaxInfo {
  Point maxSize;
  Point maxTrackSize;
  Point minTrackSize;
};

struct WindowEvent {
  EventKind kind;
  unsigned key = 0;           // virtual-key code (key events) or character code (Char)
  Point mouse = {0, 0};       // client coordinates (mouse events)
  std::uintptr_t waveDevice = 0;  // WaveDone: the device and the finished header
  std::uintptr_t waveHeader = 0;
  MinMaxInfo* minMax = nullptr;   // GetMinMaxInfo: filled by the handler
};

using WindowHandler = bool (*)(const WindowEvent& event);

void registerConsoleClass(const char* className, WindowHandler handler);
// CW_USEDEFAULT position, WS_OVERLAPPEDWINDOW, the given outer size.
bool createConsoleWindow(const char* className, const char* title, int width, int height);
void showConsoleWindow(bool maximized);  // shows, then updates the window
void destroyConsoleWindow();
// From now on the window's messages all get the default handling.
void detachWindowHandler();
bool consoleWindowExists();

void setWindowTitle(const char* title);
void enableCloseCommand();  // SC_CLOSE in the system menu
bool isActiveWindow();
Rect windowRect();  // outer rectangle in screen coordinates
void invalidateClient(bool erase);
void updateWindow();  // paints now when part of the window is invalid

// Posts a message that only wakes waitMessage (no handler sees it).
void postWakeMessage(unsigned id);
// Posts WM_QUIT to the thread.
void postQuit(int code);

enum class PumpResult { Empty, Dispatched, Quit };
// consoleWindowOnly: take only the console window's messages.
PumpResult pumpOne(bool consoleWindowOnly);
void waitMessage();

// The key's state as of the message being handled (GetKeyState < 0).
bool isKeyDown(unsigned virtualKey);

void createCaret(int width, int height);
void setCaretPosition(int x, int y);
void showCaret();
void destroyCaret();

}  // namespace platform
