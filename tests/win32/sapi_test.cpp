// SAPI under Wine: the SAPI 5 runtime as the adapters use it, the WAV stream
// speech is written into, and the SAPI 4 adapter against an engine of the
// tests' own registered in this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engines/kzsapi.h"
#include "engines/kzsapi4.h"
#include "engines/kzsapi5.h"
#include "fake_sapi4_engine.h"
#include "platform/sapi5.h"
#include "platform/win32/wave_file_stream.h"
#include "screen/kzcrt.h"

namespace {

using win32_test::FakeSapi4Engine;
using Calls = std::vector<std::string>;

class Sapi : public ::testing::Test {
 protected:
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override { tradutor::resetEngineDispatcher(); }
};

// Pumps until speech has ended, for at most five seconds.
bool speechEnds() {
  for (int i = 0; i < 500; ++i) {
    if (!tradutor::engineIsSpeaking(false)) return true;
    tradutor::delayWithMessages(10);
  }
  return false;
}

std::vector<std::uint8_t> fileBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST_F(Sapi, Sapi5VoicesAreCountedAndTheAdapterStartsOnlyWhereTheRuntimeSpeaks) {
  auto voice = platform::createSapi5Voice(platform::Sapi5Runtime::sapi5);
  ASSERT_NE(voice, nullptr) << "no SpVoice";
  voice->setEventInterests(tradutor::kSapi5AllEvents);  // Wine 8 does not implement it
  const int voices = voice->voiceCount();
  ASSERT_GE(voices, 1);
  EXPECT_FALSE(voice->selectVoice(voices));  // past the list
  const bool runtimeSpeaks = voice->selectVoice(0);
  voice.reset();

  // Where SetVoice is not implemented (Wine 8) the start fails and the hub keeps its own voices.
  EXPECT_EQ(tradutor::startSpeechEngine(1, 0, 0, "", 5), runtimeSpeaks);
  tradutor::engineSpeak("teste");
  EXPECT_TRUE(speechEnds());
  tradutor::stopSpeechEngine();
  EXPECT_EQ(tradutor::startSpeechEngine(99, 3, 0, "", 54), runtimeSpeaks);
  tradutor::stopSpeechEngine();
}

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<short> wavSamples(const std::vector<std::uint8_t>& bytes) {
  std::vector<short> samples(bytes.size() > 44 ? (bytes.size() - 44) / 2 : 0);
  if (!samples.empty()) std::memcpy(samples.data(), bytes.data() + 44, samples.size() * 2);
  return samples;
}

// Where SAPI 5 speaks (Wine 10) and the Portuguese voice is installed, the
// adapter's file output holds what the native tool says for the same text.
TEST_F(Sapi, Sapi5WritesTheVoiceToAWaveFileWhileIsSpeakingFollowsIt) {
  if (env("SAPI_VOICE_REFERENCE").empty()) GTEST_SKIP() << "run by the Wine 10 level, with the voice installed";
  const char* path = "C:\\windows\\temp\\sapi5.wav";
  for (int type : {5, 54}) {
    ASSERT_TRUE(tradutor::startSpeechEngine(1, 0, 0, path, type)) << type;
    tradutor::engineSpeak(fileText(env("SAPI_VOICE_TEXT")));
    // To a file the voice may well be done within the first 20 ms wait.
    EXPECT_TRUE(speechEnds());
    tradutor::stopSpeechEngine();

    const std::vector<std::uint8_t> file = fileBytes(path);
    ASSERT_GT(file.size(), 44u);
    EXPECT_EQ(le32(file, 24), 16000u);
    EXPECT_EQ(le32(file, 40), file.size() - 44);
    const std::vector<short> reference = wavSamples(fileBytes(env("SAPI_VOICE_REFERENCE").c_str()));
    EXPECT_EQ(wavSamples(file), reference) << type;
  }
}

TEST_F(Sapi, TheWaveStreamWritesA16KilohertzMonoFileWithItsSizes) {
  const char* path = "C:\\windows\\temp\\fluxo.wav";
  auto* stream = platform::win32::WaveFileStream::create(path);
  ASSERT_NE(stream, nullptr);
  GUID format{};
  WAVEFORMATEX* wave = nullptr;
  ASSERT_EQ(stream->GetFormat(&format, &wave), S_OK);
  EXPECT_TRUE(IsEqualGUID(format, platform::win32::kWaveFormatExFormatId));
  EXPECT_EQ(wave->nSamplesPerSec, 16000u);
  EXPECT_EQ(wave->wBitsPerSample, 16);
  EXPECT_EQ(wave->nChannels, 1);
  CoTaskMemFree(wave);

  std::vector<std::uint8_t> samples(3200, 0x11);
  ULONG written = 0;
  ASSERT_EQ(stream->Write(samples.data(), 3200, &written), S_OK);
  EXPECT_EQ(written, 3200u);
  LARGE_INTEGER move{};
  move.QuadPart = 100;
  ULARGE_INTEGER at{};
  ASSERT_EQ(stream->Seek(move, STREAM_SEEK_SET, &at), S_OK);
  const std::uint8_t two[2] = {0x22, 0x22};
  ASSERT_EQ(stream->Write(two, 2, nullptr), S_OK);
  move.QuadPart = -1;
  EXPECT_NE(stream->Seek(move, STREAM_SEEK_SET, &at), S_OK);
  STATSTG stat{};
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 3200u);
  stream->close();
  EXPECT_NE(stream->Write(two, 2, nullptr), S_OK);
  stream->Release();

  const std::vector<std::uint8_t> file = fileBytes(path);
  ASSERT_EQ(file.size(), 44u + 3200u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
  EXPECT_EQ(le32(file, 4), 36u + 3200u);
  EXPECT_EQ(le32(file, 24), 16000u);
  EXPECT_EQ(le32(file, 40), 3200u);
  EXPECT_EQ(file[44 + 100], 0x22);
  EXPECT_EQ(file[44 + 99], 0x11);
  EXPECT_EQ(platform::win32::WaveFileStream::create("C:\\nao\\existe\\x.wav"), nullptr);
}

TEST_F(Sapi, WithoutSapi4TheStartFails) {
  EXPECT_FALSE(tradutor::startSpeechEngine(1, 0, 0, "", 4));
  tradutor::engineSpeak("nada");
  EXPECT_FALSE(tradutor::engineIsSpeaking(false));
  tradutor::stopSpeechEngine();
}

TEST_F(Sapi, Sapi4SpeaksThroughTheEngineItsSinksCountAndStopReleasesAll) {
  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, before);
  {
    FakeSapi4Engine engine;
    auto& log = FakeSapi4Engine::log();
    log.modes = 3;
    ASSERT_TRUE(tradutor::startSpeechEngine(2, 5, 4, "", 4));
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);  // the engine moved it as it loaded
    EXPECT_EQ(log.calls, (Calls{"reset", "next", "next", "select 2", "register", "speed 5", "pitch 4"}));

    tradutor::engineSpeak("  7 ");
    EXPECT_TRUE(tradutor::engineIsSpeaking(true));  // TextDataStarted came at once
    ASSERT_TRUE(speechEnds());
    tradutor::engineSpeak("bom dia");
    ASSERT_TRUE(speechEnds());
    EXPECT_EQ(log.texts, (Calls{"7.", "bom dia"}));

    // Silence while audio plays: the engine is reset, and its late TextDataDone changes nothing.
    log.calls.clear();
    log.speakingMs = 400;
    tradutor::engineSpeak("uma frase longa");
    for (int i = 0; i < 20; ++i) tradutor::delayWithMessages(5);
    tradutor::engineSilence();
    EXPECT_EQ(log.calls, (Calls{"audio reset"}));
    EXPECT_FALSE(tradutor::engineIsSpeaking(false));
    for (int i = 0; i < 50; ++i) tradutor::delayWithMessages(10);
    EXPECT_FALSE(tradutor::engineIsSpeaking(false));

    log.calls.clear();
    tradutor::stopSpeechEngine();
    EXPECT_EQ(log.calls, (Calls{"unregister 7"}));
    EXPECT_EQ(log.liveObjects, 0);

    // To a file: the destination is set to it and flushed at the stop.
    log.calls.clear();
    log.modes = 1;
    ASSERT_TRUE(tradutor::startSpeechEngine(0, 0, 0, "C:\\windows\\temp\\fala4.wav", 4));
    EXPECT_EQ(log.fileName, L"C:\\windows\\temp\\fala4.wav");
    tradutor::stopSpeechEngine();
    EXPECT_EQ(log.calls, (Calls{"set 1", "reset", "next", "select 1", "register", "flush", "unregister 7"}));
    EXPECT_EQ(log.liveObjects, 0);

    // A voice past the modes: nothing is left behind and the directory is back.
    EXPECT_FALSE(tradutor::startSpeechEngine(10000, 0, 0, "", 4));
    EXPECT_EQ(log.liveObjects, 0);
  }
  char last[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, last);
  EXPECT_STREQ(last, before);
}

}  // namespace
