// Short-time band spectra and the distance between two of them, used to find
// the steadiest point of a phoneme and to measure how smooth the joins are.
#pragma once

#include <vector>

namespace voicedb {

constexpr int kBands = 24;

struct BandSpectrum {
  float db[kBands];
};

// The spectrum of the `size` samples centred on `centre` (size a power of
// two), Hann-windowed, in kBands bands of equal width on a mel-like scale.
BandSpectrum bandSpectrum(const float* signal, long length, long centre, int size, int rate);
// Root-mean-square difference of the band levels, in dB.
double spectralDistance(const BandSpectrum& a, const BandSpectrum& b);

}  // namespace voicedb
