// Pitch-synchronous overlap-add synthesis of queued phonemes from a diphone
// database.
//
// Each phoneme is made of the second half of the diphone from its left
// neighbour and the first half of the diphone to its right neighbour, laid
// over the phoneme's duration. Output marks follow the pitch contour in voiced
// stretches and a fixed hop elsewhere; at each mark one grain of the source,
// centred on the nearest analysis mark (voiced) or on the mapped sample
// (unvoiced) and shaped by a Hann window, is added. The two diphones of a
// phoneme are cross-faded over a few grains around its centre.
//
// Synthesis is lazy: samples are made only when read, into a fixed ring, and a
// phoneme is made only once its right neighbour and the pitch after it are
// known (or the utterance has ended).
#pragma once

#include <cmath>
#include <cstdint>
#include <deque>
#include <vector>

#include "database.h"
#include "phone_line.h"

namespace psola {

// A sample to 16 bits: rounded to nearest (ties to even, the processor's own
// rounding on every build), limited to the 16-bit range.
inline short toSample(float v) {
  return static_cast<short>(std::lrint(v < -32768.0f ? -32768.0f : v > 32767.0f ? 32767.0f : v));
}

class Synthesizer {
 public:
  static constexpr int kUnvoicedHop = 80;   // 5 ms at 16 kHz
  static constexpr int kMaxHalfWindow = 400;
  static constexpr double kMinF0 = 50;
  static constexpr std::size_t kMaxPending = 2000;  // phonemes waiting for a pitch target

  void attach(const Database* db);
  void clear();
  void setNoError(bool on) { noError_ = on; }

  // Queues a phoneme (a database index; -1 for an unknown one, made as
  // silence). Returns false when a needed diphone is missing and errors are on.
  bool push(int phoneme, double ms, const std::vector<PitchPoint>& points);
  // Ends the utterance. False when the diphone to the final silence is missing.
  bool endUtterance();
  // Copies up to `count` finished samples (before volume) into `out`.
  int read(float* out, int count);
  // The same, scaled by `volume`, rounded and limited to 16 bits.
  int read(short* out, int count, float volume);
  // Phonemes and pitch targets queued and not yet made: the engine refuses
  // more input beyond kMaxQueued of either, so that memory stays bounded
  // when a caller writes without reading.
  static constexpr std::size_t kMaxQueued = 65536;
  bool full() const { return phones_.size() >= kMaxQueued || targets_.size() >= kMaxQueued; }
  // True when nothing is queued and every made sample has been read.
  bool drained() const { return phones_.empty() && readPos_ == finalUpTo_; }
  int missingLeft() const { return missingLeft_; }
  int missingRight() const { return missingRight_; }

 private:
  struct Phone {
    int phoneme;
    double start, end;  // output samples from the start of its utterance
    long long origin;   // the output sample where its utterance starts
    std::uint32_t utterance;
    bool last;  // ends its utterance
  };
  struct Target {
    double time, hz;  // time: from the start of its utterance
    std::uint32_t utterance;
  };
  struct Source {
    const Diphone* diphone;
    double position;  // in the diphone's stored samples
  };

  template <typename Sink>
  int readInto(int count, Sink sink);
  bool ready(const Phone& p) const;
  bool step();
  void placeGrain(const Phone& p, double mark, double& hop);
  double f0At(double time, std::uint32_t utterance);
  int nearestMark(const Diphone& d, double position, bool& voiced, double& period) const;
  void addGrain(const Diphone& d, int centre, double weight, long long at, int half, long long floor);
  void zeroUpTo(long long end);
  const float* windowOf(int half);
  bool checkPair(int left, int right);
  double nextJitter();

  const Database* db_ = nullptr;
  int silence_ = 0;
  double naturalF0_ = 120;
  bool noError_ = false;
  int missingLeft_ = -1, missingRight_ = -1;

  std::deque<Phone> phones_;
  std::deque<Target> targets_;
  int previous_ = 0;        // left neighbour of phones_.front()
  int lastQueued_ = 0;      // left neighbour of the next pushed phoneme
  // Times inside an utterance count from its start, an exact sample, so an
  // utterance comes out the same wherever it falls in the output.
  double timeEnd_ = 0;          // end of the last queued phoneme
  long long nextOrigin_ = 0;    // where the next utterance will start
  std::uint32_t utterance_ = 0;
  bool utteranceOpen_ = false;
  long long origin_ = 0;        // start of the utterance being made

  double nextMark_ = 0;         // from origin_
  long long readPos_ = 0, finalUpTo_ = 0, zeroedUpTo_ = 0;
  static constexpr int kRing = 8192;
  std::vector<float> ring_ = std::vector<float>(kRing, 0.0f);
  std::uint32_t jitter_ = 12345;  // deterministic: the same input gives the same samples
  std::vector<float> window_;  // Hann shape, kWindowSteps + 1 points over [0, 1]
  std::vector<float> grainWindow_;  // the last grain size's window, -half..half
  int windowHalf_ = 0;
};

}  // namespace psola
