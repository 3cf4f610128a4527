// A small diphone database made in memory for the engine's tests: phonemes
// with known sounds, so that what comes out can be measured exactly.
//   _  silence
//   a  voiced: a pulse train at 120 Hz through formants of 700 and 1200 Hz
//   i  voiced: formants of 300 and 2300 Hz
//   s  unvoiced: white noise
// Every diphone holds 600 samples of each of its phonemes between the cut
// points, with 480 more beyond each cut. Each half is scaled by 1 + 0.1 times
// its neighbour's place in this list, so the diphone used can be heard.
#pragma once

#include <set>
#include <string>
#include <utility>

#include "database.h"

namespace psola_test {

constexpr int kSourcePeriod = 133;  // samples: 120.3 Hz at 16 kHz

// `missing` lists diphones ("a-i") to leave out.
psola::Database makeTestVoice(const std::set<std::string>& missing = {});
// Writes the voice to a file in a fresh temporary folder; returns its path.
std::string writeTestVoice(const std::set<std::string>& missing = {});

}  // namespace psola_test
