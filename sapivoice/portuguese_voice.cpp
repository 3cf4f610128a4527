// The voice driver behind a lock: one start per data folder, one text at a time.
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

}  // namespace

bool startPortugueseVoice(const std::string& dataFolder) {
  VoiceState& s = state();
  const std::lock_guard<std::mutex> hold(s.lock);
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

void stopPortugueseVoice() {
  VoiceState& s = state();
  const std::lock_guard<std::mutex> hold(s.lock);
  if (s.startedOn.empty()) return;
  tradutor::ttsTerminate();
  s.startedOn.clear();
}

bool synthesizePortuguese(const std::string& text, double durationFactor, const SampleTaker& take) {
  VoiceState& s = state();
  const std::lock_guard<std::mutex> hold(s.lock);
  if (s.startedOn.empty()) return false;
  tradutor::ttsSetFactors(durationFactor, 1.0);
  return tradutor::ttsSynthesize(text, take);
}

}  // namespace sapivoice
