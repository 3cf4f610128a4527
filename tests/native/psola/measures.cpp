#include "measures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "mbrola.h"

namespace psola_test {
namespace {

double correlation(const std::vector<short>& x, long from, long to, long lag) {
  double sum = 0, e0 = 0, e1 = 0;
  for (long t = from; t + lag < to; ++t) {
    sum += static_cast<double>(x[t]) * x[t + lag];
    e0 += static_cast<double>(x[t]) * x[t];
    e1 += static_cast<double>(x[t + lag]) * x[t + lag];
  }
  return e0 > 0 && e1 > 0 ? sum / std::sqrt(e0 * e1) : 0;
}

}  // namespace

std::vector<short> readAll(int piece) {
  std::vector<short> out, buffer(static_cast<std::size_t>(std::max(piece, 1)));
  for (int n; (n = read_MBR(buffer.data(), piece)) > 0;) out.insert(out.end(), buffer.begin(), buffer.begin() + n);
  return out;
}

std::vector<short> speak(const std::string& text, int piece) {
  std::vector<short> out;
  auto drain = [&] {
    const std::vector<short> got = readAll(piece);
    out.insert(out.end(), got.begin(), got.end());
  };
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at) + "\r\n";
    write_MBR(line.data());
    drain();
    at = end + 1;
  }
  flush_MBR();
  drain();
  return out;
}

std::vector<short> speakAtOnce(const std::string& text) {
  std::string copy = text + "\n";
  write_MBR(copy.data());
  flush_MBR();
  return readAll(1000);
}

double pitchOf(const std::vector<short>& x, long from, long to) {
  // The first lag whose correlation comes near the best one is the period
  // (the best may be two or three periods when mark positions are rounded).
  const long lowest = 16000 / 500, highest = std::min(16000L / 50, (to - from) / 2);
  double bestScore = -2;
  for (long lag = lowest; lag <= highest; ++lag) bestScore = std::max(bestScore, correlation(x, from, to, lag));
  long best = lowest;
  for (long lag = lowest; lag <= highest; ++lag)
    if (correlation(x, from, to, lag) >= 0.9 * bestScore) {
      best = lag;
      while (best + 1 <= highest && correlation(x, from, to, best + 1) > correlation(x, from, to, best)) ++best;
      break;
    }
  // Parabolic refinement around the peak.
  const double a = correlation(x, from, to, best - 1), b = correlation(x, from, to, best),
               c = correlation(x, from, to, best + 1);
  const double denominator = a - 2 * b + c;
  const double shift = std::fabs(denominator) > 1e-12 ? 0.5 * (a - c) / denominator : 0;
  return 16000.0 / (best + std::clamp(shift, -0.5, 0.5));
}

double periodicity(const std::vector<short>& x, long from, long to) {
  double best = 0;
  for (long lag = 32; lag <= std::min(320L, (to - from) / 2); ++lag) best = std::max(best, correlation(x, from, to, lag));
  return best;
}

double correlationNear(const std::vector<short>& x, long from, long to, long lag) {
  double best = -1;
  for (long k = lag - 3; k <= lag + 3; ++k) best = std::max(best, correlation(x, from, to, k));
  return best;
}

double rms(const std::vector<short>& x, long from, long to) {
  double sum = 0;
  for (long t = from; t < to; ++t) sum += static_cast<double>(x[t]) * x[t];
  return to > from ? std::sqrt(sum / (to - from)) : 0;
}

int peak(const std::vector<short>& x) {
  int p = 0;
  for (short s : x) p = std::max(p, std::abs(static_cast<int>(s)));
  return p;
}

std::string engineError() {
  char text[256];
  return lastErrorStr_MBR(text, sizeof text);
}

}  // namespace psola_test
