// Host platform: a wave-out device that records every block and reports it
// finished when its playing time has passed on the virtual clock.
#include "platform/waveout.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <functional>

#include "common/waveheader.h"
#include "platform/host/host_internal.h"

namespace platform {
namespace {

// Headers are identified by a value that is never 0 (0 means no header).
constexpr std::uintptr_t kHeaderBase = 0x5000;

struct Buffer {
  std::vector<std::uint8_t> data;
  std::uint32_t length = 0;
  bool prepared = false;
  bool queued = false;
  int completion = 0;  // scheduled event reporting it done
};

struct WaveState {
  std::vector<Buffer> buffers;
  bool open = false;
  WaveFormat format = {};
  std::uint64_t playingUntil = 0;
  host::WaveLog log;
  int failingOpens = 0;
  int openFailure = 0;
  bool present = true;
  bool hold = false;
  std::deque<int> held;  // written while held, in order
  int failingPrepares = 0;
  int prepareFailure = 0;
  std::deque<int> unprepareResults;
  bool recording = true;
  std::function<void()> writeHook;
};

WaveState& state() {
  static WaveState s;
  return s;
}

Buffer* buffer(int number) {
  WaveState& s = state();
  if (number < 1 || number > static_cast<int>(s.buffers.size())) return nullptr;
  return &s.buffers[static_cast<std::size_t>(number - 1)];
}

std::uint64_t playingTimeMs(std::uint32_t length, const WaveFormat& f) {
  const std::uint64_t bytesPerSecond =
      std::max<std::uint64_t>(1, std::uint64_t{f.samplesPerSecond} * f.channels * std::max(1, f.bitsPerSample / 8));
  return std::max<std::uint64_t>(1, std::uint64_t{length} * 1000 / bytesPerSecond);
}

void scheduleDone(int number) {
  WaveState& s = state();
  Buffer* b = buffer(number);
  const std::uint64_t now = host::elapsedMs();
  s.playingUntil = std::max(s.playingUntil, now) + playingTimeMs(b->length, s.format);
  b->completion = host::scheduleAfter(s.playingUntil - now, [number] {
    if (Buffer* done = buffer(number)) {
      done->queued = false;
      done->completion = 0;
    }
    host::internal::postWaveDone(1, kHeaderBase + static_cast<std::uintptr_t>(number));
  });
}

}  // namespace

bool allocateWaveBuffers(int count, std::size_t size) {
  WaveState& s = state();
  s.buffers.assign(static_cast<std::size_t>(std::max(count, 0)), Buffer{});
  for (Buffer& b : s.buffers) b.data.assign(size, 0);
  return true;
}

void freeWaveBuffers() { state().buffers.clear(); }

std::uint8_t* waveBufferData(int number) {
  Buffer* b = buffer(number);
  return b ? b->data.data() : nullptr;
}

int openWaveOut(const WaveFormat& format) {
  WaveState& s = state();
  ++s.log.openAttempts;
  if (!s.present) return kWaveBadDevice;
  if (s.failingOpens > 0) {
    --s.failingOpens;
    return s.openFailure;
  }
  s.open = true;
  s.format = format;
  s.playingUntil = host::elapsedMs();
  s.log.opens.push_back(format);
  return 0;
}

int prepareWaveBuffer(int number, std::uint32_t length) {
  WaveState& s = state();
  Buffer* b = buffer(number);
  if (b == nullptr || length > b->data.size()) return kWaveInvalidHandle;
  if (s.failingPrepares > 0) {
    --s.failingPrepares;
    return s.prepareFailure;
  }
  b->length = length;
  b->prepared = true;
  return 0;
}

int writeWaveBuffer(int number) {
  WaveState& s = state();
  Buffer* b = buffer(number);
  if (!s.open || b == nullptr || !b->prepared) return kWaveInvalidHandle;
  b->queued = true;
  if (s.recording)
    s.log.blocks.push_back({s.format, std::vector<std::uint8_t>(b->data.begin(), b->data.begin() + b->length),
                            host::elapsedMs()});
  if (s.writeHook) s.writeHook();
  if (s.hold) s.held.push_back(number);
  else scheduleDone(number);
  return 0;
}

int waveHeaderNumber(std::uintptr_t header) {
  if (header <= kHeaderBase) return 0;
  const int number = static_cast<int>(header - kHeaderBase);
  return buffer(number) ? number : 0;
}

int unprepareWaveHeader(std::uintptr_t header) {
  WaveState& s = state();
  Buffer* b = buffer(waveHeaderNumber(header));
  if (b == nullptr) return kWaveInvalidHandle;
  if (!s.unprepareResults.empty()) {
    const int result = s.unprepareResults.front();
    s.unprepareResults.pop_front();
    if (result != 0) return result;
  }
  if (b->queued) return kWaveStillPlaying;
  b->prepared = false;
  return 0;
}

void resetWaveOut() {
  WaveState& s = state();
  ++s.log.resets;
  s.held.clear();
  for (int number = 1; number <= static_cast<int>(s.buffers.size()); ++number) {
    Buffer* b = buffer(number);
    if (!b->queued) continue;
    if (b->completion != 0) host::internal::cancelScheduled(b->completion);
    b->completion = 0;
    b->queued = false;
    host::internal::postWaveDone(1, kHeaderBase + static_cast<std::uintptr_t>(number));
  }
  s.playingUntil = host::elapsedMs();
}

void closeWaveOut() {
  WaveState& s = state();
  if (!s.open) return;
  s.open = false;
  ++s.log.closes;
}

namespace host {

WaveLog& waveLog() { return state().log; }

std::vector<std::uint8_t> playedSamples() {
  std::vector<std::uint8_t> all;
  for (const WaveBlock& b : state().log.blocks) all.insert(all.end(), b.data.begin(), b.data.end());
  return all;
}

void failWaveOpens(int count, int code) {
  state().failingOpens = count;
  state().openFailure = code;
}

void setWaveRecording(bool keep) { state().recording = keep; }
void setWaveWriteHook(std::function<void()> hook) { state().writeHook = std::move(hook); }

void setWaveDevicePresent(bool present) { state().present = present; }

void holdWaveBlocks(bool hold) {
  WaveState& s = state();
  s.hold = hold;
  if (hold) return;
  while (!s.held.empty()) {
    scheduleDone(s.held.front());
    s.held.pop_front();
  }
}

void failWavePrepares(int count, int code) {
  state().failingPrepares = count;
  state().prepareFailure = code;
}

void queueUnprepareResults(std::vector<int> results) {
  state().unprepareResults.assign(results.begin(), results.end());
}

bool writePlayedWave(const std::string& hostFile) {
  const std::vector<std::uint8_t> samples = playedSamples();
  const std::uint32_t rate = state().log.blocks.empty() ? 11025 : state().log.blocks[0].format.samplesPerSecond;
  std::uint8_t header[tradutor::kWaveHeaderSize];
  tradutor::writeWaveHeader(header, static_cast<std::uint32_t>(samples.size()), 1, rate, 8);
  std::ofstream out(hostFile, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  out.write(reinterpret_cast<const char*>(samples.data()), static_cast<std::streamsize>(samples.size()));
  return static_cast<bool>(out);
}

namespace internal {
void resetWaveOut() { state() = WaveState{}; }
}  // namespace internal

}  // namespace host
}  // namespace platform
