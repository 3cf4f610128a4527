// uttsProsodia: the phoneme lines for MBROLA, with durations, pitch targets
// and fillers where the database lacks a diphone.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/msgbox.h"
#include "tts/utts_prosodia.h"
#include "tts/utts_prosodia_state.h"
#include "tts/utts_text.h"

namespace tradutor {
namespace {

// A line under construction, on the stack: its pieces are a name and a few
// numbers, copied without a string's append for each. A line longer than
// the buffer goes on in a string.
class LineText {
 public:
  void add(std::string_view text) {
    if (!spilled_ && size_ + text.size() <= sizeof buffer_) {
      std::copy(text.begin(), text.end(), buffer_ + size_);
      size_ += text.size();
      return;
    }
    if (!spilled_) {
      long_.assign(buffer_, size_);
      spilled_ = true;
    }
    long_.append(text);
  }
  void add(char c) { add(std::string_view(&c, 1)); }
  void addNumber(long value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    add(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  std::string_view view() const { return spilled_ ? std::string_view(long_) : std::string_view(buffer_, size_); }

 private:
  char buffer_[48];
  std::size_t size_ = 0;
  bool spilled_ = false;
  std::string long_;
};

// A phoneme's name, copied without a string's general replace: the names
// are a few characters; a longer one goes to the string.
class PhonemeName {
 public:
  void assign(std::string_view name) {
    if (name.size() <= sizeof short_) {
      std::copy(name.begin(), name.end(), short_);
      size_ = name.size();
      isLong_ = false;
    } else {
      long_.assign(name);
      isLong_ = true;
    }
  }
  std::string_view view() const { return isLong_ ? std::string_view(long_) : std::string_view(short_, size_); }
  bool empty() const { return view().empty(); }

 private:
  char short_[22] = {};
  std::size_t size_ = 0;
  bool isLong_ = false;
  std::string long_;
};

struct LineState {
  int factorPercent = 100;
  char code[3] = {'5', '5', '5'};
  int stressState = 0;
  std::size_t wordLength = 0;
  PhonemeName previous, current;
  bool lastInWord = false;
  double pitchFactor = 1.0;
  int baseFrequency = 0;
};

// Appends " position frequency" when the line gets a pitch target.
void appendPitchPoints(LineState& s, LineText& line) {
  char level = 0;
  int position = 0;
  switch (s.stressState) {
    case 0: level = s.code[0]; position = 50; s.stressState = 1; break;
    case 2: level = s.code[1]; position = 80; s.stressState = 3; break;
    case 3: if (s.lastInWord) { level = s.code[2]; position = 50; } break;
    default: break;
  }
  const int value = pitchLevel(level);
  if (position == 0 || value == 0) return;
  const long frequency = static_cast<long>(std::trunc(value * s.pitchFactor * s.baseFrequency)) / 100;
  line.add(' ');
  line.addNumber(position);
  line.add(' ');
  line.addNumber(frequency);
}

// Before a phoneme whose diphone with the one before is missing: a short
// pause, or a glide when the database has the diphone into it.
void repairDiphone(LineState& s, bool lineFollows, TextList& lines) {
  const std::string_view current = s.current.view();
  if (current.empty()) return;
  const std::string_view previous = s.previous.view();
  if (!prosody::hasDiphonePair(previous, current)) {
    if (previous == "r2" && hasDiphonePair("r2-_")) lines.push("_ 50");
    else if (prosody::hasDiphonePair(previous, "y")) lines.push("y 50");
    else lines.push("_ 50");
  }
  if (lineFollows) s.previous = s.current;
}

// The base duration of a pause entry "_ N"; a rest that is no number is
// reported once and taken as 100 ms.
int pauseDuration(std::string_view entry) {
  const std::string rest = tts::trim(entry.substr(2));
  bool digits = !rest.empty() && rest.size() <= 9;
  for (const char c : rest) digits = digits && c >= '0' && c <= '9';
  if (digits) return std::stoi(rest);
  bool& reported = prosody::state().pauseReported;
  if (!reported)
    platform::showMessage("Configura\xE7\xE3o da pros\xF3" "dia: pausa errada: " + std::string(entry), "Pros\xF3" "dia");
  reported = true;
  return 100;
}

}  // namespace

void resetPhonemeLineState() { prosody::state().currentPhoneme.clear(); }

void makePhonemeLines(const TextList& phonemes, double durationFactor, double pitchFactor, TextList& lines) {
  lines.clear();
  lines.reserve(phonemes.size() + phonemes.size() / 4, phonemes.size() * 8);
  LineState s;
  s.pitchFactor = pitchFactor;
  s.baseFrequency = baseFrequency();
  s.previous.assign("_");
  std::string& lastPhoneme = prosody::state().currentPhoneme;  // from the call before
  s.current.assign(lastPhoneme);
  for (std::size_t i = 0; i < phonemes.size(); ++i) {
    s.lastInWord = i + 1 == phonemes.size() || phonemes[i + 1].empty();
    const std::string_view entry = phonemes[i];
    if (entry.empty()) {
      s.factorPercent = 100;
      s.current.assign({});
      repairDiphone(s, false, lines);
      lines.push({});
      continue;
    }
    if (entry[0] == ';' && entry.size() >= 5 && entry[4] == '|') {
      std::copy(entry.begin() + 1, entry.begin() + 4, s.code);
      s.wordLength = entry.size() - 4;  // the line: ";" and the word
      s.stressState = 0;
      repairDiphone(s, true, lines);
      lines.open();
      lines.text().append(";").append(entry.substr(5));
      lines.close();
      continue;
    }
    std::string_view name = entry;
    if (name[0] == '>') {
      s.factorPercent = 145;
      name.remove_prefix(1);
      if (!name.empty() && name[0] == '\xA8') name.remove_prefix(1);
      s.stressState = 2;
    } else if (name[0] == '\xA8') {
      name.remove_prefix(1);
      s.factorPercent = 100;
    }
    int base = 0;
    if (!name.empty() && name[0] == '_') {
      if (name == "_") name = "_ 100";
      base = name.size() > 1 && name[1] == ' ' ? pauseDuration(name) : phonemeDuration(name);
      name = "_";
    } else {
      base = phonemeDuration(name);
      if (s.stressState < 2) {
        if (s.wordLength > 13) base = base * 80 / 100;
        else if (s.wordLength > 9) base = base * 90 / 100;
      }
    }
    s.current.assign(name);
    repairDiphone(s, true, lines);
    const long duration = static_cast<long>(std::trunc(base * s.factorPercent * durationFactor)) / 100;
    LineText line;
    line.add(name);
    line.add(' ');
    line.addNumber(duration);
    appendPitchPoints(s, line);
    lines.push(line.view());
  }
  lastPhoneme.assign(s.current.view());
}

StringList makePhonemeLines(const StringList& phonemes, double durationFactor, double pitchFactor) {
  TextList in, out;
  in.assign(phonemes);
  makePhonemeLines(in, durationFactor, pitchFactor, out);
  return out.toStrings();
}

}  // namespace tradutor
