#include "synthesizer.h"

#include <algorithm>
#include <cmath>

namespace psola {
namespace {
constexpr int kWindowSteps = 1024;
constexpr double kCrossfadeHalf = 96;  // source samples either side of a phoneme's centre
}  // namespace

void Synthesizer::attach(const Database* db) {
  db_ = db;
  window_.resize(kWindowSteps + 1);
  for (int i = 0; i <= kWindowSteps; ++i)
    window_[i] = static_cast<float>(0.5 * (1 + std::cos(3.14159265358979323846 * i / kWindowSteps)));
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
  timeEnd_ = uttStart_ = nextMark_ = 0;
  utterance_ = 0;
  utteranceOpen_ = false;
  readPos_ = finalUpTo_ = zeroedUpTo_ = 0;
  std::fill(ring_.begin(), ring_.end(), 0.0f);
  missingLeft_ = missingRight_ = -1;
}

bool Synthesizer::checkPair(int left, int right) {
  if (db_->find(left, right) != nullptr) return true;
  missingLeft_ = left;
  missingRight_ = right;
  return noError_;
}

bool Synthesizer::push(int phoneme, double ms, const std::vector<PitchPoint>& points) {
  const int index = phoneme < 0 ? silence_ : phoneme;
  utteranceOpen_ = true;
  const bool ok = checkPair(lastQueued_, index);
  const double start = timeEnd_;
  const double end = start + ms * db_->sampleRate / 1000.0;
  timeEnd_ = end;
  phones_.push_back({index, start, end, utterance_, false});
  for (const PitchPoint& point : points)
    targets_.push_back({start + point.position / 100.0 * (end - start), point.hz, utterance_});
  lastQueued_ = index;
  return ok;
}

bool Synthesizer::endUtterance() {
  if (!utteranceOpen_) return true;
  const bool ok = checkPair(lastQueued_, silence_);
  phones_.back().last = true;
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
  if (best + 1 < end && best > marks)
    period = ((best[1] >> 1) - (best[-1] >> 1)) / 2.0;
  else if (best + 1 < end)
    period = (best[1] >> 1) - centre;
  else if (best > marks)
    period = centre - (best[-1] >> 1);
  voiced = (*best & 1) && std::fabs(centre - position) <= period;
  return centre;
}

void Synthesizer::zeroUpTo(long long end) {
  for (; zeroedUpTo_ < end; ++zeroedUpTo_) ring_[zeroedUpTo_ & (kRing - 1)] = 0.0f;
}

void Synthesizer::addGrain(const Diphone& d, int centre, double weight, long long at, int half, long long floor) {
  const std::int16_t* source = db_->samples.data() + d.sampleOffset;
  const int count = static_cast<int>(d.sampleCount);
  int first = std::max(-half, -centre);
  int last = std::min(half, count - 1 - centre);
  if (at + first < floor) first = static_cast<int>(floor - at);
  if (first > last) return;
  zeroUpTo(at + last + 1);
  const double step = static_cast<double>(kWindowSteps) / half;
  const float gain = static_cast<float>(weight);
  for (int k = first; k <= last; ++k) {
    const float w = window_[static_cast<int>(std::abs(k) * step)];
    ring_[(at + k) & (kRing - 1)] += gain * w * source[centre + k];
  }
}

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

  const double sigma = (mark - p.start) / (p.end - p.start) * (l1 + l2);
  const double periodOut = db_->sampleRate / std::max(f0At(mark, p.utterance), kMinF0);
  const bool inFirst = sigma < l1;
  const Diphone* main = inFirst ? first : second;
  hop = kUnvoicedHop;
  if (main == nullptr) return;  // a missing diphone is silence
  const double posFirst = first ? first->boundary + sigma : 0;
  const double posSecond = second ? second->cutStart + (sigma - l1) : 0;
  const double pos = inFirst ? posFirst : posSecond;

  bool voiced;
  double periodIn;
  int centre = nearestMark(*main, pos, voiced, periodIn);
  int half = kUnvoicedHop;
  if (voiced) {
    hop = periodOut;
    half = std::clamp(static_cast<int>(std::lround(std::min(periodIn, periodOut))), 16, kMaxHalfWindow);
  } else {
    centre = static_cast<int>(std::lround(pos));
  }
  const long long at = std::llround(mark);
  const long long floor = std::max<long long>(finalUpTo_, std::llround(uttStart_));

  const double fade = std::min({kCrossfadeHalf, l1 / 2, l2 / 2});
  if (first && second && fade > 0 && std::fabs(sigma - l1) < fade) {
    const double alpha = (sigma - (l1 - fade)) / (2 * fade);
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

bool Synthesizer::step() {
  if (phones_.empty() || !ready(phones_.front())) return false;
  const Phone& p = phones_.front();
  if (nextMark_ < p.start) nextMark_ = p.start;
  if (nextMark_ >= p.end) {
    if (p.last) {
      // Grain tails past the utterance's end are cut: the next utterance
      // starts from silence at that very sample.
      const long long end = std::llround(p.end);
      zeroUpTo(end);
      for (long long t = end; t < zeroedUpTo_; ++t) ring_[t & (kRing - 1)] = 0.0f;
      zeroedUpTo_ = end;
      finalUpTo_ = end;
      previous_ = silence_;
      uttStart_ = p.end;
      nextMark_ = p.end;
    } else {
      previous_ = p.phoneme;
    }
    phones_.pop_front();
    return true;
  }
  double hop;
  placeGrain(p, nextMark_, hop);
  nextMark_ += hop;
  const long long done = static_cast<long long>(std::floor(nextMark_)) - kMaxHalfWindow;
  if (done > finalUpTo_) {
    zeroUpTo(done);
    finalUpTo_ = done;
  }
  return true;
}

int Synthesizer::read(float* out, int count) {
  int done = 0;
  while (done < count) {
    if (readPos_ < finalUpTo_) {
      const long long n = std::min<long long>(count - done, finalUpTo_ - readPos_);
      for (long long i = 0; i < n; ++i) out[done + i] = ring_[(readPos_ + i) & (kRing - 1)];
      readPos_ += n;
      done += static_cast<int>(n);
      continue;
    }
    if (!step()) break;
  }
  return done;
}

}  // namespace psola
