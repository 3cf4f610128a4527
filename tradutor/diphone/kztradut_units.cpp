// kzTradut: tokens split into units, units into segments, and segments
// found in the index or, for spelled letters, in the letters directory.
// A segment missing from the index is decomposed into shorter ones.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "diphone/kztradut_state.h"
#include "platform/files.h"

namespace tradutor::synth {
namespace {

constexpr std::size_t kUnitMax = 12;

bool isConsonant(char c) {
  switch (c) {
    case 'b': case 'c': case 'd': case 'f': case 'g': case 'j': case 'k': case 'l': case 'm':
    case 'n': case 'p': case 'q': case 'r': case 's': case 't': case 'v': case 'x': case 'z':
      return true;
    default:
      return false;
  }
}

bool isVowelOrGlide(char c) {
  switch (c) {
    case 'A': case 'E': case 'I': case 'O': case 'U':
    case 'a': case 'e': case 'i': case 'o': case 'u': case 'w': case 'y':
      return true;
    default:
      return false;
  }
}

bool isStressedVowel(char c) { return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U'; }
bool isGlide(char c) { return c == 'w' || c == 'y'; }

bool endsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool sameId(const std::uint8_t* p, const char* id) {
  for (int i = 0; i < 4; ++i) {
    const int a = p[i] >= 'A' && p[i] <= 'Z' ? p[i] + 32 : p[i];
    if (a != id[i]) return false;
  }
  return true;
}

std::string upper(std::string_view name) {
  std::string u(name.substr(0, kUnitMax));
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return u;
}

const DiphoneIndexEntry* findEntry(const std::string& name) {
  const auto& index = state().index;
  std::size_t low = 0;
  std::size_t high = index.size();  // the search never leaves [0, size)
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const int order = name.compare(index[middle].name);
    if (order == 0) return &index[middle];
    if (order > 0) low = middle + 1;
    else high = middle;
  }
  return nullptr;
}

bool playDiphone(std::string_view name, SegmentMode mode, double factor) {
  SynthState& s = state();
  const std::string key = upper(name);
  const DiphoneIndexEntry* entry = findEntry(key);
  if (entry == nullptr) return false;
  long length = entry->samples;
  if (mode == SegmentMode::Trim && key.size() > 2) {
    length -= s.cut;
    if (length < s.keep) length = std::min<long>(entry->samples, s.keep);
  }
  const double scaled = std::trunc(static_cast<double>(std::max(length, 0L)) * factor);
  std::size_t n = scaled > 0 ? static_cast<std::size_t>(scaled) : 0;
  // An index that points past the end of the sample file gives what is there.
  const std::size_t offset = entry->offset;
  if (offset >= s.samples.size()) n = 0;
  else n = std::min(n, s.samples.size() - offset);
  if (n > 0) appendSamples(s.samples.data() + offset, n);
  return true;
}

// The size of the "data" chunk of a RIFF/WAVE letter file, 0 when there is none.
std::uint32_t findWaveData(platform::FileHandle file) {
  std::uint8_t head[12];
  std::uint8_t chunk[8];
  if (platform::readFile(file, head, 12) != 12 || !sameId(head, "riff")) return 0;
  if (platform::readFile(file, chunk, 8) != 8 || !sameId(chunk, "fmt ")) return 0;
  std::uint64_t position = 20;
  std::uint32_t size = le32(chunk + 4);
  for (;;) {
    position += size;
    if (!platform::seekFile(file, position)) return 0;
    if (platform::readFile(file, chunk, 8) != 8) return 0;
    position += 8;
    size = le32(chunk + 4);
    if (sameId(chunk, "data")) return size;
  }
}

bool playLetterFile(std::string_view name) {
  SynthState& s = state();
  if (s.probe != nullptr) {
    // A check asks the file system once per letter file.
    auto& known = s.letterFilesSeen;
    const std::string path = s.lettersDirectory + std::string(name) + ".wav";
    auto it = known.find(path);
    if (it == known.end()) it = known.emplace(path, platform::fileExists(path)).first;
    return it->second;
  }
  platform::FileHandle file = platform::openForReading(s.lettersDirectory + std::string(name) + ".wav");
  if (file == nullptr) return false;
  const std::uint32_t size = findWaveData(file) & 0xFFFF;  // a letter's data size is a 16-bit value
  bool found = false;
  if (size > 0) {
    std::vector<std::uint8_t> data(size);
    const std::size_t got = platform::readFile(file, data.data(), size);
    appendSamples(data.data(), got);
    found = true;
  }
  platform::closeFile(file);
  return found;
}

void playSegment(std::string_view segment, SegmentMode mode, double factor) {
  const std::string name(segment.substr(0, kUnitMax));
  const bool found = !name.empty() && name[0] == '_' ? playLetterFile(name) : playDiphone(name, mode, factor);
  if (found) return;
  SynthState& s = state();
  if (name.size() <= 2) {
    if (s.probe != nullptr) s.probe->noise.push_back(name);
    appendNoise();
    return;
  }
  const char last = name.back();
  if (isVowelOrGlide(last)) {
    playSegment(name.substr(0, name.size() - 1), mode, factor * 0.9);
    playSegment(std::string("$") + last, mode, factor);
  } else if (endsWith(name, "CIRC") && name.size() >= 7) {
    playSegment(name.substr(0, name.size() - 5), mode, factor * 0.9);
    playSegment("$" + name.substr(name.size() - 5), mode, factor);
  } else if (endsWith(name, "TIL")) {
    const std::string stem = name.substr(0, name.size() - 3);
    const char end = stem.empty() ? '\0' : stem.back();
    if (end == 'I' || end == 'U' || end == 'i' || end == 'u') playSegment(stem, mode, factor * 0.9);
    else playSegment(stem + "CIRC", SegmentMode::Whole, factor * 0.9);
    playSegment("$nn", SegmentMode::Trim, 0.9);
  } else if (s.probe != nullptr) {
    s.probe->dropped.push_back(name);  // nothing stands for it
  }
}

void playUnit(std::string_view unit, double factor) {
  SynthState& s = state();
  unit = unit.substr(0, kUnitMax);
  if (unit.empty()) return;
  if (unit[0] == '_') {
    if (unit.size() >= 2) playSegment("_" + std::to_string(static_cast<unsigned char>(unit[1])), s.mode, factor);
    return;
  }
  std::string name = "$";
  bool stressed = false;
  for (const char c : unit) {
    if (c == '^' || c == '~') {
      playSegment(name + (c == '^' ? "CIRC" : "TIL"), s.mode, factor);
      name = "$";
      continue;
    }
    if (isStressedVowel(c)) {
      s.mode = SegmentMode::Whole;
      stressed = true;
    }
    if (name.size() < kUnitMax) name += c;
  }
  if (name.size() > 1) playSegment(name, s.mode, factor);
  if (stressed) s.mode = SegmentMode::Trim;
}

}  // namespace

void speakToken(std::string_view t, double f) {
  t = t.substr(0, 40);
  const std::size_t L = t.size();
  if (L == 0) return;
  if (L == 1) {
    playUnit(t, f);
    return;
  }
  const std::string_view head2 = t.substr(0, 2);
  if (L > 2 && isConsonant(t[0]) && isConsonant(t[1]) && head2 != "dj" && head2 != "nh" && head2 != "rr" &&
      head2 != "ks" && t.substr(0, 3) != "tch") {
    playUnit(t.substr(0, 1), 1.0);
    speakToken(t.substr(1), f);
    return;
  }
  if (L > 2 && endsWith(t, "rr")) {
    speakToken(t.substr(0, L - 2), f);
    playUnit("rr", f);
    return;
  }
  if (L > 2 && isConsonant(t[L - 1])) {
    speakToken(t.substr(0, L - 1), f);
    speakToken(t.substr(L - 1), f);
    return;
  }
  if (isGlide(t[L - 1])) {
    const char before = t[L - 2];
    if (isVowelOrGlide(before) && L > 2) {
      speakToken(t.substr(0, L - 1), 0.6);
      playUnit(t.substr(L - 2), f);
      return;
    }
    if ((before == '^' || before == '~') && L >= 3) {
      if (L > 3) {
        if (before == '~') speakToken(std::string(t.substr(0, L - 2)) + "^", 0.6);
        else speakToken(t.substr(0, L - 1), 0.6);
      }
      const std::string vowelGlideMark{t[L - 3], t[L - 1], before};
      playUnit(vowelGlideMark, f);
      return;
    }
  }
  if (t == "_s") {
    playUnit(t, f);
  } else if (t[L - 1] == 's') {
    speakToken(t.substr(0, L - 1), 0.7);
    playUnit("s", f);
  } else {
    playUnit(t, f);
  }
}

}  // namespace tradutor::synth

namespace tradutor {
bool hasDiphone(std::string_view name) { return synth::findEntry(synth::upper(name)) != nullptr; }
}  // namespace tradutor
