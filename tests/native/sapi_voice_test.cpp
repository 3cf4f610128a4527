// The Portuguese SAPI 5 voice without COM: how it walks the fragments, when
// it stops, skips, or changes pace and volume, and that through it the real
// voice gives the samples the voice driver writes to a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
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
  unsigned wanted = sapivoice::kEventBookmark | sapivoice::kEventWord | sapivoice::kEventSentence;
  std::vector<sapivoice::VoiceEvent> events;
  std::size_t samplesWritten = 0;

  unsigned actions() override {
    if (plannedActions.empty()) return 0;
    const unsigned a = plannedActions.front();
    plannedActions.pop_front();
    return a;
  }
  bool write(const short* samples, std::size_t count) override {
    if (failWritesAfter >= 0 && static_cast<int>(writes.size()) >= failWritesAfter) return false;
    writes.emplace_back(samples, samples + count);
    samplesWritten += count;
    return true;
  }
  std::deque<long> plannedRates;  // one a read, then siteRate
  long rate() override {
    if (plannedRates.empty()) return siteRate;
    const long r = plannedRates.front();
    plannedRates.pop_front();
    return r;
  }
  unsigned volume() override { return siteVolume; }
  long sentencesToSkip() override { return skipCount; }
  void completeSkip(long skipped) override { skipsReported.push_back(skipped); }
  unsigned eventsWanted() override { return wanted; }
  void event(const sapivoice::VoiceEvent& e) override {
    EXPECT_GE(e.sample, samplesWritten) << "an event after the sound it marks was written";
    events.push_back(e);
  }

  std::vector<short> all() const {
    std::vector<short> out;
    for (const auto& w : writes) out.insert(out.end(), w.begin(), w.end());
    return out;
  }
};

// Gives each text `length` samples of the text's first byte, in blocks of
// 4000, and a word mark for each space-separated word, `wordSamples` apart.
struct ScriptedSynthesizer {
  std::size_t length = 5000;
  std::uint64_t wordSamples = 1000;
  std::vector<std::string> texts;
  std::vector<double> factors, pitches;
  bool lastTakeStopped = false;

  sapivoice::Synthesizer function() {
    return [this](const std::string& text, double factor, double pitch, const sapivoice::SampleTaker& take,
                  tradutor::SpokenMarks* marks) {
      texts.push_back(text);
      factors.push_back(factor);
      pitches.push_back(pitch);
      if (marks != nullptr) {  // a sentence begins the text and after each word that ends in a point
        marks->clear();
        std::uint64_t words = 0;
        bool sentence = true;
        for (std::size_t p = 0; p < text.size();) {
          const std::size_t end = std::min(text.find(' ', p), text.size());
          if (end > p) {
            const tradutor::SourceSpan span{static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(end)};
            if (sentence) marks->push_back({tradutor::SpokenMark::Kind::sentence, span, wordSamples * words});
            marks->push_back({tradutor::SpokenMark::Kind::word, span, wordSamples * words++});
            sentence = text[end - 1] == '.';
          }
          p = end + 1;
        }
      }
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
  VoiceFragment other;
  other.kind = VoiceFragment::Kind::other;
  other.text = "nada";
  EXPECT_TRUE(sapivoice::speakFragments({speak("a"), pause, other, speak("b")}, out, synth.function()));
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

  // Within one fragment: it starts again at the sentence skipped to.
  ScriptedSynthesizer within;
  within.length = 12000;
  within.wordSamples = 3000;
  RecordingOutput inside;
  inside.plannedActions = {0, 0, sapivoice::kActionSkip};
  inside.skipCount = 2;
  sapivoice::speakFragments({speak("um. dois. tres quatro.")}, inside, within.function());
  EXPECT_EQ(within.texts, (std::vector<std::string>{"um. dois. tres quatro.", "tres quatro."}));
  EXPECT_EQ(inside.skipsReported, (std::vector<long>{2}));
  EXPECT_EQ(inside.all().size(), 1600u + 12000u);

  // Backwards or nothing: reported as 0 skipped, speech goes on.
  RecordingOutput back;
  back.plannedActions = {sapivoice::kActionSkip};
  back.skipCount = -1;
  ScriptedSynthesizer synth3;
  sapivoice::speakFragments({speak("a")}, back, synth3.function());
  EXPECT_EQ(back.skipsReported, (std::vector<long>{0}));
  EXPECT_EQ(back.all().size(), 5000u);
}

VoiceFragment bookmark(unsigned long textOffset) {
  VoiceFragment f;
  f.kind = VoiceFragment::Kind::bookmark;
  f.textOffset = textOffset;
  return f;
}

using EventKind = sapivoice::VoiceEvent::Kind;
struct Seen {
  EventKind kind;
  std::uint64_t sample;
  unsigned long offset, length;
  bool operator==(const Seen&) const = default;
};
std::vector<Seen> seen(const std::vector<sapivoice::VoiceEvent>& events) {
  std::vector<Seen> out;
  for (const auto& e : events) out.push_back({e.kind, e.sample, e.textOffset, e.length});
  return out;
}

// Bookmarks where the sound before them ends, words where theirs begins,
// each only when asked for.
TEST(SapiVoice, EventsFallWhereTheirSoundIsAndOnlyWhenAsked) {
  VoiceFragment pause;
  pause.kind = VoiceFragment::Kind::silence;
  pause.silenceMs = 100;
  VoiceFragment second = speak("tres");
  second.textOffset = 20;
  const std::vector<VoiceFragment> fragments = {speak("um dois"), bookmark(8), pause, second, bookmark(30)};
  struct Case {
    unsigned wanted;
    std::vector<Seen> events;
  };
  const Seen um{EventKind::word, 0, 0, 2}, dois{EventKind::word, 1000, 3, 4}, first{EventKind::bookmark, 5000, 8, 0},
      tres{EventKind::word, 6600, 20, 4}, last{EventKind::bookmark, 11600, 30, 0};
  const Case cases[] = {
      {sapivoice::kEventBookmark | sapivoice::kEventWord, {um, dois, first, tres, last}},
      {sapivoice::kEventBookmark, {first, last}},
      {sapivoice::kEventWord, {um, dois, tres}},
      {0, {}},
  };
  for (const Case& c : cases) {
    RecordingOutput out;
    out.wanted = c.wanted;
    ScriptedSynthesizer synth;
    EXPECT_TRUE(sapivoice::speakFragments(fragments, out, synth.function()));
    EXPECT_EQ(seen(out.events), c.events) << "wanted " << c.wanted;
    EXPECT_EQ(out.all().size(), 11600u);
  }

  // Ten thousand bookmarks, and silences too long to be meant.
  std::vector<VoiceFragment> many(10000, bookmark(0));
  RecordingOutput marks;
  ScriptedSynthesizer none;
  EXPECT_TRUE(sapivoice::speakFragments(many, marks, none.function()));
  EXPECT_EQ(marks.events.size(), 10000u);
  pause.silenceMs = 0xFFFFFFFFul;
  RecordingOutput longest;
  EXPECT_TRUE(sapivoice::speakFragments({pause}, longest, none.function()));
  EXPECT_EQ(longest.all().size(), sapivoice::kLongestSilenceMs * 16);
}

// A new rate while a fragment is spoken starts it again, at that rate, from
// the first word not yet begun, within one piece.
TEST(SapiVoice, ARateChangeMidFragmentTakesEffectAtTheNextWord) {
  ScriptedSynthesizer synth;
  synth.length = 12000;
  synth.wordSamples = 3000;  // words at 0, 3000, 6000 and 9000
  const std::string text = "um dois tres quatro";
  std::vector<VoiceFragment> fragments = {speak(text)};
  fragments[0].pitchAdjust = -10;
  // The rate is read at the start (0) and again when the site flags it (10),
  // after the first piece.
  RecordingOutput changing;
  changing.plannedRates = {0};
  changing.siteRate = 10;
  changing.wanted = sapivoice::kEventWord;
  changing.plannedActions = {0, 0, sapivoice::kActionRate};
  EXPECT_TRUE(sapivoice::speakFragments(fragments, changing, synth.function()));
  EXPECT_EQ(synth.texts, (std::vector<std::string>{text, "dois tres quatro"}));
  ASSERT_EQ(synth.factors.size(), 2u);
  EXPECT_NEAR(synth.factors[0], sapivoice::durationFactorForRate(0), 1e-12);
  EXPECT_NEAR(synth.factors[1], sapivoice::durationFactorForRate(10), 1e-12);
  EXPECT_NEAR(synth.pitches[1], sapivoice::pitchFactorForAdjust(-10), 1e-12);
  EXPECT_EQ(changing.all().size(), 1600u + 12000u);  // one piece at the old rate
  std::vector<unsigned long> offsets;
  for (const auto& e : changing.events) offsets.push_back(e.textOffset);
  EXPECT_EQ(offsets, (std::vector<unsigned long>{0, 3, 8, 13}));

  // Past the last word's start there is nothing to start again from: the
  // fragment ends at its old rate.
  RecordingOutput late;
  late.plannedRates = {0};
  late.siteRate = 10;
  late.plannedActions = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, sapivoice::kActionRate};
  ScriptedSynthesizer slow;
  slow.length = 24000;
  slow.wordSamples = 3000;
  EXPECT_TRUE(sapivoice::speakFragments({speak(text)}, late, slow.function()));
  EXPECT_EQ(slow.texts.size(), 1u);
  EXPECT_EQ(late.all().size(), 24000u);
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
  EXPECT_TRUE(sapivoice::speakFragments({speak(text)}, out, sapivoice::portugueseSynthesizer(folder)));
  EXPECT_EQ(out.all(), reference);
  sapivoice::stopPortugueseVoice();
  RecordingOutput nowhere;
  EXPECT_TRUE(sapivoice::speakFragments({speak(text)}, nowhere, sapivoice::portugueseSynthesizer("/nao/existe/")));
  EXPECT_TRUE(nowhere.writes.empty());
  EXPECT_FALSE(sapivoice::startPortugueseVoice("/nao/existe/"));
  tradutor::resetVoiceDriver();
  host::reset();
}

// The real voice, through the fragment speaker.
class RealVoice : public ::testing::Test {
 protected:
  void SetUp() override {
    host::reset();
    tradutor::resetVoiceDriver();
    host::installLibrary("mbrola.dll", [](const char* name) { return psola_export(name); });
  }
  void TearDown() override {
    sapivoice::stopPortugueseVoice();
    tradutor::resetVoiceDriver();
    host::reset();
  }
  static std::string folder() { return std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/"; }
  static RecordingOutput say(const std::vector<VoiceFragment>& fragments, const std::string& data = folder()) {
    RecordingOutput out;
    EXPECT_TRUE(sapivoice::speakFragments(fragments, out, sapivoice::portugueseSynthesizer(data)));
    return out;
  }
};

std::vector<std::string> eventTexts(const std::string& source, const RecordingOutput& out, EventKind kind) {
  std::vector<std::string> texts;
  for (const auto& e : out.events)
    if (e.kind == kind) texts.push_back(e.textOffset + e.length <= source.size() ? source.substr(e.textOffset, e.length) : "?");
  return texts;
}

TEST_F(RealVoice, WordAndSentenceEventsPointAtTheTextAsWritten) {
  // The client's text holds a tag before the fragment, as SAPI's own do.
  const std::string source = "<tag/> O Sr. Silva pagou 1250 reais. \xC1gua \xE9 \xF3tima!";
  VoiceFragment f = speak(source.substr(7));
  f.textOffset = 7;
  const RecordingOutput out = say({f});
  EXPECT_EQ(eventTexts(source, out, EventKind::word),
            (std::vector<std::string>{"O", "Sr.", "Silva", "pagou", "1250", "reais", "\xC1gua", "\xE9", "\xF3tima"}));
  EXPECT_EQ(eventTexts(source, out, EventKind::sentence),
            (std::vector<std::string>{"O Sr. Silva pagou 1250 reais.", "\xC1gua \xE9 \xF3tima!"}));
  // Each word's place in the sound: after the one before, inside the sound.
  for (std::size_t i = 1; i < out.events.size(); ++i) EXPECT_GE(out.events[i].sample, out.events[i - 1].sample);
  EXPECT_LT(out.events.back().sample, out.all().size());
}

TEST_F(RealVoice, SpellingSaysEachCharacterByItsName) {
  VoiceFragment spelled = speak("abc");
  spelled.kind = VoiceFragment::Kind::spell;
  const RecordingOutput letters = say({spelled});
  const RecordingOutput word = say({speak("abc")});
  EXPECT_GE(letters.all().size(), word.all().size() * 3 / 2);
  EXPECT_EQ(eventTexts("abc", letters, EventKind::word), (std::vector<std::string>{"a", "b", "c"}));
  tradutor::SourceSpans origins;
  EXPECT_EQ(sapivoice::spelledOut("A b\t1", origins), "a, b\xEA, um");
  ASSERT_EQ(origins.size(), 9u);
  EXPECT_EQ(origins[7].begin, 4u);  // "um" names the character at 4
}

// The median fundamental frequency of the voiced 40 ms frames, by
// autocorrelation between 60 and 400 Hz.
double medianPitch(const std::vector<short>& samples) {
  std::vector<double> found;
  for (std::size_t at = 0; at + 640 <= samples.size(); at += 320) {
    double energy = 0;
    for (std::size_t i = 0; i < 640; ++i) energy += double(samples[at + i]) * samples[at + i];
    if (energy < 640.0 * 1000 * 1000) continue;
    double best = 0;
    std::size_t bestLag = 0;
    for (std::size_t lag = 40; lag <= 266; ++lag) {
      double sum = 0, norm = 0;
      for (std::size_t i = 0; i + lag < 640; ++i) {
        sum += double(samples[at + i]) * samples[at + i + lag];
        norm += double(samples[at + i + lag]) * samples[at + i + lag];
      }
      const double r = sum / std::sqrt(energy * norm + 1);
      if (r > best) best = r, bestLag = lag;
    }
    if (best > 0.8) found.push_back(16000.0 / double(bestLag));
  }
  if (found.empty()) return 0;
  std::nth_element(found.begin(), found.begin() + found.size() / 2, found.end());
  return found[found.size() / 2];
}

TEST_F(RealVoice, PitchMovesTheVoiceByItsFactor) {
  const std::string text = "A mamãe amava a banana da vovó.";
  const double own = medianPitch(say({speak(text)}).all());
  ASSERT_GT(own, 60);
  for (const long adjust : {10L, -10L, 25L}) {
    VoiceFragment f = speak(text);
    f.pitchAdjust = adjust;
    const double moved = medianPitch(say({f}).all());
    const double expected = own * sapivoice::pitchFactorForAdjust(adjust);
    EXPECT_NEAR(moved / expected, 1.0, 0.05) << "pitch " << adjust << ": " << moved << " Hz from " << own;
  }
}

// Two voices on two data folders, speaking at once on two threads: each
// gives what it gives alone.
TEST_F(RealVoice, TwoVoicesOnTwoThreadsEachSpeakWithTheirOwnData) {
  const std::string other = testing::TempDir() + "sapi_voice_other/";
  std::filesystem::remove_all(other);
  std::filesystem::create_directories(other);
  for (const auto& entry : std::filesystem::directory_iterator(folder()))
    std::filesystem::copy_file(entry.path(), other + entry.path().filename().string());
  std::ofstream(other + "portug.abr", std::ios::trunc) << "Sr=doutor\n";
  const std::string text = "O Sr. Silva chegou.";
  const std::vector<short> mine = say({speak(text)}).all(), theirs = say({speak(text)}, other).all();
  ASSERT_NE(mine, theirs);
  std::vector<short> gotMine, gotTheirs;
  std::thread a([&] {
    for (int i = 0; i < 3 && !HasFailure(); ++i) EXPECT_EQ(gotMine = say({speak(text)}).all(), mine);
  });
  std::thread b([&] {
    for (int i = 0; i < 3 && !HasFailure(); ++i) EXPECT_EQ(gotTheirs = say({speak(text)}, other).all(), theirs);
  });
  a.join();
  b.join();
  std::filesystem::remove_all(other);
}

}  // namespace
