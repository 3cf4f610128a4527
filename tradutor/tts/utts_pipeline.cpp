#include "tts/utts_pipeline.h"

#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

namespace tradutor {

const TextList& FrontEndPass::run(std::string_view text, double durationFactor, double pitchFactor) {
  normalizeText(text, normalized_);
  splitIntoWords(normalized_, tokens_);
  assignIntonationCodes(tokens_, coded_);
  transcribeWords(coded_, phonemes_);
  makePhonemeLines(phonemes_, durationFactor, pitchFactor, lines_);
  return lines_;
}

}  // namespace tradutor
