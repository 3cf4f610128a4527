// Registry lookup, the engine dispatcher and the MBROLA-voice adapter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engines/kzsapi.h"
#include "engines/mbrola_voice.h"
#include "engines/minireg.h"
#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "support/fake_engine.h"
#include "support/fake_mbrola.h"
#include "support/sound_fixture.h"
#include "tts/utts_aurea.h"

namespace {

using testing_support::FakeEngine;
using testing_support::FakeMbrola;
namespace host = platform::host;
using platform::RegistryRoot;

const std::string kVoiceData = std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/";

class EngineSelectionTest : public testing_support::SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    FakeEngine::reset();
    FakeMbrola::reset();
    tradutor::resetVoiceDriver();
    tradutor::resetMbrolaVoiceAdapter();
  }
  void TearDown() override {
    tradutor::resetVoiceDriver();
    SoundTest::TearDown();
  }
};

TEST_F(EngineSelectionTest, RegistryPathsSplitAtTheirLastBackslash) {
  host::setRegistryString(RegistryRoot::localMachine, "SOFTWARE\\TCTS\\Mbrola\\databases\\br4", "", "C:\\VOZ\\br4");
  host::setRegistryString(RegistryRoot::localMachine, "SOFTWARE\\TCTS", "Nome", "abc");
  std::string value;
  EXPECT_TRUE(tradutor::readRegistryString(RegistryRoot::localMachine, "SOFTWARE\\TCTS\\Mbrola\\databases\\BR4\\", value));
  EXPECT_EQ(value, "C:\\VOZ\\br4");
  EXPECT_TRUE(tradutor::readRegistryString(RegistryRoot::localMachine, "software\\tcts\\nome", value));
  EXPECT_EQ(value, "abc");  // 4 bytes with the zero: 3 characters
  EXPECT_FALSE(tradutor::readRegistryString(RegistryRoot::localMachine, "SOFTWARE\\TCTS\\Outro", value));
  EXPECT_FALSE(tradutor::readRegistryString(RegistryRoot::currentUser, "SOFTWARE\\TCTS\\Nome", value));
  EXPECT_EQ(host::openRegistryKeys(), 0);

  const int opens = host::registryOpens();
  EXPECT_FALSE(tradutor::readRegistryString(RegistryRoot::localMachine, "SEMBARRA", value));
  EXPECT_EQ(host::registryOpens(), opens);  // never asked
  EXPECT_EQ(tradutor::lastIndexOf('\\', "a\\b\\c"), 4);
  EXPECT_EQ(tradutor::lastIndexOf('\\', "abc"), 0);
}

TEST_F(EngineSelectionTest, AValueOfAnotherTypeOrAnyLengthIsHandledWhole) {
  host::setRegistryValue(RegistryRoot::localMachine, "K", "numero", 4, {1, 0, 0, 0});
  std::string value = "antes";
  EXPECT_FALSE(tradutor::readRegistryString(RegistryRoot::localMachine, "K\\numero", value));
  EXPECT_EQ(value, "antes");
  EXPECT_EQ(host::openRegistryKeys(), 0);
  const std::string longText(10000, 'x');
  host::setRegistryString(RegistryRoot::localMachine, "K", "longo", longText);
  EXPECT_TRUE(tradutor::readRegistryString(RegistryRoot::localMachine, "K\\longo", value));
  EXPECT_EQ(value, longText);
  std::vector<std::uint8_t> data;
  EXPECT_TRUE(tradutor::readRegistryValue(RegistryRoot::localMachine, "K\\numero", 4, data));
  EXPECT_EQ(data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
}

TEST_F(EngineSelectionTest, EveryOtherEngineTypeIsSapiFour) {
  FakeEngine::install(4);
  for (int type : {4, 0, 7}) {
    EXPECT_TRUE(tradutor::startSpeechEngine(1, 2, 3, "", type)) << type;
    EXPECT_EQ(tradutor::currentEngineType(), type);
  }
  EXPECT_EQ(FakeEngine::starts.size(), 3u);
  // No SAPI 5 runtime: their start fails.
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 2, 3, "", 5));
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 2, 3, "", 54));
}

TEST_F(EngineSelectionTest, AFailedStartReturnsAtOnceAndAGoodOneWaitsForQuiet) {
  FakeEngine::install(4);
  FakeEngine::startSucceeds = false;
  const auto before = host::elapsedMs();
  EXPECT_FALSE(tradutor::startSpeechEngine(0, 0, 0, "", 4));
  EXPECT_EQ(host::elapsedMs(), before);
  FakeEngine::startSucceeds = true;
  FakeEngine::speakingUntil = before + 120;
  EXPECT_TRUE(tradutor::startSpeechEngine(0, 0, 0, "", 4));
  EXPECT_GE(host::elapsedMs(), before + 120);
}

TEST_F(EngineSelectionTest, IsSpeakingServesTheWindowEvenWhenNothingSpeaks) {
  tradutor::initConsoleUnit();
  tradutor::openConsoleWindow();
  FakeEngine::install(4);
  ASSERT_TRUE(tradutor::startSpeechEngine(0, 0, 0, "", 4));
  host::pressKey('A');
  ASSERT_GT(host::pendingMessages(), 0);
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
  EXPECT_EQ(host::pendingMessages(), 0);
  EXPECT_TRUE(tradutor::keyPressed());
}

TEST_F(EngineSelectionTest, TheVoiceFilesComeFromAureattsOrTheRegistry) {
  writeIni("[AUREATTS]\nMBROLA_DB=br5\nDIR=C:\\VOZ\nBASE=pt\n");
  tradutor::initMbrolaVoiceAdapter();
  const tradutor::MbrolaVoiceFiles& f = tradutor::mbrolaVoiceFiles();
  EXPECT_EQ(f.database, "br5");
  EXPECT_EQ(f.rules, "C:\\VOZ\\pt.nrl");
  EXPECT_EQ(f.exceptions, "C:\\VOZ\\pt.exc");
  EXPECT_EQ(f.abbreviations, "C:\\VOZ\\pt.abr");
  EXPECT_EQ(f.prosody, "C:\\VOZ\\pt.pro");
  EXPECT_EQ(f.definitions, "C:\\VOZ\\pt.dfn");

}

TEST_F(EngineSelectionTest, WithoutDirTheRegistryNamesTheVoicesFolder) {
  writeIni("[AUREATTS]\nDIR=\n");
  host::setRegistryString(RegistryRoot::localMachine, "SOFTWARE\\TCTS\\Mbrola\\databases\\BR4", "", "D:\\MBROLA\\br4");
  tradutor::initMbrolaVoiceAdapter();
  EXPECT_EQ(tradutor::mbrolaVoiceFiles().database, "br4");
  EXPECT_EQ(tradutor::mbrolaVoiceFiles().rules, "D:\\MBROLA\\portug.nrl");

}

TEST_F(EngineSelectionTest, WithoutDirOrRegistryTheVoiceIsInTarsis) {
  writeIni("[AUREATTS]\nMBROLA_DB=" + std::string(300, 'b') + "\n");
  tradutor::initMbrolaVoiceAdapter();
  EXPECT_EQ(tradutor::mbrolaVoiceFiles().rules, "\\tarsis\\aureatts\\portug.nrl");
  EXPECT_FALSE(tradutor::mbrolaVoiceFiles().database.empty());
}

TEST_F(EngineSelectionTest, SpeedAndPitchBecomeTheDriversFactors) {
  EXPECT_DOUBLE_EQ(tradutor::mbrolaDurationFactor(0), 0.8);
  EXPECT_DOUBLE_EQ(tradutor::mbrolaDurationFactor(3), 0.6);
  EXPECT_DOUBLE_EQ(tradutor::mbrolaPitchFactor(0), 1.0);
  EXPECT_DOUBLE_EQ(tradutor::mbrolaPitchFactor(11), 2.0);
  // What the engine is sent at speed 3 and pitch 11: 0.6 of each duration and
  // twice each pitch, against speed 0 and pitch 0.
  writeIni("[AUREATTS]\nDIR=" + kVoiceData + "\n");
  tradutor::initMbrolaVoiceAdapter();
  FakeMbrola::install();
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  auto linesAt = [&](int speed, int pitch) {
    FakeMbrola::written.clear();
    EXPECT_TRUE(tradutor::startSpeechEngine(0, speed, pitch, "", 3));
    tradutor::engineSpeak("Bom");
    tradutor::stopSpeechEngine();
    return FakeMbrola::written;
  };
  const auto plain = linesAt(0, 0), changed = linesAt(3, 11);
  ASSERT_EQ(plain.size(), changed.size());
  bool compared = false;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    int d0, d1, p0 = 0, p1 = 0, at;
    char n0[16], n1[16];
    if (std::sscanf(plain[i].c_str(), "%15s %d %d %d", n0, &d0, &at, &p0) >= 2 &&
        std::sscanf(changed[i].c_str(), "%15s %d %d %d", n1, &d1, &at, &p1) >= 2 && n0[0] != ';') {
      EXPECT_NEAR(d1, d0 * 0.6 / 0.8, 1) << plain[i];
      if (p0 > 0) {
        EXPECT_NEAR(p1, 2 * p0, 2) << plain[i];
      }
      compared = true;
    }
  }
  EXPECT_TRUE(compared);
}

TEST_F(EngineSelectionTest, AWaitingKeyStopsTheVoice) {
  writeIni("[AUREATTS]\nDIR=" + kVoiceData + "\n");
  tradutor::initMbrolaVoiceAdapter();
  FakeMbrola::install();
  tradutor::initConsoleUnit();
  tradutor::openConsoleWindow();
  tradutor::initWavePlayer();
  ASSERT_TRUE(tradutor::startSpeechEngine(0, 0, 0, "", 3));
  host::holdWaveBlocks(true);
  FakeMbrola::reads = {8000, 8000, 8000};
  tradutor::engineSpeak("Bom dia a todos");
  EXPECT_TRUE(tradutor::engineIsSpeaking(false));
  host::pressKey('A');
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
  EXPECT_GE(host::waveLog().resets, 1);
  EXPECT_TRUE(tradutor::keyPressed());  // left for the next reader
  host::holdWaveBlocks(false);
  tradutor::stopSpeechEngine();
  EXPECT_EQ(FakeMbrola::closes, 1);
}

// The hub with the real voice adapter over the scripted engine.
TEST_F(EngineSelectionTest, TheHubDrivesTheVoiceAndFallsBackToItsOwnWhenTheVoiceFails) {
  const std::string ini = "[TRADUTOR]\nSAPI=S\n[SERVFALA]\nTIPOSAPI=3\n[AUREATTS]\nDIR=" + kVoiceData + "\n";
  FakeMbrola::install();
  installVoice(ini);
  tradutor::initMbrolaVoiceAdapter();
  startHub(ini);
  ASSERT_TRUE(tradutor::hubSettings().engineActive);
  // Message 2980 follows the voice's speak and its is-speaking (which first
  // takes whatever was waiting), for a caller asleep in WaitMessage.
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
  EXPECT_EQ(host::pendingMessages(), 1);
  tradutor::engineSpeak("Bom dia");
  EXPECT_EQ(host::pendingMessages(), 2);
  EXPECT_NE(std::find(FakeMbrola::written.begin(), FakeMbrola::written.end(), ";Bom\r\n"), FakeMbrola::written.end());
  // Silence reaches this voice even when it says it is quiet: is-speaking's
  // message, the voice's silence's message and the hub's own.
  tradutor::silence();
  EXPECT_EQ(host::pendingMessages(), 3);
  // Stopping speech ends the driver: the engine closed and let go.
  tradutor::stopSpeech();
  EXPECT_EQ(FakeMbrola::closes, 1);
  EXPECT_EQ(host::loadedLibraries(), 0);

  // An engine that refuses its database: the hub speaks with its own voice.
  FakeMbrola::reset();
  FakeMbrola::install();
  FakeMbrola::initResult = -1;
  startHub(ini);
  EXPECT_FALSE(tradutor::hubSettings().engineActive);
  EXPECT_EQ(host::loadedLibraries(), 0);
  host::waveLog().blocks.clear();
  tradutor::speakText("a");
  EXPECT_TRUE(FakeMbrola::written.empty());
  bool heard = false;
  for (const auto& [value, count] : testing_support::runsOf(host::playedSamples())) heard = heard || value == 10;
  EXPECT_TRUE(heard);  // the diphone voice's segment for "a"
}

}  // namespace
