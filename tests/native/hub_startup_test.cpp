// Starting and stopping speech: speed, per-speed settings, the diphone
// voice, the letters directory and the engine.
#include <gtest/gtest.h>

#include <filesystem>

#include "diphone/kztradut.h"
#include "engines/kzsapi.h"
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
using testing_support::SoundTest;

class HubStartup : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    FakeEngine::reset();
    initConsoleUnit();
    initWavePlayer();
    initSpeechHub();
  }
  // startSpeech with the INI lines; true when it returned (the voice opened).
  bool start(int speed, const std::string& extraIni, const std::string& soundDirectory = "") {
    installVoice(extraIni);
    writeDiphones({{"$A", testing_support::filled(10, 500)}}, "OUTRA");
    return exitCodeOf([&] { startSpeech(speed, soundDirectory); }) == -1;
  }
};

TEST_F(HubStartup, ModuleInitialisationPreparesComAndTheClick) {
  EXPECT_EQ(host::comInitializations(), 1);
  EXPECT_TRUE(hubSettings().echoTyping);
  EXPECT_EQ(hubSettings().engineType, 4);
  const std::uint8_t* click = clickSamples();
  for (int i = 0; i < 64; ++i) EXPECT_TRUE(click[i] >= 128 && click[i] < 188) << i;
  for (int i = 64; i < 256; ++i) EXPECT_EQ(click[i], 128) << i;
}

TEST_F(HubStartup, SpeedZeroTakesVelocidadeAndOutOfRangeSpeedsAreThree) {
  const struct {
    int speed;
    const char* velocidade;
    int expected;
  } cases[] = {{0, nullptr, 3}, {0, "0", 3}, {0, "7", 3}, {0, "5", 5}, {-2, "1", 1}, {9, "1", 3}, {2, "5", 2}};
  for (const auto& c : cases) {
    const std::string velocidade = c.velocidade ? std::string("[TRADUTOR]\nVELOCIDADE=") + c.velocidade + "\n" : "";
    // The per-speed database names tell which speed's keys were read.
    ASSERT_TRUE(start(c.speed, "DIFONES1=TESTE\nDIFONES2=TESTE\nDIFONES5=TESTE\n" + velocidade));
    EXPECT_EQ(hubSettings().speed, c.expected) << c.speed << " " << (c.velocidade ? c.velocidade : "-");
  }
}

TEST_F(HubStartup, PerSpeedSettingsReachTheSynthesizerAndThePlayer) {
  ASSERT_TRUE(start(3, "CORTAFALA3=S\nRAPIDINHO3=sim\nPAUSAPONTO3=\nPAUSAVIRG3=0\nPAUSADOISPONTOS3=x\n"));
  EXPECT_TRUE(waveSwitches().compressedPlayback);
  EXPECT_TRUE(waveSwitches().fastPlayback);
  EXPECT_EQ(hubSettings().periodPause, 250);
  EXPECT_EQ(hubSettings().commaPause, 0);
  EXPECT_EQ(hubSettings().colonPause, 200);
}

TEST_F(HubStartup, ALongDatabaseNameIsCutToEightCharacters) {
  installVoice();
  writeIni(std::string("[TRADUTOR]\nDIRLETRAS=") + kLetters + "\nDIRDIFONES=" + kDiphones +
           "\n[SINTETIZADOR]\nDIFONES3=OUTRAVOZLONGA\n");
  writeDiphones({{"$A", testing_support::filled(10, 500)}}, "OUTRAVOZ");
  EXPECT_EQ(exitCodeOf([] { startSpeech(3, ""); }), -1);
  EXPECT_EQ(diphoneBaseName(), "OUTRAVOZ");
}

TEST_F(HubStartup, AVoiceThatCannotOpenIsReportedAndEndsTheProgramAfterEnter) {
  installVoice();
  writeIni(std::string("[TRADUTOR]\nDIRLETRAS=") + kLetters + "\nDIRDIFONES=" + kDiphones + "\n");
  openConsole();
  feedKeysWhenIdle("\r");
  EXPECT_EQ(exitCodeOf([] { startSpeech(3, ""); }), 0);
  EXPECT_EQ(screenRow(1).substr(0, 25), "Erro de inicializa\xE7\xE3o: 1 ");
  EXPECT_EQ(screenRow(2).substr(0, 24), "Banco de dados de voz:  ");
}

TEST_F(HubStartup, MissingRulesAreErrorTwo) {
  installVoice();
  host::writeFile(std::string(kDiphones) + "regras.rgr", "");
  std::filesystem::remove(host::hostPath(std::string(kDiphones) + "regras.rgr"));
  openConsole();
  feedKeysWhenIdle("\r");
  EXPECT_EQ(exitCodeOf([] { startSpeech(3, ""); }), 0);
  EXPECT_EQ(screenRow(1).substr(0, 24), "Erro de inicializa\xE7\xE3o: 2");
  EXPECT_EQ(screenRow(2).substr(0, 28), "Banco de dados de voz: TESTE");
}

TEST_F(HubStartup, DirectoriesGetTheirBackslash) {
  ASSERT_TRUE(start(3, "", "C:\\SONS"));
  EXPECT_EQ(soundDirectory(), "C:\\SONS\\");
  EXPECT_EQ(lettersDirectory(), kLetters);
  ASSERT_TRUE(start(3, ""));
  EXPECT_EQ(soundDirectory(), "");
}

// The same file wherever the program lies: "@" paths in the program
// directory's ORALIS.INI name its own folders. The Windows directory's file
// is read as it stands, as the older programs read it.
TEST_F(HubStartup, LetterAndDiphoneDirectoriesFollowTheIniBesideTheProgram) {
  const std::string atPaths = "[ORALIS]\nPGMORALIS=@\n[TRADUTOR]\nDIRLETRAS=@\\LETRAS\nDIRDIFONES=@\\DIFONES\n"
                             "[SINTETIZADOR]\nDIFONES3=TESTE\n";
  installVoice();
  std::filesystem::remove(host::hostPath("C:\\WINDOWS\\ORALIS.INI"));
  host::writeFile("C:\\VOZ\\ORALIS.INI", atPaths);
  host::setCurrentDirectory("C:\\VOZ");
  resetSpeechHub();
  initSpeechHub();
  EXPECT_EQ(exitCodeOf([] { startSpeech(3, ""); }), -1);
  EXPECT_EQ(lettersDirectory(), kLetters);
  writeIni(atPaths);
  openConsole();
  feedKeysWhenIdle("\r");
  EXPECT_EQ(exitCodeOf([] { startSpeech(3, ""); }), 0);
  EXPECT_EQ(screenRow(1).substr(0, 25), "Erro de inicializa\xE7\xE3o: 1 ");
}

TEST_F(HubStartup, TheEngineStartsOnlyWhenSapiSaysYes) {
  FakeEngine::install(4);
  for (const char* sapi : {"", "SAPI=\n", "SAPI=N\n", "SAPI=nao\n"}) {
    ASSERT_TRUE(start(3, std::string("[TRADUTOR]\n") + sapi));
    EXPECT_FALSE(hubSettings().engineActive) << sapi;
  }
  EXPECT_TRUE(FakeEngine::starts.empty());
  ASSERT_TRUE(start(3, "[TRADUTOR]\nSAPI=S\n[SERVFALA]\nVOZ=2\nVELOCIDADE=15\nTOM=3\nTIPOSAPI=4\n"));
  EXPECT_TRUE(hubSettings().engineActive);
  ASSERT_EQ(FakeEngine::starts.size(), 1u);
  EXPECT_EQ(FakeEngine::starts[0].voice, 2);
  EXPECT_EQ(FakeEngine::starts[0].rate, 15);
  EXPECT_EQ(FakeEngine::starts[0].pitch, 3);
}

TEST_F(HubStartup, OtherEngineTypesTakeNoRateAboveTen) {
  FakeEngine::install(5);
  ASSERT_TRUE(start(3, "[TRADUTOR]\nSAPI=1\n[SERVFALA]\nVELOCIDADE=15\nTIPOSAPI=5\n"));
  ASSERT_EQ(FakeEngine::starts.size(), 1u);
  EXPECT_EQ(FakeEngine::starts[0].rate, 0);
  EXPECT_EQ(hubSettings().engineType, 5);
}

TEST_F(HubStartup, AnEngineThatFailsLeavesTheDiphoneVoice) {
  FakeEngine::install(4);
  FakeEngine::startSucceeds = false;
  ASSERT_TRUE(start(3, "[TRADUTOR]\nSAPI=S\n"));
  EXPECT_FALSE(hubSettings().engineActive);
}

TEST_F(HubStartup, StopSpeechLetsSpeechEndThenStopsTheEngineAndTheVoice) {
  FakeEngine::install(4);
  ASSERT_TRUE(start(3, "[TRADUTOR]\nSAPI=S\n"));
  speakText("ola");
  stopSpeech();
  EXPECT_GE(host::elapsedMs(), 500u);
  EXPECT_EQ(FakeEngine::stops, 1);
  EXPECT_FALSE(hubSettings().engineActive);
  EXPECT_EQ(diphoneLettersDirectory(), kLetters);
}

TEST_F(HubStartup, StopSpeechClosesTheDiphoneVoice) {
  ASSERT_TRUE(start(3, ""));
  auto valuesHeard = [] {
    host::waveLog().blocks.clear();
    speakPhonetic("[a]", false);
    int voiced = 0;
    for (const auto& [value, count] : testing_support::runsOf(host::playedSamples())) voiced += value == 10;
    return voiced;
  };
  EXPECT_EQ(valuesHeard(), 1);  // the segment $A (samples of 10) is played
  stopSpeech();
  EXPECT_EQ(valuesHeard(), 0);  // closed: its segments are gone
}

}  // namespace
