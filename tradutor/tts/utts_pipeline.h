#pragma once
// The Portuguese front end in one pass, text to the lines for MBROLA:
// normalisation, tokens, intonation codes, transcription and phoneme lines,
// each into a list the pass keeps, so that a voice speaking one text after
// another reuses their storage. Gives what the stage functions give one by
// one, entry for entry.
#include <string>
#include <string_view>

#include "tts/utts_text_list.h"

namespace tradutor {

class FrontEndPass {
 public:
  // The lines, valid until the next run.
  const TextList& run(std::string_view text, double durationFactor, double pitchFactor);

 private:
  std::string normalized_;
  TextList tokens_, coded_, phonemes_, lines_;
};

}  // namespace tradutor
