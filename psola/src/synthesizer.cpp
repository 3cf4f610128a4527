#include "synthesizer.h"

#include <algorithm>
#include <cmath>

namespace psola {
namespace {
constexpr int kWindowSteps = 1024;
constexpr double kCrossfadeHalf = 96;  // output samples either side of a phoneme's centre
constexpr double kPi = 3.14159265358979323846;

// cos(x) for x in [0, pi] by its Taylor series: plain arithmetic, so every
// build (glibc, MinGW's runtime) makes the same window to the last bit.
double cosine(double x) {
  const double x2 = x * x;
  double term = 1, sum = 1;
  for (int k = 1; k < 30; ++k) {
    term *= -x2 / ((2 * k - 1) * (2 * k));
    sum += term;
  }
  return sum;
}
}  // namespace

void Synthesizer::attach(const Database* db) {
  db_ = db;
  window_.resize(kWindowSteps + 1);
  grainWindow_.reserve(2 * kMaxHalfWindow + 1);  // never grown while reading
  windowHalf_ = 0;
  for (int i = 0; i <= kWindowSteps; ++i) window_[i] = static_cast<float>(0.5 * (1 + cosine(kPi * i / kWindowSteps)));
  silence_ = db->findPhoneme("_", 1);
  // The voice's own pitch: the median spacing of its voiced marks. Used when
  // an utterance gives no pitch target at all.
  std::vector<std::uint32_t> spacings;
  for (const Diphone& d : db->diphones)
    for (std::uint32_t k = 1; k < d.markCount; ++k) {
      const std::uint32_t a = db->marks[d.markOffset + k - 1], b = db->marks[d.markOffset + k];
      if ((a & 1) && (b & 1)) spacings.push_back((b >> 1) - (a >> 1));
    }
  if (!spacings.empty()) {
    std::nth_element(spacings.begin(), spacings.begin() + spacings.size() / 2, spacings.end());
    naturalF0_ = std::clamp(db->sampleRate / static_cast<double>(spacings[spacings.size() / 2]), kMinF0, 500.0);
  }
  clear();
}

void Synthesizer::clear() {
  phones_.clear();
  targets_.clear();
  previous_ = lastQueued_ = silence_;
  timeEnd_ = nextMark_ = 0;
  nextOrigin_ = origin_ = 0;
  utterance_ = 0;
  utteranceOpen_ = false;
  readPos_ = finalUpTo_ = zeroedUpTo_ = 0;
  std::fill(ring_.begin(), ring_.end(), 0.0f);
  missingLeft_ = missingRight_ = -1;
  jitter_ = 12345;
}

bool Synthesizer::checkPair(int left, int right) {
  if (db_->find(left, right) != nullptr) return true;
  missingLeft_ = left;
  missingRight_ = right;
  return noError_;
}

bool Synthesizer::push(int phoneme, double ms, const std::vector<PitchPoint>& points) {
  const int index = phoneme < 0 ? silence_ : phoneme;
  if (!utteranceOpen_) timeEnd_ = 0;
  utteranceOpen_ = true;
  const bool ok = checkPair(lastQueued_, index);
  const double start = timeEnd_;
  const double end = start + ms * db_->sampleRate / 1000.0;
  timeEnd_ = end;
  phones_.push_back({index, start, end, nextOrigin_, utterance_, false});
  for (const PitchPoint& point : points)
    targets_.push_back({start + point.position / 100.0 * (end - start), point.hz, utterance_});
  lastQueued_ = index;
  return ok;
}

bool Synthesizer::endUtterance() {
  if (!utteranceOpen_) return true;
  const bool ok = checkPair(lastQueued_, silence_);
  phones_.back().last = true;
  nextOrigin_ += std::llround(timeEnd_);
  ++utterance_;
  utteranceOpen_ = false;
  lastQueued_ = silence_;
  return ok;
}

bool Synthesizer::ready(const Phone& p) const {
  if (!p.last && phones_.size() < 2) return false;
  if (p.utterance < utterance_) return true;
  if (!targets_.empty() && targets_.back().utterance == p.utterance && targets_.back().time >= p.end) return true;
  return phones_.size() > kMaxPending;
}

double Synthesizer::f0At(double time, std::uint32_t utterance) {
  while (!targets_.empty() && targets_.front().utterance < utterance) targets_.pop_front();
  while (targets_.size() >= 2 && targets_[1].utterance == utterance && targets_[1].time <= time) targets_.pop_front();
  if (targets_.empty() || targets_.front().utterance != utterance) return naturalF0_;
  const Target& a = targets_.front();
  if (time <= a.time || targets_.size() < 2 || targets_[1].utterance != utterance) return a.hz;
  const Target& b = targets_[1];
  if (b.time <= a.time) return b.hz;
  return a.hz + (b.hz - a.hz) * (time - a.time) / (b.time - a.time);
}

int Synthesizer::nearestMark(const Diphone& d, double position, bool& voiced, double& period) const {
  voiced = false;
  period = db_->sampleRate / naturalF0_;
  if (d.markCount == 0) return static_cast<int>(std::lround(position));
  const std::uint32_t* marks = db_->marks.data() + d.markOffset;
  const std::uint32_t* end = marks + d.markCount;
  const std::uint32_t key = position <= 0 ? 0u : static_cast<std::uint32_t>(position) << 1;
  const std::uint32_t* after = std::lower_bound(marks, end, key);
  const std::uint32_t* best = after;
  if (after == end || (after != marks && position - ((after[-1]) >> 1) < static_cast<double>(after[0] >> 1) - position))
    best = after - 1;
  const int centre = static_cast<int>(*best >> 1);
  // The local period is the nearer neighbour's spacing; a gap (an unvoiced
  // stretch between two voiced ones) is not a period.
  double spacing = 1e9;
  if (best + 1 < end) spacing = (best[1] >> 1) - centre;
  if (best > marks) spacing = std::min(spacing, static_cast<double>(centre - (best[-1] >> 1)));
  if (spacing <= kMaxHalfWindow) period = spacing;
  voiced = (*best & 1) && std::fabs(centre - position) <= period;
  return centre;
}

void Synthesizer::zeroUpTo(long long end) {
  while (zeroedUpTo_ < end) {
    const int at = static_cast<int>(zeroedUpTo_ & (kRing - 1));
    const int run = static_cast<int>(std::min<long long>(end - zeroedUpTo_, kRing - at));
    std::fill(ring_.begin() + at, ring_.begin() + at + run, 0.0f);
    zeroedUpTo_ += run;
  }
}

const float* Synthesizer::windowOf(int half) {
  // Grains of one size follow each other (every unvoiced grain, and voiced
  // ones while the pitch holds), so the shape of the last size is kept.
  if (half != windowHalf_) {
    windowHalf_ = half;
    grainWindow_.resize(static_cast<std::size_t>(2 * half + 1));
    const int step = (kWindowSteps << 16) / half;  // 16.16 fixed point
    for (int k = 0; k <= half; ++k) grainWindow_[half + k] = grainWindow_[half - k] = window_[(k * step) >> 16];
  }
  return grainWindow_.data() + half;
}

void Synthesizer::addGrain(const Diphone& d, int centre, double weight, long long at, int half, long long floor) {
  const std::size_t index = static_cast<std::size_t>(&d - db_->diphones.data());
  const std::int16_t* source = db_->samples.data() + d.sampleOffset;
  // Only the diphone's sounding stretch is read: a grain of silence adds nothing.
  int first = std::max(-half, static_cast<int>(db_->soundStart[index]) - centre);
  const int last = std::min(half, static_cast<int>(db_->soundEnd[index]) - 1 - centre);
  if (at + first < floor) first = static_cast<int>(floor - at);
  if (first > last) return;
  zeroUpTo(at + last + 1);
  const float gain = static_cast<float>(weight);
  const float* window = windowOf(half);
  const std::int16_t* from = source + centre;
  // In at most two runs, on either side of the ring's wrap.
  for (int k = first; k <= last;) {
    const int at0 = static_cast<int>((at + k) & (kRing - 1));
    const int run = std::min(last - k + 1, kRing - at0);
    float* to = ring_.data() + at0 - k;
    for (int j = k; j < k + run; ++j) to[j] += gain * window[j] * static_cast<float>(from[j]);
    k += run;
  }
}

// Where an output point of a phoneme falls in its source. Each half of the
// phoneme is laid from the diphone's boundary toward its cut point: the
// stretch next to the boundary (half the shorter of source and output, where
// the transitions and bursts are) keeps its natural rate, and the steady rest
// near the phoneme's centre takes up the change of duration.
struct HalfMap {
  double source, output, boundary;
  double transition() const { return 0.5 * std::min(source, output); }
  double rate() const {
    const double t = transition();
    return output - t > 0 ? (source - t) / (output - t) : 1.0;
  }
  // `distance`: output samples from the boundary; returns samples from it.
  double map(double distance, bool& steady) const {
    const double t = transition();
    steady = distance >= t;
    return steady ? t + (distance - t) * rate() : distance;
  }
};

void Synthesizer::placeGrain(const Phone& p, double mark, double& hop) {
  const int next = (!p.last && phones_.size() >= 2) ? phones_[1].phoneme : silence_;
  const Diphone* first = db_->find(previous_, p.phoneme);
  const Diphone* second = db_->find(p.phoneme, next);
  double l1 = first ? first->cutEnd - first->boundary : -1.0;
  double l2 = second ? second->boundary - second->cutStart : -1.0;
  if (l1 < 0 && l2 < 0) l1 = l2 = 1;
  if (l1 < 0) l1 = l2;
  if (l2 < 0) l2 = l1;
  if (l1 + l2 <= 0) l1 = l2 = 1;

  const double length = p.end - p.start;
  const double u = mark - p.start;
  const double o1 = length * l1 / (l1 + l2);
  const HalfMap firstMap{l1, o1, first ? static_cast<double>(first->boundary) : 0};
  const HalfMap secondMap{l2, length - o1, second ? static_cast<double>(second->boundary) : 0};
  bool steadyFirst, steadySecond;
  const double posFirst = firstMap.boundary + firstMap.map(u, steadyFirst);
  const double posSecond = secondMap.boundary - secondMap.map(length - u, steadySecond);

  const bool inFirst = u < o1;
  const Diphone* main = inFirst ? first : second;
  hop = kUnvoicedHop;
  if (main == nullptr) return;  // a missing diphone is silence
  double pos = inFirst ? posFirst : posSecond;
  const double periodOut = db_->sampleRate / std::max(f0At(mark, p.utterance), kMinF0);

  // A phoneme the database calls unvoiced is never made pitch-synchronously,
  // even next to a voiced neighbour's last marks.
  const bool phonemeVoiced = (db_->phonemes[p.phoneme].flags & kPhonemeVoiced) != 0;
  bool voiced;
  double periodIn;
  int centre = nearestMark(*main, pos, voiced, periodIn);
  voiced = voiced && phonemeVoiced;
  int half = kUnvoicedHop;
  if (voiced) {
    hop = periodOut;
    half = std::clamp(static_cast<int>(std::lround(std::min(periodIn, periodOut))), 16, kMaxHalfWindow);
  } else {
    // Noise stretched grain by grain would repeat itself at one fixed lag and
    // ring like a comb; a random shift of each grain's source keeps it noise.
    const HalfMap& map = inFirst ? firstMap : secondMap;
    if ((inFirst ? steadyFirst : steadySecond) && map.rate() < 0.95) pos += nextJitter();
    centre = static_cast<int>(std::lround(pos));
  }
  const long long at = p.origin + std::llround(mark);
  const long long floor = std::max(finalUpTo_, p.origin);

  const double fade = std::min({kCrossfadeHalf, o1 / 2, (length - o1) / 2});
  if (first && second && fade > 0 && std::fabs(u - o1) < fade) {
    const double alpha = (u - (o1 - fade)) / (2 * fade);
    const Diphone& other = inFirst ? *second : *first;
    const double otherPos = inFirst ? posSecond : posFirst;
    bool otherVoiced;
    double otherPeriod;
    int otherCentre = nearestMark(other, otherPos, otherVoiced, otherPeriod);
    if (!(voiced && otherVoiced)) otherCentre = static_cast<int>(std::lround(otherPos));
    addGrain(*first, inFirst ? centre : otherCentre, 1 - alpha, at, half, floor);
    addGrain(*second, inFirst ? otherCentre : centre, alpha, at, half, floor);
    return;
  }
  addGrain(*main, centre, 1.0, at, half, floor);
}

double Synthesizer::nextJitter() {
  jitter_ = jitter_ * 1664525u + 1013904223u;
  return static_cast<double>((jitter_ >> 8) % (2 * kUnvoicedHop + 1)) - kUnvoicedHop;
}

bool Synthesizer::step() {
  if (phones_.empty() || !ready(phones_.front())) return false;
  const Phone& p = phones_.front();
  if (p.origin != origin_) {  // the first phoneme of a new utterance
    origin_ = p.origin;
    nextMark_ = 0;
  }
  if (nextMark_ >= p.end) {
    if (p.last) {
      // Grain tails past the utterance's end are cut: the next utterance
      // starts from silence at that very sample.
      const long long end = p.origin + std::llround(p.end);
      zeroUpTo(end);
      for (long long t = end; t < zeroedUpTo_; ++t) ring_[t & (kRing - 1)] = 0.0f;
      zeroedUpTo_ = end;
      finalUpTo_ = end;
      previous_ = silence_;
    } else {
      previous_ = p.phoneme;
    }
    phones_.pop_front();
    return true;
  }
  double hop;
  placeGrain(p, nextMark_, hop);
  nextMark_ += hop;
  const long long done = p.origin + static_cast<long long>(std::floor(nextMark_)) - kMaxHalfWindow;
  if (done > finalUpTo_) {
    zeroUpTo(done);
    finalUpTo_ = done;
  }
  return true;
}

template <typename Sink>
int Synthesizer::readInto(int count, Sink sink) {
  int done = 0;
  while (done < count) {
    if (readPos_ < finalUpTo_) {
      const int n = static_cast<int>(std::min<long long>(count - done, finalUpTo_ - readPos_));
      // The ring is read in at most two runs, on either side of its wrap.
      const int at = static_cast<int>(readPos_ & (kRing - 1));
      const int run = std::min(n, kRing - at);
      sink(done, ring_.data() + at, run);
      if (run < n) sink(done + run, ring_.data(), n - run);
      readPos_ += n;
      done += n;
      continue;
    }
    if (!step()) break;
  }
  return done;
}

int Synthesizer::read(float* out, int count) {
  return readInto(count, [out](int to, const float* from, int n) { std::copy(from, from + n, out + to); });
}

int Synthesizer::read(short* out, int count, float volume) {
  return readInto(count, [out, volume](int to, const float* from, int n) {
    for (int i = 0; i < n; ++i) out[to + i] = toSample(from[i] * volume);
  });
}

}  // namespace psola
