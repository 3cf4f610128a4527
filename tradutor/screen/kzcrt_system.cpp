// The unit's life: initialisation, closing the window, the exit procedure;
// and the clipboard and clock it offers.
#include <algorithm>
#include <cstring>
#include <string>

#include "common/program_exit.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/draw.h"
#include "platform/process.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "screen/kzcrt_state.h"

namespace tradutor {
namespace crt {

void registerWindowClass();

namespace {

void consoleExitProcedure() {
  CrtState& s = state();
  if (!s.created || !platform::consoleWindowExists()) return;
  platform::setWindowTitle("Programa terminado");
  platform::enableCloseCommand();
  s.breakChecking = false;
  platform::detachWindowHandler();
}

}  // namespace
}  // namespace crt

void initConsoleUnit() {
  crt::CrtState& s = crt::state();
  if (s.initialised) return;
  s.initialised = true;
  crt::registerWindowClass();
  std::string title = platform::moduleFileName(static_cast<int>(sizeof s.title));
  platform::oemToAnsi(title);
  const std::size_t n = std::min(title.size(), sizeof s.title - 1);
  std::memcpy(s.title, title.data(), n);
  s.title[n] = '\0';
  addExitProcedure(&crt::consoleExitProcedure);
}

void resetConsoleUnit() { crt::state() = crt::CrtState{}; }

void closeConsoleWindow() {
  crt::CrtState& s = crt::state();
  if (s.created) {
    while (keyPressed()) readKey();
    if (s.font != 0) {
      platform::deleteFont(s.font);
      s.font = 0;
    }
    platform::detachWindowHandler();
    platform::destroyConsoleWindow();
    s.created = false;
  }
  endProgram(0);
}

void copyToClipboard(const char* text) { platform::setClipboardText(text == nullptr ? "" : text); }

void readClipboard(char* buffer, std::size_t size) {
  if (size == 0 || buffer == nullptr) return;
  std::string text;
  switch (platform::getClipboardText(text)) {
    case platform::ClipboardRead::OpenFailed:
      return;
    case platform::ClipboardRead::NoText:
      buffer[0] = '\0';
      return;
    case platform::ClipboardRead::Text: {
      const std::size_t copied = std::min(text.size() + 1, size);
      std::memcpy(buffer, text.c_str(), copied);
      buffer[copied - 1] = '\0';
      return;
    }
  }
}

void currentDate(int& year, int& month, int& day, int& weekday) {
  const platform::LocalTime t = platform::localTime();
  year = t.year;
  month = t.month;
  day = t.day;
  weekday = t.weekday;
}

void currentTime(int& hour, int& minute, int& second, int& hundredths) {
  const platform::LocalTime t = platform::localTime();
  hour = t.hour;
  minute = t.minute;
  second = t.second;
  hundredths = t.milliseconds / 10;
}

}  // namespace tradutor
