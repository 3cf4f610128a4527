#include "sound_search.h"

#include <algorithm>

namespace voicetool {
namespace {

std::uint32_t le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool silentFrame(const std::vector<std::uint8_t>& capture, std::size_t at, const SampleShape& shape) {
  return at + shape.frameBytes <= capture.size() &&
         std::all_of(capture.begin() + static_cast<long>(at), capture.begin() + static_cast<long>(at + shape.frameBytes),
                     [&](std::uint8_t b) { return b == shape.silenceByte; });
}

// The sound matched from `begin` on, or nothing.
std::optional<SoundMatch> matchAt(const std::vector<std::uint8_t>& capture, std::size_t begin,
                                  const std::uint8_t* sound, std::size_t length, const SampleShape& shape) {
  std::size_t i = 0, j = begin;
  int gaps = 0;
  while (i < length) {
    if (j < capture.size() && capture[j] == sound[i]) {
      ++i, ++j;
      continue;
    }
    // Back to the start of the frame that differs: a gap is made of whole
    // frames. Silence the sound itself has there was matched already, so
    // what silence is left in the capture is the device's.
    const std::size_t into = i % shape.frameBytes;
    std::size_t at = j - into, frames = 0;
    while (frames <= shape.longestGap && silentFrame(capture, at, shape)) at += shape.frameBytes, ++frames;
    if (frames == 0 || frames > shape.longestGap) return std::nullopt;
    i -= into;
    j = at;
    ++gaps;
  }
  return SoundMatch{begin, j, gaps};
}

}  // namespace

SampleShape shapeOfWaveHeader(const std::uint8_t* header) {
  const std::uint16_t blockAlign = static_cast<std::uint16_t>(header[32] | header[33] << 8);
  const std::uint16_t bits = static_cast<std::uint16_t>(header[34] | header[35] << 8);
  SampleShape shape;
  shape.frameBytes = std::max<std::size_t>(blockAlign, 1);
  shape.silenceByte = bits == 8 ? 128 : 0;
  shape.longestGap = le32(header + 24) / 5;
  return shape;
}

std::optional<SoundMatch> findSound(const std::vector<std::uint8_t>& capture, std::size_t from,
                                    const std::uint8_t* sound, std::size_t length, const SampleShape& shape) {
  if (length == 0) return std::nullopt;
  for (std::size_t begin = from; begin < capture.size(); ++begin) {
    if (capture[begin] != sound[0]) continue;
    if (auto found = matchAt(capture, begin, sound, length, shape)) return found;
  }
  return std::nullopt;
}

}  // namespace voicetool
