#include "test_voice.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace psola_test {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kHalf = 600, kMargin = 480;

struct Sound {
  std::string name;
  bool voiced;
  double f1, f2;
};

const Sound kSounds[] = {{"_", false, 0, 0}, {"a", true, 700, 1200}, {"i", true, 300, 2300}, {"s", false, 0, 0}};

// One pitch period's response of two damped resonances, struck at t = 0.
double pulse(const Sound& s, int t) {
  const double decay = std::exp(-t / 40.0);
  return 6000 * decay * (std::sin(2 * kPi * s.f1 * t / 16000) + 0.6 * std::sin(2 * kPi * s.f2 * t / 16000));
}

}  // namespace

psola::Database makeTestVoice(const std::set<std::string>& missing) {
  psola::Database db;
  for (const Sound& s : kSounds) db.phonemes.push_back({s.name, static_cast<std::uint8_t>(s.voiced ? 1 : 0)});
  unsigned noise = 1;
  for (std::size_t l = 0; l < std::size(kSounds); ++l)
    for (std::size_t r = 0; r < std::size(kSounds); ++r) {
      if (missing.count(kSounds[l].name + "-" + kSounds[r].name)) continue;
      psola::Diphone d;
      d.left = static_cast<std::uint16_t>(l);
      d.right = static_cast<std::uint16_t>(r);
      d.sampleOffset = static_cast<std::uint32_t>(db.samples.size());
      d.sampleCount = 2 * (kHalf + kMargin);
      d.cutStart = kMargin;
      d.boundary = kMargin + kHalf;
      d.cutEnd = kMargin + 2 * kHalf;
      d.markOffset = static_cast<std::uint32_t>(db.marks.size());
      const int boundary = static_cast<int>(d.boundary);
      for (int t = 0; t < static_cast<int>(d.sampleCount); ++t) {
        const Sound& s = t < boundary ? kSounds[l] : kSounds[r];
        double v = 0;
        if (s.voiced) {
          v = pulse(s, t % kSourcePeriod);
        } else if (s.name == "s") {
          noise = noise * 1103515245u + 12345u;
          v = static_cast<double>((noise >> 16) & 0x7FFF) / 0x7FFF * 6000 - 3000;
        }
        v *= 1 + 0.1 * static_cast<double>(t < boundary ? r : l);
        db.samples.push_back(static_cast<std::int16_t>(std::lround(v)));
      }
      for (int t = 0; t < static_cast<int>(d.sampleCount); t += kSourcePeriod) {
        const Sound& s = t < boundary ? kSounds[l] : kSounds[r];
        if (s.voiced) db.marks.push_back(static_cast<std::uint32_t>(t) << 1 | 1);
      }
      d.markCount = static_cast<std::uint32_t>(db.marks.size()) - d.markOffset;
      db.diphones.push_back(d);
    }
  db.info = "name: test\n";
  db.buildIndexes();
  return db;
}

namespace {

// One folder for the process's voices, made by mkdtemp and removed at exit.
const std::filesystem::path& voiceFolder() {
  // Never destroyed: the removal at exit still needs the name.
  static const std::filesystem::path& folder = *new std::filesystem::path([] {
    std::string pattern = (std::filesystem::temp_directory_path() / "psola_test_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(voiceFolder(), ignored);
    });
    return pattern;
  }());
  return folder;
}

}  // namespace

std::string writeTestVoice(const std::set<std::string>& missing) {
  static int serial = 0;
  const std::string path = (voiceFolder() / ("voice" + std::to_string(serial++) + ".db")).string();
  psola::saveDatabase(path, makeTestVoice(missing));
  return path;
}

}  // namespace psola_test
