#pragma once
// The console unit's module state, shared by its source files. One instance
// per process; resetConsoleUnit puts it back to its start-of-program values.
#include <cstdint>
#include <vector>

#include "platform/draw.h"
#include "platform/window.h"
#include "screen/kzcrt.h"

namespace tradutor::crt {

struct CrtState {
  // Window flags.
  bool created = false;
  bool focused = false;
  bool reading = false;
  bool painting = false;
  bool breakChecking = true;
  bool initialised = false;

  // Screen buffers (empty while there is no window) and the cursor, 0-based.
  std::vector<std::uint8_t> chars;
  std::vector<std::uint8_t> attrs;
  int cursorX = 0;
  int cursorY = 0;
  std::uint8_t attribute = 0x0F;
  TextArea area = {0, 0, kScreenColumns - 1, kScreenRows - 1};
  int spanFrom = 0;  // the changed columns of the cursor row, [from, to)
  int spanTo = 0;

  // Cell metrics and the window size of creation.
  int cellWidth = 8;
  int cellHeight = 16;
  int caretOffset = 0;
  int textOffsetX = 0;
  int windowWidth = 0;
  int windowHeight = 0;
  platform::Surface paintSurface = nullptr;

  // Display settings.
  std::uint8_t colourMap[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  bool fixedColours = false;
  bool pixelScroll = false;
  bool maximize = false;
  int magnifierFactor = 2;
  int configuredBrailleMode = 0;
  platform::FontHandle font = 0;

  bool magnifierOn = false;
  char title[80] = {};

  // Key queue.
  std::uint8_t queue[64] = {};
  KeyModifiers queueModifiers[64] = {};  // of each byte, as it arrived
  int queueCount = 0;
  KeyModifiers lastModifiers;

  // Braille chord keyboard.
  int brailleMode = 0;
  unsigned chord = 0;
  unsigned held = 0;
  bool capitalNext = false;
  bool capitalsLock = false;
  bool numberMode = false;
  std::vector<std::uint8_t> toneImage;

  // Standard output buffer.
  std::uint8_t outBuffer[128] = {};
  int outCount = 0;

  WaveDoneHandler waveDone = nullptr;
};

CrtState& state();

// RGB of a colour number through the colour map and the palette.
platform::Rgb colourOf(int colourNumber);

// Internal operations shared between the unit's files.
void drawSpan(int row, int first, int end);
void paintWindow();
void readDisplaySettings();
bool handleWindowEvent(const platform::WindowEvent& event);
bool handleKeyDown(unsigned virtualKey);
// WM_SYSKEYDOWN: false leaves the key to the system.
bool handleSystemKeyDown(unsigned virtualKey);
bool handleKeyUp(unsigned virtualKey);
bool handleChar(unsigned character);
void showCaretAtCursor();
[[noreturn]] void terminateOnQuit();
void playTone(unsigned frequency);
void stopTone();
void buildToneImage(unsigned frequency, std::vector<std::uint8_t>& image);

}  // namespace tradutor::crt
