#pragma once
// Finding a sound in a raw capture of Wine's sound device.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace voicetool {

// What the search needs to know of a sound's format.
struct SampleShape {
  std::size_t frameBytes = 1;      // bytes of one sample on every channel
  std::uint8_t silenceByte = 128;  // 128 for 8-bit samples, 0 for 16-bit
  std::size_t longestGap = 0;      // frames of silence the device may put in at one place
};

struct SoundMatch {
  std::size_t begin = 0;  // where the sound starts in the capture
  std::size_t end = 0;    // just past its last sample there
  int gaps = 0;           // stretches of silence passed over inside it
};

// The shape of a WAV file's samples, from its 44-byte header: gaps up to
// 200 ms.
SampleShape shapeOfWaveHeader(const std::uint8_t* header);

// The first place at or after `from` where `sound` was played whole, in
// order, sample for sample. A device starved of time (Wine on a loaded
// machine) plays silence where its buffer ran dry and then goes on with the
// program's samples: such a stretch, whole silent frames no longer than
// `shape.longestGap`, is passed over and counted. Anything else that
// differs, a sound cut short or a longer silence, is no match.
std::optional<SoundMatch> findSound(const std::vector<std::uint8_t>& capture, std::size_t from,
                                    const std::uint8_t* sound, std::size_t length, const SampleShape& shape);

}  // namespace voicetool
