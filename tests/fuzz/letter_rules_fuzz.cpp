// Any rules file and exception words for the diphone voice, then a text
// through them. The input is the rules file, a line "@@@", the text, "@@@",
// and the exception words.
#include <cstddef>
#include <cstdint>
#include <string>

#include "diphone/letter_rules.h"
#include "fuzz_support.h"
#include "platform/host/host_control.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = (platform::host::reset(), true);
  (void)ready;
  const auto parts = fuzz::splitParts(data, size, 3);
  tradutor::freeLetterRules();
  if (tradutor::loadLetterRules(fuzz::writeScratch("regras.rgr", parts[0]))) {
    tradutor::loadExceptionWords(fuzz::writeScratch("portug.exc", parts[2]));
    tradutor::textToPhonetic(parts[1].empty() ? "casa bonita" : parts[1]);
  }
  return 0;
}
