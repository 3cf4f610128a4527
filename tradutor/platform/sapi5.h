#pragma once
// A SAPI 5 voice object (SpVoice) of one of the two runtimes.
//
// Contract: every call answers whether SAPI accepted it and nothing throws.
// Texts are ANSI (code page 1252); the implementation converts them. The
// object owns its optional file stream: destroying it closes the stream (so
// the WAV file's header is complete) before the voice is released. Numbers
// passed on are SAPI's own: event interest bits, speak flags, rates.
#include <memory>
#include <string>
#include <string_view>

namespace platform {

enum class Sapi5Runtime { sapi5, sapi54 };

class Sapi5Voice {
 public:
  virtual ~Sapi5Voice() = default;
  virtual bool setEventInterests(unsigned long long interests) = 0;
  // The installed voices; -1 when the list cannot be had.
  virtual int voiceCount() = 0;
  virtual bool selectVoice(int index) = 0;  // 0-based
  virtual bool setRate(int rate) = 0;
  // Takes the voice's completion event (signalled when all queued text has
  // been spoken), when the runtime offers one.
  virtual void keepCompletionEvent() = 0;
  // Speech goes to a 16 kHz 16-bit mono WAV file instead of the sound card.
  virtual bool openOutputFile(const std::string& path) = 0;
  virtual bool speak(std::string_view text, unsigned flags) = 0;
  // True when all queued text has been spoken, waiting at most `milliseconds`
  // (on the completion event, or the voice's own wait without one).
  virtual bool waitUntilDone(unsigned milliseconds) = 0;
};

// nullptr when the runtime is not installed (COM must be initialised).
std::unique_ptr<Sapi5Voice> createSapi5Voice(Sapi5Runtime runtime);

}  // namespace platform
