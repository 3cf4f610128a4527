// Keys sent as real input (SendInput), so that GetKeyState sees the modifiers
// as it does for a person at the keyboard.
#include <gtest/gtest.h>

#include <string>

#include "screen/kzcrt.h"
#include "win32_test_support.h"

namespace {

using namespace win32_test;

std::string pair(int code) { return std::string(1, '\0') + static_cast<char>(code); }

TEST(KeyboardInput, ArrowsAndEditingKeysGiveTheirCodes) {
  openConsole();
  sendKey(VK_UP);
  EXPECT_EQ(readKeys(2), pair(72));
  sendKey(VK_LEFT, {VK_CONTROL});
  EXPECT_EQ(readKeys(2), pair(115));
  sendKey(VK_INSERT, {VK_SHIFT});
  EXPECT_EQ(readKeys(2), pair(254));
  sendKey(VK_INSERT, {VK_CONTROL});
  EXPECT_EQ(readKeys(2), pair(255));
  sendKey(VK_F1);
  EXPECT_EQ(readKeys(2), pair(59));
  sendKey(VK_F12, {VK_CONTROL});
  EXPECT_EQ(readKeys(2), pair(105));
}

TEST(KeyboardInput, CtrlChangesEnterAndBackspace) {
  openConsole();
  sendKey(VK_RETURN);
  EXPECT_EQ(readKeys(1), "\r");
  sendKey(VK_RETURN, {VK_CONTROL});
  EXPECT_EQ(readKeys(1), "\n");
  sendKey(VK_BACK, {VK_CONTROL});
  EXPECT_EQ(readKeys(1), "\x7f");
}

TEST(KeyboardInput, CharactersAndAccentedLetters) {
  openConsole();
  sendKey('A');
  EXPECT_EQ(readKeys(1), "a");
  sendKey('A', {VK_SHIFT});
  EXPECT_EQ(readKeys(1), "A");
  sendUnicodeChar(L'\u00e1');
  EXPECT_EQ(readKeys(1), "\xE1");
  sendUnicodeChar(L'\u00e7');
  EXPECT_EQ(readKeys(1), "\xE7");
}

TEST(KeyboardInput, AltCombinations) {
  openConsole();
  sendKey('A', {VK_CONTROL, VK_MENU});
  EXPECT_EQ(readKeys(2), pair(30));
  sendKey('0', {VK_CONTROL, VK_MENU});
  EXPECT_EQ(readKeys(2), pair(129));
  sendKey(VK_LEFT, {VK_MENU});
  EXPECT_EQ(readKeys(2), pair(75));
}

TEST(KeyboardInput, F10AndAltF1ReachTheQueueAndTheKeysAfterALoneAltStillArrive) {
  openConsole();
  sendKey(VK_F10);
  EXPECT_EQ(readKeys(2), pair(68));
  sendKey('A');  // in menu mode this key would be lost
  EXPECT_EQ(readKeys(1), "a");
  sendKey(VK_MENU);
  sendKey('B');
  EXPECT_EQ(readKeys(1), "b");
  sendKey(VK_F1, {VK_MENU});
  EXPECT_EQ(readKeys(2), pair(59));
  EXPECT_TRUE(tradutor::lastKeyModifiers().alt);
}

TEST(KeyboardInput, CtrlAltF11SwitchesTheBrailleKeyboardWithItsTwoTones) {
  openConsole();
  const DWORD start = GetTickCount();
  sendKey(VK_F11, {VK_CONTROL, VK_MENU});
  for (int i = 0; i < 100 && tradutor::brailleMode() != 1; ++i) {
    tradutor::pumpMessages();
    Sleep(10);
  }
  EXPECT_EQ(tradutor::brailleMode(), 1);
  EXPECT_GE(GetTickCount() - start, 400u);  // two tones of 200 ms
  sendKey('F');
  EXPECT_EQ(readKeys(1), "a");
  sendKey('S');
  EXPECT_EQ(readKeys(1), "'");
  sendKey(VK_F12, {VK_CONTROL, VK_MENU});
  for (int i = 0; i < 100 && tradutor::brailleMode() != 0; ++i) {
    tradutor::pumpMessages();
    Sleep(10);
  }
  EXPECT_EQ(tradutor::brailleMode(), 0);
  sendKey('F');
  EXPECT_EQ(readKeys(1), "f");
}

}  // namespace
