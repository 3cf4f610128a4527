// Any abbreviations file, then any text normalised with it. The input is
// the file, a line "@@@", and the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/host/host_control.h"
#include "tts/utts_preproc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = (platform::host::reset(), true);
  (void)ready;
  const auto parts = fuzz::splitParts(data, size, 2);
  const std::string path = fuzz::writeScratch("portug.abr", parts[0]);
  if (tradutor::loadAbbreviations(path)) {
    tradutor::normalizeText(parts[1].empty() ? "O Sr. Silva mora na Av. Brasil, 1500; tel. 3333-4444." : parts[1]);
    tradutor::lookupAbbreviation(parts[1]);
  }
  return 0;
}
