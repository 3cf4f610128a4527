// Windows platform: GDI drawing into the console window.
#include "platform/draw.h"

#include <windows.h>

#include "platform/win32/win32_window_handle.h"

struct platform::SurfaceImpl {
  HDC dc;
  HGDIOBJ previousFont;
  bool painting;
  PAINTSTRUCT paint;
};

namespace platform {
namespace {

struct MagnifierImage {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
};

MagnifierImage& magnifierImage() {
  static MagnifierImage m;
  return m;
}

HGDIOBJ fontObject(FontHandle font) {
  return font != 0 ? reinterpret_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FIXED_FONT);
}

TextMetrics metricsOf(HDC dc) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return {tm.tmAveCharWidth, tm.tmHeight, tm.tmExternalLeading, tm.tmAscent, tm.tmOverhang};
}

COLORREF colourRef(Rgb c) { return RGB(c.red, c.green, c.blue); }

}  // namespace

FontHandle createFont(int height, int width, int weight, const char* face) {
  HFONT font = CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           face != nullptr && face[0] != '\0' ? face : nullptr);
  return reinterpret_cast<FontHandle>(font);
}

void deleteFont(FontHandle font) {
  if (font == 0) return;
  HWND window = win32::consoleWindow();
  HDC dc = GetDC(window);
  SelectObject(dc, GetStockObject(OEM_FIXED_FONT));
  ReleaseDC(window, dc);
  DeleteObject(reinterpret_cast<HGDIOBJ>(font));
}

SystemMetrics systemMetrics() {
  return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION),
          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Rect workArea() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}

TextMetrics screenTextMetrics(FontHandle font) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, fontObject(font));
  const TextMetrics tm = metricsOf(dc);
  SelectObject(dc, previous);
  ReleaseDC(nullptr, dc);
  return tm;
}

Surface windowSurface(FontHandle font) {
  auto* s = new SurfaceImpl{};
  s->dc = GetDC(win32::consoleWindow());
  s->previousFont = SelectObject(s->dc, fontObject(font));
  return s;
}

void releaseSurface(Surface surface) {
  if (surface == nullptr) return;
  SelectObject(surface->dc, surface->previousFont);
  ReleaseDC(win32::consoleWindow(), surface->dc);
  delete surface;
}

Surface beginPaint(FontHandle font, Rect& update) {
  auto* s = new SurfaceImpl{};
  s->painting = true;
  s->dc = BeginPaint(win32::consoleWindow(), &s->paint);
  s->previousFont = SelectObject(s->dc, fontObject(font));
  update = {s->paint.rcPaint.left, s->paint.rcPaint.top, s->paint.rcPaint.right, s->paint.rcPaint.bottom};
  return s;
}

void endPaint(Surface surface) {
  if (surface == nullptr) return;
  SelectObject(surface->dc, surface->previousFont);
  EndPaint(win32::consoleWindow(), &surface->paint);
  delete surface;
}

TextMetrics surfaceTextMetrics(Surface surface) { return metricsOf(surface->dc); }

void drawText(Surface surface, int x, int y, const std::uint8_t* text, int count, Rgb foreground, Rgb background) {
  SetTextColor(surface->dc, colourRef(foreground));
  SetBkColor(surface->dc, colourRef(background));
  SetBkMode(surface->dc, OPAQUE);
  TextOutA(surface->dc, x, y, reinterpret_cast<const char*>(text), count);
}

void copyPixels(Surface surface, Rect source, Point destination) {
  BitBlt(surface->dc, destination.x, destination.y, source.right - source.left, source.bottom - source.top,
         surface->dc, source.left, source.top, SRCCOPY);
}

void fillSolid(Surface surface, Rect area, Rgb colour) {
  HBRUSH brush = CreateSolidBrush(colourRef(colour));
  HGDIOBJ previous = SelectObject(surface->dc, brush);
  PatBlt(surface->dc, area.left, area.top, area.right - area.left, area.bottom - area.top, PATCOPY);
  SelectObject(surface->dc, previous);
  DeleteObject(brush);
}

void captureClient(int width, int height) {
  MagnifierImage& m = magnifierImage();
  if (m.dc != nullptr) releaseCapture();
  HWND window = win32::consoleWindow();
  HDC dc = GetDC(window);
  m.dc = CreateCompatibleDC(dc);
  m.bitmap = CreateCompatibleBitmap(dc, width, height);
  m.previous = SelectObject(m.dc, m.bitmap);
  BitBlt(m.dc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  ReleaseDC(window, dc);
}

void drawMagnified(Point sourceOrigin, Point sourceSize, Point destinationSize) {
  MagnifierImage& m = magnifierImage();
  if (m.dc == nullptr) return;
  HWND window = win32::consoleWindow();
  HDC dc = GetDC(window);
  StretchBlt(dc, 0, 0, destinationSize.x, destinationSize.y, m.dc, sourceOrigin.x, sourceOrigin.y, sourceSize.x,
             sourceSize.y, SRCCOPY);
  ReleaseDC(window, dc);
}

void releaseCapture() {
  MagnifierImage& m = magnifierImage();
  if (m.dc == nullptr) return;
  SelectObject(m.dc, m.previous);
  DeleteObject(m.bitmap);
  DeleteDC(m.dc);
  m = MagnifierImage{};
}

}  // namespace platform
