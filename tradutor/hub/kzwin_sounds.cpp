// The hub's single sounds and its waits: letters, named sounds, the click,
// the beep, pauses, telephone tones, and the polling that lets a key cut
// any speech short.
#include <string>

#include "common/waveheader.h"
#include "diphone/kztradut.h"
#include "engines/kzsapi.h"
#include "hub/kzwin.h"
#include "hub/kzwin_state.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace tradutor {

using hub::state;

namespace {

constexpr unsigned kSilenceMessage = 1123;  // WM_USER + 99: wakes any wait for a message

void waitWhileSpeaking() {
  while (isSpeaking()) platform::waitMessage();
}

}  // namespace

void buildWaveHeader(std::uint8_t* header, std::uint32_t dataBytes, std::uint32_t samplesPerSecond,
                     std::uint16_t channels, std::uint16_t bitsPerSample) {
  writeWaveHeader(header, dataBytes, channels, samplesPerSecond, bitsPerSample);
  header[32] = 1;  // every image the hub builds is 8-bit mono
  header[33] = 0;
}

bool isSpeaking() {
  if (keyPressed()) {
    silence();
    return false;
  }
  if (state().settings.engineActive) return wavePlaying() || engineIsSpeaking();
  return wavePlaying();
}

void waitSpeechEnd() {
  hub::HubState& s = state();
  if (!s.speechPending) return;
  waitWhileSpeaking();
  s.speechPending = false;
}

void silence() {
  hub::HubState& s = state();
  stopWave();
  s.abortFlag = true;
  if (s.settings.engineActive && (engineIsSpeaking() || s.settings.engineType == 3)) engineSilence();
  platform::postWakeMessage(kSilenceMessage);
}

void speakLetter(std::uint8_t character) {
  waitSpeechEnd();
  playWaveFile(diphoneLettersDirectory() + "_" + std::to_string(character) + ".wav");
}

void playNamedSound(std::string_view name) {
  waitSpeechEnd();
  const std::string directory = !name.empty() && name[0] == '_' ? state().lettersDirectory : state().soundDirectory;
  playWaveFile(directory + std::string(name) + ".wav");
}

void spellText(std::string_view text) {
  for (const char c : text) {
    if (keyPressed()) return;
    speakLetter(static_cast<std::uint8_t>(c));
  }
}

std::uint8_t readKeySpoken() {
  const std::uint8_t key = readKey();
  silence();
  speakLetter(key);
  return key;
}

void playWaveBuffer(const std::uint8_t* image, std::size_t size) {
  waitSpeechEnd();
  playWaveImage(image, size);
  waitWhileSpeaking();
}

void playClick() {
  waitSpeechEnd();
  hub::HubState& s = state();
  const bool compressed = waveSwitches().compressedPlayback;
  waveSwitches().compressedPlayback = false;
  buildWaveHeader(s.click, 256, 11025, 1, 8);
  playWaveImage(s.click, sizeof s.click);
  waitWhileSpeaking();
  waveSwitches().compressedPlayback = compressed;
}

void playBeep() {
  waitSpeechEnd();
  while (keyPressed()) readKey();
  static const std::uint8_t kPattern[8] = {128, 112, 96, 80, 64, 80, 96, 112};
  std::uint8_t beep[44 + 512];
  for (int i = 0; i < 512; ++i) beep[44 + i] = kPattern[i % 8];
  beep[44 + 511] = 128;
  buildWaveHeader(beep, 512, 11025, 1, 8);
  playWaveImage(beep, sizeof beep);
  waitWhileSpeaking();
}

void pauseMs(int milliseconds) {
  for (int step = 0; step < milliseconds / 50; ++step)
    if (!keyPressed()) delayWithMessages(50);
}

void playDialTones(std::string_view text) {
  const bool fast = waveSwitches().fastPlayback;
  waveSwitches().fastPlayback = false;
  for (const char raw : text) {
    const char c = upperCaseLatin1(std::string_view(&raw, 1))[0];
    if (c == '#' || c == '*' || (c >= '0' && c <= '9')) {
      playWaveFile(diphoneLettersDirectory() + "dtmf_" + (c == '*' ? 'X' : c) + ".wav");
      waitWhileSpeaking();
      delayWithMessages(100);
    } else if (c == ',') {
      delayWithMessages(1000);
    }
  }
  waveSwitches().fastPlayback = fast;
}

}  // namespace tradutor
