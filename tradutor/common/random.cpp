#include "common/random.h"

namespace tradutor {
namespace {

std::uint32_t& stateWord() {
  static std::uint32_t s = 0x9E3779B9u;
  return s;
}

}  // namespace

void seedRandom(std::uint32_t seed) { stateWord() = seed != 0 ? seed : 0x9E3779B9u; }

std::uint32_t randomBelow(std::uint32_t bound) {
  if (bound == 0) return 0;
  std::uint32_t& x = stateWord();  // xorshift32
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(x) * bound) >> 32);
}

}  // namespace tradutor
