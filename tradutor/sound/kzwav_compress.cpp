// Compressed playback: speech made shorter by dropping every second pitch
// period, found as the distance between two amplitude peaks.
#include <algorithm>
#include <cstring>

#include "sound/kzwav.h"

namespace tradutor {
namespace {

// The index of the largest sample in [from, to] (the first of equal ones).
// A sample counts only when it is above every one seen so far, starting from
// 0; a window of zero samples leaves `found` as it was.
std::uint32_t peakIn(const std::uint8_t* b, std::uint32_t from, std::uint32_t to, std::uint32_t found) {
  std::uint8_t largest = 0;
  for (std::uint32_t i = from; i <= to; ++i) {
    if (b[i] > largest) {
      largest = b[i];
      found = i;
    }
  }
  return found;
}

}  // namespace

std::uint32_t compressBlock(std::uint8_t* b, std::uint16_t count, int bits, std::uint32_t rate) {
  std::uint32_t n = count;
  if (bits == 16) {
    n /= 2;
    for (std::uint32_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(b[2 * i + 1] ^ 128);
  }
  if (n < 1000) return n;
  const bool narrow = rate == 11025;
  const std::uint32_t start = narrow ? 200 : 800;
  const std::uint32_t skip = narrow ? 80 : 320;
  const std::uint32_t window = narrow ? 50 : 200;

  std::uint32_t peak = peakIn(b, start, std::min(start + skip + window, n - 1), 0);
  std::uint32_t w = peak;
  std::uint32_t r = peak;
  while (r + 2 * (skip + window) < n) {
    const std::uint32_t a = peakIn(b, r + skip, r + skip + window, peak);
    const std::uint32_t z = peakIn(b, a + skip, a + skip + window, a);
    peak = z;
    // Silent stretches (all zero) find no new peak; without progress the
    // loop would never end, so the rest is left to the tail copy.
    if (z <= r) break;
    std::memmove(b + w, b + a, z - a + 1);
    w += z - a + 1;
    r = z;
  }
  while (w < n && r < n && (b[w] > 148 || b[w] < 108)) b[w++] = b[r++];
  return w;
}

}  // namespace tradutor
