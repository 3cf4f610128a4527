// Changes the output rate for setFreq_MBR: a streaming windowed-sinc
// interpolator over the 16 kHz samples of the synthesizer.
#pragma once

#include <functional>
#include <vector>

namespace psola {

class Resampler {
 public:
  static constexpr int kTaps = 12;  // zero crossings either side

  void configure(int inputRate, int outputRate);
  void clear();
  // Pulls input with `pull` (which returns how many samples it gave, 0 when
  // none are ready); `ended` says the input has ended for now, so the tail
  // may be completed with silence. Returns the samples written to `out`.
  int read(float* out, int count, const std::function<int(float*, int)>& pull, bool ended);

 private:
  double ratio_ = 1;   // input samples per output sample
  double cutoff_ = 1;  // of the input band
  double next_ = 0;    // input position of the next output sample
  long long inputCount_ = 0;  // input samples taken so far
  std::vector<float> history_;  // the input, from index base_ on
  long long base_ = 0;
};

}  // namespace psola
