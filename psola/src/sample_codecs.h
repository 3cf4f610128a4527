// Conversions of 16-bit samples for readtype_MBR: unsigned 8-bit, and the
// G.711 mu-law and A-law bytes.
#pragma once
#include <cstdint>

namespace psola {
std::uint8_t toLinear8(std::int16_t sample);
std::uint8_t toMuLaw(std::int16_t sample);
std::uint8_t toALaw(std::int16_t sample);
}  // namespace psola
