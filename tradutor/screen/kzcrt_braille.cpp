// Switching the Braille chord keyboard, announced by square-wave tones.
#include "common/waveheader.h"
#include "platform/tone.h"
#include "screen/kzcrt.h"
#include "screen/kzcrt_state.h"

namespace tradutor {
namespace crt {
namespace {

constexpr int kToneRate = 11025;
constexpr std::size_t kToneImageSize = 11071;

void toneFor200ms(unsigned frequency) {
  playTone(frequency);
  delayWithMessages(200);
  stopTone();
}

}  // namespace

void buildToneImage(unsigned frequency, std::vector<std::uint8_t>& image) {
  image.assign(kToneImageSize, 128);
  if (frequency == 0) frequency = 1;
  const unsigned period = static_cast<unsigned>(kToneRate) / frequency;
  const unsigned low = period / 2 + 1;
  const unsigned high = period - period / 2 + 1;
  auto periodStart = [frequency](unsigned k) {
    return kWaveHeaderSize + static_cast<unsigned>((static_cast<unsigned long long>(k) * kToneRate) / frequency);
  };
  unsigned k = 0;
  // Each period writes two samples past its own length; the next period
  // overwrites them, and the image has room for the last one's.
  for (; period > 0 && periodStart(k) <= kToneRate - period; ++k) {
    unsigned p = periodStart(k);
    for (unsigned i = 0; i < low && p < kToneImageSize; ++i) image[p++] = 96;
    for (unsigned i = 0; i < high && p < kToneImageSize; ++i) image[p++] = 160;
  }
  unsigned end = periodStart(k);
  if (end > kToneImageSize) end = kToneImageSize;
  if (end > kWaveHeaderSize) image[end - 1] = 128;
  const unsigned dataSize = end > kWaveHeaderSize ? end - kWaveHeaderSize : 0;
  writeWaveHeader(image.data(), dataSize, 1, kToneRate, 8);
}

void playTone(unsigned frequency) {
  CrtState& s = state();
  if (!s.toneImage.empty()) stopTone();
  buildToneImage(frequency, s.toneImage);
  platform::playLoopingImage(s.toneImage.data(), s.toneImage.size());
}

void stopTone() {
  CrtState& s = state();
  platform::stopLoopingImage();
  s.toneImage.clear();
  s.toneImage.shrink_to_fit();
}

}  // namespace crt

void setBrailleMode(int mode) {
  crt::CrtState& s = crt::state();
  if (mode > 2) mode = 1;
  if (mode < 0) mode = 0;
  if (mode == 0) {
    s.chord = s.held = 0;
    s.capitalNext = s.capitalsLock = s.numberMode = false;
    if (s.brailleMode != 0) crt::toneFor200ms(100);
  } else if (mode == 1) {
    crt::toneFor200ms(800);
    crt::toneFor200ms(1600);
  } else {
    crt::toneFor200ms(800);
    crt::toneFor200ms(400);
  }
  s.brailleMode = mode;
}

int brailleMode() { return crt::state().brailleMode; }

}  // namespace tradutor
