// Host platform: the console window as a message queue that tests fill, with
// Windows' order of delivery (posted messages first, then WM_QUIT, then paint).
#include "platform/window.h"

#include <deque>

#include "platform/host/host_internal.h"
#include "platform/virtual_keys.h"

namespace platform {
namespace {

// Consecutive waits with nothing to deliver before the host gives up.
constexpr int kMaxIdleWaits = 10000;

struct Message {
  EventKind kind;
  unsigned key = 0;
  Point mouse = {0, 0};
  host::Modifiers modifiers;
  bool wakeOnly = false;
  std::uintptr_t device = 0;
  std::uintptr_t header = 0;
};

struct WindowState {
  WindowHandler handler = nullptr;
  host::WindowInfo info;
  std::deque<Message> queue;
  bool quitPending = false;
  bool invalid = false;
  bool eraseOnPaint = false;
  bool focused = false;
  bool active = true;
  int top = 0;
  host::Modifiers modifiers;
  bool keys[256] = {};
  host::CaretInfo caret;
  std::function<void()> idleHook;
  int idleWaits = 0;
};

WindowState& state() {
  static WindowState s;
  return s;
}

void deliver(const WindowEvent& event);

void defaultHandling(const WindowEvent& event) {
  WindowState& s = state();
  switch (event.kind) {
    case EventKind::SysKeyDown:
      if (event.key == platform::vk::kF4 && s.modifiers.alt) deliver(WindowEvent{EventKind::Close});
      break;
    case EventKind::Close:
      destroyConsoleWindow();
      break;
    case EventKind::Paint:
      s.invalid = false;
      break;
    default:
      break;
  }
}

void deliver(const WindowEvent& event) {
  WindowState& s = state();
  if (s.info.exists && s.info.attached && s.handler != nullptr && s.handler(event)) return;
  defaultHandling(event);
}

void sendPaint() {
  WindowState& s = state();
  if (s.eraseOnPaint) host::internal::eraseDisplay();
  s.eraseOnPaint = false;
  ++host::drawLog().paints;
  deliver(WindowEvent{EventKind::Paint});
  s.invalid = false;
}

void dispatch(const Message& m) {
  WindowState& s = state();
  s.modifiers = m.modifiers;
  if (m.kind == EventKind::KeyDown || m.kind == EventKind::SysKeyDown) s.keys[m.key & 255] = true;
  if (m.kind == EventKind::KeyUp) s.keys[m.key & 255] = false;
  if (m.wakeOnly) return;
  if (m.kind == EventKind::SetFocus) s.focused = true;
  if (m.kind == EventKind::KillFocus) s.focused = false;
  WindowEvent e{m.kind};
  e.key = m.key;
  e.mouse = m.mouse;
  e.waveDevice = m.device;
  e.waveHeader = m.header;
  deliver(e);
}

void post(const Message& m) { state().queue.push_back(m); }

unsigned translatedChar(unsigned virtualKey, host::Modifiers mods) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    if (mods.ctrl && mods.alt) return 0;
    if (mods.ctrl) return virtualKey - 'A' + 1;
    return mods.shift ? virtualKey : virtualKey + 32;
  }
  if (virtualKey >= '0' && virtualKey <= '9') return mods.ctrl || mods.shift ? 0 : virtualKey;
  switch (virtualKey) {
    case platform::vk::kSpace: return ' ';
    case platform::vk::kReturn: return mods.ctrl ? 10 : 13;
    case platform::vk::kBack: return mods.ctrl ? 127 : 8;
    case platform::vk::kEscape: return 27;
    case platform::vk::kTab: return mods.ctrl ? 0 : 9;
    default: return 0;
  }
}

}  // namespace

void registerConsoleClass(const char* className, WindowHandler handler) {
  WindowState& s = state();
  s.handler = handler;
  s.info.className = className;
  s.info.registered = true;
}

bool createConsoleWindow(const char* className, const char* title, int width, int height) {
  WindowState& s = state();
  if (!s.info.registered || s.info.className != className) return false;
  s.info.exists = true;
  s.info.attached = true;
  s.info.destroyed = false;
  s.info.title = title;
  s.info.width = width;
  s.info.height = height;
  WindowEvent minMax{EventKind::GetMinMaxInfo};
  minMax.minMax = &s.info.minMax;
  deliver(minMax);
  deliver(WindowEvent{EventKind::Create});
  return true;
}

void showConsoleWindow(bool maximized) {
  WindowState& s = state();
  if (!s.info.exists) return;
  s.info.visible = true;
  s.info.maximized = maximized;
  if (s.active && !s.focused) {
    s.focused = true;
    deliver(WindowEvent{EventKind::SetFocus});
  }
  s.invalid = true;
  s.eraseOnPaint = true;
  updateWindow();
}

void destroyConsoleWindow() {
  WindowState& s = state();
  if (!s.info.exists) return;
  if (s.focused) {
    s.focused = false;
    deliver(WindowEvent{EventKind::KillFocus});
  }
  deliver(WindowEvent{EventKind::Destroy});
  s.info.exists = false;
  s.info.visible = false;
  s.info.destroyed = true;
}

void detachWindowHandler() { state().info.attached = false; }
bool consoleWindowExists() { return state().info.exists; }
void setWindowTitle(const char* title) { state().info.title = title; }
void enableCloseCommand() { state().info.closeEnabled = true; }
bool isActiveWindow() { return state().info.exists && state().active; }

Rect windowRect() {
  const WindowState& s = state();
  return {0, s.top, s.info.width, s.top + s.info.height};
}

void invalidateClient(bool erase) {
  WindowState& s = state();
  if (!s.info.exists) return;
  s.invalid = true;
  s.eraseOnPaint = s.eraseOnPaint || erase;
  ++host::drawLog().invalidations;
  if (erase) ++host::drawLog().erasingInvalidations;
}

void updateWindow() {
  if (state().invalid && state().info.exists) sendPaint();
}

void postWakeMessage(unsigned) {
  Message m{EventKind::Paint};
  m.wakeOnly = true;
  post(m);
}

void postQuit(int) { state().quitPending = true; }

namespace host::internal {
void postWaveDone(std::uintptr_t device, std::uintptr_t header) {
  Message m{EventKind::WaveDone};
  m.device = device;
  m.header = header;
  post(m);
}
}  // namespace host::internal

PumpResult pumpOne(bool consoleWindowOnly) {
  WindowState& s = state();
  if (!s.queue.empty()) {
    const Message m = s.queue.front();
    s.queue.pop_front();
    s.idleWaits = 0;
    dispatch(m);
    return PumpResult::Dispatched;
  }
  if (s.quitPending && !consoleWindowOnly) {
    s.quitPending = false;
    return PumpResult::Quit;
  }
  if (s.invalid && s.info.visible) {
    sendPaint();
    return PumpResult::Dispatched;
  }
  // A program that polls (wavePlaying in a loop) spends time too: let one
  // millisecond pass so that what is scheduled, such as finished wave
  // blocks, eventually arrives.
  if (host::internal::eventsPending()) host::internal::advanceClock(1);
  return PumpResult::Empty;
}

void waitMessage() {
  WindowState& s = state();
  auto somethingPending = [&s] { return !s.queue.empty() || s.quitPending || (s.invalid && s.info.visible); };
  if (somethingPending()) return;
  if (s.idleHook) {
    s.idleHook();
    if (somethingPending()) return;
  }
  if (host::internal::advanceToNextEvent()) {
    s.idleWaits = 0;
    return;
  }
  host::internal::advanceClock(10);
  if (++s.idleWaits > kMaxIdleWaits) {
    s.idleWaits = 0;
    throw host::Stalled();
  }
}

bool isKeyDown(unsigned virtualKey) {
  const WindowState& s = state();
  switch (virtualKey) {
    case platform::vk::kControl: return s.modifiers.ctrl;
    case platform::vk::kMenu: return s.modifiers.alt;
    case platform::vk::kShift: return s.modifiers.shift;
    default: return s.keys[virtualKey & 255];
  }
}

void createCaret(int width, int height) {
  host::CaretInfo& c = state().caret;
  c.exists = true;
  c.visible = false;
  c.width = width;
  c.height = height;
  ++c.created;
}

void setCaretPosition(int x, int y) {
  state().caret.x = x;
  state().caret.y = y;
}

void showCaret() {
  if (state().caret.exists) state().caret.visible = true;
}

void destroyCaret() {
  host::CaretInfo& c = state().caret;
  if (c.exists) ++c.destroyed;
  c.exists = false;
  c.visible = false;
}

namespace host {

void postKeyDown(unsigned virtualKey, Modifiers modifiers) { post({EventKind::KeyDown, virtualKey, {0, 0}, modifiers}); }
void postSysKeyDown(unsigned virtualKey, Modifiers modifiers) {
  post({EventKind::SysKeyDown, virtualKey, {0, 0}, modifiers});
}
void postKeyUp(unsigned virtualKey, Modifiers modifiers) { post({EventKind::KeyUp, virtualKey, {0, 0}, modifiers}); }
void postChar(unsigned character, Modifiers modifiers) { post({EventKind::Char, character, {0, 0}, modifiers}); }

void pressKey(unsigned virtualKey, Modifiers modifiers) {
  // Alt without Ctrl, and F10, are system keys; their release is not a WM_KEYUP.
  if ((modifiers.alt && !modifiers.ctrl) || virtualKey == platform::vk::kF10) {
    postSysKeyDown(virtualKey, modifiers);
    return;
  }
  postKeyDown(virtualKey, modifiers);
  if (const unsigned ch = translatedChar(virtualKey, modifiers); ch != 0) postChar(ch, modifiers);
  postKeyUp(virtualKey, modifiers);
}

void typeText(std::string_view text) {
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z') pressKey(b - 32u);
    else if (b >= 'A' && b <= 'Z') pressKey(b, {.shift = true});
    else if ((b >= '0' && b <= '9') || b == ' ') pressKey(b);
    else if (b == '\r' || b == '\n') pressKey(platform::vk::kReturn);
    else if (b == 8) pressKey(platform::vk::kBack);
    else if (b == 27) pressKey(platform::vk::kEscape);
    else postChar(b);
  }
}

void postMouse(EventKind kind, Point position) { post({kind, 0, position, {}}); }
void postClose() { post({EventKind::Close}); }
void postFocusChange(bool gained) { post({gained ? EventKind::SetFocus : EventKind::KillFocus}); }
void postQuitMessage() { state().quitPending = true; }
void setIdleHook(std::function<void()> hook) { state().idleHook = std::move(hook); }
int pendingMessages() { return static_cast<int>(state().queue.size()); }

const WindowInfo& window() { return state().info; }
void setActive(bool active) { state().active = active; }
void setWindowTop(int top) { state().top = top; }
const CaretInfo& caret() { return state().caret; }

namespace internal {

void resetWindow() { state() = WindowState{}; }

Rect clientRect() {
  const WindowState& s = state();
  const SystemMetrics m = systemMetrics();
  return {0, 0, s.info.width - 2 * m.cxFrame, s.info.height - 2 * m.cyFrame - m.cyCaption};
}

void validate() { state().invalid = false; }

}  // namespace internal
}  // namespace host
}  // namespace platform
