#pragma once
// The Portuguese voice's side of a SAPI 5 speak call, free of COM: it walks
// the text fragments, synthesizes each and writes the samples to the output
// in short pieces, asking before each piece whether to abort, skip, or take
// a new rate or volume, and tells the output where each bookmark, word and
// sentence falls in the sound.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tts/utts_places.h"

namespace sapivoice {

struct VoiceFragment {
  enum class Kind { speak, spell, silence, bookmark, other };
  Kind kind = Kind::speak;
  std::string text;          // ANSI (code page 1252), one byte for each character of the source
  unsigned long textOffset = 0;  // where `text` begins in the text the client gave
  long rateAdjust = 0;       // added to the output's rate
  unsigned volume = 100;     // 0..100, of the output's volume
  long pitchAdjust = 0;      // -10..10
  unsigned long silenceMs = 0;  // for Kind::silence
};

// Something the output may want to know, at the sample (counted from the
// start of the call) where it falls.
struct VoiceEvent {
  enum class Kind { bookmark, word, sentence };
  Kind kind = Kind::word;
  std::uint64_t sample = 0;
  std::size_t fragment = 0;       // the fragment it belongs to
  unsigned long textOffset = 0;   // word, sentence: where it is in the client's text
  unsigned long length = 0;       // and how many characters it has there
};

constexpr unsigned kEventBookmark = 1;
constexpr unsigned kEventWord = 2;
constexpr unsigned kEventSentence = 4;

// What SAPI's engine site offers the voice.
class VoiceOutput {
 public:
  virtual ~VoiceOutput() = default;
  // SPVES_* bits.
  virtual unsigned actions() = 0;
  // Writes all of the samples; false when the output will take no more.
  virtual bool write(const short* samples, std::size_t count) = 0;
  virtual long rate() = 0;        // -10..10
  virtual unsigned volume() = 0;  // 0..100
  // Sentences to skip forward (0 when the request is not one the voice can
  // honour), and the report of how many were skipped.
  virtual long sentencesToSkip() = 0;
  virtual void completeSkip(long skipped) = 0;
  // kEvent* bits of the events wanted; each one is given before the samples
  // it falls in are written.
  virtual unsigned eventsWanted() = 0;
  virtual void event(const VoiceEvent& event) = 0;
};

constexpr unsigned kActionAbort = 1;
constexpr unsigned kActionSkip = 2;
constexpr unsigned kActionRate = 4;
constexpr unsigned kActionVolume = 8;

constexpr unsigned kSampleRate = 16000;
constexpr std::size_t kPieceSamples = 1600;  // 100 ms between two looks at the actions
constexpr unsigned long kLongestSilenceMs = 60000;  // a longer <silence> is cut to a minute

using SampleTaker = std::function<bool(const short* samples, std::size_t count)>;
// Synthesizes one text at a duration and a pitch factor, handing the samples
// over as they come and placing its words and sentences in `marks` before
// the first; stops when the taker answers false.
using Synthesizer = std::function<bool(const std::string& text, double durationFactor, double pitchFactor,
                                       const SampleTaker& take, tradutor::SpokenMarks* marks)>;

// The duration factor of a SAPI rate: 0 is the voice's own pace (0.8, as the
// program speaks at speed 0), each step of 10 three times faster or slower.
double durationFactorForRate(long rate);
// The pitch factor of a SAPI pitch adjustment: each step of 10 half an
// octave higher or lower.
double pitchFactorForAdjust(long adjust);
// The text spelled: each character but spaces by its name, one after the
// other with a short pause; `origins` gets, for each character of it, the
// character of `text` it names.
std::string spelledOut(const std::string& text, tradutor::SourceSpans& origins);

// Speaks the fragments in order; false when the output aborted or failed.
bool speakFragments(const std::vector<VoiceFragment>& fragments, VoiceOutput& output, const Synthesizer& synthesize);

}  // namespace sapivoice
