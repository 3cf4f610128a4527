// kzTradut: opening the voice database, the sample buffer, and reading the
// phonetic string token by token.
#include "diphone/kztradut.h"

#include <algorithm>

#include "common/oralis_ini.h"
#include "common/random.h"
#include "diphone/kztradut_state.h"
#include "diphone/letter_rules.h"
#include "hub/kzwin.h"
#include "platform/files.h"
#include "platform/window.h"

namespace tradutor {
namespace synth {

SynthState& state() {
  static SynthState s;
  return s;
}

namespace {

constexpr std::size_t kTokenMax = 40;
constexpr int kPausePeriod = 8000;
constexpr int kPauseComma = 4000;
constexpr int kPauseSemicolon = 6000;
constexpr int kPauseColon = 8000;

std::string withBackslash(std::string dir) {
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir.substr(0, 144);
}

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool loadIndex(const std::string& path, std::vector<DiphoneIndexEntry>& index) {
  std::vector<std::uint8_t> bytes;
  if (!platform::readWholeFile(path, bytes)) return false;
  index.clear();
  index.reserve(bytes.size() / 15);
  for (std::size_t at = 0; at + 15 <= bytes.size(); at += 15) {
    const std::size_t length = std::min<std::size_t>(bytes[at], 8);
    DiphoneIndexEntry e;
    e.name.assign(reinterpret_cast<const char*>(&bytes[at + 1]), length);
    e.samples = le16(&bytes[at + 9]);
    e.offset = le32(&bytes[at + 11]);
    index.push_back(std::move(e));
  }
  return true;
}

// The directories are entered one after the other, so that one that does
// not exist fails the open; the current directory is restored in every case.
bool openDiphoneDatabase() {
  SynthState& s = state();
  const std::string saved = platform::currentDirectory();
  // Both keys come from the ORALIS.INI of where the program started, read
  // before the directory changes.
  const std::string start = startingDirectory();
  std::string letters = readBareNameSetting("TRADUTOR", "dirLetras", "c:\\tarsis\\som\\letras", 81, start);
  if (letters.size() >= 2) platform::changeDirectory(letters.substr(0, 2));
  const std::string savedDrive = platform::currentDirectory();
  bool ok = platform::changeDirectory(letters);
  if (ok) {
    s.lettersDirectory = withBackslash(letters);
    const std::string diphones =
        readBareNameSetting("TRADUTOR", "DIRDIFONES", "c:\\tarsis\\som\\difones", 81, start);
    ok = platform::changeDirectory(diphones);
    if (ok) s.diphoneDirectory = withBackslash(diphones);
  }
  if (ok) ok = loadIndex(s.diphoneDirectory + s.baseName + ".IND", s.index);
  if (ok) ok = platform::readWholeFile(s.diphoneDirectory + s.baseName + ".DIF", s.samples);
  platform::changeDirectory(savedDrive);
  platform::changeDirectory(saved);
  return ok;
}

int pauseOf(char mark) {
  switch (mark) {
    case '.': return kPausePeriod;
    case ',': return kPauseComma;
    case ';': return kPauseSemicolon;
    case ':': return kPauseColon;
    default: return -1;
  }
}

struct Reader {
  std::string_view s;
  std::size_t position = 0;
  bool sayPunctuation = false;

  std::string readToken() {
    SynthState& st = state();
    std::string token;
    if (position < s.size() && s[position] == '[') {
      st.mode = SegmentMode::Trim;
      ++position;
    }
    while (position < s.size() && s[position] != ' ' && s[position] != ']') {
      const char c = s[position++];
      if (c == '/') {
        if (token.size() >= 9) return token;  // a long token ends here; the '/' was its terminator
        continue;
      }
      if (c == '_') {
        if (position >= s.size()) break;
        if (token.size() + 2 <= kTokenMax) {
          token += '_';
          token += s[position];
        }
        ++position;
        continue;
      }
      if (token.size() < kTokenMax) token += c;
    }
    if (position < s.size()) ++position;  // past the space or "]"
    if (!sayPunctuation && token.size() == 2 && token[0] == '_' && pauseOf(token[1]) >= 0) {
      appendSilence(pauseOf(token[1]));
      token.clear();
    }
    return token;
  }
};

}  // namespace

void flushSound() {
  SynthState& s = state();
  if (s.probe != nullptr || s.fill <= 44 || s.buffer.empty()) return;
  buildWaveHeader(s.buffer.data(), static_cast<std::uint32_t>(s.fill - 44), 11025, 1, 8);
  playWaveBuffer(s.buffer.data(), s.fill);
  s.fill = 44;
}

void ensureRoom(std::size_t n) {
  SynthState& s = state();
  if (s.probe == nullptr && s.fill + n >= kSampleBufferSize) {
    flushSound();
    while (isSpeaking()) platform::waitMessage();
  }
}

// Appends any number of samples; what does not fit in the buffer is played
// in consecutive buffers, so a segment longer than one buffer is heard whole.
void appendSamples(const std::uint8_t* data, std::size_t n) {
  SynthState& s = state();
  if (s.buffer.empty() || s.probe != nullptr) return;
  while (n > 0) {
    const std::size_t piece = std::min(n, kSampleBufferSize - 45);
    ensureRoom(piece);
    std::copy(data, data + piece, s.buffer.begin() + static_cast<std::ptrdiff_t>(s.fill));
    s.fill += piece;
    data += piece;
    n -= piece;
  }
}

void appendSilence(int n) {
  SynthState& s = state();
  if (s.buffer.empty() || s.probe != nullptr) return;
  for (int block = 0; block < n / 100; ++block) {
    ensureRoom(100);
    std::fill_n(s.buffer.begin() + static_cast<std::ptrdiff_t>(s.fill), 100, std::uint8_t{128});
    s.fill += 100;
  }
}

void appendNoise() {
  SynthState& s = state();
  if (s.buffer.empty() || s.probe != nullptr) return;
  ensureRoom(300);
  for (int i = 0; i < 300; ++i) s.buffer[s.fill++] = static_cast<std::uint8_t>(88 + randomBelow(80));
}

}  // namespace synth

using synth::state;

int openDiphoneSynth() {
  synth::SynthState& s = state();
  s.open = false;
  if (!synth::openDiphoneDatabase()) return 1;
  if (!loadLetterRules(s.diphoneDirectory + "regras.rgr") || !loadExceptionWords(s.diphoneDirectory + "portug.exc"))
    return 2;
  s.buffer.assign(kSampleBufferSize, 128);
  s.fill = 44;
  s.open = true;
  return 0;
}

void closeDiphoneSynth() {
  synth::SynthState& s = state();
  s.buffer.clear();
  s.buffer.shrink_to_fit();
  freeLetterRules();
  s.index.clear();
  s.samples.clear();
  s.samples.shrink_to_fit();
  s.open = false;
}

namespace synth {

void synthesize(std::string_view phonetic, bool sayPunctuation) {
  SynthState& s = state();
  s.fill = 44;
  s.mode = SegmentMode::Trim;
  Reader reader{phonetic, 0, sayPunctuation};
  while (reader.position < phonetic.size()) {
    const std::string token = reader.readToken();
    speakToken(token, 1.0);
    if (reader.position < phonetic.size() && phonetic[reader.position - 1] != ' ') appendSilence(s.wordPause);
  }
  flushSound();
}

}  // namespace synth

void speakPhonetic(std::string_view phonetic, bool sayPunctuation) {
  if (!state().open) return;
  synth::synthesize(phonetic, sayPunctuation);
}

PhoneticCheck checkPhonetic(std::string_view phonetic) {
  PhoneticCheck check;
  synth::SynthState& s = state();
  if (!s.open) return check;
  s.probe = &check;
  synth::synthesize(phonetic, false);
  s.probe = nullptr;
  return check;
}

void setDiphoneTiming(int cut, int keep, int wordPause) {
  state().cut = cut;
  state().keep = keep;
  state().wordPause = wordPause;
}

void setDiphoneBaseName(std::string_view name) { state().baseName = std::string(name.substr(0, 8)); }
std::string diphoneBaseName() { return state().baseName; }
std::string diphoneLettersDirectory() { return state().lettersDirectory; }
void resetDiphoneSynth() { state() = synth::SynthState{}; }

}  // namespace tradutor
