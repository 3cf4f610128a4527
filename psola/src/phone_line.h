// One line of phoneme input: "name duration [position pitch]...", a comment
// (";"), an empty line, or "#" (end of utterance).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace psola {

constexpr double kMaxDurationMs = 60000.0;
constexpr double kMinPitchHz = 20.0;
constexpr double kMaxPitchHz = 1000.0;
constexpr std::size_t kMaxPitchPoints = 100;

struct PitchPoint {
  double position;  // percent of the phoneme, 0..100
  double hz;
};

struct PhoneLine {
  enum class Kind { nothing, phone, flush } kind = Kind::nothing;
  std::string name;
  double ms = 0;
  std::vector<PitchPoint> points;  // sorted by position
};

struct LineError {
  int code = 0;  // an MBR_ERR_ number, 0 when the line was read whole
  std::string text;
};

// Reads one line (without its line feed). A phone line with a bad pitch pair
// keeps the good pairs and reports the bad one; a line whose name or duration
// cannot be read is `nothing` with its error.
PhoneLine parsePhoneLine(const char* text, std::size_t length, LineError& error);

// A decimal number as written in phoneme files: sign, digits, fraction,
// exponent. False when the whole token is not one.
bool parseNumber(const char* text, std::size_t length, double& value);

}  // namespace psola
