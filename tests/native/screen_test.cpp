// The text screen: writing, control bytes, wrapping, scrolling and drawing.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "support/console_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::ConsoleTest;

class Screen : public ConsoleTest {};

TEST_F(Screen, EightyCharactersLeaveAPendingWrapThatCrLfResolvesWithoutAnEmptyRow) {
  openConsole();
  put(std::string(80, 'a'));
  EXPECT_EQ(cursorColumn(), 81);
  EXPECT_EQ(cursorRow(), 1);
  put("\r\nb");
  EXPECT_EQ(cursorRow(), 2);
  EXPECT_EQ(screenRow(2).substr(0, 2), "b ");
}

TEST_F(Screen, APrintableAfterTheLastColumnGoesToTheNextRow) {
  openConsole();
  put(std::string(80, 'a') + "b");
  EXPECT_EQ(cursorRow(), 2);
  EXPECT_EQ(cursorColumn(), 2);
  EXPECT_EQ(screenCharAt(1, 2), 'b');
}

TEST_F(Screen, LineFeedAloneAlsoReturnsTheCarriage) {
  openConsole();
  put("abc\nd");
  EXPECT_EQ(cursorRow(), 2);
  EXPECT_EQ(cursorColumn(), 2);
  EXPECT_EQ(screenCharAt(1, 2), 'd');
}

TEST_F(Screen, BackspaceBlanksThePreviousCellButNothingAtColumnOne) {
  openConsole();
  put("\b");
  EXPECT_EQ(cursorColumn(), 1);
  put("xy\b");
  EXPECT_EQ(cursorColumn(), 2);
  EXPECT_EQ(screenRow(1).substr(0, 2), "x ");
  EXPECT_EQ(host::displayRow(0).substr(0, 2), "x ");
}

TEST_F(Screen, ControlBytesOtherThanBellBackspaceLineFeedAndReturnLeaveNoTrace) {
  openConsole();
  std::string controls;
  for (int b = 0; b < 32; ++b)
    if (b != 7 && b != 8 && b != 10 && b != 13) controls += static_cast<char>(b);
  put("a" + controls + "b\a");
  EXPECT_EQ(screenRow(1).substr(0, 3), "ab ");
  EXPECT_EQ(cursorColumn(), 3);
  EXPECT_EQ(host::tones().beeps, 1);
}

TEST_F(Screen, ANewLineOnTheLastRowScrollsInTheCurrentAttribute) {
  openConsole();
  for (int row = 1; row <= 25; ++row) put("row" + std::to_string(row) + (row < 25 ? "\r\n" : ""));
  setBackgroundColor(1);
  put("\r\nlast");
  EXPECT_EQ(cursorRow(), 25);
  EXPECT_EQ(screenRow(1).substr(0, 5), "row2 ");
  EXPECT_EQ(screenRow(24).substr(0, 5), "row25");
  EXPECT_EQ(screenRow(25).substr(0, 5), "last ");
  EXPECT_EQ(screenAttrAt(80, 25), 0x1F);
  EXPECT_EQ(screenAttrAt(80, 24), 0x0F);
  // Without LENTO the window is repainted from the buffers.
  EXPECT_EQ(host::drawLog().pixelCopies, 0);
  EXPECT_EQ(host::displayRow(0).substr(0, 5), "row2 ");
  EXPECT_EQ(host::displayRow(24).substr(0, 5), "last ");
}

TEST_F(Screen, LentoCopiesPixelsOnlyOnTheActiveWindowClearOfTheScreenBottom) {
  writeIni("[VIDEO]\nLENTO=sim\nLARGURALETRA=8\nALTURALETRA=16\n");
  openConsole();
  for (int row = 1; row < 25; ++row) put("row" + std::to_string(row) + "\r\n");
  setBackgroundColor(4);
  const int invalidations = host::drawLog().invalidations;
  put("x\r\n");
  EXPECT_EQ(host::drawLog().pixelCopies, 1);
  EXPECT_EQ(host::drawLog().solidFills, 1);
  EXPECT_EQ(host::drawLog().invalidations, invalidations);
  EXPECT_EQ(host::displayRow(0).substr(0, 5), "row2 ");
  EXPECT_EQ(host::displayCell(0, 24).background, (platform::Rgb{255, 0, 0}));

  host::setActive(false);
  put("\r\n");
  EXPECT_EQ(host::drawLog().pixelCopies, 1);
  EXPECT_EQ(host::drawLog().invalidations, invalidations + 1);

  host::setActive(true);
  host::setWindowTop(768 - 32 - host::window().height);  // bottom edge at SM_CYSCREEN - 32
  put("\r\n");
  EXPECT_EQ(host::drawLog().pixelCopies, 1);
  EXPECT_EQ(host::drawLog().invalidations, invalidations + 2);
}

TEST_F(Screen, MoveCursorClampsAndDoesNotOpenTheWindow) {
  initConsoleUnit();
  moveCursor(0, 0);
  EXPECT_EQ(cursorColumn(), 1);
  EXPECT_EQ(cursorRow(), 1);
  moveCursor(200, 200);
  EXPECT_EQ(cursorColumn(), 80);
  EXPECT_EQ(cursorRow(), 25);
  moveCursor(-100000, 100000);
  EXPECT_EQ(cursorColumn(), 1);
  EXPECT_EQ(cursorRow(), 25);
  EXPECT_FALSE(host::window().exists);
}

TEST_F(Screen, SpansAreDrawnAsRunsOfOneAttribute) {
  openConsole();
  moveCursor(5, 3);
  host::drawLog().runs.clear();
  put("ab");
  setBackgroundColor(2);
  put("cd");
  ASSERT_EQ(host::drawLog().runs.size(), 2u);
  moveCursor(5, 3);
  host::drawLog().runs.clear();
  setBackgroundColor(0);
  put("a");  // one cell changed: one run of one cell
  ASSERT_EQ(host::drawLog().runs.size(), 1u);
  const host::TextRun& run = host::drawLog().runs[0];
  EXPECT_EQ(run.text, "a");
  EXPECT_EQ(run.x, 4 * 13);  // cells of the default font: 13 x 28
  EXPECT_EQ(run.y, 2 * 28);

  host::drawLog().runs.clear();
  moveCursor(5, 3);
  clearToLineEnd();  // "b", "cd" in two attributes and blanks to column 80
  ASSERT_EQ(host::drawLog().runs.size(), 1u);
  EXPECT_EQ(host::drawLog().runs[0].text, std::string(76, ' '));
  EXPECT_EQ(cursorColumn(), 5);
}

TEST_F(Screen, TextOverwrittenAfterACarriageReturnIsShownOnTheWindow) {
  openConsole();
  put("abcdef\rXY");
  EXPECT_EQ(screenRow(1).substr(0, 6), "XYcdef");
  EXPECT_EQ(host::displayRow(0).substr(0, 6), "XYcdef");
}

TEST_F(Screen, PaintRedrawsTheBuffersInTheirColours) {
  openConsole();
  setBackgroundColor(1);
  put("hi");
  host::drawLog().runs.clear();
  platform::invalidateClient(true);
  pumpMessages();
  EXPECT_EQ(host::displayRow(0).substr(0, 3), "hi ");
  EXPECT_EQ(host::displayCell(0, 0).background, (platform::Rgb{0, 0, 255}));
  EXPECT_EQ(host::displayCell(0, 0).foreground, (platform::Rgb{255, 255, 255}));
  EXPECT_EQ(host::displayCell(2, 0).background, (platform::Rgb{0, 0, 0}));
  EXPECT_EQ(host::drawLog().openSurfaces, 0);
}

TEST_F(Screen, FixedColoursIgnoreBackgroundChanges) {
  writeIni("[VIDEO]\nCORESFIXAS=S\n");
  openConsole();
  setBackgroundColor(4);
  EXPECT_EQ(currentAttribute(), 0x0F);
}

TEST_F(Screen, ALongWriteAndReadsOutsideTheScreenStayInBounds) {
  openConsole();
  std::string bytes(65535, 'z');
  for (std::size_t i = 0; i < bytes.size(); i += 97) bytes[i] = static_cast<char>(i % 256);
  put(bytes);
  EXPECT_EQ(cursorRow(), 25);
  EXPECT_EQ(screenCharAt(0, 1), 0);
  EXPECT_EQ(screenCharAt(81, 1), 0);
  EXPECT_EQ(screenCharAt(1, 26), 0);
  EXPECT_EQ(screenAttrAt(-5, -5), 0);
  EXPECT_EQ(host::drawLog().openSurfaces, 0);
}

}  // namespace
