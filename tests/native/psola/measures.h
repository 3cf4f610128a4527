// What a listener's ear would check, as numbers: pitch, periodicity, level,
// and a way to run lines through the engine.
#pragma once

#include <string>
#include <vector>

namespace psola_test {

// Reads in pieces of `piece` samples until the engine has nothing ready.
std::vector<short> readAll(int piece);
// Writes each line of `text` with write_MBR, reading after each in pieces of
// `piece` samples, then flushes and reads the rest.
std::vector<short> speak(const std::string& text, int piece = 16000);
// Writes all of `text` in one call (a line feed added), flushes, then reads
// everything.
std::vector<short> speakAtOnce(const std::string& text);
// The pitch (Hz) of samples [from, to) by autocorrelation, searched from 50 to 500 Hz.
double pitchOf(const std::vector<short>& x, long from, long to);
// The largest normalised autocorrelation at lags of 2 to 20 ms.
double periodicity(const std::vector<short>& x, long from, long to);
// The largest normalised autocorrelation within 3 samples of `lag`.
double correlationNear(const std::vector<short>& x, long from, long to, long lag);
double rms(const std::vector<short>& x, long from, long to);
int peak(const std::vector<short>& x);
std::string engineError();

}  // namespace psola_test
