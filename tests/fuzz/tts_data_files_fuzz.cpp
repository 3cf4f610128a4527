// Any bytes as one of the Portuguese voice's data files (chosen by the first
// byte: abbreviations, prosody, diphone list, rules, exceptions), loaded over
// the default others, then a sentence through the front end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/host/host_control.h"
#include "tts/utts_excessoes.h"
#include "tts/utts_inic.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = (platform::host::reset(), true);
  (void)ready;
  if (size == 0) return 0;
  const int kind = data[0] % 5;
  const char* endings[] = {".abr", ".pro", ".dfn", ".nrl", ".exc"};
  const std::string fuzzed = fuzz::writeScratch(std::string("portug") + endings[kind], data + 1, size - 1);
  auto file = [&](int k) { return k == kind ? fuzzed : fuzz::voiceData(std::string("portug") + endings[k]); };
  platform::host::reset();
  bool ok = tradutor::loadAbbreviations(file(0)) && tradutor::loadProsodyFile(file(1)) && tradutor::loadDiphoneList(file(2));
  tradutor::freeTranscriptionRules();
  ok = ok && tradutor::loadLanguageData(file(3), file(4));
  if (ok) {
    const auto codes = tradutor::assignIntonationCodes(
        tradutor::splitIntoWords(tradutor::normalizeText("Bom dia, Sr. Silva! S\xE3o 14h30 do dia 12/05/2026.")));
    tradutor::makePhonemeLines(tradutor::transcribeWords(codes), 1.0, 1.0);
  }
  tradutor::freeDiphoneList();
  return 0;
}
