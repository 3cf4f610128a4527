#include "bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cp1252.h"
#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"
#include "tts/utts_inic.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"

namespace bench {
namespace {

// The corpus in the system's code page; a character Windows-1252 lacks
// (rare in Portuguese prose) ends that line's conversion.
std::string toCp1252(const std::string& utf8) { return tool::utf8ToCp1252(utf8).text; }

}  // namespace

const std::vector<std::string>& corpusLinesUtf8() {
  static const std::vector<std::string> lines = [] {
    const char* path = std::getenv("FALAMCI_CORPUS");
    std::vector<std::string> v;
    std::ifstream in(path ? path : "");
    if (!in) {
      std::fprintf(stderr, "benchmarks: set FALAMCI_CORPUS to the benchmark text\n");
      std::exit(2);
    }
    for (std::string line; std::getline(in, line);)
      if (!line.empty()) v.push_back(line);
    return v;
  }();
  return lines;
}

const std::vector<std::string>& corpusLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> v;
    for (const std::string& l : corpusLinesUtf8()) v.push_back(toCp1252(l));
    return v;
  }();
  return lines;
}

std::size_t corpusWords() {
  static const std::size_t n = [] {
    std::size_t words = 0;
    for (const std::string& l : corpusLinesUtf8()) {
      std::istringstream s(l);
      for (std::string w; s >> w;) ++words;
    }
    return words;
  }();
  return n;
}

std::vector<std::string> linesOfWords(std::size_t words) {
  std::vector<std::string> out;
  std::size_t count = 0;
  const auto& lines = corpusLines();
  for (std::size_t i = 0; count < words; i = (i + 1) % lines.size()) {
    std::istringstream s(lines[i]);
    std::size_t n = 0;
    for (std::string w; s >> w;) ++n;
    out.push_back(lines[i]);
    count += n;
  }
  return out;
}

bool loadFrontEnd() {
  const std::string dir = std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/portug";
  return tradutor::loadAbbreviations(dir + ".abr") && tradutor::loadProsodyFile(dir + ".pro") &&
         tradutor::loadLanguageData(dir + ".nrl", dir + ".exc") && tradutor::loadDiphoneList(dir + ".dfn");
}

std::vector<std::string> phonemeLines(const std::string& cp1252) {
  const auto codes = tradutor::assignIntonationCodes(tradutor::splitIntoWords(tradutor::normalizeText(cp1252)));
  const auto lines = tradutor::makePhonemeLines(tradutor::transcribeWords(codes), 1.0, 1.0);
  return {lines.begin(), lines.end()};
}

void startDefaultVoice() {
  namespace host = platform::host;
  const std::string drive = std::string(VOICE_DIR) + "/drive_c";
  host::reset();
  tradutor::resetConsoleUnit();
  tradutor::resetWavePlayer();
  tradutor::resetSpeechHub();
  host::mapDrive('C', drive);
  host::setWindowsDirectory("C:\\windows");
  host::setCurrentDirectory("C:\\tarsis");
  host::setWaveRecording(false);
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  tradutor::initSpeechHub();
  tradutor::openConsoleWindow();
  tradutor::startSpeech(3, "");
}

}  // namespace bench
