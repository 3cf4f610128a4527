// speakText: each piece of a text goes to the engine, to the recorded
// letters, to the spoken numbers or to the diphone voice.
#include <string>

#include "diphone/kztradut.h"
#include "diphone/letter_rules.h"
#include "engines/kzsapi.h"
#include "hub/kzwin.h"
#include "hub/kzwin_state.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "sound/kzlenum.h"

namespace tradutor {

using hub::state;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Letters, bytes 128..255 and blanks make one run for the diphone voice.
bool isWordCharacter(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return c == ' ' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128;
}

bool isLetterOrHigh(char ch) {
  const unsigned char c = static_cast<unsigned char>(ch);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 128;
}

void speakWithEngine(std::string_view text) {
  while (isSpeaking()) platform::waitMessage();
  if (!keyPressed()) {
    engineSpeak(text);
    state().speechPending = true;
  }
}

// A run of digits and '-': said as a number, or spelled when it holds a '-'
// or is seven or more characters long.
void speakNumberRun(std::string_view run) {
  if (run.find('-') != std::string_view::npos || run.size() >= 7) {
    spellText(run);
    return;
  }
  std::uint32_t value = 0;
  for (const char c : run) value = value * 10 + static_cast<std::uint32_t>(c - '0');
  speakNumberWords(numberToWords(value), 0);
}

void speakDash(const std::string& copy) {
  const char second = copy.size() > 2 ? copy[1] : ' ';
  if (second == ' ' || second == '-') speakPunctuation(copy);
  else if (isDigit(second)) playNamedSound("_MENOS");
  else speakLetter('-');
}

}  // namespace

void speakText(std::string_view text) {
  hub::HubState& s = state();
  if (s.settings.engineActive) {
    speakWithEngine(text);
    return;
  }
  std::string copy = std::string(text) + ' ';
  char lastSymbol = ' ';
  int repeats = 0;
  s.abortFlag = false;
  while (!s.abortFlag && !copy.empty()) {
    if (keyPressed()) {
      silence();
      return;
    }
    while (!copy.empty() && copy[0] == '0') {
      playNamedSound("_zero");
      copy.erase(0, 1);
    }
    if (copy.empty()) break;
    if (copy[0] >= '1' && copy[0] <= '9') {
      std::size_t n = 0;
      while (n < copy.size() && (isDigit(copy[n]) || copy[n] == '-')) ++n;
      speakNumberRun(std::string_view(copy).substr(0, n));
      copy.erase(0, n);
      continue;
    }
    if (isWordCharacter(copy[0])) {
      std::size_t n = 0;
      while (n < copy.size() && isWordCharacter(copy[n])) ++n;
      const std::string run = copy.substr(0, n);
      copy.erase(0, n);
      // The run takes the blanks around the word with it ("www" at the end
      // of a text is "www "), so the blanks are left out of the comparison
      // and of the spelling.
      const std::size_t first = run.find_first_not_of(' ');
      const std::string word = first == std::string::npos ? "" : run.substr(first, run.find_last_not_of(' ') - first + 1);
      if (upperCaseLatin1(word) == "WWW") spellText(word);
      else speakPhonetic(textToPhonetic(run), false);
      // A hyphen inside a compound word is not spoken.
      if (copy.size() > 1 && copy[0] == '-' && isLetterOrHigh(copy[1])) copy.erase(0, 1);
      continue;
    }
    char c = copy[0];
    if (c == lastSymbol) {
      // Four equal symbols are named; every further one is a click.
      if (++repeats > 3) {
        playClick();
        c = ' ';
      }
    } else {
      repeats = 0;
      lastSymbol = c;
    }
    if (c == '-') {
      speakDash(copy);
    } else if (c == ':' && copy.compare(0, 3, "://") == 0) {
      spellText(":");
    } else {
      switch (c) {
        case '(': case ')': case ',': case '.': case ':': case ';':
          speakPunctuation(copy);
          break;
        case ' ': case '\t':
          break;
        default:
          if (!keyPressed()) speakLetter(static_cast<std::uint8_t>(c));
          break;
      }
    }
    copy.erase(0, 1);
  }
}

void writeAndSpeak(std::string_view text) {
  writeText(text);
  speakText(text);
}

void writeLineAndSpeak(std::string_view text) {
  writeAndSpeak(text);
  writeLine();
}

void speakPunctuation(std::string_view text) {
  if (text.empty() || keyPressed()) return;
  while (isSpeaking()) platform::waitMessage();
  const char mark = text[0];
  speakLetter(static_cast<std::uint8_t>(mark));
  const HubSettings& h = state().settings;
  const bool blankFollows = text.size() > 1 && text[1] == ' ';
  switch (mark) {
    case '(': case ')': case ':': case ';':
      pauseMs(h.colonPause);
      break;
    case ',': case '-':
      if (blankFollows) pauseMs(h.commaPause);
      break;
    case '.':
      if (blankFollows) pauseMs(h.periodPause);
      break;
    default:
      break;
  }
}

std::string upperCaseLatin1(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') ch = static_cast<char>(c - 32);
    else if (c >= 224) ch = static_cast<char>(c - 32);
  }
  return out;
}

}  // namespace tradutor
