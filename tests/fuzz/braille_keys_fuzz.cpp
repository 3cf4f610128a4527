// Any key downs and ups with the Braille keyboard on: every byte the queue
// gives is read until it runs dry. The input is key events
// (fuzz::postKeyEvents); the first byte chooses the Braille mode.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"

namespace host = platform::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::openTalkingConsole();
  tradutor::setBrailleMode(1 + data[0] % 2);
  fuzz::postKeyEvents(data + 1, size - 1);
  try {
    for (int n = 0; n < 1000 && tradutor::keyPressed(); ++n) tradutor::readKey();
  } catch (const host::Stalled&) {
  } catch (const host::ProgramExit&) {
  }
  return 0;
}
