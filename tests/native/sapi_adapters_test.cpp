// The SAPI 5 and SAPI 4 adapters against the host's fake runtimes: the calls
// they make, in order, and what the program hears through the hub.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/kzsapi.h"
#include "engines/kzsapi4.h"
#include "engines/kzsapi5.h"
#include "hub/kzwin.h"
#include "platform/files.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "support/sound_fixture.h"

namespace {

namespace host = platform::host;
using Calls = std::vector<std::string>;

class SapiTest : public testing_support::SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    host::sapi5Fake() = {};
    host::sapi4Fake() = {};
    host::sapi5Fake().installed = true;
    host::sapi4Fake().installed = true;
  }
  void TearDown() override {
    tradutor::resetEngineDispatcher();
    EXPECT_EQ(host::sapi5Fake().liveVoices, 0);
    EXPECT_EQ(host::sapi4Fake().liveSessions, 0);
    SoundTest::TearDown();
  }
  static Calls& calls5() { return host::sapi5Fake().calls; }
  static Calls& calls4() { return host::sapi4Fake().calls; }
  // The calls since the last look.
  static Calls take(Calls& calls) {
    Calls taken;
    taken.swap(calls);
    return taken;
  }
};

// --- SAPI 5 ---------------------------------------------------------------------

TEST_F(SapiTest, Sapi5StartSelectsTheVoiceAndRateThenWaitsForQuiet) {
  host::sapi5Fake().voices = 3;
  ASSERT_TRUE(tradutor::startSpeechEngine(2, 4, 9, "", 5));
  EXPECT_EQ(take(calls5()), (Calls{"create 5", "interests 33790", "count", "select 1", "rate 4", "event", "wait 20"}));
  tradutor::stopSpeechEngine();
  EXPECT_EQ(take(calls5()), (Calls{"wait 20", "release"}));

  ASSERT_TRUE(tradutor::startSpeechEngine(3, -10, 0, "C:\\SAIDA.WAV", 54));
  EXPECT_EQ(take(calls5()),
            (Calls{"create 54", "interests 33790", "count", "select 2", "rate -10", "event", "file C:\\SAIDA.WAV", "wait 20"}));
}

TEST_F(SapiTest, Sapi5VoiceNumbersOutOfRangeTakeTheFirstVoiceAtRateZero) {
  for (int voice : {0, -1, 4, 10000}) {
    ASSERT_TRUE(tradutor::startSpeechEngine(voice, 7, 0, "", 5)) << voice;
    const Calls c = take(calls5());
    ASSERT_GE(c.size(), 5u);
    EXPECT_EQ(c[3], "select 0") << voice;
    EXPECT_EQ(c[4], "rate 0") << voice;
    tradutor::stopSpeechEngine();
    take(calls5());
  }
}

TEST_F(SapiTest, Sapi5StartFailsWithoutRuntimeVoiceOrSelectionAndKeepsNothing) {
  host::sapi5Fake().installed = false;
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "", 5));
  host::sapi5Fake().installed = true;
  host::sapi5Fake().voices = 0;
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "", 5));
  host::sapi5Fake().voices = 1;
  host::sapi5Fake().failSelect = true;
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "", 5));
  host::sapi5Fake().failSelect = false;
  host::sapi5Fake().failFile = true;
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "C:\\X.WAV", 5));
  host::sapi5Fake().failFile = false;
  host::sapi5Fake().failEveryCall = true;
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "", 5));
  EXPECT_EQ(host::sapi5Fake().liveVoices, 0);
  // Nothing reaches a voice that did not start; a stop is harmless.
  take(calls5());
  tradutor::engineSpeak("nada");
  tradutor::engineSilence();
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
  tradutor::stopSpeechEngine();
  EXPECT_TRUE(calls5().empty());
  // A rejected rate is not a failed start.
  host::sapi5Fake().failEveryCall = false;
  host::sapi5Fake().rejectRate = true;
  EXPECT_TRUE(tradutor::startSpeechEngine(1, 99, 0, "", 5));
}

TEST_F(SapiTest, Sapi5SpeaksAsynchronouslyBeepsOnAnErrorAndSilencesWithAPurge) {
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 5));
  take(calls5());
  tradutor::engineSpeak("bom dia");
  tradutor::engineSpeak("");
  const std::string million(1000000, 'a');
  tradutor::engineSpeak(million);
  const Calls c = take(calls5());
  ASSERT_EQ(c.size(), 3u);
  EXPECT_EQ(c[0], "speak 17 bom dia");
  EXPECT_EQ(c[1], "speak 17  ");
  EXPECT_EQ(c[2].size(), std::string("speak 17 ").size() + million.size());
  EXPECT_EQ(host::tones().beeps, 0);

  host::sapi5Fake().failSpeak = true;
  tradutor::engineSpeak("erro");
  EXPECT_EQ(host::tones().beeps, 1);
  tradutor::engineSilence();  // its error is swallowed
  EXPECT_EQ(host::tones().beeps, 1);
  host::sapi5Fake().failSpeak = false;

  take(calls5());
  const auto before = host::elapsedMs();
  tradutor::engineSilence();
  EXPECT_EQ(take(calls5()), (Calls{"speak 2  "}));
  EXPECT_EQ(host::elapsedMs() - before, 50u);
}

TEST_F(SapiTest, Sapi5IsSpeakingWakesTheWaiterAndStopWaitsForTheEnd) {
  tradutor::initConsoleUnit();
  tradutor::openConsoleWindow();
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 5));
  host::sapi5Fake().waitsPerText = 3;
  tradutor::engineSpeak("ola");
  EXPECT_TRUE(tradutor::engineIsSpeaking(true));
  EXPECT_EQ(host::pendingMessages(), 1);  // message 2980, for a caller in WaitMessage
  EXPECT_TRUE(tradutor::engineIsSpeaking(false));
  tradutor::engineSpeak("de novo");
  take(calls5());
  const auto before = host::elapsedMs();
  tradutor::stopSpeechEngine();
  EXPECT_EQ(host::elapsedMs() - before, 4 * 300u);
  EXPECT_EQ(take(calls5()), (Calls{"wait 20", "wait 20", "wait 20", "wait 20", "wait 20", "release"}));
}

TEST_F(SapiTest, TheTwoSapi5AdaptersKeepTheirOwnVoices) {
  ASSERT_TRUE(tradutor::kSapi5Adapter.start(1, 0, 0, ""));
  ASSERT_TRUE(tradutor::kSapi54Adapter.start(2, 0, 0, "C:\\B.WAV"));
  EXPECT_EQ(host::sapi5Fake().liveVoices, 2);
  tradutor::kSapi54Adapter.stop();
  EXPECT_EQ(host::sapi5Fake().liveVoices, 1);
  take(calls5());
  tradutor::kSapi5Adapter.speak("ainda fala");
  EXPECT_EQ(take(calls5()), (Calls{"speak 17 ainda fala"}));
  tradutor::kSapi54Adapter.speak("parado");
  EXPECT_TRUE(calls5().empty());
}

// --- SAPI 4 ---------------------------------------------------------------------

TEST_F(SapiTest, Sapi4StartTakesTheVoiceThModeAndSetsSpeedAndPitch) {
  host::sapi4Fake().modes = 3;
  ASSERT_TRUE(tradutor::startSpeechEngine(2, 5, -3, "", 4));
  EXPECT_EQ(take(calls4()), (Calls{"create", "card", "enumerator", "next", "next", "select", "register", "speed 5",
                                   "pitch 65533"}));
  EXPECT_EQ(host::sapi4Fake().modesTaken, 2);
  tradutor::stopSpeechEngine();
  EXPECT_EQ(take(calls4()), (Calls{"unregister", "release"}));

  // Voice 0 (or below) is the first mode; speed and pitch 0 are left alone.
  for (int voice : {0, -5}) {
    ASSERT_TRUE(tradutor::startSpeechEngine(voice, 0, 0, "C:\\FALA.WAV", 7));
    EXPECT_EQ(take(calls4()), (Calls{"create", "file C:\\FALA.WAV", "enumerator", "next", "select", "register"}));
    tradutor::stopSpeechEngine();
    EXPECT_EQ(take(calls4()), (Calls{"flush", "unregister", "release"}));
  }
}

TEST_F(SapiTest, Sapi4StartFailuresReleaseEverythingAndRestoreTheDirectory) {
  const std::string directory = platform::currentDirectory();
  host::sapi4Fake().directoryOnSelect = "C:\\";
  host::sapi4Fake().installed = false;
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  host::sapi4Fake().installed = true;
  host::sapi4Fake().failFileSet = true;
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "C:\\X.WAV", 4));
  host::sapi4Fake().failFileSet = false;
  take(calls4());
  EXPECT_FALSE(tradutor::startSpeechEngine(10000, 0, 0, "", 4));  // two modes only
  EXPECT_EQ(take(calls4()), (Calls{"create", "card", "enumerator", "next", "next", "next", "release"}));
  host::sapi4Fake().failSelect = true;
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  EXPECT_EQ(take(calls4()), (Calls{"create", "card", "enumerator", "next", "select", "release"}));
  EXPECT_EQ(platform::currentDirectory(), directory);
  EXPECT_EQ(host::sapi4Fake().liveSessions, 0);

  host::sapi4Fake().failSelect = false;
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  EXPECT_EQ(platform::currentDirectory(), directory);
  // A sink that could not be registered is not unregistered.
  tradutor::stopSpeechEngine();
  host::sapi4Fake().failRegister = true;
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  take(calls4());
  tradutor::stopSpeechEngine();
  EXPECT_EQ(take(calls4()), (Calls{"release"}));
}

TEST_F(SapiTest, Sapi4SpeakTrimsGivesALoneDigitAStopAndBoundsTheText) {
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  take(calls4());
  tradutor::engineSpeak("  \t7\r\n");
  tradutor::engineSpeak("   ");
  tradutor::engineSpeak("\x01\x02");
  tradutor::engineSpeak(" bom dia ");
  tradutor::engineSpeak("42");
  EXPECT_EQ(take(calls4()), (Calls{"text 3 7.", "text 8 bom dia", "text 3 42"}));

  for (std::size_t length : {63999u, 64000u, 200000u}) {
    tradutor::engineSpeak(std::string(length, 'a'));
    const Calls c = take(calls4());
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].substr(0, 11), "text 64000 ") << length;
    EXPECT_EQ(c[0].size(), 11u + 63999u) << length;
  }
}

TEST_F(SapiTest, Sapi4SpeaksNothingWhileAKeyWaitsUnlessTheSwitchIsOff) {
  tradutor::initConsoleUnit();
  tradutor::openConsoleWindow();
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  host::pressKey('A');
  take(calls4());
  tradutor::engineSpeak("calado");
  EXPECT_TRUE(calls4().empty());
  tradutor::waveSwitches().stopOnKey = false;
  tradutor::engineSpeak("fala");
  EXPECT_EQ(take(calls4()), (Calls{"text 5 fala"}));
}

TEST_F(SapiTest, Sapi4CountersFollowTheSinksAndSilenceClearsThem) {
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  platform::Sapi4Events* sinks = host::sapi4Fake().events;
  ASSERT_NE(sinks, nullptr);
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
  sinks->textDataStarted();
  sinks->textDataStarted();
  EXPECT_TRUE(tradutor::engineIsSpeaking(true));
  // With a text pending the next one waits 20 ms before it is handed over.
  auto before = host::elapsedMs();
  tradutor::engineSpeak("espera");
  EXPECT_EQ(host::elapsedMs() - before, 20u);
  sinks->audioStart();
  sinks->textDataDone();
  sinks->textDataDone();
  EXPECT_FALSE(tradutor::engineIsSpeaking(true));  // nothing left to process ...
  EXPECT_TRUE(tradutor::engineIsSpeaking(false));  // ... but audio still plays
  sinks->audioStop();
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));

  sinks->textDataStarted();
  sinks->audioStart();
  take(calls4());
  before = host::elapsedMs();
  tradutor::engineSilence();
  EXPECT_EQ(take(calls4()), (Calls{"reset"}));
  EXPECT_EQ(host::elapsedMs() - before, 200u);
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
  sinks->textDataDone();  // late, after the silence
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
  sinks->textDataStarted();
  EXPECT_TRUE(tradutor::engineIsSpeaking(true));  // the counter never went below 0

  // Without audio playing, silence only clears the counters.
  tradutor::engineSilence();
  EXPECT_TRUE(calls4().empty());
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
}

TEST_F(SapiTest, Sapi4StopWaitsUntilSpeechHasEndedOrAKeyIsPressed) {
  tradutor::initConsoleUnit();
  tradutor::openConsoleWindow();
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  platform::Sapi4Events* sinks = host::sapi4Fake().events;
  sinks->textDataStarted();
  sinks->audioStart();
  const auto before = host::elapsedMs();
  host::scheduleAfter(300, [sinks] { sinks->textDataDone(); });
  host::scheduleAfter(700, [sinks] { sinks->audioStop(); });
  take(calls4());
  tradutor::stopSpeechEngine();
  EXPECT_GE(host::elapsedMs() - before, 700u);
  EXPECT_LT(host::elapsedMs() - before, 900u);
  EXPECT_EQ(take(calls4()), (Calls{"unregister", "release"}));

  // An engine that never reports the end: a key silences it and lets it go.
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  sinks = host::sapi4Fake().events;
  sinks->audioStart();
  host::scheduleAfter(500, [] { host::pressKey('A'); });
  take(calls4());
  tradutor::stopSpeechEngine();
  EXPECT_EQ(take(calls4()), (Calls{"reset", "unregister", "release"}));
  EXPECT_EQ(host::sapi4Fake().liveSessions, 0);
}

TEST_F(SapiTest, Sapi4ATextTheEngineRefusesSilencesIt) {
  ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  platform::Sapi4Events* sinks = host::sapi4Fake().events;
  sinks->textDataStarted();
  sinks->audioStart();
  host::sapi4Fake().failTextData = true;
  take(calls4());
  tradutor::engineSpeak("perdido");
  EXPECT_EQ(take(calls4()), (Calls{"text 8 perdido", "reset"}));
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
}

// --- through the hub ------------------------------------------------------------

TEST_F(SapiTest, TheHubSpeaksThroughTheSapi5VoiceOrFallsBackToItsOwn) {
  startHub("[TRADUTOR]\nSAPI=S\n[SERVFALA]\nTIPOSAPI=54\nVOZ=1\n");
  ASSERT_TRUE(tradutor::hubSettings().engineActive);
  take(calls5());
  tradutor::speakText("Entre comando MCI");
  ASSERT_FALSE(calls5().empty());
  EXPECT_EQ(calls5().back(), "speak 17 Entre comando MCI");

  tradutor::resetEngineDispatcher();
  host::sapi5Fake().installed = false;
  startHub("[TRADUTOR]\nSAPI=S\n[SERVFALA]\nTIPOSAPI=5\n");
  EXPECT_FALSE(tradutor::hubSettings().engineActive);
}

}  // namespace
