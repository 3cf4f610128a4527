// The SAPI 5 adapters: one implementation, instantiated once per runtime.
#include "engines/kzsapi5.h"

#include <memory>

#include "platform/sapi5.h"
#include "platform/tone.h"
#include "platform/window.h"
#include "screen/kzcrt.h"

namespace tradutor {
namespace {

constexpr unsigned kEngineMessage = 2980;
constexpr unsigned kSpeakingWaitMs = 20;

class Sapi5Adapter {
 public:
  explicit Sapi5Adapter(platform::Sapi5Runtime runtime) : runtime_(runtime) {}

  // The pitch is not a SAPI 5 setting here.
  bool start(int voiceNumber, int rate, const std::string& outputFile) {
    voice_ = platform::createSapi5Voice(runtime_);
    if (!voice_) return false;
    // Only the completion matters to the adapter; a runtime that refuses the
    // interests still speaks.
    voice_->setEventInterests(kSapi5AllEvents);
    const int count = voice_->voiceCount();
    if (count < 1) return fail();
    if (voiceNumber < 1 || voiceNumber > count) {
      voiceNumber = 1;
      rate = 0;
    }
    if (!voice_->selectVoice(voiceNumber - 1)) return fail();
    voice_->setRate(rate);  // a rejected rate leaves the voice's own
    voice_->keepCompletionEvent();
    if (!outputFile.empty() && !voice_->openOutputFile(outputFile)) return fail();
    return true;
  }

  void speak(std::string_view text) {
    if (!voice_) return;
    if (text.empty()) text = " ";
    if (!voice_->speak(text, kSapi5SpeakAsync)) platform::messageBeep();
  }

  bool isSpeaking() {
    if (!voice_ || voice_->waitUntilDone(kSpeakingWaitMs)) return false;
    // A caller asleep in WaitMessage wakes and asks again.
    platform::postWakeMessage(kEngineMessage);
    return true;
  }

  void silence() {
    if (!voice_) return;
    voice_->speak(" ", kSapi5SpeakPurge);
    delayWithMessages(50);
  }

  void stop() {
    while (isSpeaking()) delayWithMessages(300);
    voice_.reset();  // closes the file stream first
  }

  void reset() { voice_.reset(); }

 private:
  bool fail() {
    voice_.reset();
    return false;
  }

  platform::Sapi5Runtime runtime_;
  std::unique_ptr<platform::Sapi5Voice> voice_;
};

Sapi5Adapter& sapi5() {
  static Sapi5Adapter a(platform::Sapi5Runtime::sapi5);
  return a;
}

Sapi5Adapter& sapi54() {
  static Sapi5Adapter a(platform::Sapi5Runtime::sapi54);
  return a;
}

template <Sapi5Adapter& (*adapter)()>
struct Operations {
  static bool start(int voice, int rate, int /*pitch*/, const std::string& file) {
    return adapter().start(voice, rate, file);
  }
  static void stop() { adapter().stop(); }
  static void speak(std::string_view text) { adapter().speak(text); }
  static bool isSpeaking(bool /*processingOnly*/) { return adapter().isSpeaking(); }
  static void silence() { adapter().silence(); }
  static constexpr SpeechEngineAdapter table{start, stop, speak, isSpeaking, silence};
};

}  // namespace

const SpeechEngineAdapter kSapi5Adapter = Operations<sapi5>::table;
const SpeechEngineAdapter kSapi54Adapter = Operations<sapi54>::table;

void resetSapi5Adapters() {
  sapi5().reset();
  sapi54().reset();
}

}  // namespace tradutor
