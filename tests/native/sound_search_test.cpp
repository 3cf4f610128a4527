// The search the Wine tests hear with: a sound in a capture of the device,
// with the silence a starved device puts in passed over and nothing else.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "common/waveheader.h"
#include "voicetool/sound_search.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Bytes silence(std::size_t n, std::uint8_t value = 128) { return Bytes(n, value); }

TEST(SoundSearch, PassesOverTheDevicesSilenceAndNothingElse) {
  const voicetool::SampleShape eightBit{1, 128, 4};
  const voicetool::SampleShape sixteenBit{2, 0, 4};
  // The sound: a silence of its own between two stretches of samples.
  const Bytes head{10, 20, 30, 40}, own{128, 128}, tail{50, 60, 70};
  const Bytes sound = join({head, own, tail});
  const Bytes wide{1, 2, 0, 3, 0, 0, 4, 5};  // 16-bit frames, one of them silent
  const struct {
    const char* name;
    Bytes capture;
    const Bytes* sound;
    voicetool::SampleShape shape;
    std::size_t from;
    bool found;
    std::size_t begin, end;
    int gaps;
  } cases[] = {
      {"whole, after other sound", join({Bytes{9, 9, 128}, sound, Bytes{7}}), &sound, eightBit, 0, true, 3, 12, 0},
      {"a gap inside", join({Bytes{10, 20}, silence(3), Bytes{30, 40}, own, tail}), &sound, eightBit, 0, true, 0, 12, 1},
      {"a gap beside its own silence", join({head, own, silence(4), tail}), &sound, eightBit, 0, true, 0, 13, 1},
      {"two gaps", join({head, silence(1), own, Bytes{50}, silence(2), Bytes{60, 70}}), &sound, eightBit, 0, true, 0,
       12, 2},
      {"a gap longer than the device makes", join({head, silence(5), own, tail}), &sound, eightBit, 0, false, 0, 0, 0},
      {"something else put in", join({Bytes{10, 20}, Bytes{129}, Bytes{30, 40}, own, tail}), &sound, eightBit, 0,
       false, 0, 0, 0},
      {"a sample changed", join({head, own, Bytes{50, 61, 70}}), &sound, eightBit, 0, false, 0, 0, 0},
      {"cut short", join({head, own, Bytes{50, 60}}), &sound, eightBit, 0, false, 0, 0, 0},
      {"its own silence shortened", join({head, Bytes{128}, tail}), &sound, eightBit, 0, false, 0, 0, 0},
      {"only before the start of the search", join({sound, Bytes{1}}), &sound, eightBit, 1, false, 0, 0, 0},
      {"the second of two", join({sound, sound}), &sound, eightBit, 1, true, 9, 18, 0},
      {"16-bit: a silent frame inside", join({Bytes{1, 2, 0, 3}, silence(2, 0), Bytes{0, 0, 4, 5}}), &wide,
       sixteenBit, 0, true, 0, 10, 1},
      {"16-bit: half a frame of silence", join({Bytes{1, 2, 0, 3}, silence(1, 0), Bytes{0, 0, 4, 5}}), &wide,
       sixteenBit, 0, false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto match = voicetool::findSound(c.capture, c.from, c.sound->data(), c.sound->size(), c.shape);
    ASSERT_EQ(match.has_value(), c.found);
    if (!match) continue;
    EXPECT_EQ(match->begin, c.begin);
    EXPECT_EQ(match->end, c.end);
    EXPECT_EQ(match->gaps, c.gaps);
  }
}

TEST(SoundSearch, TheLongestGapIsAFifthOfASecond) {
  const struct {
    std::uint16_t channels, bits;
    std::uint32_t rate;
    std::size_t frameBytes;
    std::uint8_t silence;
    std::size_t longestGap;
  } formats[] = {{1, 8, 11025, 1, 128, 2205}, {2, 16, 22050, 4, 0, 4410}, {1, 16, 16000, 2, 0, 3200}};
  for (const auto& f : formats) {
    std::uint8_t header[tradutor::kWaveHeaderSize];
    tradutor::writeWaveHeader(header, 100, f.channels, f.rate, f.bits);
    const voicetool::SampleShape shape = voicetool::shapeOfWaveHeader(header);
    EXPECT_EQ(shape.frameBytes, f.frameBytes) << f.rate;
    EXPECT_EQ(shape.silenceByte, f.silence) << f.rate;
    EXPECT_EQ(shape.longestGap, f.longestGap) << f.rate;
  }
}

}  // namespace
