#include "diphone_cutter.h"

#include <algorithm>
#include <cmath>

#include "band_levels.h"

namespace voicedb {
namespace {

// The steadiest point of [start, end): least spectral change across 10 ms,
// searched over the middle half.
long steadiest(const std::vector<float>& signal, long start, long end) {
  const long length = end - start;
  if (length < 64) return start + length / 2;
  long best = start + length / 2;
  double bestChange = 1e30;
  const long length4 = length / 4;
  for (long t = start + length4; t <= end - length4; t += 16) {
    const BandSpectrum a = bandSpectrum(signal.data(), static_cast<long>(signal.size()), t - 80, 256, kRate);
    const BandSpectrum b = bandSpectrum(signal.data(), static_cast<long>(signal.size()), t + 80, 256, kRate);
    // A slight pull toward the centre keeps ties from drifting to an edge.
    const double change = spectralDistance(a, b) + 0.5 * std::fabs(t - (start + length / 2.0)) / length;
    if (change < bestChange) bestChange = change, best = t;
  }
  return best;
}

double periodOf(const std::vector<float>& signal, const std::vector<Span>& voiced) {
  // Autocorrelation over the voiced stretches, at lags of 90 to 160 Hz.
  double bestScore = -1e30;
  int best = kRate / 118;
  for (int lag = kRate / 160; lag <= kRate / 90; ++lag) {
    double sum = 0, energy = 0;
    for (const Span& s : voiced)
      for (long t = s.start; t + lag < s.end; ++t) {
        sum += signal[t] * signal[t + lag];
        energy += signal[t] * signal[t];
      }
    const double score = energy > 0 ? sum / energy : 0;
    if (score > bestScore) bestScore = score, best = lag;
  }
  return best;
}

std::vector<float> lowPass(const std::vector<float>& x) {
  std::vector<float> a(x.size()), b(x.size());
  for (int pass = 0; pass < 2; ++pass) {
    const std::vector<float>& in = pass == 0 ? x : a;
    std::vector<float>& out = pass == 0 ? a : b;
    double sum = 0;
    const long n = static_cast<long>(in.size());
    for (long t = 0; t < n; ++t) {
      sum += in[t];
      if (t >= 9) sum -= in[t - 9];
      out[std::max(0L, t - 4)] = static_cast<float>(sum / 9);
    }
  }
  return b;
}

long argmax(const std::vector<float>& x, long from, long to) {
  from = std::max(0L, from);
  to = std::min(static_cast<long>(x.size()), to);
  long best = from;
  for (long t = from; t < to; ++t)
    if (x[t] > x[best]) best = t;
  return best;
}

std::vector<long> trackMarks(const std::vector<float>& lp, const Span& span, double period) {
  std::vector<long> marks;
  if (span.end - span.start < period) return marks;
  const long anchor = argmax(lp, span.start, span.end);
  for (long m = anchor; m >= span.start; m = argmax(lp, m - static_cast<long>(1.15 * period), m - static_cast<long>(0.85 * period)))
    marks.push_back(m);
  std::reverse(marks.begin(), marks.end());
  for (long m = argmax(lp, anchor + static_cast<long>(0.85 * period), anchor + static_cast<long>(1.15 * period));
       m < span.end; m = argmax(lp, m + static_cast<long>(0.85 * period), m + static_cast<long>(1.15 * period)))
    marks.push_back(m);
  return marks;
}

}  // namespace

bool cutDiphone(const std::vector<PhonemeEntry>& table, const Carrier& carrier, const std::vector<float>& signal,
                const std::vector<Span>& spans, long recordingEnd, CutDiphone& out) {
  long cutStart, boundary, cutEnd;
  if (carrier.left < 0) {
    boundary = spans[carrier.right].start;
    cutStart = boundary - kSilenceHalf;
  } else {
    const Span& a = spans[carrier.left];
    cutStart = steadiest(signal, a.start, a.end);
    boundary = a.end;
  }
  if (carrier.right < 0) {
    boundary = carrier.left >= 0 ? spans[carrier.left].end : boundary;
    cutEnd = boundary + kSilenceHalf;
  } else {
    const Span& b = spans[carrier.right];
    cutEnd = steadiest(signal, b.start, b.end);
    if (carrier.left >= 0) boundary = b.start;
  }
  (void)recordingEnd;
  if (!(cutStart < boundary && boundary < cutEnd)) return false;
  const long first = cutStart - kMargin, last = cutEnd + kMargin;
  if (first < 0 || last > static_cast<long>(signal.size())) return false;

  out.samples.assign(signal.begin() + first, signal.begin() + last);
  out.cutStart = static_cast<std::uint32_t>(cutStart - first);
  out.boundary = static_cast<std::uint32_t>(boundary - first);
  out.cutEnd = static_cast<std::uint32_t>(cutEnd - first);
  // The silence half is made truly silent a little after (or before) the
  // sound, so that a long pause never stretches a release into a hiss.
  const long n = static_cast<long>(out.samples.size());
  if (carrier.left < 0)
    for (long t = 0; t < n; ++t) {
      const double gain = std::clamp((t - (static_cast<long>(out.boundary) - 240)) / 160.0, 0.0, 1.0);
      out.samples[t] *= static_cast<float>(gain);
    }
  if (carrier.right < 0)
    for (long t = 0; t < n; ++t) {
      const double gain = std::clamp(((static_cast<long>(out.boundary) + 240) - t) / 160.0, 0.0, 1.0);
      out.samples[t] *= static_cast<float>(gain);
    }

  // Voiced spans of the carrier: runs of voiced phonemes.
  std::vector<Span> voiced;
  for (std::size_t i = 0; i < carrier.phonemes.size(); ++i) {
    if (!table[carrier.phonemes[i]].voiced) continue;
    if (!voiced.empty() && voiced.back().end == spans[i].start)
      voiced.back().end = spans[i].end;
    else
      voiced.push_back(spans[i]);
  }
  if (voiced.empty()) return true;
  const double period = periodOf(signal, voiced);
  const std::vector<float> lp = lowPass(signal);
  for (const Span& s : voiced)
    for (long m : trackMarks(lp, s, period))
      if (m >= first && m < last) out.marks.push_back(static_cast<std::uint32_t>(m - first));
  std::sort(out.marks.begin(), out.marks.end());
  out.marks.erase(std::unique(out.marks.begin(), out.marks.end()), out.marks.end());
  return true;
}

}  // namespace voicedb
