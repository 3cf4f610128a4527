// Any screen explored by any keys in the screen review: the input is the
// text on the screen, a line "@@@", and key events (fuzz::postKeyEvents).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "hub/kzwin.h"
#include "hub/screen_review.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"

namespace host = platform::host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t split = input.find("@@@");
  if (split == std::string::npos) split = 0;
  fuzz::openTalkingConsole();
  // Written as a program writes it: CR, LF, tabs and every other byte as they come.
  tradutor::writeText(std::string_view(input).substr(0, split));
  const std::size_t keys = split == 0 ? 0 : split + 3;
  fuzz::postKeyEvents(data + keys, size - keys);
  host::pressKey(0x1B);  // Esc ends the review once the fuzzed keys are spent
  try {
    tradutor::startSpeech(3, "");
    tradutor::runScreenReview();
  } catch (const host::Stalled&) {
  } catch (const host::ProgramExit&) {
  }
  return 0;
}
