// The console window: creation, the window procedure, painting, the caret
// and the right-button magnifier.
#include <algorithm>

#include "platform/draw.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "screen/kzcrt_state.h"

namespace tradutor {
namespace crt {
namespace {

constexpr const char* kClassName = "KzWinCrt";

void onCreate() {
  CrtState& s = state();
  s.created = true;
  s.chars.assign(kScreenColumns * kScreenRows, ' ');
  s.attrs.assign(kScreenColumns * kScreenRows, s.attribute);
  s.area = {0, 0, kScreenColumns - 1, kScreenRows - 1};
}

void onDestroy() {
  CrtState& s = state();
  s.chars.clear();
  s.attrs.clear();
  s.cursorX = s.cursorY = 0;
  platform::postQuit(0);
  s.created = false;
}

void readCellMetrics() {
  CrtState& s = state();
  platform::Surface surface = platform::windowSurface(s.font);
  const platform::TextMetrics tm = platform::surfaceTextMetrics(surface);
  platform::releaseSurface(surface);
  // A font with no width or height would make every division by the cell
  // size fail; one pixel keeps the arithmetic defined.
  s.cellWidth = std::max(tm.aveCharWidth, 1);
  s.cellHeight = std::max(tm.height + tm.externalLeading, 1);
  s.caretOffset = tm.ascent;
}

void onGetMinMaxInfo(platform::MinMaxInfo* info) {
  readCellMetrics();
  if (info == nullptr) return;
  const CrtState& s = state();
  const platform::SystemMetrics m = platform::systemMetrics();
  const int columnsWidth = std::min(kScreenColumns * s.cellWidth, m.cxScreen);
  const int rowsHeight = std::min(m.cyCaption + kScreenRows * s.cellHeight, m.cyScreen);
  info->maxSize = {columnsWidth + 2 * m.cxFrame, rowsHeight + 2 * m.cyFrame};
  info->maxTrackSize = info->maxSize;
  info->minTrackSize = {2 * m.cxFrame + 16 * s.cellWidth, 2 * m.cyFrame + 4 * s.cellHeight + m.cyCaption};
}

void onSetFocus() {
  CrtState& s = state();
  s.focused = true;
  if (s.reading) showCaretAtCursor();
}

void onKillFocus() {
  CrtState& s = state();
  if (s.reading) platform::destroyCaret();
  s.focused = false;
}

void drawMagnifiedView(platform::Point mouse) {
  const CrtState& s = state();
  const int f = std::max(s.magnifierFactor, 1);
  const platform::Point origin = {std::max(mouse.x - mouse.x / f, 0), std::max(mouse.y - mouse.y / f, 0)};
  platform::drawMagnified(origin, {s.windowWidth / f, s.windowHeight / f}, {s.windowWidth, s.windowHeight});
}

void onRightButtonDown(platform::Point mouse) {
  CrtState& s = state();
  if (s.magnifierOn) return;
  s.magnifierOn = true;
  platform::captureClient(s.windowWidth, s.windowHeight);
  drawMagnifiedView(mouse);
}

void onMouseMove(platform::Point mouse) {
  if (state().magnifierOn) drawMagnifiedView(mouse);
}

void onRightButtonUp() {
  CrtState& s = state();
  if (!s.magnifierOn) return;
  s.magnifierOn = false;
  platform::releaseCapture();
  platform::invalidateClient(true);
}

bool onWaveDone(const platform::WindowEvent& event) {
  const WaveDoneHandler handler = state().waveDone;
  if (handler == nullptr) return false;
  handler(event.waveDevice, event.waveHeader);
  return true;
}

}  // namespace

void paintWindow() {
  CrtState& s = state();
  s.painting = true;
  platform::Rect update{};
  s.paintSurface = platform::beginPaint(s.font, update);
  const int firstColumn = std::max(0, update.left / s.cellWidth);
  const int endColumn = std::min(kScreenColumns, (update.right + s.cellWidth - 1) / s.cellWidth);
  const int firstRow = std::max(0, update.top / s.cellHeight);
  const int endRow = std::min(kScreenRows, (update.bottom + s.cellHeight - 1) / s.cellHeight);
  for (int row = firstRow; row < endRow; ++row) drawSpan(row, firstColumn, endColumn);
  platform::endPaint(s.paintSurface);
  s.paintSurface = nullptr;
  s.painting = false;
}

void showCaretAtCursor() {
  const CrtState& s = state();
  platform::createCaret(s.cellWidth, 2);
  platform::setCaretPosition((s.area.left + s.cursorX) * s.cellWidth,
                             (s.area.top + s.cursorY) * s.cellHeight + s.caretOffset);
  platform::showCaret();
}

bool handleWindowEvent(const platform::WindowEvent& event) {
  using platform::EventKind;
  switch (event.kind) {
    case EventKind::Create: onCreate(); return true;
    case EventKind::Destroy: onDestroy(); return true;
    case EventKind::SetFocus: onSetFocus(); return true;
    case EventKind::KillFocus: onKillFocus(); return true;
    case EventKind::Paint: paintWindow(); return true;
    case EventKind::Close: closeConsoleWindow();  // ends the program
    case EventKind::GetMinMaxInfo: onGetMinMaxInfo(event.minMax); return true;
    case EventKind::KeyDown: return handleKeyDown(event.key);
    case EventKind::SysKeyDown: return handleSystemKeyDown(event.key);
    case EventKind::KeyUp: return handleKeyUp(event.key);
    case EventKind::Char: return handleChar(event.key);
    case EventKind::MouseMove: onMouseMove(event.mouse); return true;
    case EventKind::RightButtonDown: onRightButtonDown(event.mouse); return true;
    case EventKind::RightButtonUp: onRightButtonUp(); return true;
    case EventKind::WaveDone: return onWaveDone(event);
  }
  return false;
}

void registerWindowClass() { platform::registerConsoleClass(kClassName, &handleWindowEvent); }

}  // namespace crt

void openConsoleWindow() {
  crt::CrtState& s = crt::state();
  if (s.created) return;
  crt::readDisplaySettings();
  const platform::TextMetrics tm = platform::screenTextMetrics(s.font);
  const platform::SystemMetrics m = platform::systemMetrics();
  s.cellWidth = std::max(tm.aveCharWidth, 1);
  s.cellHeight = std::max(tm.height + tm.externalLeading, 1);
  s.caretOffset = tm.ascent;
  s.windowWidth = 2 * m.cxFrame + kScreenColumns * s.cellWidth;
  s.windowHeight = 2 * m.cyFrame + kScreenRows * s.cellHeight + m.cyCaption;
  s.textOffsetX = tm.overhang;
  if (!platform::createConsoleWindow(crt::kClassName, s.title, s.windowWidth, s.windowHeight)) return;
  platform::showConsoleWindow(s.maximize);
  setBrailleMode(s.configuredBrailleMode);
}

void setWaveDoneHandler(WaveDoneHandler handler) { crt::state().waveDone = handler; }

}  // namespace tradutor
