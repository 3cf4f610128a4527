// The Portuguese SAPI 5 voice without COM: how it walks the fragments, when
// it stops, skips, or changes pace and volume, and that through it the real
// voice gives the samples the voice driver writes to a file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fragment_speaker.h"
#include "platform/host/host_control.h"
#include "portuguese_voice.h"
#include "psola_static.h"
#include "tts/utts_aurea.h"

namespace {

using sapivoice::VoiceFragment;
namespace host = platform::host;

// An engine site: actions planned per look, every write kept.
class RecordingOutput final : public sapivoice::VoiceOutput {
 public:
  std::deque<unsigned> plannedActions;
  long siteRate = 0;
  unsigned siteVolume = 100;
  long skipCount = 0;
  std::vector<long> skipsReported;
  std::vector<std::vector<short>> writes;
  int failWritesAfter = -1;

  unsigned actions() override {
    if (plannedActions.empty()) return 0;
    const unsigned a = plannedActions.front();
    plannedActions.pop_front();
    return a;
  }
  bool write(const short* samples, std::size_t count) override {
    if (failWritesAfter >= 0 && static_cast<int>(writes.size()) >= failWritesAfter) return false;
    writes.emplace_back(samples, samples + count);
    return true;
  }
  long rate() override { return siteRate; }
  unsigned volume() override { return siteVolume; }
  long sentencesToSkip() override { return skipCount; }
  void completeSkip(long skipped) override { skipsReported.push_back(skipped); }

  std::vector<short> all() const {
    std::vector<short> out;
    for (const auto& w : writes) out.insert(out.end(), w.begin(), w.end());
    return out;
  }
};

// Gives each text `length` samples of the text's first byte, in blocks of 4000.
struct ScriptedSynthesizer {
  std::size_t length = 5000;
  std::vector<std::string> texts;
  std::vector<double> factors;
  bool lastTakeStopped = false;

  sapivoice::Synthesizer function() {
    return [this](const std::string& text, double factor, const sapivoice::SampleTaker& take) {
      texts.push_back(text);
      factors.push_back(factor);
      std::vector<short> block;
      for (std::size_t done = 0; done < length; done += block.size()) {
        block.assign(std::min<std::size_t>(4000, length - done), static_cast<short>(text.empty() ? 0 : text[0] * 100));
        lastTakeStopped = !take(block.data(), block.size());
        if (lastTakeStopped) return false;
      }
      return true;
    };
  }
};

VoiceFragment speak(const std::string& text, long rateAdjust = 0, unsigned volume = 100) {
  VoiceFragment f;
  f.text = text;
  f.rateAdjust = rateAdjust;
  f.volume = volume;
  return f;
}

TEST(SapiVoice, SamplesGoOutInPiecesOfAtMostATenthOfASecond) {
  RecordingOutput out;
  ScriptedSynthesizer synth;
  VoiceFragment pause;
  pause.kind = VoiceFragment::Kind::silence;
  pause.silenceMs = 250;
  VoiceFragment mark;
  mark.kind = VoiceFragment::Kind::other;
  mark.text = "marca";
  EXPECT_TRUE(sapivoice::speakFragments({speak("a"), pause, mark, speak("b")}, out, synth.function()));
  EXPECT_EQ(synth.texts, (std::vector<std::string>{"a", "b"}));
  for (const auto& w : out.writes) EXPECT_LE(w.size(), sapivoice::kPieceSamples);
  const std::vector<short> all = out.all();
  ASSERT_EQ(all.size(), 5000u + 4000u + 5000u);  // 250 ms of silence is 4000 samples
  EXPECT_EQ(all[4999], 'a' * 100);
  EXPECT_EQ(all[5000], 0);
  EXPECT_EQ(all[8999], 0);
  EXPECT_EQ(all[9000], 'b' * 100);
}

TEST(SapiVoice, AnAbortStopsWritingAtTheNextPiece) {
  RecordingOutput out;
  ScriptedSynthesizer synth;
  synth.length = 100000;
  // One look before the text is synthesized, then one before each piece.
  out.plannedActions = {0, 0, 0, sapivoice::kActionAbort};
  EXPECT_FALSE(sapivoice::speakFragments({speak("a"), speak("b")}, out, synth.function()));
  EXPECT_EQ(out.writes.size(), 2u);
  EXPECT_TRUE(synth.lastTakeStopped);
  EXPECT_EQ(synth.texts.size(), 1u);

  // An abort before anything is said, and an output that takes no more.
  RecordingOutput atOnce;
  atOnce.plannedActions = {sapivoice::kActionAbort};
  EXPECT_FALSE(sapivoice::speakFragments({speak("a")}, atOnce, synth.function()));
  EXPECT_TRUE(atOnce.writes.empty());
  RecordingOutput full;
  full.failWritesAfter = 3;
  EXPECT_FALSE(sapivoice::speakFragments({speak("a"), speak("b")}, full, synth.function()));
  EXPECT_EQ(full.writes.size(), 3u);
}

TEST(SapiVoice, RateAndVolumeComeFromTheSiteAndTheFragment) {
  EXPECT_DOUBLE_EQ(sapivoice::durationFactorForRate(0), 0.8);
  EXPECT_NEAR(sapivoice::durationFactorForRate(10), 0.8 / 3, 1e-12);
  EXPECT_NEAR(sapivoice::durationFactorForRate(-10), 2.4, 1e-12);
  EXPECT_NEAR(sapivoice::durationFactorForRate(99), 0.8 / 3, 1e-12);

  RecordingOutput out;
  ScriptedSynthesizer synth;
  synth.length = 10;
  out.siteRate = 5;
  out.siteVolume = 50;
  sapivoice::speakFragments({speak("a", 0), speak("b", 9, 50)}, out, synth.function());
  ASSERT_EQ(synth.factors.size(), 2u);
  EXPECT_NEAR(synth.factors[0], sapivoice::durationFactorForRate(5), 1e-12);
  EXPECT_NEAR(synth.factors[1], sapivoice::durationFactorForRate(10), 1e-12);
  ASSERT_EQ(out.writes.size(), 2u);
  EXPECT_EQ(out.writes[0][0], 'a' * 100 / 2);
  EXPECT_EQ(out.writes[1][0], 'b' * 100 / 4);

  // A new rate asked for while speaking applies to the next fragment.
  RecordingOutput changing;
  ScriptedSynthesizer again;
  changing.plannedActions = {sapivoice::kActionRate};
  changing.siteRate = -10;
  sapivoice::speakFragments({speak("a"), speak("b")}, changing, again.function());
  EXPECT_NEAR(again.factors[0], 2.4, 1e-12);
}

TEST(SapiVoice, ASkipDropsTheSentenceBeingSpokenAndAsManyMoreAsAsked) {
  ScriptedSynthesizer synth;
  synth.length = 4000;
  RecordingOutput one;
  one.plannedActions = {0, 0, sapivoice::kActionSkip};
  one.skipCount = 1;
  sapivoice::speakFragments({speak("a"), speak("b"), speak("c")}, one, synth.function());
  EXPECT_EQ(one.skipsReported, (std::vector<long>{1}));
  EXPECT_EQ(one.all().size(), 1600u + 4000u + 4000u);  // a's first piece, then b and c

  ScriptedSynthesizer synth2;
  RecordingOutput two;
  two.plannedActions = {sapivoice::kActionSkip};
  two.skipCount = 2;
  sapivoice::speakFragments({speak("a"), speak("b"), speak("c")}, two, synth2.function());
  EXPECT_EQ(two.skipsReported, (std::vector<long>{2}));
  EXPECT_EQ(synth2.texts, (std::vector<std::string>{"c"}));  // a was dropped before it was made
  EXPECT_EQ(two.all().size(), 5000u);

  // Backwards or nothing: reported as 0 skipped, speech goes on.
  RecordingOutput back;
  back.plannedActions = {sapivoice::kActionSkip};
  back.skipCount = -1;
  ScriptedSynthesizer synth3;
  sapivoice::speakFragments({speak("a")}, back, synth3.function());
  EXPECT_EQ(back.skipsReported, (std::vector<long>{0}));
  EXPECT_EQ(back.all().size(), 5000u);
}

std::vector<short> wavSamples(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::vector<short> samples(bytes.size() > 44 ? (bytes.size() - 44) / 2 : 0);
  if (!samples.empty()) std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
  return samples;
}

TEST(SapiVoice, TheRealVoiceSaysWhatTheDriverWritesToAFile) {
  host::reset();
  tradutor::resetVoiceDriver();
  host::installLibrary("mbrola.dll", [](const char* name) { return psola_export(name); });
  const std::string folder = std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/";
  const std::string text = "Entre comando MCI. Bom dia!";

  const std::string file = testing::TempDir() + "sapi_voice_reference.wav";
  tradutor::ttsSetOutputFile(file);
  const std::string stem = folder + "portug";
  ASSERT_EQ(tradutor::ttsInitialize(folder + "br4", stem + ".nrl", stem + ".exc", stem + ".dfn", stem + ".pro",
                                    stem + ".abr"),
            1);
  tradutor::ttsSetFactors(0.8, 1.0);
  ASSERT_TRUE(tradutor::ttsSpeak(text));
  tradutor::ttsTerminate();
  const std::vector<short> reference = wavSamples(file);
  ASSERT_GT(reference.size(), 16000u);

  ASSERT_TRUE(sapivoice::startPortugueseVoice(folder));
  ASSERT_TRUE(sapivoice::startPortugueseVoice(folder));  // once is enough
  RecordingOutput out;
  EXPECT_TRUE(sapivoice::speakFragments({speak(text)}, out, sapivoice::synthesizePortuguese));
  EXPECT_EQ(out.all(), reference);
  sapivoice::stopPortugueseVoice();
  EXPECT_FALSE(sapivoice::synthesizePortuguese(text, 0.8, [](const short*, std::size_t) { return true; }));
  EXPECT_FALSE(sapivoice::startPortugueseVoice("/nao/existe/"));
  tradutor::resetVoiceDriver();
  host::reset();
}

}  // namespace
