// synth: phoneme lines to a 16 kHz 16-bit WAV file through the psola engine,
// fed as the Portuguese voice driver feeds it: one line at a time, reading
// after each, a flush after the last.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "common/waveheader.h"
#include "mbrola.h"

namespace fs = std::filesystem;

namespace tool {
namespace {

constexpr const char* kUsageLine = "tradutor synth [--db PATH] [--out FILE.wav] [FILE.pho | -]";

std::string engineError() {
  char text[256];
  return lastErrorStr_MBR(text, sizeof text);
}

void drain(std::vector<short>& samples) {
  short block[4096];
  for (int n; (n = read_MBR(block, 4096)) > 0;) samples.insert(samples.end(), block, block + n);
}

}  // namespace

std::string builtVoiceFolder() {
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return ".";
  self[n] = 0;
  return (fs::path(self).parent_path() / "voice" / "drive_c" / "tarsis" / "aureatts").string();
}

bool writeWave16(const std::string& path, const std::vector<short>& samples) {
  std::uint8_t header[tradutor::kWaveHeaderSize];
  tradutor::writeWaveHeader(header, static_cast<std::uint32_t>(samples.size() * 2), 1, 16000, 16);
  std::FILE* f = path == "-" ? stdout : std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;
  for (short s : samples) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(s & 0xFF), static_cast<unsigned char>((s >> 8) & 0xFF)};
    ok = ok && std::fwrite(bytes, 1, 2, f) == 2;
  }
  return (f == stdout ? std::fflush(f) == 0 : std::fclose(f) == 0) && ok;
}

int synthCommand(const Arguments& given) {
  Arguments args = given;
  std::string db = (fs::path(builtVoiceFolder()) / "br4").string(), out = "-";
  takeOption(args, "--db", db);
  takeOption(args, "--out", out);
  if (args.size() > 1) {
    printError(std::string("too many arguments; usage: ") + kUsageLine);
    return kUsage;
  }
  const std::string input = args.empty() ? "-" : args[0];
  std::ifstream file;
  if (input != "-") {
    file.open(input, std::ios::binary);
    if (!file) {
      printError("cannot read " + input);
      return kFailed;
    }
  }
  std::istream& in = input == "-" ? std::cin : file;
  if (init_MBR(const_cast<char*>(db.c_str())) < 0) {
    printError(engineError());
    return kFailed;
  }
  std::vector<short> samples;
  bool clean = true;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line += "\r\n";
    if (write_MBR(line.data()) < 0) {
      printError(input + ":" + std::to_string(number) + ": " + engineError());
      clean = false;
    }
    drain(samples);
  }
  flush_MBR();
  drain(samples);
  close_MBR();
  if (!writeWave16(out, samples)) {
    printError("cannot write " + out);
    return kFailed;
  }
  return clean ? kOk : kFailed;
}

}  // namespace tool
