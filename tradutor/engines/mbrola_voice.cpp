// The MBROLA-voice adapter: start, speak, is-speaking, silence and stop over
// uttsAurea; every operation posts message 2980 so that a wait wakes.
#include "engines/mbrola_voice.h"

#include "engines/minireg.h"
#include "hub/kzwin.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "tts/utts_aurea.h"

namespace tradutor {
namespace {

constexpr unsigned kEngineMessage = 2980;

MbrolaVoiceFiles& files() {
  static MbrolaVoiceFiles f;
  return f;
}

void wake() { platform::postWakeMessage(kEngineMessage); }

bool startVoice(int /*voice*/, int speed, int pitch, const std::string& outputFile) {
  const MbrolaVoiceFiles& f = files();
  ttsSetOutputFile(outputFile);
  const int result = ttsInitialize(f.database, f.rules, f.exceptions, f.definitions, f.prosody, f.abbreviations);
  ttsSetFactors(mbrolaDurationFactor(speed), mbrolaPitchFactor(pitch));
  return result != 0;
}

void silenceVoice() {
  ttsStop();
  wake();
}

void speakVoice(std::string_view text) {
  ttsSpeak(text);
  wake();
}

bool voiceIsSpeaking(bool /*processingOnly*/) {
  bool speaking = ttsIsSpeaking();
  if (keyPressed()) {
    silenceVoice();
    speaking = false;
  }
  wake();
  return speaking;
}

void stopVoice() {
  while (voiceIsSpeaking(false)) delayWithMessages(500);
  silenceVoice();
  ttsTerminate();
}

}  // namespace

const SpeechEngineAdapter kMbrolaVoiceAdapter = {startVoice, stopVoice, speakVoice, voiceIsSpeaking, silenceVoice};

double mbrolaDurationFactor(int speed) { return 0.8 - speed / 15.0; }
// In doubles: any int the settings hold, without overflow.
double mbrolaPitchFactor(int pitch) { return (pitch + 11.0) / 11.0; }

void initMbrolaVoiceAdapter() {
  MbrolaVoiceFiles& f = files();
  f.database = readConfig("AUREATTS", "MBROLA_DB");
  if (f.database.empty()) f.database = "br4";
  std::string dir = readConfig("AUREATTS", "DIR");
  if (dir.empty()) {
    // The registry names the database file; its directory is what comes
    // before the last three characters ("br4").
    std::string registered;
    if (readRegistryString(platform::RegistryRoot::localMachine, "SOFTWARE\\TCTS\\Mbrola\\databases\\BR4\\", registered))
      dir = registered.size() > 3 ? registered.substr(0, registered.size() - 3) : "";
    else
      dir = "\\tarsis\\aureatts\\";
  }
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  std::string base = readConfig("AUREATTS", "BASE");
  if (base.empty()) base = "portug";
  const std::string stem = dir + base;
  f.rules = stem + ".nrl";
  f.exceptions = stem + ".exc";
  f.abbreviations = stem + ".abr";
  f.prosody = stem + ".pro";
  f.definitions = stem + ".dfn";
}

const MbrolaVoiceFiles& mbrolaVoiceFiles() { return files(); }
void resetMbrolaVoiceAdapter() { files() = MbrolaVoiceFiles{}; }

}  // namespace tradutor
