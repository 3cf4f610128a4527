#include "support/fake_engine.h"

#include "platform/host/host_control.h"

namespace testing_support {

std::vector<FakeEngine::Start> FakeEngine::starts;
std::vector<std::string> FakeEngine::spoken;
int FakeEngine::silences = 0;
int FakeEngine::stops = 0;
bool FakeEngine::startSucceeds = true;
unsigned FakeEngine::millisecondsPerText = 500;
std::uint64_t FakeEngine::speakingUntil = 0;

namespace {

bool start(int voice, int rate, int pitch, const std::string& outputFile) {
  FakeEngine::starts.push_back({voice, rate, pitch, outputFile});
  return FakeEngine::startSucceeds;
}
void stop() { ++FakeEngine::stops; }
void speak(std::string_view text) {
  FakeEngine::spoken.emplace_back(text);
  FakeEngine::speakingUntil = platform::host::elapsedMs() + FakeEngine::millisecondsPerText;
  // The engine's end arrives as a message, so a wait for one wakes.
  platform::host::scheduleAfter(FakeEngine::millisecondsPerText, [] { platform::postWakeMessage(2980); });
}
bool isSpeaking(bool) { return platform::host::elapsedMs() < FakeEngine::speakingUntil; }
void silence() {
  ++FakeEngine::silences;
  FakeEngine::speakingUntil = 0;
}

}  // namespace

const tradutor::SpeechEngineAdapter FakeEngine::adapter = {start, stop, speak, isSpeaking, silence};

void FakeEngine::install(int engineType) { tradutor::setSpeechEngineAdapter(engineType, &adapter); }

void FakeEngine::reset() {
  starts.clear();
  spoken.clear();
  silences = stops = 0;
  startSucceeds = true;
  millisecondsPerText = 500;
  speakingUntil = 0;
}

}  // namespace testing_support
