// From a fresh start to the first block of the spoken prompt on the device:
// how long a user waits before the program speaks.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench_support.h"
#include "hub/kzwin.h"
#include "platform/host/host_control.h"

namespace {

void StartToFirstPromptBlock(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    Clock::time_point firstBlock{};
    bench::startDefaultVoice();
    platform::host::setWaveWriteHook([&firstBlock] {
      if (firstBlock == Clock::time_point{}) firstBlock = Clock::now();
    });
    tradutor::writeLineAndSpeak("Entre comando MCI");
    platform::host::setWaveWriteHook(nullptr);
    state.SetIterationTime(std::chrono::duration<double>(firstBlock - start).count());
  }
}
BENCHMARK(StartToFirstPromptBlock)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
