// Fragment by fragment, piece by piece: what the Portuguese voice writes to
// SAPI's engine site and when it stops.
#include "fragment_speaker.h"

#include <algorithm>
#include <cmath>

namespace sapivoice {
namespace {

constexpr double kOwnPace = 0.8;

long clampRate(long rate) { return std::clamp(rate, -10L, 10L); }

class FragmentSpeaker {
 public:
  FragmentSpeaker(VoiceOutput& output, const Synthesizer& synthesize) : output_(output), synthesize_(synthesize) {
    rate_ = output_.rate();
    volume_ = output_.volume();
  }

  bool speakAll(const std::vector<VoiceFragment>& fragments) {
    for (std::size_t i = 0; i < fragments.size() && !stopped_; ++i) {
      if (skipping_ > 0 && fragments[i].kind == VoiceFragment::Kind::speak) {
        --skipping_;
        ++skipped_;
        continue;
      }
      if (skipping_ == 0 && skipped_ > 0) reportSkip();
      speakOne(fragments[i]);
    }
    if (skipped_ > 0) reportSkip();
    return !stopped_;
  }

 private:
  void speakOne(const VoiceFragment& fragment) {
    fragmentVolume_ = std::min(fragment.volume, 100u);
    abandoned_ = false;
    if (fragment.kind == VoiceFragment::Kind::silence) {
      const std::vector<short> silence(static_cast<std::size_t>(fragment.silenceMs) * kSampleRate / 1000, 0);
      put(silence.data(), silence.size());
      return;
    }
    if (fragment.kind != VoiceFragment::Kind::speak || !look()) return;
    synthesize_(fragment.text, durationFactorForRate(clampRate(rate_ + fragment.rateAdjust)),
                [this](const short* samples, std::size_t count) { return put(samples, count); });
  }

  // Writes in pieces, looking at the actions before each; false ends the fragment.
  bool put(const short* samples, std::size_t count) {
    while (count > 0) {
      if (!look()) return false;
      const std::size_t n = std::min(count, kPieceSamples);
      if (!writeScaled(samples, n)) {
        stopped_ = true;
        return false;
      }
      samples += n;
      count -= n;
    }
    return true;
  }

  bool writeScaled(const short* samples, std::size_t count) {
    const unsigned gain = std::min(volume_, 100u) * fragmentVolume_;  // in 1/10000
    if (gain >= 10000) return output_.write(samples, count);
    scaled_.resize(count);
    for (std::size_t i = 0; i < count; ++i) scaled_[i] = static_cast<short>(samples[i] * static_cast<long>(gain) / 10000);
    return output_.write(scaled_.data(), count);
  }

  // False when the current fragment must end here (abort or skip).
  bool look() {
    if (stopped_ || abandoned_) return false;
    const unsigned actions = output_.actions();
    if (actions & kActionAbort) {
      stopped_ = true;
      return false;
    }
    if (actions & kActionRate) rate_ = output_.rate();
    if (actions & kActionVolume) volume_ = output_.volume();
    if (actions & kActionSkip) {
      const long sentences = output_.sentencesToSkip();
      if (sentences <= 0) {
        output_.completeSkip(0);
      } else {
        // The fragment being spoken is the first sentence skipped.
        abandoned_ = true;
        skipped_ = 1;
        skipping_ = sentences - 1;
        if (skipping_ == 0) reportSkip();
        return false;
      }
    }
    return true;
  }

  void reportSkip() {
    output_.completeSkip(skipped_);
    skipped_ = 0;
    skipping_ = 0;
  }

  VoiceOutput& output_;
  const Synthesizer& synthesize_;
  long rate_ = 0;
  unsigned volume_ = 100;
  unsigned fragmentVolume_ = 100;
  bool stopped_ = false;
  bool abandoned_ = false;
  long skipping_ = 0;
  long skipped_ = 0;
  std::vector<short> scaled_;
};

}  // namespace

double durationFactorForRate(long rate) { return kOwnPace * std::pow(3.0, -static_cast<double>(clampRate(rate)) / 10.0); }

bool speakFragments(const std::vector<VoiceFragment>& fragments, VoiceOutput& output, const Synthesizer& synthesize) {
  FragmentSpeaker speaker(output, synthesize);
  return speaker.speakAll(fragments);
}

}  // namespace sapivoice
