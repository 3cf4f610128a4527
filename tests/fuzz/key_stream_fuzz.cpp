// Any stream of keys into the spoken line editor, with the screen review
// (Ctrl+Alt+F9) and the Braille keyboard (Ctrl+Alt+F11) reachable from it,
// on the default voice. Each pair of bytes is one key event: the first says
// how (pressed, a character, down only, up only) and with which modifiers,
// the second which key or character.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "hub/kzwin.h"
#include "hub/line_editor.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace host = platform::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::resetProgram();
  host::mapDrive('C', std::string(FUZZ_VOICE_DIR) + "/drive_c");
  host::setWindowsDirectory("C:\\windows");
  host::setCurrentDirectory("C:\\tarsis");
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  tradutor::initSpeechHub();
  tradutor::openConsoleWindow();
  tradutor::writeLine("Entre comando MCI");
  for (std::size_t i = 0; i + 1 < size && i < 400; i += 2) {
    const std::uint8_t how = data[i], what = data[i + 1];
    const host::Modifiers m{(how & 4) != 0, (how & 8) != 0, (how & 16) != 0};
    switch (how & 3) {
      case 0: host::pressKey(what, m); break;
      case 1: host::postChar(what, m); break;
      case 2: host::postKeyDown(what, m); break;
      default: host::postKeyUp(what, m); break;
    }
  }
  try {
    tradutor::startSpeech(3, "");
    std::string line;
    tradutor::readSpokenLine(line);
  } catch (const host::Stalled&) {
    // The keys ran out before the line was ended: what a fuzzer gives.
  } catch (const host::ProgramExit&) {
    // Ctrl+Break or a close: the program ends, as it should.
  }
  return 0;
}
