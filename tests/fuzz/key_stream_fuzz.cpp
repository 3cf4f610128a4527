// Any stream of keys into the spoken line editor, with the screen review
// (Ctrl+Alt+F9) and the Braille keyboard (Ctrl+Alt+F11) reachable from it,
// on the default voice; the input is key events (fuzz::postKeyEvents).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "hub/kzwin.h"
#include "hub/line_editor.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"

namespace host = platform::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::openTalkingConsole();
  tradutor::writeLine("Entre comando MCI");
  fuzz::postKeyEvents(data, size);
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
