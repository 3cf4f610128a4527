// Windows platform: the wave-out device (winmm), notifying the console window.
#include "platform/waveout.h"

#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/win32_window_handle.h"

namespace platform {
namespace {

constexpr int kMaxBuffers = 8;

struct Block {
  HGLOBAL dataMemory = nullptr;
  HGLOBAL headerMemory = nullptr;
  std::uint8_t* data = nullptr;
  WAVEHDR* header = nullptr;
};

struct WaveState {
  HWAVEOUT device = nullptr;
  Block blocks[kMaxBuffers];
  int count = 0;
  std::size_t size = 0;
};

WaveState& state() {
  static WaveState s;
  return s;
}

Block* block(int number) {
  WaveState& s = state();
  return number >= 1 && number <= s.count ? &s.blocks[number - 1] : nullptr;
}

}  // namespace

bool allocateWaveBuffers(int count, std::size_t size) {
  WaveState& s = state();
  if (s.count > 0) return true;
  if (count > kMaxBuffers) count = kMaxBuffers;
  for (int i = 0; i < count; ++i) {
    Block& b = s.blocks[i];
    b.dataMemory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    b.headerMemory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, sizeof(WAVEHDR));
    if (b.dataMemory == nullptr || b.headerMemory == nullptr) return false;
    // Kept locked for the program's life: the device reads them while they play.
    b.data = static_cast<std::uint8_t*>(GlobalLock(b.dataMemory));
    b.header = static_cast<WAVEHDR*>(GlobalLock(b.headerMemory));
    s.count = i + 1;
  }
  s.size = size;
  return true;
}

void freeWaveBuffers() {
  WaveState& s = state();
  for (int i = 0; i < s.count; ++i) {
    Block& b = s.blocks[i];
    GlobalUnlock(b.dataMemory);
    GlobalUnlock(b.headerMemory);
    GlobalFree(b.dataMemory);
    GlobalFree(b.headerMemory);
    b = Block{};
  }
  s.count = 0;
}

std::uint8_t* waveBufferData(int number) {
  Block* b = block(number);
  return b ? b->data : nullptr;
}

int openWaveOut(const WaveFormat& format) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = format.channels;
  f.nSamplesPerSec = format.samplesPerSecond;
  f.wBitsPerSample = format.bitsPerSample;
  f.nBlockAlign = static_cast<WORD>(format.channels * (format.bitsPerSample / 8));
  f.nAvgBytesPerSec = f.nBlockAlign * format.samplesPerSecond;
  HWAVEOUT device = nullptr;
  const MMRESULT r = waveOutOpen(&device, WAVE_MAPPER, &f, reinterpret_cast<DWORD_PTR>(win32::consoleWindow()), 0,
                                 CALLBACK_WINDOW | WAVE_ALLOWSYNC);
  if (r == MMSYSERR_NOERROR) state().device = device;
  return static_cast<int>(r);
}

int prepareWaveBuffer(int number, std::uint32_t length) {
  Block* b = block(number);
  if (b == nullptr || state().device == nullptr) return MMSYSERR_INVALHANDLE;
  ZeroMemory(b->header, sizeof(WAVEHDR));
  b->header->lpData = reinterpret_cast<LPSTR>(b->data);
  b->header->dwBufferLength = length;
  b->header->dwUser = static_cast<DWORD_PTR>(number);
  return static_cast<int>(waveOutPrepareHeader(state().device, b->header, sizeof(WAVEHDR)));
}

int writeWaveBuffer(int number) {
  Block* b = block(number);
  if (b == nullptr || state().device == nullptr) return MMSYSERR_INVALHANDLE;
  const MMRESULT r = waveOutWrite(state().device, b->header, sizeof(WAVEHDR));
  if (r != MMSYSERR_NOERROR) waveOutUnprepareHeader(state().device, b->header, sizeof(WAVEHDR));
  return static_cast<int>(r);
}

int waveHeaderNumber(std::uintptr_t header) {
  if (header == 0) return 0;
  for (int number = 1; number <= state().count; ++number)
    if (reinterpret_cast<std::uintptr_t>(state().blocks[number - 1].header) == header)
      return static_cast<int>(state().blocks[number - 1].header->dwUser);
  return 0;
}

int unprepareWaveHeader(std::uintptr_t header) {
  WAVEHDR* h = reinterpret_cast<WAVEHDR*>(header);
  if (waveHeaderNumber(header) == 0) return MMSYSERR_INVALHANDLE;
  // A notification that arrives after the device was closed finds a header
  // that is no longer prepared: there is nothing to release then.
  if ((h->dwFlags & WHDR_PREPARED) == 0) return MMSYSERR_NOERROR;
  return static_cast<int>(waveOutUnprepareHeader(state().device, h, sizeof(WAVEHDR)));
}

void resetWaveOut() {
  if (state().device != nullptr) waveOutReset(state().device);
}

void closeWaveOut() {
  WaveState& s = state();
  if (s.device == nullptr) return;
  waveOutClose(s.device);
  s.device = nullptr;
}

}  // namespace platform
