// speakText and the hub's sounds: which recordings a text plays, the
// pauses, the click and the beep, a key that cuts speech, and an engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "support/fake_engine.h"
#include "support/sound_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::FakeEngine;
using testing_support::filled;
using testing_support::SoundTest;
using Names = std::vector<std::string>;

class Speak : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    FakeEngine::reset();
    startHub();
  }
  Names spoken(const std::string& text) {
    recordingsOpened();
    speakText(text);
    return recordingsOpened();
  }
  std::uint64_t millisecondsOf(const std::function<void()>& action) {
    const auto before = host::elapsedMs();
    action();
    return host::elapsedMs() - before;
  }
};

TEST_F(Speak, LeadingZerosAreNamedAndTheRestIsANumber) {
  EXPECT_EQ(spoken("007"), (Names{"_zero", "_zero", "_sete"}));
  EXPECT_EQ(spoken("100"), (Names{"_cem"}));
}

TEST_F(Speak, SevenDigitsOrADashAreSpelledSixDigitsAreOneNumber) {
  EXPECT_EQ(spoken("1234567"), (Names{"_49", "_50", "_51", "_52", "_53", "_54", "_55"}));
  EXPECT_EQ(spoken("123456"), (Names{"_cento", "_e", "_vinte", "_e", "_tres", "_mil", "_e", "_quatroc", "_e",
                                     "_cinquen", "_e", "_seis"}));
  EXPECT_EQ(spoken("12-34"), (Names{"_49", "_50", "_45", "_51", "_52"}));
}

TEST_F(Speak, AMinusBeforeADigitAndADashBetweenWords) {
  EXPECT_EQ(spoken("-5"), (Names{"_MENOS", "_cinco"}));
  // "a" is a diphone; the dash is named and pauses; "b" alone is spelled.
  const auto ms = millisecondsOf([this] { EXPECT_EQ(spoken("a - b"), (Names{"_45", "_98"})); });
  EXPECT_GE(ms, 150u);
}

TEST_F(Speak, WwwIsSpelledAndAHyphenInsideAWordIsNotSpoken) {
  EXPECT_EQ(spoken("www"), (Names{"_119", "_119", "_119"}));
  EXPECT_EQ(spoken("WWW.x"), (Names{"_87", "_87", "_87", "_46", "_120"}));
  // No rules but for "a": the other letters are spelled from their recordings.
  EXPECT_EQ(spoken("guarda-chuva"), (Names{"_71", "_85", "_82", "_68", "_67", "_72", "_85", "_86"}));
}

TEST_F(Speak, TheFifthEqualSymbolInARowIsAClick) {
  writeRecording("_61", filled(61, 300));
  EXPECT_EQ(spoken("====="), (Names{"_61", "_61", "_61", "_61"}));
  const auto& blocks = host::waveLog().blocks;
  ASSERT_EQ(blocks.size(), 5u);
  std::vector<std::uint8_t> click(clickSamples(), clickSamples() + 256);
  click[255] = 128;
  EXPECT_EQ(blocks.back().data, click);
  EXPECT_EQ(spoken("==x=="), (Names{"_61", "_61", "_120", "_61", "_61"}));  // only equal symbols in a row count
}

TEST_F(Speak, AFinalPeriodIsNamedAndPausesADecimalPointIsNamedOnly) {
  EXPECT_EQ(spoken("3.5"), (Names{"_tres", "_46", "_cinco"}));
  EXPECT_LT(millisecondsOf([this] { speakText("3.5"); }), 250u);
  EXPECT_GE(millisecondsOf([this] { EXPECT_EQ(spoken("a."), (Names{"_46"})); }), 250u);
}

TEST_F(Speak, PunctuationPausesComeFromThePerSpeedKeys) {
  startHub("PAUSAVIRG3=500\nPAUSAPONTO3=0\nPAUSADOISPONTOS3=300\n");
  EXPECT_GE(millisecondsOf([] { speakPunctuation(", "); }), 500u);
  EXPECT_LT(millisecondsOf([] { speakPunctuation(","); }), 50u);
  EXPECT_LT(millisecondsOf([] { speakPunctuation(". "); }), 50u);
  EXPECT_GE(millisecondsOf([] { speakPunctuation("("); }), 300u);
  EXPECT_GE(millisecondsOf([] { speakPunctuation("- "); }), 500u);
}

TEST_F(Speak, SchemeSeparatorsAndTabs) {
  EXPECT_EQ(spoken("\t:// "), (Names{"_58", "_47", "_47"}));
}

TEST_F(Speak, DialTonesPlayTheirFilesWithGaps) {
  const auto ms = millisecondsOf([this] {
    recordingsOpened();
    playDialTones("1#*,9a");
    EXPECT_EQ(recordingsOpened(), (Names{"dtmf_1", "dtmf_#", "dtmf_X", "dtmf_9"}));
  });
  EXPECT_GE(ms, 1000u + 4 * 100u);
  EXPECT_FALSE(waveSwitches().fastPlayback);
}

TEST_F(Speak, TheBeepIsATriangleAndDiscardsWaitingKeys) {
  host::typeText("zz");
  pumpMessages();
  playBeep();
  EXPECT_FALSE(keyPressed());
  const std::vector<std::uint8_t>& beep = host::waveLog().blocks.back().data;
  ASSERT_EQ(beep.size(), 512u);
  const std::uint8_t pattern[8] = {128, 112, 96, 80, 64, 80, 96, 112};
  for (int i = 0; i < 511; ++i) EXPECT_EQ(beep[static_cast<std::size_t>(i)], pattern[i % 8]) << i;
  EXPECT_EQ(beep[511], 128);
}

TEST_F(Speak, TheClickIsPlayedUncompressed) {
  waveSwitches().compressedPlayback = true;
  playClick();
  EXPECT_TRUE(waveSwitches().compressedPlayback);
  EXPECT_EQ(host::waveLog().blocks.back().data.size(), 256u);
}

TEST_F(Speak, AKeyCutsALongTextAndStaysForTheNextReader) {
  for (const char* code : {"_43", "_42", "_47", "_61", "_38"}) writeRecording(code, filled(50, 11025));
  host::scheduleAfter(1500, [] { host::typeText("q"); });
  recordingsOpened();
  speakText("+*/=&");
  EXPECT_EQ(recordingsOpened(), (Names{"_43", "_42"}));
  EXPECT_LT(host::elapsedMs(), 3000u);
  EXPECT_EQ(readKey(), 'q');
}

TEST_F(Speak, SpellingStopsBeforeTheNextCharacterWhenAKeyWaits) {
  host::typeText("q");
  recordingsOpened();
  spellText("abc");
  EXPECT_TRUE(recordingsOpened().empty());
}

TEST_F(Speak, ReadKeySpokenNamesTheKey) {
  host::typeText("h");
  EXPECT_EQ(readKeySpoken(), 'h');
  EXPECT_EQ(recordingsOpened(), (Names{"_104"}));
}

TEST_F(Speak, WithAnEngineSpeakTextReturnsAtOnceAndTheNextLetterWaits) {
  FakeEngine::install(4);
  startHub("[TRADUTOR]\nSAPI=S\n");
  ASSERT_TRUE(hubSettings().engineActive);
  EXPECT_LT(millisecondsOf([] { speakText("bom dia"); }), 50u);
  EXPECT_EQ(FakeEngine::spoken, (std::vector<std::string>{"bom dia"}));
  EXPECT_GE(millisecondsOf([] { speakLetter('a'); }), 450u);
  // A key silences the engine and what follows is not spoken.
  speakText("outra frase");
  host::typeText("k");
  EXPECT_FALSE(isSpeaking());
  EXPECT_GE(FakeEngine::silences, 1);
}

TEST_F(Speak, WriteLineAndSpeakWritesTheTextOnItsOwnLine) {
  moveCursor(1, 3);
  writeLineAndSpeak("a");
  EXPECT_EQ(screenRow(3).substr(0, 2), "a ");
  EXPECT_EQ(cursorRow(), 4);
  EXPECT_EQ(upperCaseLatin1("a\xE7\xE9z\xFF"), "A\xC7\xC9Z\xDF");
}

}  // namespace
