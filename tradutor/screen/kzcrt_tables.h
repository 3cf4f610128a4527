#pragma once
// The fixed tables of the console: palette, special keys, Alt codes, Braille.
#include <cstdint>

#include "platform/geometry.h"

namespace tradutor::crt {

extern const platform::Rgb kPalette[16];

struct SpecialKey {
  unsigned virtualKey;
  std::uint8_t code;
  std::uint8_t ctrlCode;
};
// The special key of `virtualKey`, or nullptr when the key is not one.
const SpecialKey* findSpecialKey(unsigned virtualKey);

// The Alt code of a letter 'A'..'Z' or digit '0'..'9' (virtual key), or 0.
std::uint8_t altCode(unsigned virtualKey);

// Windows-1252 character of each six-dot chord (dot 1 = bit 0 .. dot 6 = bit 5).
extern const std::uint8_t kBrailleTable[64];

// The dot bit of a Braille key (F D S J K L and space), or 0.
unsigned brailleDotBit(unsigned virtualKey);

}  // namespace tradutor::crt
