#pragma once
// kzwav: the WAV player. Plays RIFF/WAVE files, wave images in memory and raw
// PCM through the wave-out device in a ring of four buffers; a key waiting
// in the console's queue stops the sound. Optionally plays speech faster
// (rate x 1.5) or compressed (every second pitch period dropped).
#include <cstddef>
#include <cstdint>
#include <string>

namespace tradutor {

struct WaveSwitches {
  bool stopOnKey = true;           // a waiting key stops playback
  bool playAsync = false;          // playWaveFile returns once the last block is queued
  bool fastPlayback = false;       // open the device at 1.5 x the rate
  bool compressedPlayback = false; // drop pitch periods of mono sound; 16-bit mono becomes 8-bit
  int bufferCount = 4;             // output buffers in use, 1..4
};

WaveSwitches& waveSwitches();

// Start-of-program initialisation (allocates the buffers) and its reset for tests.
void initWavePlayer();
void resetWavePlayer();

constexpr std::uint32_t kWaveBufferSize = 65534;

// 0 played (or nothing to play, or skipped for a waiting key), -1 missing or
// malformed or unreadable, otherwise the device's open error.
int playWaveFile(const std::string& fileName);
// Queues the PCM of a RIFF/WAVE image of `size` bytes; returns once queued.
// An image that is not RIFF/WAVE is not played.
void playWaveImage(const std::uint8_t* image, std::size_t size);
int playPcm(const std::uint8_t* data, std::uint32_t length, std::uint32_t rate, std::uint16_t channels,
            std::uint16_t bits);
// Pumps messages; stops on a waiting key or when nothing is queued; true while sound is queued.
bool wavePlaying();
void stopWave();

// Queues one block of at most 65534 bytes in the next buffer, waiting up to
// 40 rounds of 50 ms for one to come free; false when the block was dropped.
bool queueBlock(const std::uint8_t* data, std::uint32_t n);

// Drops every second pitch period in place; returns the new byte count.
// 16-bit input becomes 8-bit first.
std::uint32_t compressBlock(std::uint8_t* buffer, std::uint16_t n, int bits, std::uint32_t rate);

// What parsing a RIFF/WAVE image finds (exposed for tests and tools).
struct WaveImageInfo {
  bool valid = false;
  std::uint16_t channels = 0;
  std::uint32_t rate = 0;
  std::uint16_t bits = 0;
  std::size_t dataOffset = 0;
  std::uint32_t dataSize = 0;
};
WaveImageInfo parseWaveImage(const std::uint8_t* image, std::size_t size);

}  // namespace tradutor
