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
    spill();
    long_.append(text);
  }
  void add(char c) {
    if (!spilled_ && size_ < sizeof buffer_) {
      buffer_[size_++] = c;
      return;
    }
    spill();
    long_ += c;
  }
  // The digits go straight into the buffer while there is room for any number.
  void addNumber(long value) {
    if (!spilled_ && size_ + 24 <= sizeof buffer_) {
      size_ = static_cast<std::size_t>(std::to_chars(buffer_ + size_, buffer_ + sizeof buffer_, value).ptr - buffer_);
      return;
    }
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    add(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  }
  std::string_view view() const { return spilled_ ? std::string_view(long_) : std::string_view(buffer_, size_); }

 private:
  void spill() {
    if (spilled_) return;
    long_.assign(buffer_, size_);
    spilled_ = true;
  }
  char buffer_[48];
  std::size_t size_ = 0;
  bool spilled_ = false;
  std::string long_;
};

// A phoneme's name, copied without a string's general replace (the names
// are a few characters; a longer one goes to the string), with its first
// eight characters upper-cased and packed for the diphone table.
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
    upper_ = prosody::upperKey(name);
  }
  void assign(const PhonemeName& other) {
    if (other.isLong_) {
      assign(other.view());
      return;
    }
    std::copy(other.short_, other.short_ + sizeof short_, short_);  // a fixed size: no library call
    size_ = other.size_;
    isLong_ = false;
    upper_ = other.upper_;
  }
  std::string_view view() const { return isLong_ ? std::string_view(long_) : std::string_view(short_, size_); }
  std::size_t size() const { return isLong_ ? long_.size() : size_; }
  bool empty() const { return size() == 0; }
  std::uint64_t upper() const { return upper_; }

 private:
  char short_[22] = {};
  std::size_t size_ = 0;
  bool isLong_ = false;
  std::uint64_t upper_ = 0;
  std::string long_;
};

// The engine's range of pitch targets, and its longest phoneme.
constexpr double kLowestPitchHz = 20, kHighestPitchHz = 1000;
constexpr double kLongestPhonemeMs = 60000;

// trunc(t / 100) for a whole number t, by a multiplication: the double
// nearest 0.01 lies above it, so the product never falls below a whole
// quotient, and a quotient that is not whole lies at least 0.01 from the
// next one. (The division was the slowest step of every phoneme line.)
double hundredths(double t) { return std::trunc(t * 0.01); }

struct LineState {
  int factorPercent = 100;
  char code[3] = {'5', '5', '5'};
  int stressState = 0;
  std::size_t wordLength = 0;
  PhonemeName previous, current, glide;
  bool lastInWord = false;
  double pitchFactor = 1.0;
  int baseFrequency = 0;
  const KeyTable* diphones = nullptr;
  const KeyTable* durations = nullptr;
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
  // The engine drops a target outside 20 to 1000 Hz and reports it as an
  // error, which makes the driver reset the utterance: a high or low voice
  // setting keeps its targets at the nearest end of that range instead.
  const double scaled = hundredths(std::trunc(value * s.pitchFactor * s.baseFrequency));
  const long frequency = static_cast<long>(std::clamp(scaled, kLowestPitchHz, kHighestPitchHz));
  line.add(' ');
  line.addNumber(position);
  line.add(' ');
  line.addNumber(frequency);
}

// hasDiphonePair of "first-second", from the packed names when the pair is short.
bool hasPair(const LineState& s, const PhonemeName& first, const PhonemeName& second) {
  const std::size_t f = first.size();
  if (f + 1 + second.size() > 8) return hasDiphonePair(std::string(first.view()).append("-").append(second.view()));
  std::uint64_t key = first.upper() | static_cast<std::uint64_t>('-') << (8 * f);
  if (!second.empty()) key |= second.upper() << (8 * (f + 1));
  return s.diphones->contains(key);
}

// Before a phoneme whose diphone with the one before is missing: a short
// pause, or a glide when the database has the diphone into it.
void repairDiphone(LineState& s, bool lineFollows, TextList& lines) {
  if (s.current.empty()) return;
  if (!hasPair(s, s.previous, s.current)) {
    if (s.previous.view() == "r2" && hasDiphonePair("r2-_")) lines.push("_ 50");
    else if (hasPair(s, s.previous, s.glide)) lines.push("y 50");
    else lines.push("_ 50");
  }
  if (lineFollows) s.previous.assign(s.current);
}

// phonemeDuration, with the table at hand.
int durationOf(const LineState& s, std::string_view name) {
  if (name.size() > 2) return 100;  // table phonemes have at most two characters
  const int* duration = s.durations->find(prosody::shortKey(name));
  return duration == nullptr ? 100 : *duration;
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
  s.diphones = &prosody::state().diphoneKeys;
  s.durations = &prosody::state().durationOf;
  s.previous.assign("_");
  s.glide.assign("y");
  std::string& lastPhoneme = prosody::state().currentPhoneme;  // from the call before
  s.current.assign(lastPhoneme);
  for (std::size_t i = 0; i < phonemes.size(); ++i) {
    s.lastInWord = i + 1 == phonemes.size() || phonemes[i + 1].empty();
    const std::string_view entry = phonemes[i];
    if (entry.empty()) {
      s.factorPercent = 100;
      s.current.assign(std::string_view());
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
      base = name.size() > 1 && name[1] == ' ' ? pauseDuration(name) : durationOf(s, name);
      name = "_";
    } else {
      base = durationOf(s, name);
      if (s.stressState < 2) {
        if (s.wordLength > 13) base = static_cast<int>(base * 80LL / 100);
        else if (s.wordLength > 9) base = static_cast<int>(base * 90LL / 100);
      }
    }
    s.current.assign(name);
    repairDiphone(s, true, lines);
    // In doubles, whatever the prosody file's durations; and within what the
    // engine takes, since it refuses a longer phoneme and the driver would
    // then reset the whole utterance.
    const double scaled = hundredths(std::trunc(static_cast<double>(base) * s.factorPercent * durationFactor));
    const long duration = static_cast<long>(std::clamp(scaled, 0.0, kLongestPhonemeMs));
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
