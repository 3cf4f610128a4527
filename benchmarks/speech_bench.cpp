// The diphone voice's speed on the corpus: text to phonetic strings, and
// phonetic strings to samples, each beside espeak-ng doing the same work.
#include <benchmark/benchmark.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench_support.h"
#include "diphone/kztradut.h"
#include "diphone/letter_rules.h"
#include "platform/host/host_control.h"

namespace {

void TextToPhonetic(benchmark::State& state) {
  bench::startDefaultVoice();
  const auto& lines = bench::corpusLines();
  for (auto _ : state)
    for (const std::string& line : lines) benchmark::DoNotOptimize(tradutor::textToPhonetic(line));
  state.counters["words/s"] = benchmark::Counter(static_cast<double>(bench::corpusWords() * state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(TextToPhonetic)->Unit(benchmark::kMillisecond);

bool espeakReady() {
  static const bool ready = [] {
    if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, 0) < 0) return false;
    return espeak_SetVoiceByName("pt-br") == EE_OK;
  }();
  return ready;
}

void EspeakTextToPhonemes(benchmark::State& state) {
  if (!espeakReady()) {
    state.SkipWithError("espeak-ng could not start");
    return;
  }
  const auto& lines = bench::corpusLinesUtf8();
  for (auto _ : state) {
    for (const std::string& line : lines) {
      const void* text = line.c_str();
      while (text != nullptr) benchmark::DoNotOptimize(espeak_TextToPhonemes(&text, espeakCHARS_UTF8, 0));
    }
  }
  state.counters["words/s"] = benchmark::Counter(static_cast<double>(bench::corpusWords() * state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(EspeakTextToPhonemes)->Unit(benchmark::kMillisecond);

// Samples made per second, and how many times faster than they play.
void SpeakPhonetic(benchmark::State& state) {
  bench::startDefaultVoice();
  std::vector<std::string> phonetic;
  for (const std::string& line : bench::corpusLines()) phonetic.push_back(tradutor::textToPhonetic(line));
  std::uint64_t samples = 0;
  platform::host::setWaveWriteHook(nullptr);
  for (auto _ : state)
    for (const std::string& p : phonetic) tradutor::speakPhonetic(p, false);
  // The samples of one pass, counted by speaking it once more into the log.
  platform::host::setWaveRecording(true);
  for (const std::string& p : phonetic) tradutor::speakPhonetic(p, false);
  for (const auto& b : platform::host::waveLog().blocks) samples += b.data.size();
  platform::host::setWaveRecording(false);
  state.counters["samples/s"] =
      benchmark::Counter(static_cast<double>(samples * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["x real time"] = benchmark::Counter(static_cast<double>(samples * state.iterations()) / 11025.0,
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(SpeakPhonetic)->Unit(benchmark::kMillisecond);

std::uint64_t g_espeakSamples = 0;
int countSamples(short*, int n, espeak_EVENT*) {
  g_espeakSamples += static_cast<std::uint64_t>(n);
  return 0;
}

void EspeakSynthesis(benchmark::State& state) {
  if (!espeakReady()) {
    state.SkipWithError("espeak-ng could not start");
    return;
  }
  espeak_SetSynthCallback(countSamples);
  const auto& lines = bench::corpusLinesUtf8();
  const std::size_t sample = std::min<std::size_t>(lines.size(), 200);  // espeak-ng is slow: a part of the corpus
  g_espeakSamples = 0;
  for (auto _ : state)
    for (std::size_t i = 0; i < sample; ++i)
      espeak_Synth(lines[i].c_str(), lines[i].size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, nullptr);
  const int rate = 22050;
  state.counters["samples/s"] = benchmark::Counter(static_cast<double>(g_espeakSamples), benchmark::Counter::kIsRate);
  state.counters["x real time"] =
      benchmark::Counter(static_cast<double>(g_espeakSamples) / rate, benchmark::Counter::kIsRate);
}
BENCHMARK(EspeakSynthesis)->Unit(benchmark::kMillisecond);

}  // namespace
