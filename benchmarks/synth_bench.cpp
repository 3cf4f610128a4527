// The synthetic voice's engine: the corpus's phoneme lines (from the front
// end, made before timing) to samples, fed as the voice driver feeds them,
// over 1k, 10k and 100k words; beside espeak-ng's full synthesis of the
// corpus (EspeakSynthesis, speech_bench.cpp). Also how smooth the joins are.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "allocation_count.h"
#include "bench_support.h"
#include "database.h"
#include "mbrola.h"
#include "engines/mbrola_voice.h"
#include "platform/host/host_control.h"
#include "psola_static.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "tts/utts_aurea.h"
#include "band_levels.h"

namespace {

const std::string kDatabase = std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/br4";

double residentMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
  return 0;
}

// Phoneme lines for about `words` words of the corpus, with CR LF.
std::vector<std::string> corpusPhonemeLines(std::size_t words) {
  platform::host::reset();
  std::vector<std::string> out;
  if (!bench::loadFrontEnd()) return out;
  for (const std::string& text : bench::linesOfWords(words))
    for (const std::string& line : bench::phonemeLines(text)) out.push_back(line + "\r\n");
  return out;
}

void EngineSynthesis(benchmark::State& state) {
  std::vector<std::string> lines = corpusPhonemeLines(static_cast<std::size_t>(state.range(0)));
  const double before = residentMegabytes();
  std::string db = kDatabase;
  if (lines.empty() || init_MBR(db.data()) < 0) {
    state.SkipWithError("the voice's data or database did not load");
    return;
  }
  const double loaded = residentMegabytes();
  setNoError_MBR(1);
  std::vector<short> buffer(16000);
  std::uint64_t samples = 0, reads = 0, readAllocations = 0;
  for (auto _ : state) {
    reset_MBR();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      write_MBR(lines[i].data());
      if (i + 1 == lines.size()) flush_MBR();
      for (;;) {
        const std::uint64_t allocated = bench::allocations();
        const int n = read_MBR(buffer.data(), 16000);
        readAllocations += bench::allocations() - allocated;
        ++reads;
        if (n <= 0) break;
        samples += static_cast<std::uint64_t>(n);
      }
    }
  }
  state.counters["x real time"] = benchmark::Counter(static_cast<double>(samples) / 16000, benchmark::Counter::kIsRate);
  state.counters["allocs/read"] = static_cast<double>(readAllocations) / static_cast<double>(reads);
  state.counters["database MB"] = loaded - before;
  state.counters["resident MB"] = residentMegabytes();
  close_MBR();
}
BENCHMARK(EngineSynthesis)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The mean spectral distance (dB) between the frames 10 ms either side of
// each join (a phoneme's centre, where its two diphones meet), against the
// same between frames inside the phonemes' halves, away from any join.
void JoinSmoothness(benchmark::State& state) {
  const std::vector<std::string> lines = corpusPhonemeLines(2000);
  psola::Database db;
  std::string why, path = kDatabase;
  if (lines.empty() || psola::loadDatabase(kDatabase, db, why) != psola::LoadResult::ok || init_MBR(path.data()) < 0) {
    state.SkipWithError("the voice's data or database did not load");
    return;
  }
  struct Phone {
    int phoneme;
    double start, length;
  };
  std::vector<Phone> phones;
  double time = 0;
  for (const std::string& line : lines) {
    char name[64];
    double ms;
    if (line[0] == ';' || std::sscanf(line.c_str(), "%63s %lf", name, &ms) != 2) continue;
    phones.push_back({db.findPhoneme(name, std::strlen(name)), time, ms * 16});
    time += ms * 16;
  }
  std::vector<float> signal;
  for (auto _ : state) {
    reset_MBR();
    std::vector<short> buffer(16000);
    signal.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      std::string line = lines[i];
      write_MBR(line.data());
      if (i + 1 == lines.size()) flush_MBR();
      for (int n; (n = read_MBR(buffer.data(), 16000)) > 0;) signal.insert(signal.end(), buffer.begin(), buffer.begin() + n);
    }
  }
  const int silence = db.findPhoneme("_", 1);
  double joins = 0, inside = 0;
  int joinCount = 0, insideCount = 0;
  auto distance = [&](double at) {
    const long n = static_cast<long>(signal.size());
    const auto a = voicedb::bandSpectrum(signal.data(), n, static_cast<long>(at) - 80, 256, 16000);
    const auto b = voicedb::bandSpectrum(signal.data(), n, static_cast<long>(at) + 80, 256, 16000);
    return voicedb::spectralDistance(a, b);
  };
  for (std::size_t i = 1; i + 1 < phones.size(); ++i) {
    const Phone& p = phones[i];
    if (p.phoneme == silence || p.phoneme < 0 || p.length < 60 * 16) continue;
    const psola::Diphone* first = db.find(phones[i - 1].phoneme, p.phoneme);
    const psola::Diphone* second = db.find(p.phoneme, phones[i + 1].phoneme);
    if (first == nullptr || second == nullptr) continue;
    const double l1 = first->cutEnd - first->boundary, l2 = second->boundary - second->cutStart;
    const double join = p.start + p.length * l1 / (l1 + l2);
    joins += distance(join);
    ++joinCount;
    for (double at : {p.start + (join - p.start) / 2, join + (p.start + p.length - join) / 2})
      if (at - p.start > 160 && p.start + p.length - at > 160) inside += distance(at), ++insideCount;
  }
  state.counters["join dB"] = joinCount ? joins / joinCount : 0;
  state.counters["inside dB"] = insideCount ? inside / insideCount : 0;
  state.counters["joins"] = joinCount;
  close_MBR();
}
BENCHMARK(JoinSmoothness)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// The whole synthetic voice as falamci runs it: text through the front end,
// the engine (where mbrola.dll would be) and the WAV player's device.
bool startSyntheticVoice() {
  platform::host::reset();
  tradutor::resetConsoleUnit();
  tradutor::resetWavePlayer();
  tradutor::resetVoiceDriver();
  platform::host::installLibrary("mbrola.dll", [](const char* name) { return psola_export(name); });
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  tradutor::openConsoleWindow();
  const std::string stem = std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/portug";
  if (tradutor::ttsInitialize(kDatabase, stem + ".nrl", stem + ".exc", stem + ".dfn", stem + ".pro", stem + ".abr") == 0)
    return false;
  tradutor::ttsSetFactors(tradutor::mbrolaDurationFactor(0), tradutor::mbrolaPitchFactor(0));
  return true;
}

void TextToSpeech(benchmark::State& state) {
  if (!startSyntheticVoice()) {
    state.SkipWithError("the synthetic voice did not start");
    return;
  }
  const std::vector<std::string> lines = bench::linesOfWords(static_cast<std::size_t>(state.range(0)));
  std::uint64_t samples = 0;
  // Each block is counted and let go as it is written.
  platform::host::setWaveWriteHook([&samples] {
    auto& blocks = platform::host::waveLog().blocks;
    for (const auto& b : blocks) samples += b.data.size() / 2;
    blocks.clear();
  });
  for (auto _ : state)
    for (const std::string& text : lines) tradutor::ttsSpeak(text);
  platform::host::setWaveWriteHook(nullptr);
  state.counters["x real time"] = benchmark::Counter(static_cast<double>(samples) / 16000, benchmark::Counter::kIsRate);
  tradutor::ttsTerminate();
}
BENCHMARK(TextToSpeech)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// From ttsSpeak of the prompt to its first block on the device.
void PromptToFirstBuffer(benchmark::State& state) {
  if (!startSyntheticVoice()) {
    state.SkipWithError("the synthetic voice did not start");
    return;
  }
  std::chrono::steady_clock::time_point first;
  bool seen = false;
  platform::host::setWaveWriteHook([&] {
    if (!seen) first = std::chrono::steady_clock::now(), seen = true;
    platform::host::waveLog().blocks.clear();
  });
  double total = 0;
  for (auto _ : state) {
    seen = false;
    const auto start = std::chrono::steady_clock::now();
    tradutor::ttsSpeak("Entre comando MCI");
    if (!seen) {
      state.SkipWithError("nothing was played");
      break;
    }
    total += std::chrono::duration<double, std::milli>(first - start).count();
    tradutor::stopWave();
  }
  platform::host::setWaveWriteHook(nullptr);
  state.counters["ms to first buffer"] = total / static_cast<double>(state.iterations());
  tradutor::ttsTerminate();
}
BENCHMARK(PromptToFirstBuffer)->Unit(benchmark::kMillisecond);

}  // namespace
