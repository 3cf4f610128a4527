// The diphone synthesizer on a voice whose segments are runs of one sample
// value each, so the sound played shows which segments were used and how long.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "diphone/kztradut.h"
#include "hub/kzwin.h"
#include "platform/files.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "support/sound_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::filled;
using testing_support::Runs;
using testing_support::runsOf;
using testing_support::SoundTest;

class Diphones : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    writeVoiceIni();
    writeRules("(A)=a\n");
    writeRecording("_1", filled(11, 100));
    writeRecording("_44", filled(44, 300));
    initConsoleUnit();
    initWavePlayer();
    initSpeechHub();
    openConsole();
    setDiphoneBaseName("TESTE");
  }
  void open(const std::map<std::string, std::vector<std::uint8_t>>& segments) {
    writeDiphones(segments);
    ASSERT_EQ(openDiphoneSynth(), 0);
  }
  // The runs heard: the player sets the last sample of a block to silence.
  Runs heard(const std::string& phonetic, bool sayPunctuation = false) {
    host::waveLog().blocks.clear();
    speakPhonetic(phonetic, sayPunctuation);
    return runsOf(played());
  }
};

const std::map<std::string, std::vector<std::uint8_t>> kVoice = {
    {"$A", filled(30, 500)}, {"$KA", filled(40, 1000)}, {"$KAZ", filled(20, 1000)},
    {"$ACIRC", filled(50, 500)}, {"$NN", filled(60, 500)}, {"$KOZA", filled(70, 300)},
};

TEST_F(Diphones, AnEmptyWordGroupPlaysNothing) {
  open(kVoice);
  EXPECT_TRUE(heard("[]").empty());
}

TEST_F(Diphones, ASpelledCommaIsAPauseUnlessPunctuationIsSaid) {
  open(kVoice);
  EXPECT_EQ(heard("[ /_,]"), (Runs{{128, 4000}}));
  EXPECT_EQ(heard("[ /_,]", true), (Runs{{44, 299}, {128, 1}}));
}

TEST_F(Diphones, AMissingWholeSegmentIsDecomposed) {
  open(kVoice);
  // $KAZA is missing: $kaz at 0.9 of (1000 - cut 400), then $a whole (two characters).
  EXPECT_EQ(heard("[kaza]"), (Runs{{20, 540}, {30, 499}, {128, 1}}));
}

TEST_F(Diphones, WithoutTheStemTheConsonantEndedPartIsDropped) {
  auto voice = kVoice;
  voice.erase("$KAZ");
  open(voice);
  EXPECT_EQ(heard("[kaza]"), (Runs{{30, 499}, {128, 1}}));
}

TEST_F(Diphones, AStressedUnitIsPlayedWholeAndTheNextIsTrimmedAgain) {
  open(kVoice);
  EXPECT_EQ(heard("[kAza ka]"), (Runs{{20, 900}, {30, 500}, {40, 599}, {128, 1}}));
}

TEST_F(Diphones, ASegmentShorterThanTheCutBecomesEmptyOrKeepsItsLeast) {
  open(kVoice);
  EXPECT_TRUE(heard("[koza]").empty());
  setDiphoneTiming(400, 100, 100);
  EXPECT_EQ(heard("[koza]"), (Runs{{70, 99}, {128, 157}}));  // a block is never shorter than 256
}

TEST_F(Diphones, TheWordPauseFollowsAGroupButNeverTheLastToken) {
  open(kVoice);
  EXPECT_EQ(heard("[ka][ka]"), (Runs{{40, 600}, {128, 100}, {40, 599}, {128, 1}}));
  setDiphoneTiming(400, 0, 250);
  EXPECT_EQ(heard("[ka][ka]"), (Runs{{40, 600}, {128, 200}, {40, 599}, {128, 1}}));  // 250 gives two blocks of 100
}

TEST_F(Diphones, UnitsAreJoinedIntoOneTokenUntilItHoldsNineCharacters) {
  open(kVoice);
  // Five units make one token of ten characters, with no pause inside.
  EXPECT_EQ(heard("[ka/ka/ka/ka/ka]"), (Runs{{30, 499}, {128, 1}}));
  // A sixth: the "/" after the ten characters ends the token and the pause follows.
  EXPECT_EQ(heard("[ka/ka/ka/ka/ka/ka]"), (Runs{{30, 500}, {128, 100}, {40, 599}, {128, 1}}));
}

TEST_F(Diphones, TildeAndCircumflexSegmentsAndNoiseForAMissingShortOne) {
  open(kVoice);
  const Runs runs = heard("[ka~]");
  // $kaTIL -> $kaCIRC (whole, 0.9) -> noise for $k, then $aCIRC at 0.9; then $nn trimmed at 0.9.
  ASSERT_GE(runs.size(), 3u);
  std::size_t noise = 0;
  std::size_t i = 0;
  for (; i < runs.size() && runs[i].first != 50; ++i) {
    EXPECT_TRUE(runs[i].first >= 88 && runs[i].first < 168) << int(runs[i].first);
    noise += runs[i].second;
  }
  EXPECT_EQ(noise, 300u);
  ASSERT_EQ(runs.size(), i + 3);
  EXPECT_EQ(runs[i], (std::pair<std::uint8_t, std::size_t>{50, 450}));
  EXPECT_EQ(runs[i + 1], (std::pair<std::uint8_t, std::size_t>{60, 89}));
}

TEST_F(Diphones, ASegmentLargerThanTheBufferIsPlayedWholeInTwoBuffers) {
  open({{"$A", filled(30, 65000)}});
  heard("[a]");
  EXPECT_EQ(host::waveLog().blocks.size(), 2u);
  std::size_t total = 0;
  for (const auto& [value, count] : runsOf(played()))
    if (value == 30) total += count;
  EXPECT_GE(total, 65000u - 2);
}

TEST_F(Diphones, MalformedInputStaysInsideItsBuffers) {
  open(kVoice);
  for (const char* s : {"[[ka", "ka]]]", "[ka_", "_", "[", "]", "/////", "[ /_", "~^w", "[a~w][e^y][^w]"}) heard(s);
  // An unclosed group with a stray underscore says what the well-formed one
  // says; after a doubled opening bracket only the vowel's segment is left;
  // marks with no letter before them make one short segment and silence.
  const Runs ka = heard("[ka]");
  EXPECT_EQ(ka, (Runs{{40, 599}, {128, 1}}));
  EXPECT_EQ(heard("[ka_"), ka);
  EXPECT_EQ(heard("[[ka"), (Runs{{30, 499}, {128, 1}}));
  EXPECT_EQ(heard("~^w"), (Runs{{60, 89}, {128, 167}}));
  heard(std::string(1000, 'k'));
  heard("[" + std::string(1000, '/') + "]");
  std::string long_;
  for (int i = 0; i < 1000; ++i) long_ += "ka/";
  heard("[" + long_ + "]");
  EXPECT_TRUE(host::waveLog().blocks.size() > 0);  // the last one was still spoken
}

// How tokens are cut into segments, and the factors the parts before a glide
// (0.6) and before a final s (0.7) are shortened by. Trimmed segments lose
// CORTEFON3 = 400 samples first.
TEST_F(Diphones, GlidesClustersMarksAndAFinalSShortenWhatComesBefore) {
  open({{"$A", filled(30, 500)},       {"$KA", filled(40, 1000)},  {"$AW", filled(80, 1000)},
        {"$S", filled(90, 400)},       {"$P", filled(100, 200)},   {"$LA", filled(110, 1000)},
        {"$KACIRC", filled(120, 1000)}, {"$AWTIL", filled(130, 500)}, {"$KECIRC", filled(140, 1000)},
        {"$EYCIRC", filled(150, 1000)}});
  // A vowel and a glide: "ka" at 0.6 of its trimmed 600, then "aw".
  EXPECT_EQ(heard("[kaw]"), (Runs{{40, 360}, {80, 599}, {128, 1}}));
  // A final s after one vowel: the vowel (untrimmed, two letters) at 0.7.
  EXPECT_EQ(heard("[as]"), (Runs{{30, 350}, {90, 399}, {128, 1}}));
  // Two consonants: the first alone, whole, then the rest.
  EXPECT_EQ(heard("[pla]"), (Runs{{100, 200}, {110, 599}, {128, 1}}));
  // A tilde before the glide: the vowel with a circumflex at 0.6, then vowel, glide and tilde.
  EXPECT_EQ(heard("[ka~w]"), (Runs{{120, 360}, {130, 99}, {128, 1}}));
  // A circumflex before the glide stays where it is.
  EXPECT_EQ(heard("[ke^y]"), (Runs{{140, 360}, {150, 599}, {128, 1}}));
}

TEST_F(Diphones, AnIndexThatLiesIsReadOnlyAsFarAsItGoes) {
  writeDiphones(kVoice);
  std::vector<std::uint8_t> index;
  ASSERT_TRUE(platform::readWholeFile(std::string(kDiphones) + "TESTE.IND", index));
  // The first entry ($A) claims 60000 samples at an offset near the end; a stray byte follows.
  index[9] = 0x60;
  index[10] = 0xEA;
  index.push_back(7);
  host::writeFile(std::string(kDiphones) + "TESTE.IND", std::string(index.begin(), index.end()));
  ASSERT_EQ(openDiphoneSynth(), 0);
  EXPECT_TRUE(hasDiphone("$ka"));
  EXPECT_FALSE(hasDiphone("$zz"));
  const Runs runs = heard("[a]");
  std::size_t total = 0;
  for (const auto& r : runs) total += r.second;
  EXPECT_LE(total, 3800u);  // the whole sample file, no more
}

TEST_F(Diphones, LetterFilesThatLieAboutTheirChunksAreReadSafely) {
  open(kVoice);
  std::string lying = testing_support::waveFile(filled(44, 300));
  lying[41] = '\x40';  // data claims 16 KB more
  host::writeFile(std::string(kLetters) + "_44.wav", lying);
  EXPECT_EQ(heard("[ /_,]", true), (Runs{{44, 299}, {128, 1}}));
  std::string noFormat = lying;
  noFormat[16] = '\xFF';
  noFormat[17] = '\xFF';
  host::writeFile(std::string(kLetters) + "_44.wav", noFormat);
  EXPECT_TRUE(heard("[ /_,]", true).empty());
  // A missing one-digit code is heard as noise, a longer one is silent.
  EXPECT_EQ(heard("[ /_\x02]").size() > 0, true);
  EXPECT_TRUE(heard("[ /_z]").empty());
}

TEST_F(Diphones, OpeningReportsWhatIsMissingAndRestoresTheCurrentDirectory) {
  writeDiphones(kVoice);
  const std::string before = platform::currentDirectory();
  EXPECT_EQ(openDiphoneSynth(), 0);
  EXPECT_EQ(platform::currentDirectory(), before);
  setDiphoneBaseName("NADA");
  EXPECT_EQ(openDiphoneSynth(), 1);
  setDiphoneBaseName("TESTE");
  std::filesystem::remove(host::hostPath(std::string(kDiphones) + "portug.exc"));
  EXPECT_EQ(openDiphoneSynth(), 2);
  writeIni("[TRADUTOR]\nDIRLETRAS=C:\\NAO\\\nDIRDIFONES=C:\\VOZ\\DIFONES\n");
  EXPECT_EQ(openDiphoneSynth(), 1);
  EXPECT_EQ(platform::currentDirectory(), before);
  closeDiphoneSynth();
  closeDiphoneSynth();  // safe twice
}

}  // namespace
