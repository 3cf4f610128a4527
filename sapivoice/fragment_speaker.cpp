// Fragment by fragment, piece by piece: what the Portuguese voice writes to
// SAPI's engine site, where its events fall, and when it stops.
#include "fragment_speaker.h"

#include <algorithm>
#include <cmath>

#include "tts/utts_preproc.h"

namespace sapivoice {
namespace {

constexpr double kOwnPace = 0.8;

long clampAdjust(long value) { return std::clamp(value, -10L, 10L); }

class FragmentSpeaker {
 public:
  FragmentSpeaker(VoiceOutput& output, const Synthesizer& synthesize) : output_(output), synthesize_(synthesize) {
    rate_ = output_.rate();
    volume_ = output_.volume();
    wanted_ = output_.eventsWanted();
  }

  bool speakAll(const std::vector<VoiceFragment>& fragments) {
    for (std::size_t i = 0; i < fragments.size() && !stopped_; ++i) {
      const VoiceFragment& f = fragments[i];
      const bool spoken = f.kind == VoiceFragment::Kind::speak || f.kind == VoiceFragment::Kind::spell;
      if (skipping_ > 0 && spoken) {
        --skipping_;
        ++skipped_;
        continue;
      }
      if (skipping_ == 0 && skipped_ > 0) reportSkip();
      fragment_ = i;
      speakOne(f);
    }
    if (skipped_ > 0) reportSkip();
    return !stopped_;
  }

 private:
  void speakOne(const VoiceFragment& fragment) {
    fragmentVolume_ = std::min(fragment.volume, 100u);
    abandoned_ = false;
    switch (fragment.kind) {
      case VoiceFragment::Kind::silence:
        putSilence(std::min(fragment.silenceMs, kLongestSilenceMs));
        return;
      case VoiceFragment::Kind::bookmark:
        if (wanted_ & kEventBookmark) output_.event({VoiceEvent::Kind::bookmark, written_, fragment_, fragment.textOffset, 0});
        return;
      case VoiceFragment::Kind::speak:
        speakText(fragment, fragment.text, nullptr);
        return;
      case VoiceFragment::Kind::spell: {
        tradutor::SourceSpans origins;
        const std::string spelled = spelledOut(fragment.text, origins);
        speakText(fragment, spelled, &origins);
        return;
      }
      case VoiceFragment::Kind::other:
        return;
    }
  }

  // Synthesizes `said`, whose characters come from the fragment's text
  // through `origins` (or one for one). A new rate while it is spoken starts
  // it again, at that rate, from the first word not yet begun; a skip to a
  // later sentence of it, from that sentence.
  void speakText(const VoiceFragment& fragment, const std::string& said, const tradutor::SourceSpans* origins) {
    current_ = &fragment;
    origins_ = origins;
    from_ = 0;
    while (look()) {
      const double duration = durationFactorForRate(rate_ + fragment.rateAdjust);
      const double pitch = pitchFactorForAdjust(fragment.pitchAdjust);
      marks_.clear();
      nextMark_ = 0;
      base_ = written_;
      restart_ = false;
      synthesizing_ = true;
      synthesize_(said.substr(from_), duration, pitch, [this](const short* s, std::size_t n) { return put(s, n); }, &marks_);
      synthesizing_ = false;
      if (stopped_ || abandoned_) return;
      if (!restart_) {
        sendMarksBefore(UINT64_MAX);
        return;
      }
      from_ += marks_[restartMark_].source.begin;
    }
  }

  // Writes in pieces, looking at the actions before each; false ends the
  // text being synthesized.
  bool put(const short* samples, std::size_t count) {
    while (count > 0) {
      if (!look()) return false;
      if (restart_) return false;
      const std::size_t n = std::min(count, kPieceSamples);
      if (synthesizing_) sendMarksBefore(written_ + n);
      if (!writeScaled(samples, n)) {
        stopped_ = true;
        return false;
      }
      samples += n;
      count -= n;
    }
    return true;
  }

  void putSilence(unsigned long ms) {
    static const short zeros[kPieceSamples] = {};
    std::uint64_t left = static_cast<std::uint64_t>(ms) * kSampleRate / 1000;
    while (left > 0) {
      const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPieceSamples));
      if (!put(zeros, n)) return;
      left -= n;
    }
  }

  bool writeScaled(const short* samples, std::size_t count) {
    const unsigned gain = std::min(volume_, 100u) * fragmentVolume_;  // in 1/10000
    const bool written = gain >= 10000 ? output_.write(samples, count) : output_.write(scale(samples, count, gain), count);
    if (written) written_ += count;
    return written;
  }

  const short* scale(const short* samples, std::size_t count, unsigned gain) {
    scaled_.resize(count);
    for (std::size_t i = 0; i < count; ++i) scaled_[i] = static_cast<short>(samples[i] * static_cast<long>(gain) / 10000);
    return scaled_.data();
  }

  // Gives the output the words and sentences of the text being synthesized
  // that begin before `end`, in order.
  void sendMarksBefore(std::uint64_t end) {
    for (; nextMark_ < marks_.size() && base_ + marks_[nextMark_].sample < end; ++nextMark_) {
      const tradutor::SpokenMark& m = marks_[nextMark_];
      const bool word = m.kind == tradutor::SpokenMark::Kind::word;
      if (!(wanted_ & (word ? kEventWord : kEventSentence))) continue;
      tradutor::SourceSpan span{static_cast<std::uint32_t>(m.source.begin + from_), static_cast<std::uint32_t>(m.source.end + from_)};
      if (origins_ != nullptr) span = tradutor::coveringSpan(*origins_, span.begin, span.end);
      output_.event({word ? VoiceEvent::Kind::word : VoiceEvent::Kind::sentence, std::max(base_ + m.sample, written_),
                     fragment_, current_->textOffset + span.begin, span.end - span.begin});
    }
  }

  // False when the current fragment must end here (abort or skip).
  bool look() {
    if (stopped_ || abandoned_) return false;
    const unsigned actions = output_.actions();
    if (actions & kActionAbort) {
      stopped_ = true;
      return false;
    }
    if (actions & kActionVolume) volume_ = output_.volume();
    if (actions & kActionRate) {
      const long rate = output_.rate();
      if (rate != rate_ && synthesizing_) restart_ = markAhead(tradutor::SpokenMark::Kind::word, 1);
      rate_ = rate;
    }
    if (actions & kActionSkip) {
      const long sentences = output_.sentencesToSkip();
      if (sentences <= 0) {
        output_.completeSkip(0);
      } else if (synthesizing_ && markAhead(tradutor::SpokenMark::Kind::sentence, sentences)) {
        // Within the text being spoken: it starts again at that sentence.
        restart_ = true;
        output_.completeSkip(sentences);
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

  // Whether the text being synthesized holds a `count`-th mark of `kind`
  // not yet begun (the first word for a new rate, the sentence skipped to):
  // the text starts again there. None: a new rate waits for the next
  // fragment, a skip drops the rest of this one.
  bool markAhead(tradutor::SpokenMark::Kind kind, long count) {
    for (std::size_t i = nextMark_; i < marks_.size(); ++i) {
      if (marks_[i].kind == kind && base_ + marks_[i].sample >= written_ && --count == 0) {
        restartMark_ = i;
        return true;
      }
    }
    return false;
  }

  void reportSkip() {
    output_.completeSkip(skipped_);
    skipped_ = 0;
    skipping_ = 0;
  }

  VoiceOutput& output_;
  const Synthesizer& synthesize_;
  unsigned wanted_ = 0;
  long rate_ = 0;
  unsigned volume_ = 100;
  unsigned fragmentVolume_ = 100;
  bool stopped_ = false;
  bool abandoned_ = false;
  long skipping_ = 0;
  long skipped_ = 0;
  std::vector<short> scaled_;
  std::size_t fragment_ = 0;
  std::uint64_t written_ = 0;  // samples written since the call began
  // The text being synthesized: its fragment, where it begins in what the
  // fragment says, what the fragment says comes from (null: one for one),
  // its marks, the next one to give, the sample where its sound began, and
  // whether a new rate starts it again.
  bool synthesizing_ = false;
  const VoiceFragment* current_ = nullptr;
  std::size_t from_ = 0;
  const tradutor::SourceSpans* origins_ = nullptr;
  tradutor::SpokenMarks marks_;
  std::size_t nextMark_ = 0;
  std::uint64_t base_ = 0;
  bool restart_ = false;
  std::size_t restartMark_ = 0;
};

}  // namespace

double durationFactorForRate(long rate) { return kOwnPace * std::pow(3.0, -static_cast<double>(clampAdjust(rate)) / 10.0); }

double pitchFactorForAdjust(long adjust) { return std::pow(2.0, static_cast<double>(clampAdjust(adjust)) / 20.0); }

std::string spelledOut(const std::string& text, tradutor::SourceSpans& origins) {
  std::string spelled;
  origins.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto code = static_cast<std::uint8_t>(text[i]);
    if (code == ' ' || code == '\t' || code == '\r' || code == '\n' || code == 0xA0) continue;
    std::string name = tradutor::characterName(code);
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.empty()) continue;
    if (!spelled.empty()) spelled += ", ";  // the pause belongs to the name after it
    spelled += name;
    origins.resize(spelled.size(), tradutor::SourceSpan{static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i + 1)});
  }
  return spelled;
}

bool speakFragments(const std::vector<VoiceFragment>& fragments, VoiceOutput& output, const Synthesizer& synthesize) {
  FragmentSpeaker speaker(output, synthesize);
  return speaker.speakAll(fragments);
}

}  // namespace sapivoice
