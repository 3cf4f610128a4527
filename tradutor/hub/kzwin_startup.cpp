// The speech hub's start-up, its per-speed settings and its shut-down.
#include <string>

#include "common/inivalue.h"
#include "common/oralis_ini.h"
#include "common/random.h"
#include "diphone/kztradut.h"
#include "engines/kzsapi.h"
#include "hub/kzwin.h"
#include "hub/kzwin_state.h"
#include "platform/clock.h"
#include "platform/com.h"
#include "platform/files.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace tradutor {
namespace hub {

HubState& state() {
  static HubState s;
  return s;
}

}  // namespace hub

using hub::state;

namespace {

std::string withBackslash(std::string dir) {
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir;
}

std::string perSpeed(const char* key, int speed) {
  const std::string suffix = std::to_string(speed).substr(0, 2);
  return readConfig("SINTETIZADOR", std::string(key) + suffix);
}

}  // namespace

void initSpeechHub() {
  hub::HubState& s = state();
  if (s.initialised) return;
  s.initialised = true;
  platform::initializeCom();
  s.settings.echoTyping = true;
  s.speechPending = true;
  seedRandom(platform::tickMs() | 1u);
  for (int i = 0; i < 256; ++i) s.click[44 + i] = i < 64 ? static_cast<std::uint8_t>(128 + randomBelow(60)) : 128;
  s.startDirectory = startingDirectory();
  s.settings.engineType = 4;
}

void resetSpeechHub() { state() = hub::HubState{}; }

void setDiphoneTuning(int cut, int keep, int wordPause, bool compressSpeech, bool fastSpeech) {
  setDiphoneTiming(cut, keep, wordPause);
  waveSwitches().compressedPlayback = compressSpeech;
  waveSwitches().fastPlayback = fastSpeech;
}

void applySpeechSettings(int speed) {
  HubSettings& h = state().settings;
  setDiphoneBaseName(perSpeed("DIFONES", speed).substr(0, 8));
  const int cut = partialNumber(perSpeed("CORTEFON", speed));
  const int keep = numberOr(perSpeed("SOBRAFON", speed), 0);
  const int wordPause = numberOr(perSpeed("INTERPAL", speed), 0);
  const bool compress = isYes(perSpeed("CORTAFALA", speed));
  const bool fast = isYes(perSpeed("RAPIDINHO", speed));
  setDiphoneTuning(cut, keep, wordPause, compress, fast);
  h.periodPause = numberOr(perSpeed("PAUSAPONTO", speed), 250);
  h.commaPause = numberOr(perSpeed("PAUSAVIRG", speed), 150);
  h.colonPause = numberOr(perSpeed("PAUSADOISPONTOS", speed), 200);
}

void startSpeech(int speed, std::string_view soundDirectoryName) {
  hub::HubState& s = state();
  if (speed < 1) speed = partialNumber(readConfig("TRADUTOR", "VELOCIDADE"));
  if (speed < 1 || speed > 5) speed = 3;
  s.settings.speed = speed;
  applySpeechSettings(speed);

  const int code = openDiphoneSynth();
  if (code != 0) {
    writeLine("Erro de inicializa\xE7\xE3o: " + std::to_string(code));
    writeLine("Banco de dados de voz: " + diphoneBaseName());
    closeDiphoneSynth();
    readInputLine();
    closeConsoleWindow();
  }

  s.soundDirectory = withBackslash(std::string(soundDirectoryName));
  s.lettersDirectory = withBackslash(
      readBareNameSetting("TRADUTOR", "DIRLETRAS", "c:\\tarsis\\som\\letras\\", 255, s.startDirectory));

  s.settings.engineActive = false;
  if (isYes(readConfig("TRADUTOR", "SAPI"))) {
    const int voice = numberOr(readConfig("SERVFALA", "VOZ"), 0);
    int rate = numberOr(readConfig("SERVFALA", "VELOCIDADE"), 0);
    const int pitch = numberOr(readConfig("SERVFALA", "TOM"), 0);
    const int kind = numberOr(readConfig("SERVFALA", "TIPOSAPI"), 0);
    if (kind != 4 && rate > 10) rate = 0;
    s.settings.engineActive = startSpeechEngine(voice, rate, pitch, "", kind);
    s.settings.engineType = kind;
  }
}

void stopSpeech() {
  while (isSpeaking()) platform::waitMessage();
  silence();
  HubSettings& h = state().settings;
  if (h.engineActive) {
    stopSpeechEngine();
    h.engineActive = false;
  }
  closeDiphoneSynth();
}

HubSettings& hubSettings() { return state().settings; }
std::string lettersDirectory() { return state().lettersDirectory; }
std::string soundDirectory() { return state().soundDirectory; }
std::string startDirectory() { return state().startDirectory; }
const std::uint8_t* clickSamples() { return state().click + 44; }

}  // namespace tradutor
