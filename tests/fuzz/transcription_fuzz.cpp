// Any transcription rules and exceptions of the Portuguese voice, then any
// text transcribed with them. The input is the rules, a line "@@@", the
// exceptions, "@@@", and the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/host/host_control.h"
#include "tts/utts_inic.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = (platform::host::reset(), true);
  (void)ready;
  const auto parts = fuzz::splitParts(data, size, 3);
  tradutor::freeTranscriptionRules();
  if (tradutor::loadLanguageData(fuzz::writeScratch("portug.nrl", parts[0]), fuzz::writeScratch("portug.exc", parts[1]))) {
    const std::string text = parts[2].empty() ? "Bom dia, o p\xE3o de a\xE7\xFA" "car \xE9 lindo! Quem sabe?" : parts[2];
    tradutor::transcribeWords(tradutor::assignIntonationCodes(tradutor::splitIntoWords(tradutor::normalizeText(text))));
  }
  return 0;
}
