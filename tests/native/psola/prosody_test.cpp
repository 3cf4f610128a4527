// The engine keeps the prosody it is given: durations, boundaries, pitch
// targets and voicing.
#include <cmath>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "measures.h"

namespace psola_test {
namespace {

using ProsodyTest = EngineTest;

// The first sample after `from` louder than a tenth of the loudest.
long onset(const std::vector<short>& x, long from) {
  const int threshold = peak(x) / 10;
  for (long t = from; t < static_cast<long>(x.size()); ++t)
    if (std::abs(static_cast<int>(x[t])) > threshold) return t;
  return -1;
}

// The first 2 ms frame after `from` that crosses zero as often as noise does.
long noiseOnset(const std::vector<short>& x, long from) {
  for (long t = from; t + 32 < static_cast<long>(x.size()); t += 8) {
    int crossings = 0;
    for (long k = t + 1; k < t + 32; ++k) crossings += (x[k - 1] < 0) != (x[k] < 0);
    if (crossings >= 10) return t;
  }
  return -1;
}

TEST_F(ProsodyTest, EveryPhonemeLastsItsDurationAndTheBoundariesStayInPlace) {
  const std::vector<short> out = speak("_ 100\na 200 50 120\ns 150\na 173.5 50 120\n_ 80.25");
  // 703.75 ms in all.
  EXPECT_NEAR(static_cast<double>(out.size()), 703.75 * 16, 5 * 16);
  EXPECT_NEAR(static_cast<double>(onset(out, 0)), 100 * 16, kSourcePeriod);
  EXPECT_NEAR(static_cast<double>(noiseOnset(out, 100 * 16 + 400)), 300 * 16, kSourcePeriod);
  // After the last "a" the silence: nothing louder than -60 dBFS in its middle.
  EXPECT_LT(rms(out, static_cast<long>(out.size()) - 600, static_cast<long>(out.size()) - 400), 32.8);
}

TEST_F(ProsodyTest, ShortAndLongDurationsKeepTheirLength) {
  for (const char* text : {"a 10\ns 8\ni 12", "a 1000 50 100\ni 2000", "a 0\ni 50\na 0"}) {
    double total = 0;
    std::string line;
    for (const char* at = text;; ++at) {
      if (*at == '\n' || *at == 0) {
        total += std::atof(line.substr(line.find(' ') + 1).c_str());
        line.clear();
        if (*at == 0) break;
      } else {
        line += *at;
      }
    }
    reset_MBR();
    EXPECT_NEAR(static_cast<double>(speak(text).size()), total * 16, 5 * 16) << text;
  }
}

TEST_F(ProsodyTest, VoicedPhonemesTakeTheTargetPitch) {
  for (double hz : {70.0, 120.0, 200.0, 300.0}) {
    reset_MBR();
    const std::vector<short> out = speak("a 300 50 " + std::to_string(hz) + "\ni 300 50 " + std::to_string(hz));
    for (long middle : {150L * 16, 450L * 16}) {
      const double measured = pitchOf(out, middle - 480, middle + 480);
      EXPECT_NEAR(measured, hz, 0.03 * hz) << "target " << hz << " Hz at sample " << middle;
    }
  }
}

TEST_F(ProsodyTest, PitchIsInterpolatedAcrossPhonemesAndHeldAtTheEnds) {
  // Targets at 20% of the first (100 Hz) and 80% of the third phoneme (250 Hz):
  // held before the first, a line between them across the middle phoneme,
  // held after the last.
  const std::vector<short> out = speak("a 200 20 100\ni 200\na 200 80 250\ni 200");
  const double t0 = 40 * 16, t1 = 560 * 16;
  auto expected = [&](double t) { return t <= t0 ? 100.0 : t >= t1 ? 250.0 : 100 + 150 * (t - t0) / (t1 - t0); };
  for (double ms : {20.0, 100.0, 300.0, 500.0, 700.0}) {  // the middles of the phonemes, and one held end
    const long at = static_cast<long>(ms * 16);
    EXPECT_NEAR(pitchOf(out, at - 320, at + 320), expected(at), 0.03 * expected(at)) << "at " << ms << " ms";
  }
}

// Without a target the pitch is the voice's own (its marks' median spacing),
// and the targets of one utterance say nothing of the next. Two targets in
// one place keep the order they were written in: a step from one to the other.
TEST_F(ProsodyTest, EachStretchHasThePitchItsTargetsGive) {
  const double own = 16000.0 / kSourcePeriod;
  const struct {
    const char* text;
    bool atOnce;  // written in one call, not read line by line
    double ms, hz;
  } rows[] = {
      {"a 300\ni 300", false, 150, own},
      {"a 300\ni 300", false, 450, own},
      {"a 200 50 250\n#\na 300\ni 300", false, 350, own},
      {"a 200 50 250\n#\na 300\ni 300 50 90", false, 350, 90},  // held before the first target
      {"a 300\ni 300\n#\na 200 50 250", true, 300, own},  // the next utterance's targets already queued
      {"a 300 50 100 50 200\ni 300", false, 90, 100},
      {"a 300 50 100 50 200\ni 300", false, 400, 200},
      // A pitch out of range is passed over; a pair that is not numbers ends
      // the line's targets.
      {"a 300 50 2000 50 200\ni 300", false, 150, 200},
      {"a 300 50 x 50 200\ni 300", false, 150, own},
      {"a 300 x 50 50 200\ni 300", false, 150, own},
  };
  for (const auto& row : rows) {
    reset_MBR();
    const std::vector<short> out = row.atOnce ? speakAtOnce(row.text) : speak(row.text);
    const long at = static_cast<long>(row.ms * 16);
    EXPECT_NEAR(pitchOf(out, at - 480, at + 480), row.hz, 0.03 * row.hz) << row.text << " at " << row.ms << " ms";
  }
}

TEST_F(ProsodyTest, APitchSweepFollowsItsLine) {
  const std::vector<short> out = speak("a 800 0 80 100 320");
  for (double fraction : {0.2, 0.4, 0.6, 0.8}) {
    const long at = static_cast<long>(fraction * 800 * 16);
    const double target = 80 + 240 * fraction;
    EXPECT_NEAR(pitchOf(out, at - 240, at + 240), target, 0.03 * target) << "at " << fraction;
  }
}

TEST_F(ProsodyTest, UnvoicedSoundsStayUnvoicedAtAnyDuration) {
  for (const char* duration : {"40", "75", "150", "600"}) {
    reset_MBR();
    const std::vector<short> out = speak(std::string("a 100 50 200\ns ") + duration + "\na 100 50 200");
    const long start = 100 * 16, length = std::atol(duration) * 16;
    const long from = start + length / 4, to = start + 3 * length / 4;
    EXPECT_LT(periodicity(out, from, to), 0.35) << "s of " << duration << " ms";
    EXPECT_GT(rms(out, from, to), 500) << "s of " << duration << " ms is not silent";
  }
  // The voiced neighbours stay periodic.
  const std::vector<short> out = speak("a 100 50 200\ns 150\na 100 50 200");
  EXPECT_GT(periodicity(out, 20 * 16, 80 * 16), 0.8);
}

TEST_F(ProsodyTest, SilenceIsSilentEvenWhenLong) {
  const std::vector<short> out = speak("a 100\n_ 2000\na 100");
  EXPECT_LT(rms(out, 200 * 16, 2000 * 16), 32.8);  // below -60 dBFS
  EXPECT_GT(rms(out, 2100 * 16, 2180 * 16), 1000);
}

TEST_F(ProsodyTest, FastSpeechAndExtremePitchStillSoundLikeTheVoice) {
  // A quarter of every duration, and pitch at both ends of the range: each
  // vowel still has its pitch and no click is louder than the voice.
  for (double hz : {60.0, 350.0}) {
    reset_MBR();
    const std::vector<short> out = speak("a 40 50 " + std::to_string(hz) + "\ni 40\na 40 50 " + std::to_string(hz) +
                                         "\ns 20\na 40");
    ASSERT_NEAR(static_cast<double>(out.size()), 180 * 16, 5 * 16);
    EXPECT_LT(peak(out), 32767);
    EXPECT_NEAR(pitchOf(out, 0, 40 * 16), hz, 0.05 * hz);
  }
}

}  // namespace
}  // namespace psola_test
