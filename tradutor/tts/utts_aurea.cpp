// uttsAurea: initialisation, the speaking loop with its play buffer, and the
// output file whose header is completed at the end.
#include "tts/utts_aurea.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/waveheader.h"
#include "engines/minireg.h"
#include "platform/files.h"
#include "sound/kzwav.h"
#include "tts/mbrola.h"
#include "tts/utts_inic.h"
#include "tts/utts_pipeline.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

namespace tradutor {
namespace {

constexpr int kReadSamples = 16000;
constexpr std::size_t kPlayBytes = 32000;
constexpr std::size_t kHandOver = 16000;  // bytes: half a second
constexpr std::size_t kShortest = 256;

struct DriverState {
  std::string outputFileName;
  bool writingToFile = false;
  platform::FileHandle outputFile = nullptr;
  double pitchFactor = 1.0;
  double durationFactor = 1.0;
  std::string errorText;
  std::vector<short> readBuffer = std::vector<short>(kReadSamples);
  std::vector<std::uint8_t> playBuffer = std::vector<std::uint8_t>(kWaveHeaderSize + kPlayBytes);
  FrontEndPass frontEnd;
  bool frontEndInUse = false;
};

DriverState& state() {
  static DriverState s;
  return s;
}

std::string orDefault(const std::string& value, const char* fallback) {
  return value.empty() ? fallback : value;
}

void writeHeader(std::uint8_t* out, std::uint32_t dataBytes) { writeWaveHeader(out, dataBytes, 1, 16000, 16); }

// Blank as a trim sees it: spaces and control characters.
bool isBlank(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

// The WAV player's fast and compressed switches, off while the voice plays
// (its samples must go at their true rate and width), restored on the way out.
struct PlainPlayback {
  bool fast, compressed;
  PlainPlayback() : fast(waveSwitches().fastPlayback), compressed(waveSwitches().compressedPlayback) {
    waveSwitches().fastPlayback = false;
    waveSwitches().compressedPlayback = false;
  }
  ~PlainPlayback() {
    waveSwitches().fastPlayback = fast;
    waveSwitches().compressedPlayback = compressed;
  }
};

// The engine closed and its library freed, when one is loaded.
void releaseEngine() {
  if (!mbrolaLoaded()) return;
  mbrolaLibrary().close();
  unloadMbrolaLibrary();
}

void releaseEngineAndData() {
  freeTranscriptionRules();
  freeDiphoneList();
  releaseEngine();
}

}  // namespace

void ttsSetOutputFile(const std::string& fileName) { state().outputFileName = fileName; }

void ttsSetFactors(double durationFactor, double pitchFactor) {
  state().durationFactor = durationFactor;
  state().pitchFactor = pitchFactor;
}

const std::string& ttsErrorText() { return state().errorText; }

int ttsInitialize(const std::string& database, const std::string& rulesFile, const std::string& exceptionsFile,
                  const std::string& diphoneListFile, const std::string& prosodyFile,
                  const std::string& abbreviationsFile) {
  DriverState& s = state();
  // Again: the engine of the first start is closed and freed first, so that
  // one copy of it is loaded, not one for each start.
  releaseEngine();
  if (!loadMbrolaLibrary()) return 0;
  const std::string name = orDefault(database, "br4");
  std::string path = name;
  std::string registered;
  if (readRegistryString(platform::RegistryRoot::localMachine, "SOFTWARE\\TCTS\\Mbrola\\databases\\" + name + "\\",
                         registered))
    path = registered.empty() ? "c:\\tarsis\\aureatts\\br4" : registered;
  const MbrolaLibrary& engine = mbrolaLibrary();
  if (engine.init(path.data()) < 0) {
    unloadMbrolaLibrary();
    return 0;
  }
  engine.setNoError(1);
  freeTranscriptionRules();
  freeDiphoneList();
  // The hub never stops an engine whose start failed: every way out from
  // here on lets go of the engine, its database and the data read so far.
  const auto fail = [&](const char* text) {
    if (text != nullptr) s.errorText = text;
    releaseEngineAndData();
    return 0;
  };
  if (!loadLanguageData(orDefault(rulesFile, "portug.nrl"), orDefault(exceptionsFile, "portug.exc")))
    return fail("Erro na base de dados de portugu\xEAs");
  if (!loadAbbreviations(orDefault(abbreviationsFile, "portug.abr"))) return fail("Erro no arquivo de abreviaturas");
  if (!loadProsodyFile(orDefault(prosodyFile, "portug.pro")) || !loadDiphoneList(orDefault(diphoneListFile, "portug.dfn")))
    return fail("Erro no arquivo de pros\xF3" "dia");
  if (s.outputFile != nullptr) {  // a second initialisation starts a new file
    platform::closeFile(s.outputFile);
    s.outputFile = nullptr;
  }
  s.writingToFile = false;
  if (s.outputFileName.empty()) return 1;
  s.outputFile = platform::createForWriting(s.outputFileName);
  if (s.outputFile == nullptr) return fail(nullptr);
  std::uint8_t header[kWaveHeaderSize];
  writeHeader(header, 0);
  if (!platform::writeFile(s.outputFile, header, sizeof header)) {
    platform::closeFile(s.outputFile);
    s.outputFile = nullptr;
    return fail("Arquivo de sa\xED" "da n\xE3o pode ser criado");
  }
  s.writingToFile = true;
  return 1;
}

bool ttsSynthesize(std::string_view text, const SampleSink& take, SpokenMarks* marks) {
  DriverState& s = state();
  if (marks != nullptr) marks->clear();
  if (isBlank(text)) return true;
  if (!mbrolaLoaded()) return false;
  // The pass keeps its lists from one text to the next; a text spoken from
  // inside `take` (while samples are played) gets a pass of its own.
  FrontEndPass ownPass;
  const bool nested = s.frontEndInUse;
  FrontEndPass& pass = nested ? ownPass : s.frontEnd;
  s.frontEndInUse = true;
  struct Release {
    bool& inUse;
    bool nested;
    ~Release() { if (!nested) inUse = false; }
  } release{s.frontEndInUse, nested};
  const TextList& lines = pass.run(text, s.durationFactor, s.pitchFactor, marks);
  const MbrolaLibrary& engine = mbrolaLibrary();
  bool result = true;
  engine.reset();
  std::string line;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const bool last = i + 1 == lines.size();
    if (lines[i].empty() && !last) continue;
    line.assign(lines[i]).append("\r\n");
    engine.write(line.data());
    if (engine.lastError() != 0) {
      engine.reset();
      result = false;
    }
    if (last) engine.flush();
    // A read that fails (a negative count: the engine's way of reporting a
    // fault inside it, named or not) ends the samples and fails the text.
    for (int got;;) {
      got = engine.read(s.readBuffer.data(), kReadSamples);
      if (got < 0) {
        engine.reset();
        result = false;
      }
      if (got <= 0) break;
      // An engine that claims more than the buffer holds is not trusted past it.
      if (got > kReadSamples) got = kReadSamples;
      if (!take(s.readBuffer.data(), static_cast<std::size_t>(got))) {
        engine.reset();
        return false;
      }
    }
  }
  return result;
}

bool ttsSpeak(std::string_view text) {
  DriverState& s = state();
  PlainPlayback plain;
  std::size_t filled = 0;
  bool written = true;
  std::uint8_t* const data = s.playBuffer.data() + kWaveHeaderSize;
  const bool result = ttsSynthesize(text, [&](const short* samples, std::size_t count) {
    const std::size_t n = count * 2;
    if (s.writingToFile) {
      if (!platform::writeFile(s.outputFile, samples, n)) written = false;
      return true;
    }
    if (filled + n >= kHandOver) {
      writeHeader(s.playBuffer.data(), static_cast<std::uint32_t>(filled));
      playWaveImage(s.playBuffer.data(), kWaveHeaderSize + filled);
      filled = 0;
    }
    std::memcpy(data + filled, samples, n);
    filled += n;
    return true;
  });
  if (!s.writingToFile && filled > 0) {
    if (filled < kShortest) {
      std::memset(data + filled, 0, kShortest - filled);
      filled = kShortest;
    }
    writeHeader(s.playBuffer.data(), static_cast<std::uint32_t>(filled));
    playWaveImage(s.playBuffer.data(), kWaveHeaderSize + filled);
  }
  return result && written;
}

void ttsStop() {
  if (!state().writingToFile) stopWave();
}

bool ttsIsSpeaking() { return !state().writingToFile && wavePlaying(); }

void ttsTerminate() {
  DriverState& s = state();
  if (s.writingToFile) {
    platform::closeFile(s.outputFile);
    s.outputFile = nullptr;
    if (platform::FileHandle f = platform::openForUpdate(s.outputFileName)) {
      const std::uint64_t size = platform::fileSize(f);
      std::uint8_t header[kWaveHeaderSize];
      writeHeader(header, static_cast<std::uint32_t>(size >= kWaveHeaderSize ? size - kWaveHeaderSize : 0));
      platform::seekFile(f, 0);
      platform::writeFile(f, header, sizeof header);
      platform::closeFile(f);
    }
    s.writingToFile = false;
  }
  releaseEngineAndData();
}

void resetVoiceDriver() {
  DriverState& s = state();
  if (s.outputFile != nullptr) platform::closeFile(s.outputFile);
  unloadMbrolaLibrary();
  s = DriverState{};
}

}  // namespace tradutor
