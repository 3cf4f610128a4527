#pragma once
// The Portuguese front end in one pass, text to the lines for MBROLA:
// normalisation, tokens, intonation codes, transcription and phoneme lines,
// each into a list the pass keeps, so that a voice speaking one text after
// another reuses their storage. Gives what the stage functions give one by
// one, entry for entry.
#include <string>
#include <string_view>

#include "tts/utts_places.h"
#include "tts/utts_prosodia.h"
#include "tts/utts_text_list.h"

namespace tradutor {

class FrontEndPass {
 public:
  // The lines, valid until the next run. With `marks`, also each word and
  // sentence of `text` as written, placed in the sound the lines make: a
  // word said as several words ("1250") is one mark, and each sentence
  // begins a mark of its own before its first word's.
  const TextList& run(std::string_view text, double durationFactor, double pitchFactor, SpokenMarks* marks = nullptr);

 private:
  void placeMarks(SpokenMarks& marks) const;

  std::string normalized_;
  SourceSpans spans_;
  TokenPlaces places_;
  TextList tokens_, coded_, phonemes_, lines_;
};

}  // namespace tradutor
