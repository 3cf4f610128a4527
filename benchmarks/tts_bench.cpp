// The Portuguese front end's speed: text to MBROLA phoneme lines, over 1k,
// 10k and 100k words made from the corpus, beside espeak-ng's text to
// phonemes on the same text (speech_bench.cpp).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/host/host_control.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

namespace {

void TextToPhonemeLines(benchmark::State& state) {
  platform::host::reset();
  if (!bench::loadFrontEnd()) {
    state.SkipWithError("the front end's data did not load");
    return;
  }
  const std::vector<std::string> lines = bench::linesOfWords(static_cast<std::size_t>(state.range(0)));
  std::size_t lineCount = 0;
  for (auto _ : state) {
    for (const std::string& text : lines) {
      const auto codes = tradutor::assignIntonationCodes(tradutor::splitIntoWords(tradutor::normalizeText(text)));
      const auto pho = tradutor::makePhonemeLines(tradutor::transcribeWords(codes), 1.0, 1.0);
      lineCount += pho.size();
      benchmark::DoNotOptimize(pho.data());
    }
  }
  state.counters["words/s"] =
      benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["lines/word"] =
      static_cast<double>(lineCount) / (static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()));
}
BENCHMARK(TextToPhonemeLines)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
