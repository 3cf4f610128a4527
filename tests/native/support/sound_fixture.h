#pragma once
// A console with the WAV player, the hub and a small voice installation made
// by the test: letter and word recordings whose samples are one recognisable
// value each, a diphone index and sample file, rules and exceptions.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/console_fixture.h"

namespace testing_support {

// The samples of a recording made of `count` samples of `value`.
std::vector<std::uint8_t> filled(std::uint8_t value, std::size_t count);

// A 44-byte-header WAV image (8-bit mono 11025 Hz unless told) around the samples.
std::string waveFile(const std::vector<std::uint8_t>& samples, std::uint32_t rate = 11025, std::uint16_t channels = 1,
                     std::uint16_t bits = 8);

// Runs of equal samples: (value, count).
using Runs = std::vector<std::pair<std::uint8_t, std::size_t>>;
Runs runsOf(const std::vector<std::uint8_t>& samples);

class SoundTest : public ConsoleTest {
 protected:
  static constexpr const char* kLetters = "C:\\VOZ\\LETRAS\\";
  static constexpr const char* kDiphones = "C:\\VOZ\\DIFONES\\";

  void SetUp() override;

  // C:\WINDOWS\ORALIS.INI naming the directories above, plus `extra` lines.
  void writeVoiceIni(const std::string& extra = "");
  // A recording in the letters directory ("_65", "_zero", "dtmf_1").
  void writeRecording(const std::string& name, const std::vector<std::uint8_t>& samples);
  // A voice database TESTE.IND / TESTE.DIF from segment names and samples.
  void writeDiphones(const std::map<std::string, std::vector<std::uint8_t>>& segments,
                     const std::string& baseName = "TESTE");
  void writeRules(const std::string& rules, const std::string& exceptions = "");
  // Everything needed for startSpeech to succeed at speed 3.
  void installVoice(const std::string& extraIni = "");
  // Initialises console, player and hub, opens the window, starts speech at speed 3.
  void startHub(const std::string& extraIni = "");

  // The names of the .wav files opened since the last call (directory and extension cut).
  std::vector<std::string> recordingsOpened();
  // All samples written to the device since the test began.
  std::vector<std::uint8_t> played();
  // Beeps and clicks among the blocks played (clear waveLog().blocks to start counting).
  int beeps();
  int clicks();
  // Runs one action each time the program waits for a key.
  void feedWhenIdle(std::vector<std::function<void()>> actions);

};

}  // namespace testing_support
