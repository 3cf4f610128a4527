#pragma once
// The Portuguese voice's side of a SAPI 5 speak call, free of COM: it walks
// the text fragments, synthesizes each and writes the samples to the output
// in short pieces, asking before each piece whether to abort, skip, or take
// a new rate or volume.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace sapivoice {

struct VoiceFragment {
  enum class Kind { speak, silence, other };
  Kind kind = Kind::speak;
  std::string text;          // ANSI (code page 1252)
  long rateAdjust = 0;       // added to the output's rate
  unsigned volume = 100;     // 0..100, of the output's volume
  unsigned silenceMs = 0;    // for Kind::silence
};

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
};

constexpr unsigned kActionAbort = 1;
constexpr unsigned kActionSkip = 2;
constexpr unsigned kActionRate = 4;
constexpr unsigned kActionVolume = 8;

constexpr unsigned kSampleRate = 16000;
constexpr std::size_t kPieceSamples = 1600;  // 100 ms between two looks at the actions

using SampleTaker = std::function<bool(const short* samples, std::size_t count)>;
// Synthesizes one text at a duration factor, handing the samples over as
// they come; stops when the taker answers false.
using Synthesizer = std::function<bool(const std::string& text, double durationFactor, const SampleTaker& take)>;

// The duration factor of a SAPI rate: 0 is the voice's own pace (0.8, as the
// program speaks at speed 0), each step of 10 three times faster or slower.
double durationFactorForRate(long rate);

// Speaks the fragments in order; false when the output aborted or failed.
bool speakFragments(const std::vector<VoiceFragment>& fragments, VoiceOutput& output, const Synthesizer& synthesize);

}  // namespace sapivoice
