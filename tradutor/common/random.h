#pragma once
// A small random source for the sounds that need noise (the click, a missing
// diphone). Deterministic for a given seed, so tests can repeat a run.
#include <cstdint>

namespace tradutor {

void seedRandom(std::uint32_t seed);
// A uniform integer in [0, bound); 0 when bound is 0.
std::uint32_t randomBelow(std::uint32_t bound);

}  // namespace tradutor
