// The Portuguese front end's speed: text to MBROLA phoneme lines, over 1k,
// 10k and 100k words made from the corpus, beside espeak-ng's text to
// phonemes on the same text (speech_bench.cpp). TextToPhonemeLines is the
// one pass the voice driver runs; ...ByStages calls the stage functions one
// by one with their lists of strings, as the tradutor tool does.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/host/host_control.h"
#include "tts/utts_pipeline.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

namespace {

// `convert` takes each line of the text; `newPass` is called before each pass over it.
template <typename Convert, typename NewPass = void (*)()>
void runFrontEnd(benchmark::State& state, Convert convert, NewPass newPass = [] {}) {
  platform::host::reset();
  if (!bench::loadFrontEnd()) {
    state.SkipWithError("the front end's data did not load");
    return;
  }
  const std::vector<std::string> lines = bench::linesOfWords(static_cast<std::size_t>(state.range(0)));
  std::size_t lineCount = 0;
  for (auto _ : state) {
    newPass();
    for (const std::string& text : lines) lineCount += convert(text);
  }
  state.counters["words/s"] =
      benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
  state.counters["lines/word"] =
      static_cast<double>(lineCount) / (static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()));
}

void TextToPhonemeLines(benchmark::State& state) {
  tradutor::FrontEndPass pass;
  runFrontEnd(state, [&pass](const std::string& text) {
    const tradutor::TextList& lines = pass.run(text, 1.0, 1.0);
    benchmark::DoNotOptimize(&lines);
    return lines.size();
  });
}
BENCHMARK(TextToPhonemeLines)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same with the store of transcribed words emptied before each pass:
// every word of the text is worked out from the rules once per pass.
void TextToPhonemeLinesForgettingWords(benchmark::State& state) {
  tradutor::FrontEndPass pass;
  runFrontEnd(
      state,
      [&pass](const std::string& text) {
        const tradutor::TextList& lines = pass.run(text, 1.0, 1.0);
        benchmark::DoNotOptimize(&lines);
        return lines.size();
      },
      [] { tradutor::forgetTranscribedWords(); });
}
BENCHMARK(TextToPhonemeLinesForgettingWords)->Arg(10000)->Unit(benchmark::kMillisecond);

void TextToPhonemeLinesByStages(benchmark::State& state) {
  runFrontEnd(state, [](const std::string& text) {
    const auto codes = tradutor::assignIntonationCodes(tradutor::splitIntoWords(tradutor::normalizeText(text)));
    const auto pho = tradutor::makePhonemeLines(tradutor::transcribeWords(codes), 1.0, 1.0);
    benchmark::DoNotOptimize(pho.data());
    return pho.size();
  });
}
BENCHMARK(TextToPhonemeLinesByStages)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
