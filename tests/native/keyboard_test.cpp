// Key messages become the PC console's byte codes; the queue's limits; the
// pumps and the readers of keys and lines.
#include <gtest/gtest.h>

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

class Keyboard : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    openConsole();
  }
  std::string keysOf(unsigned virtualKey, host::Modifiers mods = {}) {
    host::pressKey(virtualKey, mods);
    return drainKeys();
  }
  // The key message as the window receives it.
  std::string keysOfKeyDown(unsigned virtualKey, host::Modifiers mods = {}) {
    host::postKeyDown(virtualKey, mods);
    return drainKeys();
  }
  static std::string pair(int code) { return std::string(1, '\0') + static_cast<char>(code); }
};

TEST_F(Keyboard, SpecialKeysGiveZeroAndTheirCodePlainAndWithCtrl) {
  struct Row {
    unsigned key;
    int plain, ctrl;
  };
  const Row rows[] = {
      {vk::kF1, 59, 94},       {vk::kF1 + 9, 68, 103}, {vk::kF11, 69, 104},  {vk::kF12, 70, 105},
      {vk::kInsert, 82, 255},  {vk::kDelete, 83, 83},  {vk::kHome, 71, 119}, {vk::kEnd, 79, 117},
      {vk::kPrior, 73, 132},   {vk::kNext, 81, 118},   {vk::kUp, 72, 113},   {vk::kDown, 80, 114},
      {vk::kLeft, 75, 115},    {vk::kRight, 77, 116},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(keysOfKeyDown(r.key), pair(r.plain)) << r.key;
    EXPECT_EQ(keysOfKeyDown(r.key, {.ctrl = true}), pair(r.ctrl)) << r.key;
    if (r.key != vk::kInsert) {
      EXPECT_EQ(keysOfKeyDown(r.key, {.shift = true}), pair(r.plain)) << r.key;
    }
  }
  EXPECT_EQ(keysOf(vk::kUp), pair(72));
  EXPECT_EQ(keysOf(vk::kInsert, {.shift = true}), pair(254));
  EXPECT_EQ(keysOf(vk::kInsert, {.ctrl = true, .shift = true}), pair(255));
}

TEST_F(Keyboard, SystemKeysOtherThanAltF4AndAltLettersReachTheQueue) {
  EXPECT_EQ(keysOf(vk::kF10), pair(68));
  EXPECT_EQ(keysOf(vk::kF1, {.alt = true}), pair(59));
  EXPECT_TRUE(lastKeyModifiers().alt);
  EXPECT_EQ(keysOf(vk::kLeft, {.alt = true}), pair(75));
  EXPECT_EQ(keysOf(vk::kUp, {.alt = true}), pair(72));
  // Alt with a letter or digit stays the system's: no Alt code without Ctrl.
  EXPECT_EQ(keysOf('A', {.alt = true}), "");
  EXPECT_EQ(keysOf('1', {.alt = true}), "");
}

TEST_F(Keyboard, CtrlTurnsEnterIntoLineFeedAndBackspaceInto127) {
  EXPECT_EQ(keysOf(vk::kReturn), "\r");
  EXPECT_EQ(keysOf(vk::kBack), "\b");
  host::postChar(13, {.ctrl = true});
  host::postChar(8, {.ctrl = true});
  EXPECT_EQ(drainKeys(), "\n\x7f");
  EXPECT_EQ(keysOf(vk::kReturn, {.ctrl = true}), "\n");
  EXPECT_EQ(keysOf(vk::kBack, {.ctrl = true}), "\x7f");
}

TEST_F(Keyboard, TabIsNineAndShiftTabTheSpecialKeyFifteen) {
  EXPECT_EQ(keysOf(vk::kTab), "\t");
  EXPECT_EQ(keysOf(vk::kTab, {.shift = true}), pair(15));
}

TEST_F(Keyboard, CharactersArriveAsTheirAnsiCodes) {
  host::typeText("aZ9 ");
  host::postChar(0xE1);  // á
  host::postChar(0xE7);  // ç
  host::postChar(0x1E1);  // not a byte: an ANSI window never gets it
  EXPECT_EQ(drainKeys(), "aZ9 \xE1\xE7");
}

TEST_F(Keyboard, AltCodesComeFromKeyDownsWithCtrlAndAltHeld) {
  EXPECT_EQ(keysOf('A', {.ctrl = true, .alt = true}), pair(30));
  EXPECT_EQ(keysOf('Z', {.ctrl = true, .alt = true}), pair(44));
  EXPECT_EQ(keysOf('1', {.ctrl = true, .alt = true}), pair(120));
  EXPECT_EQ(keysOf('9', {.ctrl = true, .alt = true}), pair(128));
  EXPECT_EQ(keysOf('0', {.ctrl = true, .alt = true}), pair(129));
  // Alt alone is a system key: the letter keeps the system's meaning.
  EXPECT_EQ(keysOf('A', {.alt = true}), "");
  // Alt+Left and Alt+Right act as Left and Right.
  EXPECT_EQ(keysOf(vk::kLeft, {.alt = true}), pair(75));
  EXPECT_EQ(keysOf(vk::kRight, {.alt = true}), pair(77));
}

TEST_F(Keyboard, AKeyThatDoesNotFitIsDroppedWhole) {
  for (int i = 0; i < 63; ++i) host::postChar('a');
  host::pressKey(vk::kUp);
  host::postChar('b');
  host::postChar('c');
  pumpMessages();
  const std::string keys = drainKeys();
  EXPECT_EQ(keys, std::string(63, 'a') + "b");

  // A held arrow key fills the queue pair by pair and never splits a pair.
  for (int i = 0; i < 1000; ++i) host::postKeyDown(vk::kDown);
  pumpMessages();
  std::string held;
  for (int i = 0; i < 64; ++i) held += static_cast<char>(readKey());
  std::string pairs;
  for (int i = 0; i < 32; ++i) pairs += pair(80);
  EXPECT_EQ(held, pairs);
  EXPECT_FALSE(keyPressed());
}

TEST_F(Keyboard, ReadKeyShowsTheCaretAtTheCursorWhileItWaits) {
  put("abc");
  host::setIdleHook([] {
    static bool typed = false;
    if (!typed) host::typeText("q");
    typed = true;
  });
  EXPECT_EQ(readKey(), 'q');
  const host::CaretInfo& caret = host::caret();
  EXPECT_EQ(caret.created, 1);
  EXPECT_EQ(caret.destroyed, 1);
  // The default font on a 1024 x 734 work area has 13 x 28 cells.
  EXPECT_EQ(caret.width, 13);
  EXPECT_EQ(caret.height, 2);
  EXPECT_EQ(caret.x, 3 * 13);
  EXPECT_EQ(caret.y, 28 * 4 / 5);  // the host font's ascent
  EXPECT_FALSE(caret.exists);
}

TEST_F(Keyboard, ReadLineEchoesEditsAndStopsStoringAt125Characters) {
  host::typeText("ab\bc");
  host::pressKey(vk::kUp);  // the 0 is ignored, the 72 ('H') is stored
  host::typeText("\r");
  char buffer[128];
  EXPECT_EQ(readLine(buffer, sizeof buffer), 5);
  EXPECT_EQ(std::string(buffer, 5), "acH\r\n");
  EXPECT_EQ(screenRow(1).substr(0, 4), "acH ");
  EXPECT_EQ(cursorRow(), 2);

  // Typed one key at a time, as a person types, so the key queue never fills.
  feedKeysWhenIdle(std::string(200, 'x') + "\r");
  const int n = readLine(buffer, sizeof buffer);
  EXPECT_EQ(n, 127);
  EXPECT_EQ(std::string(buffer, 125), std::string(125, 'x'));
  EXPECT_EQ(std::string(buffer + 125, 2), "\r\n");

  host::typeText("hello\r");
  EXPECT_EQ(readInputLine(), "hello");
}

TEST_F(Keyboard, WaitingForAKeyThatNeverComesFailsTheTestInsteadOfHanging) {
  EXPECT_THROW(readKey(), host::Stalled);
}

TEST_F(Keyboard, QuitEndsTheProgramWith255) {
  host::postQuitMessage();
  EXPECT_EQ(exitCodeOf([] { pumpMessages(); }), 255);
}

TEST_F(Keyboard, CtrlBreakEndsTheProgramWith255) {
  host::postKeyDown(vk::kCancel, {.ctrl = true});
  EXPECT_EQ(exitCodeOf([] { keyPressed(); }), 255);
}

TEST_F(Keyboard, QuitWhileReadingRemovesTheCaretAndRunsTheExitProcedure) {
  host::setIdleHook([] { host::postQuitMessage(); });
  EXPECT_EQ(exitCodeOf([] { readKey(); }), 255);
  EXPECT_FALSE(host::caret().exists);
  EXPECT_EQ(host::window().title, "Programa terminado");
  EXPECT_TRUE(host::window().closeEnabled);
  EXPECT_FALSE(host::window().attached);
}

TEST_F(Keyboard, DelayWithMessagesSleepsThenDispatches) {
  const auto before = host::elapsedMs();
  host::typeText("k");
  delayWithMessages(200);
  EXPECT_EQ(host::elapsedMs() - before, 200u);
  EXPECT_EQ(host::pendingMessages(), 0);
  EXPECT_EQ(drainKeys(), "k");
}

}  // namespace
