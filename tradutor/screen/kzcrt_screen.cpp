// The text screen: buffers, cursor, writing with control bytes, scrolling
// and the drawing of changed cells.
#include <algorithm>

#include "platform/draw.h"
#include "platform/tone.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "screen/kzcrt_state.h"

namespace tradutor {
namespace crt {
namespace {

int areaWidth() { return state().area.right - state().area.left + 1; }
int areaHeight() { return state().area.bottom - state().area.top + 1; }

std::size_t cellIndex(int x, int y) { return static_cast<std::size_t>(y) * kScreenColumns + static_cast<std::size_t>(x); }

void updateAfterScroll() {
  CrtState& s = state();
  const platform::Rect window = platform::windowRect();
  const platform::SystemMetrics metrics = platform::systemMetrics();
  if (s.pixelScroll && platform::isActiveWindow() && window.bottom < metrics.cyScreen - 32) {
    const int width = areaWidth() * s.cellWidth;
    const int height = areaHeight() * s.cellHeight;
    platform::Surface surface = platform::windowSurface(s.font);
    platform::copyPixels(surface, {0, s.cellHeight, width, height}, {0, 0});
    platform::fillSolid(surface, {0, height - s.cellHeight, width, height}, colourOf(s.attribute >> 4));
    platform::releaseSurface(surface);
  } else {
    platform::invalidateClient(false);
  }
  platform::updateWindow();
}

void scrollBuffers() {
  CrtState& s = state();
  for (int y = s.area.top; y < s.area.bottom; ++y) {
    for (int x = s.area.left; x <= s.area.right; ++x) {
      s.chars[cellIndex(x, y)] = s.chars[cellIndex(x, y + 1)];
      s.attrs[cellIndex(x, y)] = s.attrs[cellIndex(x, y + 1)];
    }
  }
  for (int x = s.area.left; x <= s.area.right; ++x) {
    s.chars[cellIndex(x, s.area.bottom)] = ' ';
    s.attrs[cellIndex(x, s.area.bottom)] = s.attribute;
  }
}

void newLine() {
  CrtState& s = state();
  drawSpan(s.cursorY, s.spanFrom, s.spanTo);
  s.spanFrom = s.spanTo = 0;
  ++s.cursorY;
  if (s.cursorY == areaHeight()) {
    --s.cursorY;
    scrollBuffers();
    updateAfterScroll();
  }
}

}  // namespace

void drawSpan(int row, int first, int end) {
  CrtState& s = state();
  first = std::max(first, 0);
  end = std::min(end, areaWidth());
  if (first >= end || row < 0 || row >= areaHeight() || s.chars.empty()) return;
  const bool ownSurface = !s.painting || s.paintSurface == nullptr;
  platform::Surface surface = ownSurface ? platform::windowSurface(s.font) : s.paintSurface;
  const int y = s.area.top + row;
  int runStart = first;
  while (runStart < end) {
    const std::uint8_t attribute = s.attrs[cellIndex(s.area.left + runStart, y)];
    int runEnd = runStart + 1;
    while (runEnd < end && s.attrs[cellIndex(s.area.left + runEnd, y)] == attribute) ++runEnd;
    platform::drawText(surface, runStart * s.cellWidth + s.textOffsetX, row * s.cellHeight,
                       &s.chars[cellIndex(s.area.left + runStart, y)], runEnd - runStart, colourOf(attribute & 15),
                       colourOf(attribute >> 4));
    runStart = runEnd;
  }
  if (ownSurface) platform::releaseSurface(surface);
}

}  // namespace crt

using crt::state;

void writeChars(const std::uint8_t* bytes, std::uint16_t count) {
  openConsoleWindow();
  crt::CrtState& s = state();
  if (!s.created || s.chars.empty()) return;
  s.spanFrom = s.spanTo = s.cursorX;
  const int lastColumn = s.area.right - s.area.left;
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::uint8_t b = bytes[i];
    switch (b) {
      case 7:
        platform::messageBeep();
        break;
      case 8:
        if (s.cursorX > 0) {
          --s.cursorX;
          s.chars[crt::cellIndex(s.area.left + s.cursorX, s.area.top + s.cursorY)] = ' ';
          s.attrs[crt::cellIndex(s.area.left + s.cursorX, s.area.top + s.cursorY)] = s.attribute;
          s.spanFrom = std::min(s.spanFrom, s.cursorX);
        }
        break;
      case 10:
        crt::newLine();
        s.cursorX = 0;
        break;
      case 13:
        s.cursorX = 0;
        break;
      default:
        if (b < 32) break;  // tab and the other control bytes leave no trace
        if (s.cursorX == lastColumn + 1) {
          s.cursorX = 0;
          crt::newLine();
        }
        s.chars[crt::cellIndex(s.area.left + s.cursorX, s.area.top + s.cursorY)] = b;
        s.attrs[crt::cellIndex(s.area.left + s.cursorX, s.area.top + s.cursorY)] = s.attribute;
        // After a carriage return the span must also reach back to the
        // cells now being overwritten, or they would stay stale on the window.
        s.spanFrom = std::min(s.spanFrom, s.cursorX);
        ++s.cursorX;
        s.spanTo = std::max(s.spanTo, s.cursorX);
        break;
    }
  }
  crt::drawSpan(s.cursorY, s.spanFrom, s.spanTo);
}

void writeChar(std::uint8_t byte) { writeChars(&byte, 1); }

void moveCursor(int column, int row) {
  crt::CrtState& s = state();
  s.cursorX = std::clamp(column - 1, 0, s.area.right - s.area.left);
  s.cursorY = std::clamp(row - 1, 0, s.area.bottom - s.area.top);
}

int cursorColumn() { return state().cursorX + 1; }
int cursorRow() { return state().cursorY + 1; }

void clearToLineEnd() {
  openConsoleWindow();
  crt::CrtState& s = state();
  if (s.chars.empty()) return;
  const int y = s.area.top + s.cursorY;
  for (int x = s.area.left + s.cursorX; x <= s.area.right; ++x) {
    s.chars[crt::cellIndex(x, y)] = ' ';
    s.attrs[crt::cellIndex(x, y)] = s.attribute;
  }
  crt::drawSpan(s.cursorY, s.cursorX, kScreenColumns);
}

void setBackgroundColor(int colour) {
  openConsoleWindow();
  crt::CrtState& s = state();
  if (s.fixedColours) return;
  s.attribute = static_cast<std::uint8_t>((s.attribute & 0x0F) | ((colour * 16) & 0xFF));
}

std::uint8_t screenCharAt(int column, int row) {
  const crt::CrtState& s = state();
  const int x = s.area.left + column - 1;
  const int y = s.area.top + row - 1;
  if (s.chars.empty() || x < 0 || x >= kScreenColumns || y < 0 || y >= kScreenRows) return 0;
  return s.chars[crt::cellIndex(x, y)];
}

std::uint8_t screenAttrAt(int column, int row) {
  const crt::CrtState& s = state();
  const int x = s.area.left + column - 1;
  const int y = s.area.top + row - 1;
  if (s.attrs.empty() || x < 0 || x >= kScreenColumns || y < 0 || y >= kScreenRows) return 0;
  return s.attrs[crt::cellIndex(x, y)];
}

TextArea textArea() { return state().area; }
std::uint8_t currentAttribute() { return state().attribute; }
void setCurrentAttribute(std::uint8_t attribute) { state().attribute = attribute; }

}  // namespace tradutor
