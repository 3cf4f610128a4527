// The console window on the real Windows API: identity, size, colours
// drawn, scrolling, clipboard, the display settings and the ways the program ends.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_window_handle.h"
#include "screen/kzcrt.h"
#include "win32_test_support.h"

namespace {

using namespace win32_test;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

void put(const std::string& text) {
  tradutor::writeChars(reinterpret_cast<const std::uint8_t*>(text.data()), static_cast<std::uint16_t>(text.size()));
}

TEST(ConsoleWindow, HasItsClassTheModuleNameAsTitleAndTheComputedSize) {
  HWND w = openConsole();
  EXPECT_EQ(FindWindowA("KzWinCrt", nullptr), w);
  char module[80] = {};
  GetModuleFileNameA(nullptr, module, sizeof module);
  char title[128] = {};
  GetWindowTextA(w, title, sizeof title);
  EXPECT_STREQ(title, module);

  const TEXTMETRICA tm = fontMetrics(16, 8, "DejaVu Sans Mono");
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r.right - r.left, 2 * GetSystemMetrics(SM_CXFRAME) + 80 * tm.tmAveCharWidth);
  EXPECT_EQ(r.bottom - r.top, 2 * GetSystemMetrics(SM_CYFRAME) + 25 * (tm.tmHeight + tm.tmExternalLeading) +
                                  GetSystemMetrics(SM_CYCAPTION));
  EXPECT_FALSE(IsZoomed(w));
}

TEST(ConsoleWindow, InitialAttributeComesFromTheSettingsInTheWindowsDirectory) {
  openConsole();
  EXPECT_EQ(tradutor::currentAttribute(), 0x0E);
}

TEST(ConsoleWindow, CharactersAreDrawnInTheirColoursThroughTheColourMap) {
  openConsole();
  const TEXTMETRICA tm = fontMetrics(16, 8, "DejaVu Sans Mono");
  const int cw = tm.tmAveCharWidth;
  const int ch = tm.tmHeight + tm.tmExternalLeading;
  tradutor::moveCursor(3, 5);
  tradutor::setBackgroundColor(1);  // colour 1 is mapped to red
  put("MW");
  tradutor::setBackgroundColor(0);
  const RECT cell{2 * cw, 4 * ch, 3 * cw, 5 * ch};
  EXPECT_EQ(clientPixel(cell.left, cell.top), kRed);
  EXPECT_TRUE(anyPixel(cell, kYellow));
  EXPECT_EQ(tradutor::screenCharAt(3, 5), 'M');
  EXPECT_EQ(tradutor::screenAttrAt(4, 5), 0x1E);
  EXPECT_EQ(clientPixel(cell.left - 1, cell.top), kBlack);
}

TEST(ConsoleWindow, ScrollingMovesWhatIsShownUpOneRow) {
  openConsole();
  const TEXTMETRICA tm = fontMetrics(16, 8, "DejaVu Sans Mono");
  const int ch = tm.tmHeight + tm.tmExternalLeading;
  tradutor::moveCursor(1, 2);
  tradutor::setBackgroundColor(2);
  put(std::string(80, ' '));
  tradutor::setBackgroundColor(0);
  EXPECT_EQ(clientPixel(10, ch + 2), kGreen);
  tradutor::moveCursor(1, 25);
  put("\n");
  tradutor::pumpMessages();
  EXPECT_EQ(clientPixel(10, 2), kGreen);
  EXPECT_EQ(clientPixel(10, ch + 2), kBlack);
  EXPECT_EQ(tradutor::cursorRow(), 25);
}

TEST(ConsoleWindow, ClipboardRoundTripThroughTheSystemClipboard) {
  openConsole();
  tradutor::copyToClipboard("sistema \xE9 ok");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_TEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(data)), "sistema \xE9 ok");
  GlobalUnlock(data);
  CloseClipboard();
  char buffer[32];
  tradutor::readClipboard(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "sistema \xE9 ok");
  char small[8];
  tradutor::readClipboard(small, sizeof small);
  EXPECT_STREQ(small, "sistema");
}

TEST(ConsoleWindow, TheMagnifierShowsAStretchedViewAndRepaintsOnRelease) {
  HWND w = openConsole();
  tradutor::moveCursor(1, 1);
  tradutor::clearToLineEnd();
  tradutor::setBackgroundColor(2);
  put("  ");
  tradutor::setBackgroundColor(0);
  const TEXTMETRICA tm = fontMetrics(16, 8, "DejaVu Sans Mono");
  // Factor 2 around the top-left corner: the two green cells fill four cells' width.
  const int x = 3 * tm.tmAveCharWidth + 2;
  sendRightButton(true, 1, 1);
  EXPECT_TRUE(pumpUntil([x] { return clientPixel(x, 2) == kGreen; }));
  sendRightButton(false, 1, 1);
  EXPECT_TRUE(pumpUntil([x] { return clientPixel(x, 2) == kBlack; }));
  EXPECT_TRUE(IsWindow(w));
}

TEST(ConsoleWindow, CloseEndsTheProgramWithZero) { EXPECT_EQ(runChild("close"), 0u); }
TEST(ConsoleWindow, AltF4EndsTheProgramWithZero) { EXPECT_EQ(runChild("alt-f4"), 0u); }
TEST(ConsoleWindow, QuitEndsTheProgramWith255) { EXPECT_EQ(runChild("quit"), 255u); }
TEST(ConsoleWindow, CtrlBreakEndsTheProgramWith255) { EXPECT_EQ(runChild("ctrl-break"), 255u); }

}  // namespace
