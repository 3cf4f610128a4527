#pragma once
// The 44-byte RIFF/WAVE header in front of every wave image the library builds.
#include <cstdint>

namespace tradutor {

constexpr int kWaveHeaderSize = 44;

// Writes a PCM header for `dataSize` bytes of samples into `out` (44 bytes).
void writeWaveHeader(std::uint8_t* out, std::uint32_t dataSize, std::uint16_t channels, std::uint32_t samplesPerSecond,
                     std::uint16_t bitsPerSample);

}  // namespace tradutor
