// Any text through the Portuguese front end, from normalisation to the
// phoneme lines, with the default language data; and through the voice's
// one pass, whose word and sentence marks must lie inside the text, in order.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/host/host_control.h"
#include "tts/utts_inic.h"
#include "tts/utts_pipeline.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    platform::host::reset();
    return tradutor::loadAbbreviations(fuzz::voiceData("portug.abr")) &&
           tradutor::loadProsodyFile(fuzz::voiceData("portug.pro")) &&
           tradutor::loadLanguageData(fuzz::voiceData("portug.nrl"), fuzz::voiceData("portug.exc")) &&
           tradutor::loadDiphoneList(fuzz::voiceData("portug.dfn"));
  }();
  if (!ready) __builtin_trap();
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto codes = tradutor::assignIntonationCodes(tradutor::splitIntoWords(tradutor::normalizeText(text)));
  const auto lines = tradutor::makePhonemeLines(tradutor::transcribeWords(codes), 0.8, 1.0);
  // libFuzzer keeps return values other than 0 for itself: a runaway is a crash.
  if (lines.size() > 1000000) __builtin_trap();
  static tradutor::FrontEndPass pass;
  tradutor::SpokenMarks marks;
  pass.run(text, 0.8, 1.0, &marks);
  std::uint64_t lastWord = 0;
  std::uint32_t lastEnd = 0;
  for (const auto& m : marks) {
    if (m.source.begin >= m.source.end || m.source.end > text.size()) __builtin_trap();
    if (m.kind != tradutor::SpokenMark::Kind::word) continue;
    if (m.sample < lastWord || m.source.begin < lastEnd) __builtin_trap();
    lastWord = m.sample;
    lastEnd = m.source.end;
  }
  return 0;
}
