// voicetool: the parts of building the default voice that need exact bytes.
//   voicetool dtmf DIR                      telephone tones dtmf_0..9, dtmf_#, dtmf_X
//   voicetool pack SEGMENTS.tsv RAWDIR BASE  BASE.IND and BASE.DIF from one raw file per segment
//   voicetool find CAPTURE.raw WAV...       whether the sounds of the WAV files were played, in that
//                                            order, in a raw capture of the device (each compared
//                                            without its last sample, which the player silences;
//                                            silence the starved device put in is passed over)
//   voicetool wav RAW WAV                    8-bit mono 11025 Hz samples with the 44-byte header and
//                                            nothing after them (no RIFF pad byte: the numbers unit
//                                            takes everything after the header as sound)
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/waveheader.h"
#include "sound_search.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 11025;

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// Each key is the sum of a row tone and a column tone of the telephone keypad.
int dtmf(const std::string& dir) {
  const struct {
    const char* name;
    double low, high;
  } keys[] = {{"1", 697, 1209}, {"2", 697, 1336}, {"3", 697, 1477}, {"4", 770, 1209}, {"5", 770, 1336},
              {"6", 770, 1477}, {"7", 852, 1209}, {"8", 852, 1336}, {"9", 852, 1477}, {"X", 941, 1209},
              {"0", 941, 1336}, {"#", 941, 1477}};
  const int samples = kRate * 15 / 100;  // 150 ms
  for (const auto& k : keys) {
    std::vector<std::uint8_t> wav(tradutor::kWaveHeaderSize + samples);
    tradutor::writeWaveHeader(wav.data(), samples, 1, kRate, 8);
    for (int i = 0; i < samples; ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double v = 0.45 * std::sin(2 * kPi * k.low * t) + 0.45 * std::sin(2 * kPi * k.high * t);
      wav[tradutor::kWaveHeaderSize + i] = static_cast<std::uint8_t>(std::lround(128 + 127 * v));
    }
    if (!writeFile(dir + "/dtmf_" + k.name + ".wav", wav)) {
      std::fprintf(stderr, "voicetool: cannot write %s/dtmf_%s.wav\n", dir.c_str(), k.name);
      return 1;
    }
  }
  return 0;
}

int pack(const std::string& table, const std::string& rawDir, const std::string& base) {
  std::ifstream in(table);
  if (!in) {
    std::fprintf(stderr, "voicetool: cannot read %s\n", table.c_str());
    return 1;
  }
  std::map<std::string, std::vector<std::uint8_t>> segments;  // sorted by name, as the index must be
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::string name = line.substr(0, line.find('\t'));
    std::ifstream raw(rawDir + "/" + name.substr(1) + ".raw", std::ios::binary);
    if (!raw || name.size() > 8) {
      std::fprintf(stderr, "voicetool: no samples for %s\n", name.c_str());
      return 1;
    }
    std::vector<std::uint8_t> samples((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
    if (samples.size() > 65535) samples.resize(65535);
    segments[name] = std::move(samples);
  }
  std::vector<std::uint8_t> index;
  std::vector<std::uint8_t> data;
  for (const auto& [name, samples] : segments) {
    std::uint8_t record[15] = {};
    record[0] = static_cast<std::uint8_t>(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) record[1 + i] = static_cast<std::uint8_t>(name[i]);
    record[9] = static_cast<std::uint8_t>(samples.size());
    record[10] = static_cast<std::uint8_t>(samples.size() >> 8);
    const std::uint32_t offset = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i) record[11 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
    index.insert(index.end(), record, record + 15);
    data.insert(data.end(), samples.begin(), samples.end());
  }
  if (!writeFile(base + ".IND", index) || !writeFile(base + ".DIF", data)) {
    std::fprintf(stderr, "voicetool: cannot write %s.IND/.DIF\n", base.c_str());
    return 1;
  }
  return 0;
}

int wav(const std::string& rawPath, const std::string& wavPath) {
  std::ifstream raw(rawPath, std::ios::binary);
  if (!raw) {
    std::fprintf(stderr, "voicetool: cannot read %s\n", rawPath.c_str());
    return 1;
  }
  std::vector<std::uint8_t> samples((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
  std::vector<std::uint8_t> out(tradutor::kWaveHeaderSize);
  tradutor::writeWaveHeader(out.data(), static_cast<std::uint32_t>(samples.size()), 1, kRate, 8);
  out.insert(out.end(), samples.begin(), samples.end());
  return writeFile(wavPath, out) ? 0 : 1;
}

int find(const std::string& capturePath, const std::vector<std::string>& sounds) {
  std::ifstream in(capturePath, std::ios::binary);
  const std::vector<std::uint8_t> capture((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t at = 0;
  int missing = 0;
  for (const std::string& path : sounds) {
    std::ifstream w(path, std::ios::binary);
    std::vector<std::uint8_t> wave((std::istreambuf_iterator<char>(w)), std::istreambuf_iterator<char>());
    if (wave.size() <= tradutor::kWaveHeaderSize + 1) {
      std::fprintf(stderr, "voicetool: %s holds no sound\n", path.c_str());
      return 1;
    }
    const auto found = voicetool::findSound(capture, at, wave.data() + tradutor::kWaveHeaderSize,
                                            wave.size() - tradutor::kWaveHeaderSize - 1,
                                            voicetool::shapeOfWaveHeader(wave.data()));
    if (!found) {
      std::printf("missing: %s\n", path.c_str());
      ++missing;
    } else {
      std::printf("found at %zu", found->begin);
      if (found->gaps > 0) std::printf(" (%d gaps of the device's silence passed over)", found->gaps);
      std::printf(": %s\n", path.c_str());
      at = found->end;
    }
  }
  return missing == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "dtmf" && argc == 3) return dtmf(argv[2]);
  if (command == "pack" && argc == 5) return pack(argv[2], argv[3], argv[4]);
  if (command == "wav" && argc == 4) return wav(argv[2], argv[3]);
  if (command == "find" && argc >= 4) return find(argv[2], std::vector<std::string>(argv + 3, argv + argc));
  std::fprintf(stderr, "usage: voicetool dtmf DIR | voicetool pack SEGMENTS.tsv RAWDIR BASE | voicetool wav RAW WAV\n");
  return 2;
}
