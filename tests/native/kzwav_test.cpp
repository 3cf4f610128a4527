// The WAV player against the host's recording wave-out device.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/host/host_control.h"
#include "platform/virtual_keys.h"
#include "platform/waveout.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "support/sound_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::filled;
using testing_support::SoundTest;
using testing_support::waveFile;

class WavePlayer : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    initConsoleUnit();
    initWavePlayer();
    openConsole();
  }
  void waitForEnd() {
    while (wavePlaying()) platform::waitMessage();
  }
  std::vector<std::size_t> blockSizes() {
    std::vector<std::size_t> sizes;
    for (const auto& b : host::waveLog().blocks) sizes.push_back(b.data.size());
    return sizes;
  }
};

TEST_F(WavePlayer, AKeyAlreadyWaitingSkipsTheFileAndStaysQueued) {
  host::writeFile("C:\\S\\A.WAV", waveFile(filled(50, 1000)));
  host::typeText("k");
  EXPECT_EQ(playWaveFile("C:\\S\\A.WAV"), 0);
  EXPECT_TRUE(host::waveLog().blocks.empty());
  EXPECT_TRUE(recordingsOpened().empty());
  EXPECT_EQ(readKey(), 'k');
}

TEST_F(WavePlayer, AFilePlaysToItsEndAndTheDeviceCloses) {
  host::writeFile("C:\\S\\A.WAV", waveFile(filled(50, 11025)));
  EXPECT_EQ(playWaveFile("C:\\S\\A.WAV"), 0);
  ASSERT_EQ(host::waveLog().blocks.size(), 1u);
  EXPECT_EQ(host::waveLog().blocks[0].format, (platform::WaveFormat{11025, 8, 1}));
  EXPECT_GE(host::elapsedMs(), 1000u);  // it waited until the second of sound had been heard
  EXPECT_EQ(host::waveLog().closes, 1);
}

TEST_F(WavePlayer, AKeyDuringPlaybackStopsTheSoundAndStaysQueued) {
  host::writeFile("C:\\S\\LONG.WAV", waveFile(filled(50, 200000)));
  host::scheduleAfter(300, [] { host::typeText("x"); });
  EXPECT_EQ(playWaveFile("C:\\S\\LONG.WAV"), 0);
  EXPECT_LT(host::elapsedMs(), 1000u);
  EXPECT_EQ(host::waveLog().resets, 1);
  EXPECT_FALSE(wavePlaying());
  EXPECT_EQ(readKey(), 'x');
}

TEST_F(WavePlayer, AShortMonoBlockIsPaddedWithSilenceTo256Bytes) {
  const std::vector<std::uint8_t> data = filled(40, 100);
  EXPECT_EQ(playPcm(data.data(), 100, 11025, 1, 8), 0);
  waitForEnd();
  ASSERT_EQ(host::waveLog().blocks.size(), 1u);
  const std::vector<std::uint8_t>& block = host::waveLog().blocks[0].data;
  ASSERT_EQ(block.size(), 256u);
  EXPECT_EQ(block[98], 40);
  for (std::size_t i = 99; i < 256; ++i) EXPECT_EQ(block[i], 128) << i;
}

TEST_F(WavePlayer, ShortBlocksOfOtherFormatsArePaddedWithTheirOwnSilence) {
  const std::vector<std::uint8_t> first = filled(77, 256);
  playPcm(first.data(), 256, 22050, 2, 16);
  waitForEnd();
  const std::vector<std::uint8_t> data = filled(5, 100);
  playPcm(data.data(), 100, 22050, 2, 16);
  waitForEnd();
  const std::vector<std::uint8_t>& block = host::waveLog().blocks.at(1).data;
  ASSERT_EQ(block.size(), 256u);
  EXPECT_EQ(block[99], 5);  // 16-bit data keeps its last byte
  EXPECT_EQ(block[100], 0);
  EXPECT_EQ(block[255], 0);
}

TEST_F(WavePlayer, ADataChunkJustOverABufferIsSplitSoTheLastPortionIsNotTiny) {
  host::writeFile("C:\\S\\B.WAV", waveFile(filled(60, 65600)));
  EXPECT_EQ(playWaveFile("C:\\S\\B.WAV"), 0);
  EXPECT_EQ(blockSizes(), (std::vector<std::size_t>{65278, 322}));
  host::waveLog().blocks.clear();
  host::writeFile("C:\\S\\C.WAV", waveFile(filled(60, 70000)));
  EXPECT_EQ(playWaveFile("C:\\S\\C.WAV"), 0);
  EXPECT_EQ(blockSizes(), (std::vector<std::size_t>{65534, 70000 - 65534}));
}

TEST_F(WavePlayer, ASecondFormatWaitsForTheFirstSoundToEnd) {
  const std::string first = waveFile(filled(30, 1103));  // 100 ms
  const std::string second = waveFile(filled(31, 2205), 22050);
  playWaveImage(reinterpret_cast<const std::uint8_t*>(first.data()), first.size());
  playWaveImage(reinterpret_cast<const std::uint8_t*>(second.data()), second.size());
  waitForEnd();
  const host::WaveLog& log = host::waveLog();
  ASSERT_EQ(log.opens.size(), 2u);
  EXPECT_EQ(log.opens[0].samplesPerSecond, 11025u);
  EXPECT_EQ(log.opens[1].samplesPerSecond, 22050u);
  ASSERT_EQ(log.blocks.size(), 2u);
  EXPECT_GE(log.blocks[1].writtenAtMs, log.blocks[0].writtenAtMs + 100);
  EXPECT_EQ(log.closes, 2);
}

TEST_F(WavePlayer, FastPlaybackOpensTheDeviceAtOneAndAHalfTimesTheRate) {
  waveSwitches().fastPlayback = true;
  host::writeFile("C:\\S\\A.WAV", waveFile(filled(50, 500)));
  playWaveFile("C:\\S\\A.WAV");
  ASSERT_EQ(host::waveLog().opens.size(), 1u);
  EXPECT_EQ(host::waveLog().opens[0].samplesPerSecond, 16537u);
}

TEST_F(WavePlayer, CompressedPlaybackPlaysMono16BitSpeechAs8Bit) {
  waveSwitches().compressedPlayback = true;
  std::vector<std::uint8_t> data(4000, 0);
  playPcm(data.data(), 4000, 11025, 1, 16);
  waitForEnd();
  ASSERT_EQ(host::waveLog().opens.size(), 1u);
  EXPECT_EQ(host::waveLog().opens[0].bitsPerSample, 8);
  ASSERT_EQ(host::waveLog().blocks.size(), 1u);
  EXPECT_LE(host::waveLog().blocks[0].data.size(), 2000u);
  EXPECT_EQ(data, std::vector<std::uint8_t>(4000, 0));  // the caller's data is left as it was
}

TEST_F(WavePlayer, ABusyDeviceIsTriedAHundredTimesAtTenthsOfASecond) {
  const std::vector<std::uint8_t> data = filled(1, 300);
  host::failWaveOpens(3, platform::kWaveAllocated);
  EXPECT_EQ(playPcm(data.data(), 300, 11025, 1, 8), 0);
  EXPECT_EQ(host::waveLog().openAttempts, 4);
  waitForEnd();

  host::failWaveOpens(1000, platform::kWaveAllocated);
  const auto before = host::elapsedMs();
  EXPECT_EQ(playPcm(data.data(), 300, 22050, 1, 8), platform::kWaveAllocated);
  EXPECT_EQ(host::waveLog().openAttempts, 4 + 100);
  EXPECT_GE(host::elapsedMs() - before, 99u * 100u);

  host::setWaveDevicePresent(false);
  host::writeFile("C:\\S\\A.WAV", waveFile(filled(50, 500)));
  EXPECT_EQ(playWaveFile("C:\\S\\A.WAV"), platform::kWaveBadDevice);
}

TEST_F(WavePlayer, ABlockWaitsFortyRoundsForAFreeBufferThenIsDropped) {
  host::holdWaveBlocks(true);
  const std::vector<std::uint8_t> data = filled(9, 1000);
  for (int i = 0; i < 4; ++i) playPcm(data.data(), 1000, 11025, 1, 8);
  const auto before = host::elapsedMs();
  EXPECT_FALSE(queueBlock(data.data(), 1000));
  EXPECT_GE(host::elapsedMs() - before, 40u * 50u);
  EXPECT_EQ(host::waveLog().blocks.size(), 4u);
  host::holdWaveBlocks(false);
  waitForEnd();
  EXPECT_FALSE(wavePlaying());
}

TEST_F(WavePlayer, StopOnADeviceThatReturnsNoBlocksLeavesNothingQueued) {
  host::holdWaveBlocks(true);  // the reset gives back none of the four
  const std::vector<std::uint8_t> data = filled(9, 1000);
  for (int i = 0; i < 4; ++i) playPcm(data.data(), 1000, 11025, 1, 8);
  stopWave();
  EXPECT_FALSE(wavePlaying());
  host::holdWaveBlocks(false);
  // The next sound has all four buffers at once: no wait, nothing dropped.
  const auto before = host::elapsedMs();
  EXPECT_EQ(playPcm(data.data(), 1000, 11025, 1, 8), 0);
  EXPECT_LT(host::elapsedMs() - before, 50u);
  EXPECT_EQ(host::waveLog().blocks.size(), 5u);
}

TEST_F(WavePlayer, ABufferTheDeviceWillNotReleaseIsReportedAndWaitsForEnter) {
  const struct {
    int code;
    const char* text;
  } cases[] = {
      {platform::kWaveInvalidHandle, "Specified device handle is invalid."},
      {platform::kWaveNoDriver, "No device driver is present."},
      {platform::kWaveNoMemory, "Unable to allocate or lock memory."},
      {platform::kWaveStillPlaying, "The data block pointed to by the pwh parameter is still in queue"},
      {11, ""},
  };
  const std::vector<std::uint8_t> data = filled(1, 300);
  int row = 1;
  for (const auto& c : cases) {
    moveCursor(1, row);
    host::queueUnprepareResults({c.code});
    feedKeysWhenIdle("\r");
    playPcm(data.data(), 300, 11025, 1, 8);
    waitForEnd();
    const std::string shown = screenRow(row);
    EXPECT_EQ(shown.substr(0, std::string(c.text).size()), c.text) << c.code;
    EXPECT_EQ(cursorRow(), row + 1) << "the Enter that was waited for ends the line";
    ++row;
  }
}

TEST_F(WavePlayer, PlayAsyncReturnsOnceTheLastBlockIsQueued) {
  waveSwitches().playAsync = true;
  host::writeFile("C:\\S\\A.WAV", waveFile(filled(50, 11025)));
  EXPECT_EQ(playWaveFile("C:\\S\\A.WAV"), 0);
  EXPECT_LT(host::elapsedMs(), 100u);
  EXPECT_TRUE(wavePlaying());
  stopWave();
  EXPECT_FALSE(wavePlaying());
}

// The program ended while a sound plays: the exit code, and the device
// reset, closed and its buffers freed on the way out.
struct EndDuringSound {
  int code;
  int resets, closes;
  bool buffersFreed;
};

class WavePlayerEnding : public WavePlayer {
 protected:
  EndDuringSound endWith(std::function<void()> way) {
    waveSwitches().playAsync = true;
    host::writeFile("C:\\S\\LONG.WAV", waveFile(filled(50, 200000)));
    EXPECT_EQ(playWaveFile("C:\\S\\LONG.WAV"), 0);
    EXPECT_TRUE(wavePlaying());
    host::scheduleAfter(50, std::move(way));
    const int code = exitCodeOf([] {
      for (;;) readKey();
    });
    return {code, host::waveLog().resets, host::waveLog().closes, platform::waveBufferData(1) == nullptr};
  }
};

TEST_F(WavePlayerEnding, ClosingTheWindowClosesTheDeviceAndFreesTheBuffers) {
  const EndDuringSound end = endWith([] { host::postClose(); });
  EXPECT_EQ(end.code, 0);
  EXPECT_EQ(end.resets, 1);
  EXPECT_EQ(end.closes, 1);
  EXPECT_TRUE(end.buffersFreed);
}

TEST_F(WavePlayerEnding, AQuitMessageDoesTheSame) {
  EndDuringSound end = endWith([] { host::postQuitMessage(); });
  EXPECT_EQ(end.code, 255);
  EXPECT_EQ(end.closes, 1);
  EXPECT_TRUE(end.buffersFreed);
}

TEST_F(WavePlayerEnding, CtrlBreakDoesTheSame) {
  const EndDuringSound end = endWith([] { host::pressKey(platform::vk::kCancel, {.ctrl = true}); });
  EXPECT_EQ(end.code, 255);
  EXPECT_EQ(end.closes, 1);
  EXPECT_TRUE(end.buffersFreed);
}

TEST_F(WavePlayer, BadFilesGiveMinusOneAndPlayNothing) {
  const std::string good = waveFile(filled(50, 400));
  auto withFormatTag = [&good](std::uint16_t tag) {
    std::string f = good;
    f[20] = static_cast<char>(tag & 0xFF);
    f[21] = static_cast<char>(tag >> 8);
    return f;
  };
  std::string hugeFormat = good;
  hugeFormat[16] = hugeFormat[17] = hugeFormat[18] = '\xFF';
  hugeFormat[19] = '\x7F';
  std::string lyingChunk = good.substr(0, 36) + "LIST" + std::string("\xFF\xFF\xFF\x0F", 4) + good.substr(36);
  const std::pair<const char*, std::string> files[] = {
      {"empty", ""},
      {"truncated", good.substr(0, 10)},
      {"not riff", "RIFX" + good.substr(4)},
      {"no fmt", good.substr(0, 12) + "junk" + good.substr(16)},
      {"short fmt", good.substr(0, 16) + std::string("\x08\0\0\0", 4) + good.substr(20, 8)},
      {"no data", good.substr(0, 36)},
      {"huge format chunk", hugeFormat},
      {"chunk past the end", lyingChunk},
      {"mu-law", withFormatTag(7)},
  };
  for (const auto& [name, bytes] : files) {
    host::writeFile("C:\\S\\BAD.WAV", bytes);
    EXPECT_EQ(playWaveFile("C:\\S\\BAD.WAV"), -1) << name;
  }
  EXPECT_EQ(playWaveFile("C:\\S\\MISSING.WAV"), -1);
  EXPECT_TRUE(host::waveLog().blocks.empty());

  host::writeFile("C:\\S\\EXT.WAV", withFormatTag(0xFFFE));
  EXPECT_EQ(playWaveFile("C:\\S\\EXT.WAV"), 0);

  // A data chunk that claims more than the file holds plays what is there,
  // and the portion that finds nothing to read makes the result -1.
  std::string lyingData = good;
  lyingData[42] = '\x01';
  host::writeFile("C:\\S\\LIE.WAV", lyingData);
  EXPECT_EQ(playWaveFile("C:\\S\\LIE.WAV"), -1);
  EXPECT_EQ(host::waveLog().blocks.size(), 2u);
}

// WAVE_FORMAT_EXTENSIBLE with a fmt chunk of 26 bytes (the extension's size,
// valid bits, channel mask and the sub-format's first two bytes) or of the
// usual 40: PCM plays in full, float is refused.
TEST_F(WavePlayer, ExtensibleFilesPlayOnlyWhenTheirSubFormatIsPcm) {
  const std::string good = waveFile(filled(50, 400));
  auto extensible = [&good](std::uint32_t formatSize, std::uint16_t subFormat) {
    std::string fmt = good.substr(20, 16);
    fmt[0] = '\xFE';
    fmt[1] = '\xFF';
    std::string extension(formatSize - 16, '\0');
    extension[0] = static_cast<char>(formatSize - 18);
    extension[2] = 8;  // valid bits
    extension[8] = static_cast<char>(subFormat & 0xFF);
    extension[9] = static_cast<char>(subFormat >> 8);
    const std::string size{static_cast<char>(formatSize), 0, 0, 0};
    const std::string body = "WAVEfmt " + size + fmt + extension + good.substr(36);
    const std::uint32_t riff = static_cast<std::uint32_t>(body.size());
    return "RIFF" + std::string{static_cast<char>(riff & 0xFF), static_cast<char>(riff >> 8), 0, 0} + body;
  };
  for (const std::uint32_t formatSize : {26u, 40u}) {
    host::waveLog().blocks.clear();
    host::writeFile("C:\\S\\EXT.WAV", extensible(formatSize, 1));
    EXPECT_EQ(playWaveFile("C:\\S\\EXT.WAV"), 0) << formatSize;
    std::size_t samples = 0;
    for (const auto& [value, count] : testing_support::runsOf(played()))
      if (value == 50) samples += count;
    EXPECT_GE(samples, 399u) << formatSize << ": the data after the fmt chunk is found whole";
    host::waveLog().blocks.clear();
    host::writeFile("C:\\S\\FLOAT.WAV", extensible(formatSize, 3));
    EXPECT_EQ(playWaveFile("C:\\S\\FLOAT.WAV"), -1) << formatSize;
    EXPECT_TRUE(host::waveLog().blocks.empty()) << formatSize;
  }
}

TEST_F(WavePlayer, ImagesWithoutTheirChunksAreNotPlayed) {
  const std::string good = waveFile(filled(50, 400));
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(good.data());
  EXPECT_TRUE(parseWaveImage(bytes, good.size()).valid);
  EXPECT_FALSE(parseWaveImage(bytes, 30).valid);
  EXPECT_FALSE(parseWaveImage(nullptr, 0).valid);
  std::string shortRiff = good;
  shortRiff[4] = 20;  // RIFF size ends before the data chunk
  shortRiff[5] = shortRiff[6] = shortRiff[7] = 0;
  EXPECT_FALSE(parseWaveImage(reinterpret_cast<const std::uint8_t*>(shortRiff.data()), shortRiff.size()).valid);
  std::string longData = good;
  longData[41] = '\x10';  // the data chunk claims 4 KB more than the image holds
  const WaveImageInfo info = parseWaveImage(reinterpret_cast<const std::uint8_t*>(longData.data()), longData.size());
  EXPECT_TRUE(info.valid);
  EXPECT_EQ(info.dataSize, 400u);
}

// --- compressBlock, worked out by hand ---------------------------------------------------

// 1000 silent samples with peaks of 200 at the given places.
std::vector<std::uint8_t> peaks(std::initializer_list<int> at) {
  std::vector<std::uint8_t> b(1000, 128);
  for (int i : at) b[static_cast<std::size_t>(i)] = 200;
  return b;
}

TEST(CompressBlock, DropsEverySecondPeakToPeakPeriodAt11025Hz) {
  // First peak in [200, 330]: 250. Then A in [r+80, r+130], B in [A+80, A+130]:
  // 350/450, 550/650, 750/850; the periods 250..349, 450..549 and 650..749 go.
  std::vector<std::uint8_t> b = peaks({250, 350, 450, 550, 650, 750, 850});
  const std::uint32_t n = compressBlock(b.data(), 1000, 8, 11025);
  EXPECT_EQ(n, 553u);
  for (std::uint32_t i = 0; i < n; ++i) {
    const bool peak = i == 250 || i == 350 || i == 351 || i == 451 || i == 452 || i == 552;
    EXPECT_EQ(b[i], peak ? 200 : 128) << i;
  }
}

TEST(CompressBlock, TheTailRunsOnWhileTheSampleIsFarFromSilence) {
  std::vector<std::uint8_t> b = peaks({250, 350, 450, 550, 650, 750, 850, 553, 851});
  // The tail looks at the sample already at the write position: 553 is far
  // from silence, so it takes sample 850; 554 is silent and ends the block.
  EXPECT_EQ(compressBlock(b.data(), 1000, 8, 11025), 554u);
  EXPECT_EQ(b[553], 200);
}

TEST(CompressBlock, SixteenBitSamplesBecomeTheirHighByteAsUnsigned) {
  std::vector<std::uint8_t> b(2000, 0);
  for (int i : {250, 350, 450, 550, 650, 750, 850}) b[static_cast<std::size_t>(2 * i + 1)] = 0x48;  // 0x48 ^ 128 = 200
  EXPECT_EQ(compressBlock(b.data(), 2000, 16, 11025), 553u);
  EXPECT_EQ(b[250], 200);
  EXPECT_EQ(b[251], 128);

  std::vector<std::uint8_t> small(400, 0);
  small[1] = 0x7F;
  EXPECT_EQ(compressBlock(small.data(), 400, 16, 11025), 200u);  // under 1000 samples: converted only
  EXPECT_EQ(small[0], 0xFF);
  EXPECT_EQ(small[1], 128);
}

TEST(CompressBlock, OtherRatesUseWiderWindowsAndShortBlocksStayWhole) {
  std::vector<std::uint8_t> b(1200, 128);
  b[900] = 200;
  EXPECT_EQ(compressBlock(b.data(), 1200, 8, 16000), 901u);
  std::vector<std::uint8_t> shortBlock(999, 7);
  EXPECT_EQ(compressBlock(shortBlock.data(), 999, 8, 11025), 999u);
}

TEST(CompressBlock, ASilentBlockOfZerosEnds) {
  std::vector<std::uint8_t> b(5000, 0);
  EXPECT_EQ(compressBlock(b.data(), 5000, 8, 11025), 5000u);
}

}  // namespace
