// The SAPI 4 adapter: start selects the voice-th engine mode, the sinks'
// callbacks count the texts in progress and whether audio is playing.
#include "engines/kzsapi4.h"

#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/sapi4.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace tradutor {
namespace {

constexpr unsigned kStopPollMs = 100;

// TTSNotifySink's AudioStart/AudioStop and TTSBufNotifySink's
// TextDataStarted/TextDataDone arrive here.
class Sapi4Adapter final : public platform::Sapi4Events {
 public:
  bool start(int voice, int speed, int pitch, const std::string& outputFile);
  void speak(std::string_view text);
  bool isSpeaking(bool processingOnly) const { return pendingTexts_ > 0 || (!processingOnly && audioPlaying_); }
  void silence();
  // Waits until the speech has ended before letting the engine go; a key
  // cuts the wait short (silencing it), so an engine that never reports its
  // end cannot hold the program at exit.
  void stop() {
    while (session_ && isSpeaking(false)) {
      if (keyPressed()) {
        silence();
        break;
      }
      delayWithMessages(kStopPollMs);
    }
    release();
  }
  void release() {
    session_.reset();
    pendingTexts_ = 0;
    audioPlaying_ = false;
  }

  void audioStart() override { audioPlaying_ = true; }
  void audioStop() override { audioPlaying_ = false; }
  void textDataStarted() override { ++pendingTexts_; }
  void textDataDone() override {
    if (pendingTexts_ > 0) --pendingTexts_;
  }

 private:
  bool selectEngine(int voice, const std::string& outputFile);

  std::string outputFile_;
  std::unique_ptr<platform::Sapi4Session> session_;
  int pendingTexts_ = 0;
  bool audioPlaying_ = false;
};

// Engines may change the current directory while they load.
class DirectoryKeeper {
 public:
  DirectoryKeeper() : directory_(platform::currentDirectory()) {}
  ~DirectoryKeeper() { platform::changeDirectory(directory_); }
  DirectoryKeeper(const DirectoryKeeper&) = delete;
  DirectoryKeeper& operator=(const DirectoryKeeper&) = delete;

 private:
  std::string directory_;
};

bool Sapi4Adapter::selectEngine(int voice, const std::string& outputFile) {
  session_ = platform::createSapi4Session();
  if (!session_) return false;
  if (!(outputFile.empty() ? session_->useSoundCard() : session_->useFileDestination(outputFile))) return false;
  if (!session_->openEnumerator()) return false;
  for (int i = 0; i < voice; ++i) {
    if (!session_->nextMode()) return false;
  }
  return session_->selectMode();
}

bool Sapi4Adapter::start(int voice, int speed, int pitch, const std::string& outputFile) {
  const DirectoryKeeper directory;
  outputFile_ = outputFile;
  // Voice 0, and any number below it, is the first mode.
  if (voice < 1) voice = 1;
  if (!selectEngine(voice, outputFile)) {
    session_.reset();
    return false;
  }
  session_->registerSinks(this);
  session_->setSpeedAndPitch(speed, pitch);
  return true;
}

bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

void Sapi4Adapter::speak(std::string_view text) {
  while (!text.empty() && isBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlankOrControl(text.back())) text.remove_suffix(1);
  if (text.empty() || !session_) return;
  if (waveSwitches().stopOnKey && keyPressed()) return;
  // The buffer holds a text shorter than itself; a longer one is cut.
  std::string buffer(text.substr(0, kSapi4TextBufferSize - 1));
  if (buffer.size() == 1 && buffer[0] >= '0' && buffer[0] <= '9') buffer += '.';
  if (pendingTexts_ > 0) delayWithMessages(20);
  if (!session_->textData(buffer.c_str(), static_cast<unsigned>(buffer.size() + 1))) silence();
}

void Sapi4Adapter::silence() {
  if (audioPlaying_ && session_) {
    delayWithMessages(50);
    session_->audioReset();
    delayWithMessages(150);
  }
  pendingTexts_ = 0;
  audioPlaying_ = false;
}

Sapi4Adapter& sapi4() {
  static Sapi4Adapter a;
  return a;
}

bool startSapi4(int voice, int speed, int pitch, const std::string& file) {
  return sapi4().start(voice, speed, pitch, file);
}
void stopSapi4() { sapi4().stop(); }
void speakSapi4(std::string_view text) { sapi4().speak(text); }
bool sapi4IsSpeaking(bool processingOnly) { return sapi4().isSpeaking(processingOnly); }
void silenceSapi4() { sapi4().silence(); }

}  // namespace

const SpeechEngineAdapter kSapi4Adapter = {startSapi4, stopSapi4, speakSapi4, sapi4IsSpeaking, silenceSapi4};

void resetSapi4Adapter() { sapi4().release(); }

}  // namespace tradutor
