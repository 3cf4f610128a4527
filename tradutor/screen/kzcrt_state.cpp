#include "screen/kzcrt_state.h"

#include "screen/kzcrt_tables.h"

namespace tradutor::crt {

CrtState& state() {
  static CrtState s;
  return s;
}

platform::Rgb colourOf(int colourNumber) {
  const std::uint8_t index = state().colourMap[colourNumber & 15];
  if (index > 15) return {0, 0, 0};
  return kPalette[index];
}

}  // namespace tradutor::crt
