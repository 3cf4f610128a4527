#include "common/waveheader.h"

#include <cstring>

namespace tradutor {
namespace {

void put16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v) {
  put16(p, v & 0xFFFF);
  put16(p + 2, v >> 16);
}

}  // namespace

void writeWaveHeader(std::uint8_t* out, std::uint32_t dataSize, std::uint16_t channels, std::uint32_t samplesPerSecond,
                     std::uint16_t bitsPerSample) {
  const std::uint32_t blockAlign = static_cast<std::uint32_t>(channels) * (bitsPerSample / 8u);
  std::memcpy(out, "RIFF", 4);
  put32(out + 4, dataSize + 36);
  std::memcpy(out + 8, "WAVEfmt ", 8);
  put32(out + 16, 16);
  put16(out + 20, 1);  // PCM
  put16(out + 22, channels);
  put32(out + 24, samplesPerSecond);
  put32(out + 28, samplesPerSecond * blockAlign);
  put16(out + 32, blockAlign);
  put16(out + 34, bitsPerSample);
  std::memcpy(out + 36, "data", 4);
  put32(out + 40, dataSize);
}

}  // namespace tradutor
