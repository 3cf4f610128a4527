#pragma once
// The wave-out device and the blocks it plays.
//
// Contract: the data blocks are allocated once (allocateWaveBuffers) and
// numbered from 1; each has a header whose user field holds its number. An
// open device reports every finished block as a WaveDone event to the
// console window, whose waveHeader identifies the block's header. Result
// codes are the MMSYSERR/WAVERR numbers of Windows (0 = no error).
#include <cstddef>
#include <cstdint>

namespace platform {

struct WaveFormat {
  std::uint32_t samplesPerSecond;
  std::uint16_t bitsPerSample;
  std::uint16_t channels;
  bool operator==(const WaveFormat&) const = default;
};

constexpr int kWaveAllocated = 4;         // MMSYSERR_ALLOCATED: the device is busy
constexpr int kWaveInvalidHandle = 5;     // MMSYSERR_INVALHANDLE
constexpr int kWaveNoDriver = 6;          // MMSYSERR_NODRIVER
constexpr int kWaveNoMemory = 7;          // MMSYSERR_NOMEM
constexpr int kWaveBadDevice = 2;         // MMSYSERR_BADDEVICEID
constexpr int kWaveStillPlaying = 33;     // WAVERR_STILLPLAYING

bool allocateWaveBuffers(int count, std::size_t size);
void freeWaveBuffers();
std::uint8_t* waveBufferData(int number);  // nullptr when there is no such buffer

// Opens the default device (the wave mapper) for the format, with the
// console window as the receiver of the done notifications.
int openWaveOut(const WaveFormat& format);
// Prepares the header of buffer `number` for `length` bytes of its data.
int prepareWaveBuffer(int number, std::uint32_t length);
int writeWaveBuffer(int number);
// The buffer number in the user field of a finished block's header (0 when none).
int waveHeaderNumber(std::uintptr_t header);
int unprepareWaveHeader(std::uintptr_t header);
void resetWaveOut();  // every queued block is returned as finished
void closeWaveOut();

}  // namespace platform
