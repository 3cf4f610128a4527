// The Portuguese voice driver against a scripted engine: what it sends, how
// it hands the samples to the WAV player or a file, and every failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "common/waveheader.h"
#include "engines/mbrola_voice.h"
#include "platform/host/host_control.h"
#include "psola_static.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "support/fake_mbrola.h"
#include "support/sound_fixture.h"
#include "tts/utts_aurea.h"

namespace {

using testing_support::FakeMbrola;
namespace host = platform::host;

const std::string kData = std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/portug";

class VoiceDriverTest : public testing_support::SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    tradutor::resetVoiceDriver();
    FakeMbrola::reset();
    FakeMbrola::install();
    tradutor::initConsoleUnit();
    tradutor::initWavePlayer();
  }
  void TearDown() override {
    tradutor::resetVoiceDriver();
    SoundTest::TearDown();
  }
  int initialise(const std::string& rules = kData + ".nrl", const std::string& abbreviations = kData + ".abr",
                 const std::string& prosody = kData + ".pro", const std::string& definitions = kData + ".dfn") {
    return tradutor::ttsInitialize("br4", rules, kData + ".exc", definitions, prosody, abbreviations);
  }
  // The 16-bit samples of the blocks played, one vector a block.
  static std::vector<std::vector<short>> blocks() {
    std::vector<std::vector<short>> out;
    for (const auto& b : host::waveLog().blocks) {
      std::vector<short> samples(b.data.size() / 2);
      std::memcpy(samples.data(), b.data.data(), samples.size() * 2);
      out.push_back(samples);
    }
    return out;
  }
  // Not writing to a file, the driver tells of a sound the WAV player is
  // playing as its own speech, and stops it.
  static void expectItAnswersForTheWavePlayer() {
    host::holdWaveBlocks(true);
    std::vector<std::uint8_t> sound(tradutor::kWaveHeaderSize + 16000, 0);
    tradutor::writeWaveHeader(sound.data(), 16000, 1, 16000, 16);
    tradutor::playWaveImage(sound.data(), sound.size());
    EXPECT_TRUE(tradutor::ttsIsSpeaking());
    tradutor::ttsStop();
    EXPECT_FALSE(tradutor::ttsIsSpeaking());
    host::holdWaveBlocks(false);
  }
  static std::vector<short> numbered(short from, short to) {
    std::vector<short> v;
    for (int s = from; s <= to; ++s) v.push_back(static_cast<short>(s));
    return v;
  }
  std::string hostFile(const std::string& name) { return drive_ + "/" + name; }
  static void waveSwitchesOn() {
    tradutor::waveSwitches().fastPlayback = true;
    tradutor::waveSwitches().compressedPlayback = true;
  }
};

TEST_F(VoiceDriverTest, AnEmptyOrBlankTextSendsNothing) {
  ASSERT_EQ(initialise(), 1);
  EXPECT_TRUE(tradutor::ttsSpeak(""));
  EXPECT_TRUE(tradutor::ttsSpeak("   \t "));
  EXPECT_TRUE(FakeMbrola::written.empty());
  EXPECT_EQ(FakeMbrola::resets, 0);
  EXPECT_TRUE(host::waveLog().blocks.empty());
}

TEST_F(VoiceDriverTest, EachLineGoesWithCarriageReturnAndLineFeedAndAFlushAfterTheLast) {
  ASSERT_EQ(initialise(), 1);
  EXPECT_EQ(FakeMbrola::initPath, "br4");  // no registry entry: the name itself
  EXPECT_EQ(FakeMbrola::noError, 1);
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  ASSERT_GT(FakeMbrola::written.size(), 3u);
  for (const std::string& line : FakeMbrola::written) {
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
  }
  EXPECT_NE(std::find(FakeMbrola::written.begin(), FakeMbrola::written.end(), ";Bom\r\n"), FakeMbrola::written.end());
  EXPECT_EQ(FakeMbrola::resets, 1);
  EXPECT_EQ(FakeMbrola::flushes, 1);
}

// A piece is handed over when the next read would bring it to 16000 bytes.
TEST_F(VoiceDriverTest, SamplesAreHandedOverInHalfSecondsAndTheLastPieceAsItIs) {
  ASSERT_EQ(initialise(), 1);
  const struct {
    std::deque<int> reads;
    std::vector<std::pair<short, short>> pieces;  // the samples of each, numbered
  } rows[] = {
      {{3000, 3000, 3000}, {{1, 6000}, {6001, 9000}}},  // 6000 bytes each: the third would pass 16000
      {{4000, 4000}, {{1, 4000}, {4001, 8000}}},        // the second would reach it
      {{3999, 4000}, {{1, 7999}}},                      // 15998 bytes: one piece
  };
  for (const auto& row : rows) {
    FakeMbrola::reset();
    host::waveLog().blocks.clear();
    FakeMbrola::reads = row.reads;
    EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
    std::vector<std::vector<short>> expected;
    for (const auto& [from, to] : row.pieces) expected.push_back(numbered(from, to));
    EXPECT_EQ(blocks(), expected) << row.reads.size() << " reads, the first " << row.reads.front();
  }
  EXPECT_EQ(host::waveLog().opens.at(0).bitsPerSample, 16);
  EXPECT_EQ(host::waveLog().opens.at(0).samplesPerSecond, 16000u);
}

TEST_F(VoiceDriverTest, ABigBlockMeetingAnEmptyBufferStillComesOutWhole) {
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::reads = {16000, 100};
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  std::vector<short> all;
  for (const auto& b : blocks()) all.insert(all.end(), b.begin(), b.end());
  std::vector<short> expected = numbered(1, 16100);
  expected.resize(16000 + 128, 0);  // the last piece, 200 bytes, padded to 256
  EXPECT_EQ(all, expected);
}

TEST_F(VoiceDriverTest, SynthesisHandsTheSamplesOverAndStopsWhenTheTakerSaysSo) {
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::reads = {3000, 3000, 3000};
  std::vector<short> taken;
  EXPECT_TRUE(tradutor::ttsSynthesize("Bom dia", [&](const short* samples, std::size_t count) {
    taken.insert(taken.end(), samples, samples + count);
    return true;
  }));
  EXPECT_EQ(taken, numbered(1, 9000));
  EXPECT_TRUE(host::waveLog().blocks.empty());  // nothing played

  // A taker that stops after the first piece: the engine is reset and no more is read.
  FakeMbrola::reads = {3000, 3000, 3000};
  const int resets = FakeMbrola::resets;
  int pieces = 0;
  EXPECT_FALSE(tradutor::ttsSynthesize("Bom dia", [&](const short*, std::size_t) { return ++pieces < 1; }));
  EXPECT_EQ(pieces, 1);
  EXPECT_EQ(FakeMbrola::reads.size(), 2u);
  EXPECT_GT(FakeMbrola::resets, resets + 1);  // the reset before and the one after the stop
}

// A text spoken while another one's samples are being taken (a key's echo
// during speech) has lists of its own: the first goes on with its own lines.
TEST_F(VoiceDriverTest, ATextSpokenFromInsideTheTakerLeavesTheFirstWhole) {
  ASSERT_EQ(initialise(), 1);
  const auto linesOf = [](const char* text) {
    FakeMbrola::written.clear();
    EXPECT_TRUE(tradutor::ttsSynthesize(text, [](const short*, std::size_t) { return true; }));
    return FakeMbrola::written;
  };
  const std::vector<std::string> outer = linesOf("Bom dia a todos"), inner = linesOf("Entre comando MCI");
  ASSERT_GT(outer.size(), 2u);
  FakeMbrola::written.clear();
  FakeMbrola::reads = {100};  // after the first line
  bool nested = false;
  EXPECT_TRUE(tradutor::ttsSynthesize("Bom dia a todos", [&](const short*, std::size_t) {
    if (!nested) nested = tradutor::ttsSynthesize("Entre comando MCI", [](const short*, std::size_t) { return true; });
    return true;
  }));
  EXPECT_TRUE(nested);
  std::vector<std::string> expected = {outer[0]};
  expected.insert(expected.end(), inner.begin(), inner.end());
  expected.insert(expected.end(), outer.begin() + 1, outer.end());
  EXPECT_EQ(FakeMbrola::written, expected);
}

TEST_F(VoiceDriverTest, AnEngineClaimingMoreSamplesThanItsBufferHoldsIsNotBelieved) {
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::claimsMore = true;
  FakeMbrola::reads = {16000, 16000};
  tradutor::ttsSpeak("Bom dia");
  std::size_t samples = 0;
  for (const auto& b : blocks()) samples += b.size();
  EXPECT_EQ(samples, 32000u);
}

TEST_F(VoiceDriverTest, AVeryShortUtteranceIsPaddedTo256Bytes) {
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::reads = {10};
  EXPECT_TRUE(tradutor::ttsSpeak("a"));
  const auto played = blocks();
  ASSERT_EQ(played.size(), 1u);
  ASSERT_EQ(played[0].size(), 128u);
  EXPECT_TRUE(std::equal(played[0].begin(), played[0].begin() + 10, numbered(1, 10).begin()));
  EXPECT_TRUE(std::all_of(played[0].begin() + 10, played[0].end(), [](short s) { return s == 0; }));
}

TEST_F(VoiceDriverTest, AnEngineErrorResetsItAndTheRemainingLinesAreStillSent) {
  ASSERT_EQ(initialise(), 1);
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  const std::size_t lines = FakeMbrola::written.size();
  FakeMbrola::written.clear();
  FakeMbrola::resets = 0;
  FakeMbrola::failingWrites = {2};
  waveSwitchesOn();
  EXPECT_FALSE(tradutor::ttsSpeak("Bom dia"));
  EXPECT_EQ(FakeMbrola::written.size(), lines);
  EXPECT_EQ(FakeMbrola::resets, 2);  // at the start and after the error
  EXPECT_TRUE(tradutor::waveSwitches().fastPlayback);
  EXPECT_TRUE(tradutor::waveSwitches().compressedPlayback);
}

TEST_F(VoiceDriverTest, TheEngineIsCalledInItsOrder) {
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::calls.clear();
  FakeMbrola::reads = {100, 50};
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  // A reset first; then each line written and its error asked, the flush
  // after the last, and reads after each line until one gives nothing.
  std::vector<std::string> expected = {"reset"};
  const std::size_t lines = FakeMbrola::written.size();
  ASSERT_GT(lines, 2u);
  for (std::size_t i = 0; i < lines; ++i) {
    expected.insert(expected.end(), {"write", "error"});
    if (i + 1 == lines) expected.push_back("flush");
    if (i == 0) expected.insert(expected.end(), {"read 100", "read 50"});
    expected.push_back("read 0");
  }
  EXPECT_EQ(FakeMbrola::calls, expected);
  // The front end leaves an empty line after each word: none reaches the
  // engine, and a blank text reaches it not at all.
  EXPECT_EQ(std::count(FakeMbrola::written.begin(), FakeMbrola::written.end(), std::string("\r\n")), 0);
  FakeMbrola::calls.clear();
  EXPECT_TRUE(tradutor::ttsSpeak(" \t "));
  EXPECT_TRUE(FakeMbrola::calls.empty());
}

TEST_F(VoiceDriverTest, ANegativeReadFailsTheTextWhetherOrNotTheEngineNamesAnError) {
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::reads = {3000, -1, 3000};
  EXPECT_FALSE(tradutor::ttsSpeak("Bom dia"));
  EXPECT_EQ(FakeMbrola::resets, 2);  // at the start and after the failed read
  EXPECT_TRUE(FakeMbrola::reads.empty());  // the lines after it still spoken
}

TEST_F(VoiceDriverTest, FastAndCompressedPlaybackAreOffWhileSpeakingAndRestoredAfter) {
  ASSERT_EQ(initialise(), 1);
  waveSwitchesOn();
  bool anyOn = false;
  FakeMbrola::onRead = [&] { anyOn = anyOn || tradutor::waveSwitches().fastPlayback || tradutor::waveSwitches().compressedPlayback; };
  FakeMbrola::reads = {500};
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  EXPECT_FALSE(anyOn);
  EXPECT_TRUE(tradutor::waveSwitches().fastPlayback);
  EXPECT_TRUE(tradutor::waveSwitches().compressedPlayback);
}

TEST_F(VoiceDriverTest, TheOutputFileCountsExactlyTheSamplesWritten) {
  expectItAnswersForTheWavePlayer();  // before it was ever started
  const std::size_t played = host::waveLog().blocks.size();
  const std::string file = hostFile("voz.wav");
  tradutor::ttsSetOutputFile(file);
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::reads = {1000, 500};
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  EXPECT_FALSE(tradutor::ttsIsSpeaking());
  EXPECT_EQ(host::waveLog().blocks.size(), played);
  tradutor::ttsTerminate();
  std::ifstream in(file, std::ios::binary);
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_EQ(bytes.size(), 44u + 3000u);
  // RIFF of 3036 bytes, WAVE, a 16-byte fmt chunk (PCM, one channel, 16000
  // samples and 32000 bytes a second, 2-byte frames of 16 bits), 3000 bytes of data.
  const std::vector<unsigned char> header = {
      'R', 'I', 'F', 'F', 0xDC, 0x0B, 0, 0,    'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0,
      1,   0,   0x80, 0x3E, 0, 0, 0x00, 0x7D, 0, 0, 2, 0, 16, 0, 'd', 'a', 't', 'a', 0xB8, 0x0B, 0, 0};
  EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 44), header);
  EXPECT_EQ(FakeMbrola::closes, 1);
  EXPECT_EQ(host::loadedLibraries(), 0);
  // Done with the file, the driver answers for the WAV player again.
  expectItAnswersForTheWavePlayer();
}

TEST_F(VoiceDriverTest, AFileWriteErrorFailsTheTextButSynthesisGoesOn) {
  tradutor::ttsSetOutputFile(hostFile("cheio.wav"));
  ASSERT_EQ(initialise(), 1);
  host::failFileWritesAfter(100);
  FakeMbrola::reads = {1000, 1000};
  EXPECT_FALSE(tradutor::ttsSpeak("Bom dia"));
  EXPECT_TRUE(FakeMbrola::reads.empty());  // every planned read was still taken
  EXPECT_EQ(FakeMbrola::flushes, 1);
}

TEST_F(VoiceDriverTest, ASecondInitialisationReloadsEveryDataFile) {
  ASSERT_EQ(initialise(), 1);
  host::clearOpenedFiles();
  ASSERT_EQ(initialise(), 1);
  for (const char* ending : {".nrl", ".exc", ".abr", ".pro", ".dfn"}) {
    const std::string path = kData + ending;
    EXPECT_NE(std::find(host::openedFiles().begin(), host::openedFiles().end(), path), host::openedFiles().end()) << path;
  }
  // The first engine was closed and its library freed: one copy is loaded.
  EXPECT_EQ(FakeMbrola::closes, 1);
  EXPECT_EQ(host::loadedLibraries(), 1);
}

// Terminated, the driver holds nothing and says nothing, as often as it is
// terminated; started again, it speaks.
TEST_F(VoiceDriverTest, TerminatedItHoldsNothingUntilStartedAgain) {
  ASSERT_EQ(initialise(), 1);
  tradutor::ttsTerminate();
  EXPECT_EQ(FakeMbrola::closes, 1);
  EXPECT_EQ(host::loadedLibraries(), 0);
  FakeMbrola::written.clear();
  EXPECT_FALSE(tradutor::ttsSpeak("Bom dia"));
  EXPECT_TRUE(FakeMbrola::written.empty());
  tradutor::ttsTerminate();
  EXPECT_EQ(FakeMbrola::closes, 1);
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::reads = {500};
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  EXPECT_EQ(blocks().size(), 1u);
}

TEST_F(VoiceDriverTest, InitialisedAgainWithoutAFileItPlaysAgain) {
  tradutor::ttsSetOutputFile(hostFile("voz.wav"));
  ASSERT_EQ(initialise(), 1);
  FakeMbrola::reads = {1000};
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  EXPECT_TRUE(host::waveLog().blocks.empty());
  tradutor::ttsSetOutputFile("");
  ASSERT_EQ(initialise(), 1);
  // The first file was closed, every sample in it.
  EXPECT_EQ(std::filesystem::file_size(hostFile("voz.wav")), 44u + 2000u);
  FakeMbrola::reads = {1000};
  EXPECT_TRUE(tradutor::ttsSpeak("Bom dia"));
  ASSERT_EQ(blocks().size(), 1u);
  EXPECT_EQ(blocks()[0].size(), 1000u);
}

TEST_F(VoiceDriverTest, EachFailureHasItsResultAndText) {
  // No library, and a library lacking one export: 0, no text, nothing held.
  host::removeLibrary("mbrola.dll");
  EXPECT_EQ(initialise(), 0);
  EXPECT_EQ(tradutor::ttsErrorText(), "");
  FakeMbrola::install();
  FakeMbrola::missing = {"appendf0_Phone"};
  EXPECT_EQ(initialise(), 0);
  EXPECT_EQ(host::loadedLibraries(), 0);
  FakeMbrola::missing.clear();
  // The engine refusing its database: the library is let go.
  FakeMbrola::initResult = -1;
  EXPECT_EQ(initialise(), 0);
  EXPECT_EQ(host::loadedLibraries(), 0);
  EXPECT_EQ(tradutor::ttsErrorText(), "");
  FakeMbrola::initResult = 0;

  // A data file missing after the engine opened its database: the engine is
  // closed and let go, since nobody stops a voice whose start failed.
  const struct {
    std::string rules, abbreviations, prosody, definitions;
    const char* text;
  } missingFiles[] = {
      {kData + ".none", kData + ".abr", kData + ".pro", kData + ".dfn", "Erro na base de dados de portugu\xEAs"},
      {kData + ".nrl", kData + ".none", kData + ".pro", kData + ".dfn", "Erro no arquivo de abreviaturas"},
      {kData + ".nrl", kData + ".abr", kData + ".pro", kData + ".none", "Erro no arquivo de pros\xF3" "dia"},
      {kData + ".nrl", kData + ".abr", kData + ".none", kData + ".dfn", "Erro no arquivo de pros\xF3" "dia"},
  };
  for (const auto& m : missingFiles) {
    const int closes = FakeMbrola::closes;
    EXPECT_EQ(initialise(m.rules, m.abbreviations, m.prosody, m.definitions), 0) << m.text;
    EXPECT_EQ(tradutor::ttsErrorText(), m.text);
    EXPECT_EQ(FakeMbrola::closes, closes + 1) << m.text;
    EXPECT_EQ(host::loadedLibraries(), 0) << m.text;
  }

  // The output file: not created (the text stays as it was), or its header
  // not written; the engine let go either way.
  tradutor::ttsSetOutputFile(hostFile("saida.wav"));
  host::failNextFileCreate();
  EXPECT_EQ(initialise(), 0);
  EXPECT_EQ(tradutor::ttsErrorText(), "Erro no arquivo de pros\xF3" "dia");
  EXPECT_EQ(host::loadedLibraries(), 0);
  host::failFileWritesAfter(10);
  EXPECT_EQ(initialise(), 0);
  EXPECT_EQ(tradutor::ttsErrorText(), "Arquivo de sa\xED" "da n\xE3o pode ser criado");
  EXPECT_EQ(host::loadedLibraries(), 0);
}

// Names left empty are the voice's own: the database br4 and the files
// portug.* of the current folder.
TEST_F(VoiceDriverTest, EmptyNamesTakeTheDefaults) {
  host::setCurrentDirectory(std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts");
  ASSERT_EQ(tradutor::ttsInitialize("", "", "", "", "", ""), 1);
  EXPECT_EQ(FakeMbrola::initPath, "br4");
  for (const char* name : {"portug.nrl", "portug.exc", "portug.abr", "portug.pro", "portug.dfn"})
    EXPECT_NE(std::find(host::openedFiles().begin(), host::openedFiles().end(), name), host::openedFiles().end()) << name;
}

TEST_F(VoiceDriverTest, TheRegistryNamesTheDatabase) {
  const std::string key = "SOFTWARE\\TCTS\\Mbrola\\databases\\br4";
  host::setRegistryString(platform::RegistryRoot::localMachine, key, "", "d:\\vozes\\br4");
  ASSERT_EQ(initialise(), 1);
  EXPECT_EQ(FakeMbrola::initPath, "d:\\vozes\\br4");
  host::setRegistryString(platform::RegistryRoot::localMachine, key, "", "");
  ASSERT_EQ(initialise(), 1);
  EXPECT_EQ(FakeMbrola::initPath, "c:\\tarsis\\aureatts\\br4");
  EXPECT_EQ(host::openRegistryKeys(), 0);
}

}  // namespace

namespace {

// The driver with the real engine where mbrola.dll would be, on the voice the
// build recorded.
class VoiceDriverWithEngineTest : public VoiceDriverTest {
 protected:
  void SetUp() override {
    VoiceDriverTest::SetUp();
    host::installLibrary("mbrola.dll", [](const char* name) { return psola_export(name); });
    host::setRegistryString(platform::RegistryRoot::localMachine, "SOFTWARE\\TCTS\\Mbrola\\databases\\br4", "",
                            std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/br4");
  }
};

TEST_F(VoiceDriverWithEngineTest, AnyTextComesOutAsSoundWithoutAFault) {
  const std::string file = hostFile("texto.wav");
  tradutor::ttsSetOutputFile(file);
  ASSERT_EQ(initialise(), 1);
  tradutor::ttsSetFactors(0.8, 1.0);
  std::string everyByte;
  for (int round = 0; round < 4; ++round)
    for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
  everyByte += "Bom dia.";
  std::string long100k;
  while (long100k.size() < 100000) long100k += "A reuni\xE3o come\xE7" "a \xE0s 14 horas, na sala 3. ";
  long100k.resize(100000);
  EXPECT_TRUE(tradutor::ttsSpeak(everyByte));
  EXPECT_TRUE(tradutor::ttsSpeak(std::string(5000, ' ')));
  EXPECT_TRUE(tradutor::ttsSpeak(long100k));
  tradutor::ttsTerminate();
  std::ifstream in(file, std::ios::binary | std::ios::ate);
  const auto size = static_cast<std::size_t>(in.tellg());
  // About 10 minutes of speech for the long text: far more than a second.
  EXPECT_GT(size, 44u + 2u * 16000u * 60u);
  in.seekg(40);
  unsigned char count[4];
  in.read(reinterpret_cast<char*>(count), 4);
  EXPECT_EQ(count[0] | count[1] << 8 | count[2] << 16 | static_cast<std::size_t>(count[3]) << 24, size - 44);
}

// Whatever TOM the settings hold, every word is spoken: pitch targets the
// engine would refuse (and the driver then reset the utterance for) are never sent.
TEST_F(VoiceDriverWithEngineTest, EveryPitchSettingGivesTheWholeSentence) {
  ASSERT_EQ(initialise(), 1);
  auto samplesAt = [](int pitch) {
    tradutor::ttsSetFactors(0.8, tradutor::mbrolaPitchFactor(pitch));
    std::size_t samples = 0;
    EXPECT_TRUE(tradutor::ttsSynthesize("Entre comando MCI. Bom dia a todos.", [&](const short*, std::size_t n) {
      samples += n;
      return true;
    })) << pitch;
    return samples;
  };
  const double plain = static_cast<double>(samplesAt(0));
  ASSERT_GT(plain, 16000.0);
  for (const int pitch : {std::numeric_limits<int>::min(), -100, -11, -10, -1, 1, 11, 60, 100,
                          std::numeric_limits<int>::max()})
    EXPECT_NEAR(static_cast<double>(samplesAt(pitch)) / plain, 1.0, 0.05) << pitch;
}

TEST_F(VoiceDriverWithEngineTest, ThePromptIsPlayedAtSixteenKilohertz) {
  ASSERT_EQ(initialise(), 1);
  EXPECT_TRUE(tradutor::ttsSpeak("Entre comando MCI"));
  ASSERT_FALSE(host::waveLog().opens.empty());
  EXPECT_EQ(host::waveLog().opens[0].samplesPerSecond, 16000u);
  EXPECT_EQ(host::waveLog().opens[0].bitsPerSample, 16);
  std::size_t bytes = 0;
  for (const auto& b : host::waveLog().blocks) bytes += b.data.size();
  EXPECT_GT(bytes, 2u * 16000u);  // more than a second of speech
}

}  // namespace
