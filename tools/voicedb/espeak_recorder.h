// Speaks carrier words from espeak-ng phoneme input at a constant pitch and
// reports where each phoneme starts.
#pragma once

#include <string>
#include <vector>

namespace voicedb {

struct PhonemeOnset {
  std::string name;  // espeak-ng's mnemonic
  double ms;
};

struct Recording {
  std::vector<short> samples;  // at `rate`
  int rate = 0;
  std::vector<PhonemeOnset> onsets;  // pauses left out
  double endMs = 0;                  // where the last phoneme ends
};

class EspeakRecorder {
 public:
  // pitch: espeak-ng's 0..99 pitch setting; the pitch range is set to 0.
  bool open(const char* voice, int pitch);
  ~EspeakRecorder();
  // `phonemes` is written inside [[ ]]; false when espeak-ng fails.
  bool record(const std::string& phonemes, Recording& out);

 private:
  bool open_ = false;
  int rate_ = 0;
};

}  // namespace voicedb
