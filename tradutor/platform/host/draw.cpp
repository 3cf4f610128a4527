// Host platform: drawing recorded as text runs and as a grid of the cells
// the window would show.
#include "platform/draw.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/host/host_internal.h"

struct platform::SurfaceImpl {
  FontHandle font;
};

namespace platform {
namespace {

constexpr int kGridColumns = 80;
constexpr int kGridRows = 25;
constexpr Rgb kBlack = {0, 0, 0};

struct DrawState {
  std::vector<host::FontInfo> fonts;
  host::DrawLog log;
  host::Cell grid[kGridRows][kGridColumns];
  SystemMetrics system = {4, 4, 20, 1024, 768};
  Rect work = {0, 0, 1024, 734};
  host::MagnifierLog magnifier;
  DrawState() { clearGrid(); }
  void clearGrid() {
    for (auto& row : grid)
      for (auto& cell : row) cell = {' ', kBlack, kBlack};
  }
};

DrawState& state() {
  static DrawState s;
  return s;
}

// The host's fonts are as wide and as high as they were asked to be; the
// stock font is 8 x 16.
TextMetrics metricsOf(FontHandle font) {
  const DrawState& s = state();
  if (font == 0 || font > s.fonts.size() || s.fonts[font - 1].deleted) return {8, 16, 0, 13, 0};
  const host::FontInfo& f = s.fonts[font - 1];
  const int height = f.height != 0 ? std::abs(f.height) : 16;
  const int width = f.width != 0 ? std::abs(f.width) : std::max(height / 2, 1);
  return {width, height, 0, height * 4 / 5, 0};
}

host::Cell* gridCell(int column, int row) {
  if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridRows) return nullptr;
  return &state().grid[row][column];
}

int cellWidthOf(Surface s) { return std::max(metricsOf(s ? s->font : 0).aveCharWidth, 1); }
int cellHeightOf(Surface s) {
  const TextMetrics m = metricsOf(s ? s->font : 0);
  return std::max(m.height + m.externalLeading, 1);
}

Surface newSurface(FontHandle font) {
  ++state().log.openSurfaces;
  return new SurfaceImpl{font};
}

}  // namespace

FontHandle createFont(int height, int width, int weight, const char* face) {
  state().fonts.push_back({height, width, weight, face == nullptr ? "" : face, false});
  return state().fonts.size();
}

void deleteFont(FontHandle font) {
  if (font != 0 && font <= state().fonts.size()) state().fonts[font - 1].deleted = true;
}

SystemMetrics systemMetrics() { return state().system; }
Rect workArea() { return state().work; }
TextMetrics screenTextMetrics(FontHandle font) { return metricsOf(font); }

Surface windowSurface(FontHandle font) { return newSurface(font); }

void releaseSurface(Surface surface) {
  if (surface == nullptr) return;
  --state().log.openSurfaces;
  delete surface;
}

Surface beginPaint(FontHandle font, Rect& update) {
  update = host::internal::clientRect();
  host::internal::validate();
  return newSurface(font);
}

void endPaint(Surface surface) { releaseSurface(surface); }

TextMetrics surfaceTextMetrics(Surface surface) { return metricsOf(surface ? surface->font : 0); }

void drawText(Surface surface, int x, int y, const std::uint8_t* text, int count, Rgb foreground, Rgb background) {
  DrawState& s = state();
  s.log.runs.push_back({x, y, std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(count)),
                        foreground, background});
  const int cw = cellWidthOf(surface);
  const int ch = cellHeightOf(surface);
  for (int i = 0; i < count; ++i) {
    if (host::Cell* cell = gridCell(x / cw + i, y / ch)) *cell = {text[i], foreground, background};
  }
}

void copyPixels(Surface surface, Rect source, Point destination) {
  DrawState& s = state();
  ++s.log.pixelCopies;
  const int cw = cellWidthOf(surface);
  const int ch = cellHeightOf(surface);
  const int columns = (source.right - source.left) / cw;
  const int rows = (source.bottom - source.top) / ch;
  std::vector<host::Cell> copy;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const host::Cell* from = gridCell(source.left / cw + c, source.top / ch + r);
      copy.push_back(from ? *from : host::Cell{' ', kBlack, kBlack});
    }
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      if (host::Cell* to = gridCell(destination.x / cw + c, destination.y / ch + r))
        *to = copy[static_cast<std::size_t>(r * columns + c)];
}

void fillSolid(Surface surface, Rect area, Rgb colour) {
  ++state().log.solidFills;
  const int cw = cellWidthOf(surface);
  const int ch = cellHeightOf(surface);
  for (int r = area.top / ch; r < (area.bottom + ch - 1) / ch; ++r)
    for (int c = area.left / cw; c < (area.right + cw - 1) / cw; ++c)
      if (host::Cell* cell = gridCell(c, r)) *cell = {' ', colour, colour};
}

void captureClient(int width, int height) {
  ++state().magnifier.captures;
  state().magnifier.captureSize = {width, height};
}

void drawMagnified(Point sourceOrigin, Point sourceSize, Point destinationSize) {
  host::MagnifierLog& m = state().magnifier;
  m.origins.push_back(sourceOrigin);
  m.sourceSize = sourceSize;
  m.destinationSize = destinationSize;
}

void releaseCapture() { ++state().magnifier.releases; }

namespace host {

Cell displayCell(int column, int row) {
  const Cell* cell = gridCell(column, row);
  return cell ? *cell : Cell{0, kBlack, kBlack};
}

std::string displayRow(int row) {
  std::string text;
  for (int c = 0; c < kGridColumns; ++c) text += static_cast<char>(displayCell(c, row).ch);
  return text;
}

DrawLog& drawLog() { return state().log; }
const std::vector<FontInfo>& fonts() { return state().fonts; }
const MagnifierLog& magnifier() { return state().magnifier; }
void setSystemMetrics(const SystemMetrics& metrics) { state().system = metrics; }
void setWorkArea(const Rect& area) { state().work = area; }

namespace internal {
void resetDraw() { state() = DrawState{}; }
void eraseDisplay() { state().clearGrid(); }
}  // namespace internal

}  // namespace host
}  // namespace platform
