#pragma once
// kzTradut: the diphone synthesizer. Speaks the phonetic strings of the rules
// engine by joining recorded segments from a voice database (an .IND index
// and a .DIF sample file) and recorded letters, 8-bit mono at 11025 Hz.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tradutor {

// 0 ready; 1 the database or its directories cannot be opened; 2 regras.rgr
// or portug.exc cannot be read.
int openDiphoneSynth();
void closeDiphoneSynth();
// Synthesizes and plays; returns when the sound has been heard (or a key cut it).
void speakPhonetic(std::string_view phonetic, bool sayPunctuation);
void setDiphoneTiming(int cut, int keep, int wordPause);
// The voice database's base name, at most 8 characters ("DIFONES2" until set).
void setDiphoneBaseName(std::string_view name);
std::string diphoneBaseName();
// The letters directory read when the synthesizer opened, ending with "\".
std::string diphoneLettersDirectory();
// Back to the start-of-program state (for tests).
void resetDiphoneSynth();

constexpr std::size_t kSampleBufferSize = 64000;

// A segment of the index, exposed for tools that check a voice.
struct DiphoneIndexEntry {
  std::string name;  // upper case, at most 8 characters
  std::uint16_t samples;
  std::uint32_t offset;
};
// Whether the open database has a segment of this name (upper-cased first).
bool hasDiphone(std::string_view name);

// What speaking a phonetic string would lose, found without playing it: the
// segments that are missing with nothing to stand for them (dropped), and
// those heard as noise. Used to check a voice against a word list.
struct PhoneticCheck {
  std::vector<std::string> dropped;
  std::vector<std::string> noise;
  bool complete() const { return dropped.empty() && noise.empty(); }
};
PhoneticCheck checkPhonetic(std::string_view phonetic);

}  // namespace tradutor
