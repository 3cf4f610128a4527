// The engine dispatcher: each operation goes to the adapter of the engine type.
#include "engines/kzsapi.h"

#include "engines/kzsapi4.h"
#include "engines/kzsapi5.h"
#include "engines/mbrola_voice.h"
#include "screen/kzcrt.h"

namespace tradutor {
namespace {

struct DispatcherState {
  int engineType = 4;
  const SpeechEngineAdapter* mbrola = &kMbrolaVoiceAdapter;
  const SpeechEngineAdapter* sapi5 = &kSapi5Adapter;
  const SpeechEngineAdapter* sapi54 = &kSapi54Adapter;
  const SpeechEngineAdapter* sapi4 = &kSapi4Adapter;
};

DispatcherState& state() {
  static DispatcherState s;
  return s;
}

const SpeechEngineAdapter*& slotFor(int engineType) {
  DispatcherState& s = state();
  switch (engineType) {
    case 3: return s.mbrola;
    case 5: return s.sapi5;
    case 54: return s.sapi54;
    default: return s.sapi4;
  }
}

const SpeechEngineAdapter* adapter() { return slotFor(state().engineType); }

}  // namespace

bool startSpeechEngine(int voice, int rate, int pitch, const std::string& outputFile, int engineType) {
  state().engineType = engineType;
  const SpeechEngineAdapter* a = adapter();
  if (a == nullptr || !a->start(voice, rate, pitch, outputFile)) return false;
  while (engineIsSpeaking(true)) delayWithMessages(50);
  return true;
}

void engineSpeak(std::string_view text) {
  if (const SpeechEngineAdapter* a = adapter()) a->speak(text);
}

bool engineIsSpeaking(bool processingOnly) {
  pumpMessages();
  const SpeechEngineAdapter* a = adapter();
  return a != nullptr && a->isSpeaking(processingOnly);
}

void engineSilence() {
  if (const SpeechEngineAdapter* a = adapter()) a->silence();
}

void stopSpeechEngine() {
  if (const SpeechEngineAdapter* a = adapter()) a->stop();
}

void setSpeechEngineAdapter(int engineType, const SpeechEngineAdapter* a) { slotFor(engineType) = a; }
int currentEngineType() { return state().engineType; }
void resetEngineDispatcher() {
  resetSapi5Adapters();
  resetSapi4Adapter();
  state() = DispatcherState{};
}

}  // namespace tradutor
