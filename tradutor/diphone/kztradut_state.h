#pragma once
// kzTradut's module state, shared by its files.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "diphone/kztradut.h"

namespace tradutor::synth {

enum class SegmentMode { Trim, Whole };

struct SynthState {
  std::string baseName = "DIFONES2";
  std::string lettersDirectory;
  std::string diphoneDirectory;
  int cut = 400;
  int keep = 0;
  int wordPause = 100;
  std::vector<DiphoneIndexEntry> index;
  std::vector<std::uint8_t> samples;  // the whole .DIF file
  bool open = false;
  std::vector<std::uint8_t> buffer;  // kSampleBufferSize once open
  std::size_t fill = 44;
  SegmentMode mode = SegmentMode::Trim;
  PhoneticCheck* probe = nullptr;  // set while checkPhonetic runs: nothing is played
  std::map<std::string, bool> letterFilesSeen;  // by checkPhonetic
};

SynthState& state();

// Buffer handling (kztradut.cpp).
void ensureRoom(std::size_t n);
void appendSamples(const std::uint8_t* data, std::size_t n);
void appendSilence(int n);
void appendNoise();
void flushSound();

// Tokens and units (kztradut_units.cpp).
void speakToken(std::string_view token, double factor);

// Reads the phonetic string token by token (kztradut.cpp).
void synthesize(std::string_view phonetic, bool sayPunctuation);

}  // namespace tradutor::synth
