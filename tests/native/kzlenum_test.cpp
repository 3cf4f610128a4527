// Spoken numbers: the words of a number and the word recordings they play,
// joined into one sound.
#include <gtest/gtest.h>

#include <string>

#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "sound/kzlenum.h"
#include "support/golden_data.h"
#include "support/sound_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::filled;
using testing_support::SoundTest;
using Names = std::vector<std::string>;

TEST(NumberToWords, FollowsTheTable) {
  const auto rows = testing_support::goldenRows("numbers");
  for (const auto& [number, words] : rows) {
    std::string expected = words;
    if (!expected.empty() && expected.back() == '|') expected.back() = ' ';
    EXPECT_EQ(numberToWords(static_cast<std::uint32_t>(std::stoul(number))), expected) << number;
  }
  EXPECT_GE(rows.size(), 30u);
}

TEST(NumberToWords, FileNamesAreEightCharactersWithoutAccents) {
  EXPECT_EQ(numberWordFileName("dezessete"), "_dezeset");
  EXPECT_EQ(numberWordFileName("dezesseis"), "_dezesse");
  EXPECT_EQ(numberWordFileName("quatorze"), "_quatorz");
  EXPECT_EQ(numberWordFileName("milh\xE3o"), "_milhao");
  EXPECT_EQ(numberWordFileName("trilh\xF5" "es"), "_trilhoe");
}

class SpokenNumbers : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    startHub();
  }
  Names filesOf(std::uint32_t n, int feminine = 0) {
    recordingsOpened();
    speakNumberWords(numberToWords(n), feminine);
    return recordingsOpened();
  }
};

TEST_F(SpokenNumbers, EachNumberPlaysItsWordFiles) {
  EXPECT_EQ(filesOf(0), (Names{"_zero"}));
  EXPECT_EQ(filesOf(1, 1), (Names{"_uma"}));
  EXPECT_EQ(filesOf(2, 1), (Names{"_duas"}));
  EXPECT_EQ(filesOf(12, 1), (Names{"_doze"}));
  EXPECT_EQ(filesOf(16), (Names{"_dezesse"}));
  EXPECT_EQ(filesOf(17), (Names{"_dezeset"}));
  EXPECT_EQ(filesOf(21, 1), (Names{"_vinte", "_e", "_uma"}));
  EXPECT_EQ(filesOf(200, 1), (Names{"_duzento"}));
  EXPECT_EQ(filesOf(100), (Names{"_cem"}));
  EXPECT_EQ(filesOf(101), (Names{"_cento", "_e", "_um"}));
  EXPECT_EQ(filesOf(1000), (Names{"_mil"}));
  EXPECT_EQ(filesOf(1001), (Names{"_mil", "_e", "_um"}));
  EXPECT_EQ(filesOf(1000000), (Names{"_um", "_milhao"}));
  EXPECT_EQ(filesOf(2000000), (Names{"_dois", "_milhoes"}));
  EXPECT_EQ(filesOf(1520), (Names{"_mil", "_e", "_quinhen", "_e", "_vinte"}));
}

TEST_F(SpokenNumbers, TheWordsAreJoinedIntoOneSoundAndMissingOnesAreSkipped) {
  writeRecording("_vinte", filled(20, 1000));
  writeRecording("_um", filled(21, 500));
  // "_e" is missing.
  recordingsOpened();
  speakNumberWords(numberToWords(21), 0);
  const auto& blocks = host::waveLog().blocks;
  ASSERT_EQ(blocks.size(), 1u);
  std::vector<std::uint8_t> expected = filled(20, 1000);
  const std::vector<std::uint8_t> um = filled(21, 500);
  expected.insert(expected.end(), um.begin(), um.end());
  expected.back() = 128;
  EXPECT_EQ(blocks[0].data, expected);
}

TEST_F(SpokenNumbers, MoreThan30000BytesAreFlushedEarlyAndALongFileIsCut) {
  writeRecording("_vinte", filled(20, 20000));
  writeRecording("_e", filled(22, 5000));
  writeRecording("_um", filled(21, 40000));
  speakNumberWords(numberToWords(21), 0);
  const auto& blocks = host::waveLog().blocks;
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].data.size(), 25000u);
  EXPECT_EQ(blocks[1].data.size(), 30000u);
}

TEST_F(SpokenNumbers, AFileShorterThanItsHeaderIsSkipped) {
  host::writeFile(std::string(kLetters) + "_um.wav", "RIFF");
  speakNumberWords("um", 0);
  EXPECT_TRUE(host::waveLog().blocks.empty());
}

TEST_F(SpokenNumbers, AKeyCutsTheNumberShort) {
  writeRecording("_vinte", filled(20, 20000));
  writeRecording("_e", filled(22, 5000));
  writeRecording("_um", filled(21, 20000));
  host::scheduleAfter(500, [] { host::typeText("k"); });
  speakNumberWords(numberToWords(21), 0);
  EXPECT_LT(host::elapsedMs(), 2000u);
  EXPECT_EQ(host::waveLog().blocks.size(), 1u);  // the second part was never heard
}

}  // namespace
