// The Portuguese front end's speed: text to MBROLA phoneme lines, over 1k,
// 10k and 100k words made from the corpus, beside espeak-ng's text to
// phonemes on the same text (speech_bench.cpp).
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/host/host_control.h"
#include "tts/utts_inic.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

namespace {

bool loadFrontEnd() {
  const std::string dir = std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/portug";
  return tradutor::loadAbbreviations(dir + ".abr") && tradutor::loadProsodyFile(dir + ".pro") &&
         tradutor::loadLanguageData(dir + ".nrl", dir + ".exc") && tradutor::loadDiphoneList(dir + ".dfn");
}

// The corpus's lines repeated or cut to about `words` words.
std::vector<std::string> linesOfWords(std::size_t words) {
  std::vector<std::string> out;
  std::size_t count = 0;
  const auto& lines = bench::corpusLines();
  for (std::size_t i = 0; count < words; i = (i + 1) % lines.size()) {
    std::istringstream s(lines[i]);
    std::size_t n = 0;
    for (std::string w; s >> w;) ++n;
    out.push_back(lines[i]);
    count += n;
  }
  return out;
}

void TextToPhonemeLines(benchmark::State& state) {
  platform::host::reset();
  if (!loadFrontEnd()) {
    state.SkipWithError("the front end's data did not load");
    return;
  }
  const std::vector<std::string> lines = linesOfWords(static_cast<std::size_t>(state.range(0)));
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
