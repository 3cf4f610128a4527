#include "sample_codecs.h"

namespace psola {

std::uint8_t toLinear8(std::int16_t sample) { return static_cast<std::uint8_t>((sample >> 8) + 128); }

std::uint8_t toMuLaw(std::int16_t sample) {
  constexpr int kBias = 0x84, kClip = 32635;
  int s = sample;
  const int sign = s < 0 ? 0x80 : 0;
  if (s < 0) s = -s;
  if (s > kClip) s = kClip;
  s += kBias;
  int exponent = 7;
  for (int mask = 0x4000; (s & mask) == 0 && exponent > 0; mask >>= 1) --exponent;
  const int mantissa = (s >> (exponent + 3)) & 0x0F;
  return static_cast<std::uint8_t>(~(sign | exponent << 4 | mantissa));
}

std::uint8_t toALaw(std::int16_t sample) {
  int s = sample;
  const int sign = s >= 0 ? 0x80 : 0;
  if (s < 0) s = -s - 1;
  s >>= 3;  // 13-bit magnitude
  int value;
  if (s < 32) {
    value = s >> 1;
  } else {
    int exponent = 1;
    while (exponent < 7 && (s >> (exponent + 5)) != 0) ++exponent;
    value = exponent << 4 | ((s >> exponent) & 0x0F);
  }
  return static_cast<std::uint8_t>((sign | value) ^ 0x55);
}

}  // namespace psola
