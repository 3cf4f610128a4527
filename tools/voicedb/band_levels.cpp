#include "band_levels.h"

#include <cmath>
#include <complex>

namespace voicedb {
namespace {

constexpr double kPi = 3.14159265358979323846;

void fft(std::vector<std::complex<double>>& a) {
  const std::size_t n = a.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (std::size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> w(std::cos(-2 * kPi / len), std::sin(-2 * kPi / len));
    for (std::size_t i = 0; i < n; i += len) {
      std::complex<double> wn(1);
      for (std::size_t k = 0; k < len / 2; ++k, wn *= w) {
        const auto u = a[i + k], v = a[i + k + len / 2] * wn;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
      }
    }
  }
}

double mel(double hz) { return 2595 * std::log10(1 + hz / 700); }

}  // namespace

BandSpectrum bandSpectrum(const float* signal, long length, long centre, int size, int rate) {
  std::vector<std::complex<double>> frame(static_cast<std::size_t>(size));
  for (int i = 0; i < size; ++i) {
    const long at = centre - size / 2 + i;
    const double x = (at >= 0 && at < length) ? signal[at] : 0.0;
    frame[static_cast<std::size_t>(i)] = x * (0.5 - 0.5 * std::cos(2 * kPi * i / size));
  }
  fft(frame);
  double energy[kBands] = {};
  const double top = mel(rate / 2.0);
  for (int bin = 1; bin < size / 2; ++bin) {
    const int band = std::min(kBands - 1, static_cast<int>(mel(bin * static_cast<double>(rate) / size) / top * kBands));
    energy[band] += std::norm(frame[static_cast<std::size_t>(bin)]);
  }
  BandSpectrum s;
  for (int b = 0; b < kBands; ++b) s.db[b] = static_cast<float>(10 * std::log10(energy[b] + 1e3));
  return s;
}

double spectralDistance(const BandSpectrum& a, const BandSpectrum& b) {
  double sum = 0;
  for (int i = 0; i < kBands; ++i) sum += (a.db[i] - b.db[i]) * (a.db[i] - b.db[i]);
  return std::sqrt(sum / kBands);
}

}  // namespace voicedb
