#include "resampler.h"

#include <algorithm>
#include <cmath>

namespace psola {
namespace {
constexpr double kPi = 3.14159265358979323846;
}

void Resampler::configure(int inputRate, int outputRate) {
  ratio_ = static_cast<double>(inputRate) / outputRate;
  cutoff_ = std::min(1.0, 1.0 / ratio_);
  clear();
}

void Resampler::clear() {
  next_ = 0;
  inputCount_ = 0;
  base_ = 0;
  history_.clear();
}

int Resampler::read(float* out, int count, const std::function<int(float*, int)>& pull, bool ended) {
  const int reach = static_cast<int>(std::ceil(kTaps / cutoff_));
  int done = 0;
  float chunk[256];
  while (done < count) {
    const long long centre = static_cast<long long>(std::floor(next_));
    // Pull until the window around the next output sample is covered.
    while (inputCount_ <= centre + reach) {
      const int n = pull(chunk, 256);
      if (n <= 0) break;
      history_.insert(history_.end(), chunk, chunk + n);
      inputCount_ += n;
    }
    if (inputCount_ <= centre + reach) {
      // Not enough input: stop, unless the input has ended, when the samples
      // before its end are still owed (their right side is silence).
      if (!ended || next_ >= static_cast<double>(inputCount_)) break;
    }
    double sum = 0;
    for (long long k = centre - reach + 1; k <= centre + reach; ++k) {
      if (k < base_ || k >= inputCount_) continue;
      const double x = next_ - static_cast<double>(k);
      const double arg = kPi * x * cutoff_;
      const double sinc = std::fabs(arg) < 1e-9 ? 1.0 : std::sin(arg) / arg;
      const double window = 0.5 * (1 + std::cos(kPi * x / (reach + 1)));
      sum += history_[static_cast<std::size_t>(k - base_)] * sinc * window * cutoff_;
    }
    out[done++] = static_cast<float>(sum);
    next_ += ratio_;
    // Keep only the input that a later output sample can still reach.
    const long long keepFrom = static_cast<long long>(std::floor(next_)) - reach;
    if (keepFrom - base_ > 4096) {
      history_.erase(history_.begin(), history_.begin() + (keepFrom - base_));
      base_ = keepFrom;
    }
  }
  return done;
}

}  // namespace psola
