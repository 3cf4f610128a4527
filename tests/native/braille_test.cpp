// The six-key Braille chord keyboard: computer Braille, literary Braille and
// the tones that announce a switch.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/host/host_control.h"
#include "platform/virtual_keys.h"
#include "screen/kzcrt.h"
#include "support/console_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
namespace vk = platform::vk;
using testing_support::ConsoleTest;

// Dot keys: F=1 D=2 S=3 J=4 K=5 L=6, space.
void chord(std::initializer_list<unsigned> keys) {
  for (unsigned k : keys) host::postKeyDown(k);
  for (unsigned k : keys) host::postKeyUp(k);
}

class Braille : public ConsoleTest {
 protected:
  void start(int mode) {
    writeIni("[BRAILLE]\nMODO=" + std::to_string(mode) + "\n");
    openConsole();
  }
};

// The samples (after the header) of the image a tone of this frequency
// plays, worked out from the square wave's rule.
std::vector<std::uint8_t> toneSamples(int frequency) {
  std::vector<std::uint8_t> image(11071, 128);
  const int period = 11025 / frequency;
  int k = 0;
  for (; 44 + k * 11025 / frequency <= 11025 - period; ++k) {
    int p = 44 + k * 11025 / frequency;
    for (int i = 0; i < period / 2 + 1; ++i) image[p++] = 96;
    for (int i = 0; i < period - period / 2 + 1; ++i) image[p++] = 160;
  }
  const int end = 44 + k * 11025 / frequency;
  image[end - 1] = 128;
  return std::vector<std::uint8_t>(image.begin() + 44, image.end());
}

std::vector<std::uint8_t> samplesOf(const std::vector<std::uint8_t>& image) {
  return std::vector<std::uint8_t>(image.begin() + 44, image.end());
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, int at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST_F(Braille, ComputerBrailleGivesTheTableCharacterOfEachChord) {
  start(1);
  chord({'F'});
  chord({'F', 'D'});
  chord({'F', 'D', 'S', 'J', 'K', 'L'});
  chord({'D', 'S', 'L'});
  chord({vk::kSpace});
  chord({vk::kSpace, 'F'});  // a control character
  EXPECT_EQ(drainKeys(), "ab\xE9\" \x01");
}

TEST_F(Braille, ASpaceChordWithoutAControlCodeBeepsAndQueuesNothing) {
  start(1);
  const int beeps = host::tones().beeps;
  chord({vk::kSpace, 'F', 'D', 'J', 'L'});  // the dots of "à": & 31 would give a lone 0
  chord({'F'});
  // Never 0 before the "a": that would make the "a" a special key.
  EXPECT_EQ(drainKeys(), "a");
  EXPECT_EQ(host::tones().beeps, beeps + 1);
}

// Every 0 in the queue must open a special key: a 0 with nothing after it,
// or with another 0, would turn the next real key into a code.
void expectNoLoneZero(const std::string& keys, const std::string& what) {
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i] != '\0') continue;
    ASSERT_LT(i + 1, keys.size()) << what << ": a 0 at the end";
    EXPECT_NE(keys[i + 1], '\0') << what << ": 0 0 at " << i;
    ++i;
  }
}

TEST_F(Braille, AFloodOfEveryChordInBothModesLeavesNoLoneZero) {
  const unsigned dots[] = {'F', 'D', 'S', 'J', 'K', 'L'};
  for (int mode : {1, 2}) {
    start(mode);
    std::string keys;
    for (int round = 0; round < 3; ++round)
      for (int value = 0; value < 64; ++value)
        for (bool space : {false, true}) {
          if (value % 16 == 0) keys += drainKeys();  // read as a program reads them
          if (value == 0 && !space) continue;
          for (int d = 0; d < 6; ++d)
            if (value & (1 << d)) host::postKeyDown(dots[d]);
          if (space) host::postKeyDown(vk::kSpace);
          for (int d = 0; d < 6; ++d)
            if (value & (1 << d)) host::postKeyUp(dots[d]);
          if (space) host::postKeyUp(vk::kSpace);
        }
    keys += drainKeys();
    EXPECT_GT(keys.size(), 100u) << "mode " << mode;
    expectNoLoneZero(keys, "mode " + std::to_string(mode));
    // The keyboard still answers: a plain chord after the flood is its letter.
    chord({vk::kSpace});
    chord({'F'});
    const std::string after = drainKeys();
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), 'a') << "mode " << mode;
  }
}

TEST_F(Braille, ShiftTabAndF10HeldDownRepeatAsWholeKeys) {
  start(0);
  for (int i = 0; i < 15; ++i) host::pressKey(vk::kTab, {.shift = true});
  for (int i = 0; i < 15; ++i) host::postSysKeyDown(vk::kF10);
  host::postKeyUp(vk::kF10);
  host::pressKey('A');
  std::string keys = drainKeys();
  expectNoLoneZero(keys, "held keys");
  std::string expected;
  for (int i = 0; i < 15; ++i) expected += std::string("\0\x0F", 2);
  for (int i = 0; i < 15; ++i) expected += std::string("\0\x44", 2);
  EXPECT_EQ(keys, expected + "a");
  // Held on while nobody reads: a full queue takes a key's two bytes or neither.
  for (int i = 0; i < 63; ++i) host::pressKey('B');
  for (int i = 0; i < 40; ++i) host::postSysKeyDown(vk::kF10);
  keys = drainKeys();
  expectNoLoneZero(keys, "a full queue");
  EXPECT_EQ(keys, std::string(63, 'b'));
}

TEST_F(Braille, TypedLettersAreNotCharactersInBrailleMode) {
  start(1);
  // 'a' is not a dot key: its press adds nothing, its character is dropped,
  // and its release emits the empty chord, a space.
  host::typeText("a");
  host::typeText("1");  // digits still pass
  EXPECT_EQ(drainKeys(), " 1");
}

TEST_F(Braille, LiteraryNumberSignTurnsLettersIntoDigitsUntilASpaceChord) {
  start(2);
  chord({'S', 'J', 'K', 'L'});  // #
  chord({'F'});
  chord({'F', 'D'});
  chord({'S'});  // ' becomes .
  chord({'D', 'J', 'K'});  // j = 0
  chord({vk::kSpace});
  chord({'F'});
  EXPECT_EQ(drainKeys(), "12.0 a");
}

TEST_F(Braille, CapitalSignTwiceLocksCapitalsUntilASpaceChordOrAnotherKeyRelease) {
  start(2);
  chord({'J', 'L'});  // {
  chord({'F'});
  chord({'F'});
  EXPECT_EQ(drainKeys(), "Aa");
  chord({'J', 'L'});
  chord({'J', 'L'});
  chord({'F'});
  chord({'F', 'D'});
  chord({vk::kSpace});
  chord({'F'});
  EXPECT_EQ(drainKeys(), "AB a");
  chord({'J', 'L'});
  chord({'J', 'L'});
  host::postKeyUp(vk::kUp);  // a key that is neither a letter nor space
  chord({'F'});
  EXPECT_EQ(drainKeys(), "a");
}

TEST_F(Braille, CtrlKeepsTheLetterKeysOrdinary) {
  start(1);
  host::pressKey('F', {.ctrl = true});
  EXPECT_EQ(drainKeys(), "\x06");
}

TEST_F(Braille, OpeningInLiteraryModePlaysItsTwoTones) {
  start(2);
  const host::ToneLog& t = host::tones();
  ASSERT_EQ(t.images.size(), 2u);
  EXPECT_EQ(samplesOf(t.images[0]), toneSamples(800));
  EXPECT_EQ(samplesOf(t.images[1]), toneSamples(400));
  EXPECT_FALSE(t.playing);
  EXPECT_EQ(brailleMode(), 2);
}

TEST_F(Braille, ToneImageIsASquareWaveWithAStandardHeader) {
  start(1);
  const std::vector<std::uint8_t>& image = host::tones().images.at(0);
  EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "RIFF");
  // 800 Hz: periods of 13 samples; the next period after the last would start at 11013.
  EXPECT_EQ(le32(image, 40), 11013u - 44u);
  EXPECT_EQ(le32(image, 4), 11013u - 44u + 36u);
  EXPECT_EQ(le32(image, 24), 11025u);
  EXPECT_EQ(image[44], 96);
  EXPECT_EQ(image[50], 96);
  EXPECT_EQ(image[51], 160);
  EXPECT_EQ(image[56], 160);
  EXPECT_EQ(image[57], 96);
  EXPECT_EQ(image[11012], 128);
  EXPECT_EQ(samplesOf(host::tones().images.at(1)), toneSamples(1600));
}

TEST_F(Braille, CtrlAltF11CyclesTheModesAndCtrlAltF12SwitchesOff) {
  openConsole();
  const host::Modifiers ctrlAlt{.ctrl = true, .alt = true};
  host::pressKey(vk::kF11, ctrlAlt);
  pumpMessages();
  EXPECT_EQ(brailleMode(), 1);
  host::pressKey(vk::kF11, ctrlAlt);
  pumpMessages();
  EXPECT_EQ(brailleMode(), 2);
  host::pressKey(vk::kF11, ctrlAlt);
  pumpMessages();
  EXPECT_EQ(brailleMode(), 1);
  ASSERT_EQ(host::tones().images.size(), 6u);
  EXPECT_EQ(samplesOf(host::tones().images[3]), toneSamples(400));
  host::pressKey(vk::kF12, ctrlAlt);
  pumpMessages();
  EXPECT_EQ(brailleMode(), 0);
  ASSERT_EQ(host::tones().images.size(), 7u);
  EXPECT_EQ(samplesOf(host::tones().images[6]), toneSamples(100));
  host::pressKey(vk::kF12, ctrlAlt);  // already off: no tone
  pumpMessages();
  EXPECT_EQ(host::tones().images.size(), 7u);
  EXPECT_EQ(drainKeys(), "");
}

TEST_F(Braille, AFullQueueDropsTheChordCharacter) {
  start(1);
  for (int i = 0; i < 64; ++i) host::postChar('1');
  chord({'F'});
  pumpMessages();
  EXPECT_EQ(drainKeys(), std::string(64, '1'));
}

}  // namespace
