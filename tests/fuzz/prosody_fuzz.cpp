// Any prosody file or diphone list of the Portuguese voice (the first byte
// chooses which), loaded over the default other files, then sentences of
// each kind through the whole front end.
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
  static const bool ready = [] {
    platform::host::reset();
    return tradutor::loadAbbreviations(fuzz::voiceData("portug.abr")) &&
           tradutor::loadLanguageData(fuzz::voiceData("portug.nrl"), fuzz::voiceData("portug.exc"));
  }();
  if (!ready) __builtin_trap();
  if (size == 0) return 0;
  const bool diphones = data[0] & 1;
  const std::string fuzzed = fuzz::writeScratch(diphones ? "portug.dfn" : "portug.pro", data + 1, size - 1);
  const bool ok = tradutor::loadProsodyFile(diphones ? fuzz::voiceData("portug.pro") : fuzzed) &&
                  tradutor::loadDiphoneList(diphones ? fuzzed : fuzz::voiceData("portug.dfn"));
  if (ok) {
    const auto codes = tradutor::assignIntonationCodes(tradutor::splitIntoWords(
        tradutor::normalizeText("Bom dia, Sr. Silva! Voc\xEA vem hoje? Sim; eu vou: \xE0s 14h30 do dia 12/05/2026.")));
    tradutor::makePhonemeLines(tradutor::transcribeWords(codes), 0.8, 1.3);
  }
  tradutor::freeDiphoneList();
  return 0;
}
