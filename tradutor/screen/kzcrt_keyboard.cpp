// The key queue, the translation of key messages into PC console codes, the
// message pumps and the readers of keys and lines.
#include "common/program_exit.h"
#include "platform/clock.h"
#include "platform/tone.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "screen/kzcrt_state.h"
#include "screen/kzcrt_tables.h"
#include "platform/virtual_keys.h"

namespace tradutor {
namespace vk = platform::vk;
namespace crt {
namespace {

constexpr int kQueueSize = 64;

// Queues `count` bytes when the queue holds no more than `maxBefore` bytes;
// a key that does not fit is dropped whole.
void enqueue(const std::uint8_t* bytes, int count, int maxBefore) {
  CrtState& s = state();
  if (s.queueCount > maxBefore || s.queueCount + count > kQueueSize) return;
  const KeyModifiers now{platform::isKeyDown(vk::kShift), platform::isKeyDown(vk::kControl),
                         platform::isKeyDown(vk::kMenu)};
  for (int i = 0; i < count; ++i) {
    s.queueModifiers[s.queueCount] = now;
    s.queue[s.queueCount++] = bytes[i];
  }
}

void enqueuePair(std::uint8_t code) {
  const std::uint8_t pair[2] = {0, code};
  enqueue(pair, 2, kQueueSize - 2);
}

bool isLetterKey(unsigned virtualKey) { return virtualKey >= 'A' && virtualKey <= 'Z'; }

std::uint8_t applyLiteraryRules(std::uint8_t ch, bool& emit) {
  CrtState& s = state();
  emit = false;
  if (s.numberMode) {
    if (ch == '\'') ch = '.';
    else if (ch >= 'a' && ch <= 'i') ch = static_cast<std::uint8_t>('1' + (ch - 'a'));
    else if (ch == 'j') ch = '0';
    else if (ch == '~') s.numberMode = false;
  }
  if ((s.capitalNext || s.capitalsLock) && ch >= 'a' && ch <= 'z') ch = static_cast<std::uint8_t>(ch - 'a' + 'A');
  if (ch == '#') {
    s.numberMode = true;
  } else if (ch == '{') {
    if (s.capitalNext) s.capitalsLock = true;
    s.capitalNext = true;
  } else {
    s.capitalNext = false;
    emit = true;
  }
  return ch;
}

void clearBrailleFlags() {
  CrtState& s = state();
  s.numberMode = s.capitalNext = s.capitalsLock = false;
}

}  // namespace

void terminateOnQuit() {
  const CrtState& s = state();
  if (s.focused && s.reading) platform::destroyCaret();
  endProgram(255);
}

bool handleKeyDown(unsigned virtualKey) {
  CrtState& s = state();
  if (s.breakChecking && virtualKey == vk::kCancel) terminateOnQuit();
  const bool ctrl = platform::isKeyDown(vk::kControl);
  if (platform::isKeyDown(vk::kMenu)) {
    if (ctrl && virtualKey == vk::kF12) {
      setBrailleMode(0);
      return true;
    }
    if (ctrl && virtualKey == vk::kF11) {
      setBrailleMode(s.brailleMode + 1);
      return true;
    }
    if (const std::uint8_t code = altCode(virtualKey); code != 0) {
      enqueuePair(code);
      return true;
    }
  }
  if (!ctrl && s.brailleMode != 0) {
    if (const unsigned bit = brailleDotBit(virtualKey); bit != 0) {
      s.chord |= bit;
      s.held |= bit;
      return true;
    }
  }
  if (const SpecialKey* key = findSpecialKey(virtualKey)) {
    std::uint8_t code = key->code;
    if (ctrl) code = key->ctrlCode;
    else if (virtualKey == vk::kInsert && platform::isKeyDown(vk::kShift)) code = 254;
    enqueuePair(code);
  }
  return true;
}

// F10, and Alt with a function or editing key, arrive as system keys; they
// go to the queue like any key (F10 is 0,68, Alt+F1 is F1 with Alt held).
// Alt+F4 keeps the system's meaning and closes the window; Alt with a letter
// or digit is left to the system as well (its Alt codes come with Ctrl,
// as WM_KEYDOWN), so that a slip on Alt never ends an edit.
bool handleSystemKeyDown(unsigned virtualKey) {
  if (!state().breakChecking) return handleKeyDown(virtualKey);
  if (virtualKey == vk::kF4) return false;
  if (isLetterKey(virtualKey) || (virtualKey >= '0' && virtualKey <= '9')) return false;
  return handleKeyDown(virtualKey);
}

bool handleKeyUp(unsigned virtualKey) {
  CrtState& s = state();
  if (s.brailleMode == 0) return false;
  if (platform::isKeyDown(vk::kControl) || !(virtualKey == vk::kSpace || isLetterKey(virtualKey))) {
    clearBrailleFlags();
    return false;
  }
  s.held &= ~brailleDotBit(virtualKey);
  if (s.held != 0) return true;

  std::uint8_t ch = 0;
  bool emit = true;
  if (s.chord & 64) {
    clearBrailleFlags();
    ch = s.chord == 64 ? ' ' : static_cast<std::uint8_t>(kBrailleTable[s.chord & 63] & 31);
    // A chord whose control code would be 0 (space with the dots of "à"):
    // a lone 0 reads as the prefix of a special key and would turn the next
    // key into a code, so it gives nothing but a beep.
    if (ch == 0) {
      platform::messageBeep();
      emit = false;
    }
  } else {
    ch = kBrailleTable[s.chord & 63];
    if (s.brailleMode == 2) ch = applyLiteraryRules(ch, emit);
  }
  if (emit) enqueue(&ch, 1, kQueueSize - 1);
  s.chord = 0;
  return true;
}

bool handleChar(unsigned character) {
  const CrtState& s = state();
  if (character > 255) return true;  // an ANSI window receives bytes only
  if (s.brailleMode != 0 && (character == ' ' || (character >= 'A' && character <= 'Z') ||
                             (character >= 'a' && character <= 'z')))
    return true;
  std::uint8_t b = static_cast<std::uint8_t>(character);
  // Shift+Tab has no character of its own (the system sends Tab's): it is
  // the special key 0,15, the review's "previous field".
  if (b == 9 && platform::isKeyDown(vk::kShift) && !platform::isKeyDown(vk::kControl)) {
    enqueuePair(15);
    return true;
  }
  if (platform::isKeyDown(vk::kControl)) {
    if (b == 8) b = 127;
    else if (b == 13) b = 10;
  }
  enqueue(&b, 1, kQueueSize - 1);
  return true;
}

}  // namespace crt

using crt::state;

void pumpMessages() {
  for (;;) {
    const platform::PumpResult r = platform::pumpOne(false);
    if (r == platform::PumpResult::Empty) return;
    if (r == platform::PumpResult::Quit) crt::terminateOnQuit();
  }
}

void pumpWindowMessages() {
  for (;;) {
    const platform::PumpResult r = platform::pumpOne(true);
    if (r == platform::PumpResult::Empty) return;
    if (r == platform::PumpResult::Quit) crt::terminateOnQuit();
  }
}

bool keyPressed() {
  openConsoleWindow();
  pumpMessages();
  return state().queueCount > 0;
}

std::uint8_t readKey() {
  crt::CrtState& s = state();
  if (!keyPressed()) {
    s.reading = true;
    if (s.focused) crt::showCaretAtCursor();
    do {
      platform::waitMessage();
    } while (!keyPressed());
    if (s.focused) platform::destroyCaret();
    s.reading = false;
  }
  const std::uint8_t first = s.queue[0];
  s.lastModifiers = s.queueModifiers[0];
  for (int i = 1; i < s.queueCount; ++i) {
    s.queue[i - 1] = s.queue[i];
    s.queueModifiers[i - 1] = s.queueModifiers[i];
  }
  --s.queueCount;
  return first;
}

KeyModifiers lastKeyModifiers() { return state().lastModifiers; }
bool waitingForKey() { return state().reading; }

int readLine(char* buffer, int size) {
  // Room is kept for the CR LF and a terminator after the typed text, so a
  // 128-byte buffer takes 125 characters.
  const int maxText = size - 3;
  int length = 0;
  std::uint8_t b = 0;
  do {
    b = readKey();
    if (b == 8) {
      if (length > 0) {
        --length;
        writeChar(8);
      }
    } else if (b >= 32) {
      if (length < maxText) {
        buffer[length++] = static_cast<char>(b);
        writeChar(b);
      }
    }
  } while (b != 13);
  if (length + 2 <= size) {
    buffer[length++] = 13;
    buffer[length++] = 10;
  }
  const std::uint8_t lineEnd[2] = {13, 10};
  writeChars(lineEnd, 2);
  return length;
}

void delayWithMessages(std::uint16_t milliseconds) {
  platform::sleepMs(milliseconds);
  pumpMessages();
  pumpWindowMessages();
}

}  // namespace tradutor
