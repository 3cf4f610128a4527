#include "resample.h"

#include <cmath>

namespace voicedb {

std::vector<float> resample(const std::vector<short>& input, int fromRate, int toRate) {
  constexpr double kPi = 3.14159265358979323846;
  constexpr int kHalf = 24;  // input samples either side
  const double step = static_cast<double>(fromRate) / toRate;
  // Cut a little below the new Nyquist frequency, so nothing folds back.
  const double cutoff = 0.92 * std::min(1.0, 1.0 / step);
  const std::size_t count = static_cast<std::size_t>(input.size() / step);
  std::vector<float> out(count);
  for (std::size_t n = 0; n < count; ++n) {
    const double t = n * step;
    const long centre = static_cast<long>(std::floor(t));
    double sum = 0;
    for (long k = centre - kHalf + 1; k <= centre + kHalf; ++k) {
      if (k < 0 || k >= static_cast<long>(input.size())) continue;
      const double x = t - k;
      const double arg = kPi * x * cutoff;
      const double sinc = std::fabs(arg) < 1e-12 ? 1.0 : std::sin(arg) / arg;
      const double window = 0.42 + 0.5 * std::cos(kPi * x / kHalf) + 0.08 * std::cos(2 * kPi * x / kHalf);
      sum += input[static_cast<std::size_t>(k)] * cutoff * sinc * window;
    }
    out[n] = static_cast<float>(sum);
  }
  return out;
}

void highPass(std::vector<float>& signal, double hz, int rate) {
  // A second-order Butterworth section (the bilinear transform's high pass).
  constexpr double kPi = 3.14159265358979323846;
  const double w = std::tan(kPi * hz / rate), q = std::sqrt(2.0);
  const double norm = 1 / (1 + q * w + w * w);
  const double b0 = norm, b1 = -2 * norm, b2 = norm;
  const double a1 = 2 * (w * w - 1) * norm, a2 = (1 - q * w + w * w) * norm;
  for (int pass = 0; pass < 2; ++pass) {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (std::size_t k = 0; k < signal.size(); ++k) {
      float& v = signal[pass == 0 ? k : signal.size() - 1 - k];
      const double y = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1, x1 = v, y2 = y1, y1 = y;
      v = static_cast<float>(y);
    }
  }
}

}  // namespace voicedb
