// Any rules file for the diphone voice, then a text through it. The input
// is the rules file, a line "@@@", and the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "diphone/letter_rules.h"
#include "fuzz_support.h"
#include "platform/host/host_control.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = (platform::host::reset(), true);
  (void)ready;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find("@@@");
  const std::string rules = input.substr(0, split);
  const std::string text = split == std::string::npos ? "casa bonita" : input.substr(split + 3);
  const std::string path = fuzz::writeScratch("regras.rgr", reinterpret_cast<const std::uint8_t*>(rules.data()), rules.size());
  if (tradutor::loadLetterRules(path)) tradutor::textToPhonetic(text);
  return 0;
}
