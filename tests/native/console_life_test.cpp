// Opening and closing the console, the exit procedure, standard output, the
// clipboard, the clock and the magnifier.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/host/host_control.h"
#include "platform/virtual_keys.h"
#include "screen/kzcrt.h"
#include "support/console_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
namespace vk = platform::vk;
using testing_support::ConsoleTest;

class ConsoleLife : public ConsoleTest {};

TEST_F(ConsoleLife, TheFirstWriteOpensTheWindowShowsItAndSetsTheFocus) {
  initConsoleUnit();
  EXPECT_FALSE(host::window().exists);
  writeLine();
  EXPECT_TRUE(host::window().exists);
  EXPECT_TRUE(host::window().visible);
  EXPECT_EQ(cursorRow(), 2);
  EXPECT_EQ(cursorColumn(), 1);
}

TEST_F(ConsoleLife, StandardOutputFlushesEvery128BytesAndLetsMessagesRun) {
  openConsole();
  host::typeText("k");
  writeText(std::string(300, 'w'));
  EXPECT_EQ(host::pendingMessages(), 0);  // the key was taken into the queue
  EXPECT_EQ(cursorRow(), 4);
  EXPECT_EQ(cursorColumn(), 300 - 240 + 1);
  EXPECT_EQ(drainKeys(), "k");
}

TEST_F(ConsoleLife, CloseDrainsTheKeysDeletesTheFontAndEndsWithZero) {
  openConsole();
  host::typeText("abc");
  EXPECT_EQ(exitCodeOf([] { closeConsoleWindow(); }), 0);
  EXPECT_EQ(host::pendingMessages(), 0);
  EXPECT_FALSE(host::window().exists);
  EXPECT_TRUE(host::fonts()[0].deleted);
  // The window was already gone: the exit procedure left the title alone.
  EXPECT_NE(host::window().title, "Programa terminado");
}

TEST_F(ConsoleLife, TheCloseMessageEndsTheProgramWithZero) {
  openConsole();
  host::postClose();
  EXPECT_EQ(exitCodeOf([] { pumpMessages(); }), 0);
  EXPECT_TRUE(host::window().destroyed);
}

TEST_F(ConsoleLife, AltF4GoesToTheSystemWhichClosesTheWindow) {
  openConsole();
  host::pressKey(vk::kF4, {.alt = true});
  EXPECT_EQ(exitCodeOf([] { pumpMessages(); }), 0);
}

TEST_F(ConsoleLife, DestroyingTheWindowFromOutsidePostsQuit) {
  openConsole();
  platform::destroyConsoleWindow();
  EXPECT_EQ(exitCodeOf([] { pumpMessages(); }), 255);
}

TEST_F(ConsoleLife, TitleIsTheModuleNameCutTo79Characters) {
  host::setModuleFileName("C:\\" + std::string(100, 'p') + ".EXE");
  openConsole();
  EXPECT_EQ(host::window().title.size(), 79u);
  EXPECT_EQ(host::window().title.substr(0, 4), "C:\\p");
}

TEST_F(ConsoleLife, FocusChangesWhileReadingMoveTheCaret) {
  openConsole();
  int step = 0;
  host::setIdleHook([&step] {
    switch (step++) {
      case 0:
        EXPECT_TRUE(host::caret().visible);
        host::postFocusChange(false);
        break;
      case 1:
        EXPECT_FALSE(host::caret().exists);
        host::postFocusChange(true);
        break;
      default:
        EXPECT_TRUE(host::caret().visible);
        host::typeText("z");
        break;
    }
  });
  EXPECT_EQ(readKey(), 'z');
  EXPECT_EQ(host::caret().created, 2);
  EXPECT_FALSE(host::caret().exists);
}

TEST_F(ConsoleLife, ClipboardRoundTripAndItsFailures) {
  openConsole();
  copyToClipboard("texto copiado");
  EXPECT_EQ(host::clipboard(), "texto copiado");
  char buffer[64];
  readClipboard(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "texto copiado");

  char small[6];
  readClipboard(small, sizeof small);
  EXPECT_STREQ(small, "texto");

  host::setClipboard(std::nullopt);
  readClipboard(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "");

  std::strcpy(buffer, "kept");
  host::setClipboard("new");
  host::failClipboardOpens(2);
  readClipboard(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "kept");
  copyToClipboard("lost");
  EXPECT_EQ(host::clipboard(), "new");

  readClipboard(buffer, 0);  // nothing to write into
  EXPECT_STREQ(buffer, "kept");

  const std::string big(100 * 1024, 'b');
  host::setClipboard(big);
  readClipboard(buffer, sizeof buffer);
  EXPECT_EQ(std::strlen(buffer), sizeof buffer - 1);
}

TEST_F(ConsoleLife, DateAndTimeComeFromTheClock) {
  host::setLocalTime({2000, 3, 1, 0, 13, 5, 7, 987});
  int y, mo, d, wd, h, mi, s, hs;
  currentDate(y, mo, d, wd);
  currentTime(h, mi, s, hs);
  EXPECT_EQ(y, 2000);
  EXPECT_EQ(mo, 3);
  EXPECT_EQ(d, 1);
  EXPECT_EQ(wd, 3);  // a Wednesday
  EXPECT_EQ(h, 13);
  EXPECT_EQ(mi, 5);
  EXPECT_EQ(s, 7);
  EXPECT_EQ(hs, 98);
  host::setLocalTime({2010, 1, 12, 0, 23, 59, 59, 999});
  platform::sleepMs(1);
  currentDate(y, mo, d, wd);
  EXPECT_EQ(d, 13);
  EXPECT_EQ(wd, 3);
}

TEST_F(ConsoleLife, TheMagnifierStretchesAroundTheMouseAndRepaintsWhenReleased) {
  writeIni("[VIDEO]\nLARGURALETRA=8\nALTURALETRA=16\nAMPLIF=4\n");
  openConsole();
  const int w = host::window().width;
  const int h = host::window().height;
  host::postMouse(platform::EventKind::MouseMove, {40, 40});  // off: ignored
  host::postMouse(platform::EventKind::RightButtonDown, {100, 60});
  host::postMouse(platform::EventKind::MouseMove, {2, 1});
  host::postMouse(platform::EventKind::RightButtonUp, {2, 1});
  const int erasing = host::drawLog().erasingInvalidations;
  pumpMessages();
  const host::MagnifierLog& m = host::magnifier();
  EXPECT_EQ(m.captures, 1);
  EXPECT_EQ(m.captureSize.x, w);
  EXPECT_EQ(m.captureSize.y, h);
  ASSERT_EQ(m.origins.size(), 2u);
  EXPECT_EQ(m.origins[0].x, 100 - 25);
  EXPECT_EQ(m.origins[0].y, 60 - 15);
  EXPECT_EQ(m.origins[1].x, 2);
  EXPECT_EQ(m.sourceSize.x, w / 4);
  EXPECT_EQ(m.destinationSize.y, h);
  EXPECT_EQ(m.releases, 1);
  EXPECT_EQ(host::drawLog().erasingInvalidations, erasing + 1);
}

}  // namespace
