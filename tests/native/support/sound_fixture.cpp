#include "support/sound_fixture.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "common/waveheader.h"
#include "diphone/kztradut.h"
#include "engines/kzsapi.h"
#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace testing_support {

namespace host = platform::host;

std::vector<std::uint8_t> filled(std::uint8_t value, std::size_t count) {
  return std::vector<std::uint8_t>(count, value);
}

std::string waveFile(const std::vector<std::uint8_t>& samples, std::uint32_t rate, std::uint16_t channels,
                     std::uint16_t bits) {
  std::uint8_t header[44];
  tradutor::writeWaveHeader(header, static_cast<std::uint32_t>(samples.size()), channels, rate, bits);
  return std::string(reinterpret_cast<const char*>(header), 44) + std::string(samples.begin(), samples.end());
}

Runs runsOf(const std::vector<std::uint8_t>& samples) {
  Runs runs;
  for (const std::uint8_t s : samples) {
    if (!runs.empty() && runs.back().first == s) ++runs.back().second;
    else runs.emplace_back(s, 1);
  }
  return runs;
}

void SoundTest::SetUp() {
  ConsoleTest::SetUp();
  tradutor::resetWavePlayer();
  tradutor::resetSpeechHub();
  tradutor::resetDiphoneSynth();
  tradutor::resetEngineDispatcher();
}

void SoundTest::writeVoiceIni(const std::string& extra) {
  writeIni(std::string("[TRADUTOR]\nDIRLETRAS=") + kLetters + "\nDIRDIFONES=" + kDiphones +
           "\n[SINTETIZADOR]\nDIFONES3=TESTE\nCORTEFON3=400\nSOBRAFON3=0\nINTERPAL3=100\n" + extra);
}

void SoundTest::writeRecording(const std::string& name, const std::vector<std::uint8_t>& samples) {
  host::writeFile(std::string(kLetters) + name + ".wav", waveFile(samples));
}

void SoundTest::writeDiphones(const std::map<std::string, std::vector<std::uint8_t>>& segments,
                              const std::string& baseName) {
  std::string index;
  std::string data;
  for (const auto& [name, samples] : segments) {  // std::map keeps them sorted by name
    std::string record(15, '\0');
    record[0] = static_cast<char>(name.size());
    std::copy(name.begin(), name.end(), record.begin() + 1);
    record[9] = static_cast<char>(samples.size() & 0xFF);
    record[10] = static_cast<char>(samples.size() >> 8);
    const std::uint32_t offset = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i) record[11 + i] = static_cast<char>(offset >> (8 * i));
    index += record;
    data.append(samples.begin(), samples.end());
  }
  host::writeFile(std::string(kDiphones) + baseName + ".IND", index);
  host::writeFile(std::string(kDiphones) + baseName + ".DIF", data);
}

void SoundTest::writeRules(const std::string& rules, const std::string& exceptions) {
  host::writeFile(std::string(kDiphones) + "regras.rgr", rules);
  host::writeFile(std::string(kDiphones) + "portug.exc", exceptions);
}

void SoundTest::installVoice(const std::string& extraIni) {
  writeVoiceIni(extraIni);
  writeDiphones({{"$A", filled(10, 500)}});
  writeRules("(A)=a\n");
  writeRecording("_1", filled(11, 100));  // the letters directory must exist
}

void SoundTest::startHub(const std::string& extraIni) {
  installVoice(extraIni);
  tradutor::initConsoleUnit();
  tradutor::initWavePlayer();
  tradutor::initSpeechHub();
  tradutor::openConsoleWindow();
  tradutor::startSpeech(3, "");
  host::clearOpenedFiles();
}

std::vector<std::string> SoundTest::recordingsOpened() {
  std::vector<std::string> names;
  for (const std::string& path : host::openedFiles()) {
    std::string extension = path.size() >= 4 ? path.substr(path.size() - 4) : "";
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".wav") continue;
    const std::size_t slash = path.find_last_of('\\');
    names.push_back(path.substr(slash + 1, path.size() - slash - 5));
  }
  host::clearOpenedFiles();
  return names;
}

std::vector<std::uint8_t> SoundTest::played() { return host::playedSamples(); }

namespace {
int countBlocks(bool beep) {
  static const std::uint8_t kBeep[8] = {128, 112, 96, 80, 64, 80, 96, 112};
  std::vector<std::uint8_t> click(tradutor::clickSamples(), tradutor::clickSamples() + 256);
  click[255] = 128;
  int n = 0;
  const auto& blocks = host::waveLog().blocks;
  for (const auto& block : blocks) {
    const std::vector<std::uint8_t>& d = block.data;
    if (beep && d.size() == 512 && std::equal(d.begin(), d.begin() + 8, kBeep)) ++n;
    if (!beep && d == click) ++n;
  }
  return n;
}
}  // namespace

int SoundTest::beeps() { return countBlocks(true); }
int SoundTest::clicks() { return countBlocks(false); }

void SoundTest::feedWhenIdle(std::vector<std::function<void()>> actions) {
  auto next = std::make_shared<std::size_t>(0);
  auto list = std::make_shared<std::vector<std::function<void()>>>(std::move(actions));
  host::setIdleHook([next, list] {
    if (*next < list->size() && tradutor::waitingForKey()) (*list)[(*next)++]();
  });
}

}  // namespace testing_support
