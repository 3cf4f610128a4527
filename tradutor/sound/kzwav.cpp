// The WAV player's device, its ring of buffers and the playing of PCM.
#include "sound/kzwav.h"

#include <algorithm>
#include <cstring>

#include "common/program_exit.h"
#include "platform/waveout.h"
#include "screen/kzcrt.h"

namespace tradutor {
namespace {

constexpr int kBuffers = 4;
constexpr int kOpenTries = 100;
constexpr int kFreeBufferRounds = 40;

struct PlayerState {
  WaveSwitches switches;
  bool allocated = false;
  bool deviceOpen = false;
  platform::WaveFormat format = {0, 0, 0};
  int lastBuffer = 0;  // 1..bufferCount, round robin
  int queued = 0;      // written and not yet reported done
  std::uint8_t scratch[kWaveBufferSize] = {};  // compression works here, never on the caller's data
};

PlayerState& state() {
  static PlayerState s;
  return s;
}

int bufferCount() { return std::clamp(state().switches.bufferCount, 1, kBuffers); }

bool isMono8(const platform::WaveFormat& f) { return f.channels == 1 && f.bitsPerSample == 8; }

const char* unprepareText(int result) {
  switch (result) {
    case platform::kWaveInvalidHandle: return "Specified device handle is invalid.";
    case platform::kWaveNoDriver: return "No device driver is present.";
    case platform::kWaveNoMemory: return "Unable to allocate or lock memory.";
    case platform::kWaveStillPlaying: return "The data block pointed to by the pwh parameter is still in queue";
    default: return nullptr;
  }
}

void onBlockDone(std::uintptr_t, std::uintptr_t header) {
  if (header == 0) return;
  const int result = platform::unprepareWaveHeader(header);
  if (result != 0) {
    if (const char* text = unprepareText(result)) writeText(text);
    readInputLine();  // the user acknowledges with Enter
  }
  PlayerState& s = state();
  if (s.queued > 0) --s.queued;
}

int openWaveDevice() {
  PlayerState& s = state();
  if (s.deviceOpen) return 0;
  // Done notifications go to the console window, so it must exist first.
  openConsoleWindow();
  setWaveDoneHandler(&onBlockDone);
  int result = platform::openWaveOut(s.format);
  for (int tries = 1; result == platform::kWaveAllocated && tries < kOpenTries; ++tries) {
    delayWithMessages(100);
    result = platform::openWaveOut(s.format);
  }
  s.deviceOpen = result == 0;
  return result;
}

int openForFormat(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels) {
  PlayerState& s = state();
  const platform::WaveFormat wanted{rate, bits, channels};
  if (!(wanted == s.format)) {
    while (wavePlaying()) {  // its last round closes the device
    }
    s.format = wanted;
  }
  return openWaveDevice();
}

}  // namespace

bool queueBlock(const std::uint8_t* data, std::uint32_t n) {
  PlayerState& s = state();
  for (int round = 0; s.queued >= bufferCount() && round < kFreeBufferRounds; ++round) {
    pumpMessages();
    delayWithMessages(50);
  }
  if (s.queued >= bufferCount()) return false;  // no buffer came free: the block is dropped
  n = std::min(n, kWaveBufferSize);
  ++s.queued;
  s.lastBuffer = s.lastBuffer % bufferCount() + 1;
  std::uint8_t* buffer = platform::waveBufferData(s.lastBuffer);
  if (buffer == nullptr) {
    --s.queued;
    return false;
  }
  // A block is never shorter than 256 bytes; what the data does not fill is
  // silence (128 for 8-bit sound, 0 for 16-bit), never what the buffer held before.
  if (n < 256) std::memset(buffer + n, s.format.bitsPerSample == 8 ? 128 : 0, 256 - n);
  std::memcpy(buffer, data, n);
  if (isMono8(s.format) && n > 0 && n != kWaveBufferSize) buffer[n - 1] = 128;
  if (platform::prepareWaveBuffer(s.lastBuffer, std::max<std::uint32_t>(n, 256)) != 0) {
    --s.queued;
    return false;
  }
  if (platform::writeWaveBuffer(s.lastBuffer) != 0) {
    --s.queued;
    return false;
  }
  return true;
}

WaveSwitches& waveSwitches() { return state().switches; }

namespace {

// Runs on every way the program ends (a close, Ctrl+Break, WM_QUIT or the
// normal end): a device left open with prepared blocks would outlive us.
void finalizeWavePlayer() {
  stopWave();
  platform::freeWaveBuffers();
  state().allocated = false;
}

}  // namespace

void initWavePlayer() {
  PlayerState& s = state();
  if (s.allocated) return;
  s.allocated = platform::allocateWaveBuffers(kBuffers, kWaveBufferSize);
  if (s.allocated) addExitProcedure(&finalizeWavePlayer);
}

void resetWavePlayer() { state() = PlayerState{}; }

int playPcm(const std::uint8_t* data, std::uint32_t length, std::uint32_t rate, std::uint16_t channels,
            std::uint16_t bits) {
  PlayerState& s = state();
  initWavePlayer();
  const WaveSwitches& sw = s.switches;
  if (sw.fastPlayback) rate = static_cast<std::uint32_t>(rate * 3ull / 2);
  const bool toEightBit = sw.compressedPlayback && channels == 1 && bits == 16;
  const int opened = toEightBit ? openForFormat(rate, 8, 1) : openForFormat(rate, bits, channels);
  if (opened != 0) return opened;
  while (length > 0) {
    while (s.queued >= bufferCount()) {
      if (sw.stopOnKey && keyPressed()) {
        stopWave();
        return 0;
      }
      delayWithMessages(10);
    }
    if (sw.stopOnKey && keyPressed()) {
      stopWave();
      return 0;
    }
    const std::uint32_t portion = std::min(length, kWaveBufferSize);
    if (sw.compressedPlayback && channels == 1) {
      std::memcpy(s.scratch, data, portion);
      const std::uint32_t m = compressBlock(s.scratch, static_cast<std::uint16_t>(portion), bits, rate);
      queueBlock(s.scratch, m);
    } else {
      queueBlock(data, portion);
    }
    data += portion;
    length -= portion;
  }
  return 0;
}

bool wavePlaying() {
  PlayerState& s = state();
  pumpMessages();
  if ((s.switches.stopOnKey && keyPressed()) || s.queued == 0) stopWave();
  return s.queued != 0;
}

void stopWave() {
  PlayerState& s = state();
  if (!s.deviceOpen) return;
  if (s.queued > 0) platform::resetWaveOut();
  pumpMessages();
  platform::closeWaveOut();
  pumpMessages();
  s.deviceOpen = false;
  // A device that lost blocks (a reset that returned none) would keep the
  // count up for ever; the device is closed, so nothing is queued any more.
  s.queued = 0;
}

}  // namespace tradutor
