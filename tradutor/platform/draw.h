#pragma once
// Drawing into the console window: fonts, metrics, text runs, pixel copies and
// the magnifier's memory image.
//
// Contract: a Surface is valid between windowSurface/beginPaint and the
// matching releaseSurface/endPaint, and has the given font selected (the
// stock fixed system font when the handle is 0). Text is single-byte ANSI
// drawn with an opaque background.
#include <cstdint>

#include "platform/geometry.h"

namespace platform {

struct TextMetrics {
  int aveCharWidth;
  int height;
  int externalLeading;
  int ascent;
  int overhang;
};

struct SystemMetrics {
  int cxFrame, cyFrame, cyCaption, cxScreen, cyScreen;
};

using FontHandle = std::uintptr_t;  // 0: none
using Surface = struct SurfaceImpl*;

// An ANSI font with default precision, quality, pitch and family; an empty
// face lets the system choose. Returns 0 when no font could be made.
FontHandle createFont(int height, int width, int weight, const char* face);
// Selects the stock OEM fixed font into the window's device context, then
// deletes the font.
void deleteFont(FontHandle font);

SystemMetrics systemMetrics();
Rect workArea();
TextMetrics screenTextMetrics(FontHandle font);

Surface windowSurface(FontHandle font);
void releaseSurface(Surface surface);
Surface beginPaint(FontHandle font, Rect& update);
void endPaint(Surface surface);

TextMetrics surfaceTextMetrics(Surface surface);
void drawText(Surface surface, int x, int y, const std::uint8_t* text, int count, Rgb foreground, Rgb background);
// Copies the pixels of `source` so that its top-left corner lands on `destination`.
void copyPixels(Surface surface, Rect source, Point destination);
void fillSolid(Surface surface, Rect area, Rgb colour);

// The magnifier: keep a copy of the client area, draw a stretched part of it.
void captureClient(int width, int height);
void drawMagnified(Point sourceOrigin, Point sourceSize, Point destinationSize);
void releaseCapture();

}  // namespace platform
