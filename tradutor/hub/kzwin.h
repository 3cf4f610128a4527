#pragma once
// kzwin: the speech hub. Reads the settings, starts and stops speech, and
// speaks text: by a speech engine when one runs, otherwise by recorded
// letters and words, spoken numbers and the diphone voice.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tradutor {

// --- configuration ---------------------------------------------------------------
// A key of ORALIS.INI (the Windows directory's, else the program directory's),
// with "@" standing for the programs' directory. Empty section: [ORALIS].
std::string readConfig(std::string_view section, std::string_view key);

// --- start-up and shut-down --------------------------------------------------------
void initSpeechHub();
void resetSpeechHub();  // for tests
// Speed 1..5 (0 or less: VELOCIDADE of [TRADUTOR]). Does not return when the
// diphone voice cannot be opened: the error is shown and the program ends.
void startSpeech(int speed, std::string_view soundDirectory);
void applySpeechSettings(int speed);
void setDiphoneTuning(int cut, int keep, int wordPause, bool compressSpeech, bool fastSpeech);
void stopSpeech();

// --- speaking ------------------------------------------------------------------------
void speakText(std::string_view text);
void writeAndSpeak(std::string_view text);
void writeLineAndSpeak(std::string_view text);
void spellText(std::string_view text);
void speakLetter(std::uint8_t character);
void playNamedSound(std::string_view name);
std::uint8_t readKeySpoken();
bool isSpeaking();
void waitSpeechEnd();
void silence();
void playWaveBuffer(const std::uint8_t* image, std::size_t size);
void playClick();
void playBeep();
void pauseMs(int milliseconds);
void speakPunctuation(std::string_view text);
std::string upperCaseLatin1(std::string_view text);
void playDialTones(std::string_view text);
void buildWaveHeader(std::uint8_t* header, std::uint32_t dataBytes, std::uint32_t samplesPerSecond,
                     std::uint16_t channels, std::uint16_t bitsPerSample);

// --- hub state other parts read -------------------------------------------------------
struct HubSettings {
  int speed = 3;
  int periodPause = 0;
  int commaPause = 0;
  int colonPause = 0;
  bool engineActive = false;
  int engineType = 4;
  bool echoTyping = true;
};
HubSettings& hubSettings();
std::string lettersDirectory();  // [TRADUTOR] DIRLETRAS, ending with "\"
std::string soundDirectory();
std::string startDirectory();
const std::uint8_t* clickSamples();  // the 256 samples of the click

}  // namespace tradutor
