// The WAV player's own work: compressing speech, and reading a file and
// queuing its blocks (on the host device, which only records them).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench_support.h"
#include "common/waveheader.h"
#include "platform/host/host_control.h"
#include "sound/kzwav.h"

namespace {

std::vector<std::uint8_t> voicedSpeech(std::size_t n) {
  // A voiced sound: a 120 Hz pulse train through a decaying resonance, as speech has.
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i % 92) / 11025.0;
    v[i] = static_cast<std::uint8_t>(128 + 100 * std::exp(-t * 300) * std::sin(2 * 3.14159 * 700 * t));
  }
  return v;
}

void CompressBlock8Bit(benchmark::State& state) {
  const std::vector<std::uint8_t> speech = voicedSpeech(65534);
  std::vector<std::uint8_t> work;
  for (auto _ : state) {
    work = speech;
    benchmark::DoNotOptimize(tradutor::compressBlock(work.data(), 65534, 8, 11025));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 65534);
}
BENCHMARK(CompressBlock8Bit);

void CompressBlock16Bit(benchmark::State& state) {
  std::vector<std::uint8_t> speech(65534);
  const std::vector<std::uint8_t> eight = voicedSpeech(32767);
  for (std::size_t i = 0; i < eight.size(); ++i) speech[2 * i + 1] = static_cast<std::uint8_t>(eight[i] ^ 128);
  std::vector<std::uint8_t> work;
  for (auto _ : state) {
    work = speech;
    benchmark::DoNotOptimize(tradutor::compressBlock(work.data(), 65534, 16, 22050));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 65534);
}
BENCHMARK(CompressBlock16Bit);

void ParseAndQueueWaveFile(benchmark::State& state) {
  bench::startDefaultVoice();
  const std::vector<std::uint8_t> speech = voicedSpeech(11025 * 5);  // five seconds
  std::string file(44, '\0');
  tradutor::writeWaveHeader(reinterpret_cast<std::uint8_t*>(file.data()), static_cast<std::uint32_t>(speech.size()), 1,
                            11025, 8);
  file.append(speech.begin(), speech.end());
  platform::host::writeFile("C:\\tarsis\\bench.wav", file);
  for (auto _ : state) benchmark::DoNotOptimize(tradutor::playWaveFile("C:\\tarsis\\bench.wav"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * speech.size()));
}
BENCHMARK(ParseAndQueueWaveFile)->Unit(benchmark::kMicrosecond);

}  // namespace
