// The voice driver behind one lock: started on one data folder at a time,
// one text at a time, the start and the text in the same turn.
#include "portuguese_voice.h"

#include <mutex>

#include "tts/utts_aurea.h"

namespace sapivoice {
namespace {

struct VoiceState {
  std::mutex lock;
  std::string startedOn;  // the data folder, empty until started
};

VoiceState& state() {
  static VoiceState s;
  return s;
}

// With the lock held.
bool startOn(VoiceState& s, const std::string& dataFolder) {
  if (!s.startedOn.empty() && s.startedOn == dataFolder) return true;
  if (!s.startedOn.empty()) tradutor::ttsTerminate();
  s.startedOn.clear();
  const std::string stem = dataFolder + "portug";
  tradutor::ttsSetOutputFile("");
  if (tradutor::ttsInitialize(dataFolder + "br4", stem + ".nrl", stem + ".exc", stem + ".dfn", stem + ".pro",
                              stem + ".abr") == 0) {
    tradutor::ttsTerminate();
    return false;
  }
  s.startedOn = dataFolder;
  return true;
}

}  // namespace

bool startPortugueseVoice(const std::string& dataFolder) {
  VoiceState& s = state();
  const std::lock_guard<std::mutex> hold(s.lock);
  return startOn(s, dataFolder);
}

void stopPortugueseVoice() {
  VoiceState& s = state();
  const std::lock_guard<std::mutex> hold(s.lock);
  if (s.startedOn.empty()) return;
  tradutor::ttsTerminate();
  s.startedOn.clear();
}

bool synthesizePortuguese(const std::string& dataFolder, const std::string& text, double durationFactor,
                          double pitchFactor, const SampleTaker& take, tradutor::SpokenMarks* marks) {
  VoiceState& s = state();
  const std::lock_guard<std::mutex> hold(s.lock);
  if (!startOn(s, dataFolder)) return false;
  tradutor::ttsSetFactors(durationFactor, pitchFactor);
  return tradutor::ttsSynthesize(text, take, marks);
}

Synthesizer portugueseSynthesizer(const std::string& dataFolder) {
  return [dataFolder](const std::string& text, double durationFactor, double pitchFactor, const SampleTaker& take,
                      tradutor::SpokenMarks* marks) {
    return synthesizePortuguese(dataFolder, text, durationFactor, pitchFactor, take, marks);
  };
}

}  // namespace sapivoice
