// The WAV player on Wine's real wave-out device. The rig's ALSA settings
// send the device's stream to a WAV file, which is read back here.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "common/waveheader.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "win32_test_support.h"

namespace {

using namespace win32_test;

// The capture file, as a Windows path through Wine's Z: drive.
std::string capturePath() {
  const char* dir = std::getenv("RIG_DIR");
  std::string path = std::string("Z:") + (dir ? dir : "") + "/sound.wav";
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

struct Capture {
  std::uint32_t rate = 0;
  std::uint16_t bits = 0;
  std::vector<std::uint8_t> data;
};

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

Capture readCapture() {
  Capture c;
  std::FILE* f = std::fopen(capturePath().c_str(), "rb");
  if (f == nullptr) return c;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(f);
  if (bytes.size() < 44) return c;
  c.rate = le32(bytes, 24);
  c.bits = static_cast<std::uint16_t>(bytes[34] | bytes[35] << 8);
  std::size_t at = 12;
  while (at + 8 <= bytes.size() && std::string(bytes.begin() + at, bytes.begin() + at + 4) != "data")
    at += 8 + le32(bytes, at + 4);
  if (at + 8 <= bytes.size()) c.data.assign(bytes.begin() + at + 8, bytes.end());
  return c;
}

bool contains(const std::vector<std::uint8_t>& haystack, const std::vector<std::uint8_t>& needle) {
  return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

// A recognisable sound: a ramp that never repeats within a few thousand samples.
std::vector<std::uint8_t> ramp(std::size_t n) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(20 + (i * 7 + i / 251) % 200);
  return v;
}

std::vector<std::uint8_t> image(const std::vector<std::uint8_t>& samples, std::uint32_t rate = 11025) {
  std::vector<std::uint8_t> img(44 + samples.size());
  tradutor::writeWaveHeader(img.data(), static_cast<std::uint32_t>(samples.size()), 1, rate, 8);
  std::copy(samples.begin(), samples.end(), img.begin() + 44);
  return img;
}

std::string writeTempWave(const std::vector<std::uint8_t>& samples) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  const std::string path = std::string(dir) + "kzwav_test.wav";
  const std::vector<std::uint8_t> img = image(samples);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(img.data(), 1, img.size(), f);
  std::fclose(f);
  return path;
}

void waitForEnd() {
  while (tradutor::wavePlaying()) tradutor::pumpMessages();
  tradutor::stopWave();
  Sleep(300);  // let Wine close the stream, which finishes the capture file
}

class WavePlayerOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    openConsole();
    tradutor::initWavePlayer();
    tradutor::waveSwitches() = tradutor::WaveSwitches{};
    readKeys(64, 0);
  }
};

TEST_F(WavePlayerOnWine, AFileReachesTheDeviceUnchanged) {
  const std::vector<std::uint8_t> samples = ramp(20000);
  ASSERT_EQ(tradutor::playWaveFile(writeTempWave(samples)), 0);
  waitForEnd();
  const Capture c = readCapture();
  EXPECT_EQ(c.rate, 11025u);
  EXPECT_EQ(c.bits, 8);
  // The player silences the last sample of a block; the rest arrives as it was.
  EXPECT_TRUE(contains(c.data, std::vector<std::uint8_t>(samples.begin(), samples.end() - 1)));
}

TEST_F(WavePlayerOnWine, AMemoryImageReachesTheDeviceUnchanged) {
  const std::vector<std::uint8_t> samples = ramp(5000);
  const std::vector<std::uint8_t> img = image(samples);
  tradutor::playWaveImage(img.data(), img.size());
  waitForEnd();
  const Capture c = readCapture();
  EXPECT_TRUE(contains(c.data, std::vector<std::uint8_t>(samples.begin(), samples.end() - 1)));
}

TEST_F(WavePlayerOnWine, FastPlaybackOpensTheDeviceAtOneAndAHalfTimesTheRate) {
  tradutor::waveSwitches().fastPlayback = true;
  const std::vector<std::uint8_t> img = image(ramp(3000));
  tradutor::playWaveImage(img.data(), img.size());
  waitForEnd();
  EXPECT_EQ(readCapture().rate, 16537u);
}

TEST_F(WavePlayerOnWine, AKeyStopsPlaybackAndStaysQueued) {
  const std::string path = writeTempWave(ramp(11025 * 20));  // 20 seconds
  std::thread presser([] {
    Sleep(400);
    sendKey('Q');
  });
  const DWORD start = GetTickCount();
  EXPECT_EQ(tradutor::playWaveFile(path), 0);
  const DWORD took = GetTickCount() - start;
  presser.join();
  EXPECT_LT(took, 4000u);  // the sink plays faster than real time, but not twenty seconds in four
  EXPECT_FALSE(tradutor::wavePlaying());
  EXPECT_EQ(readKeys(1), "q");
}

}  // namespace
