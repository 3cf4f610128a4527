// RIFF/WAVE files and images: finding the format and the data, then playing
// the data portion by portion.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/files.h"
#include "platform/window.h"
#include "screen/kzcrt.h"
#include "sound/kzwav.h"

namespace tradutor {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool sameId(const std::uint8_t* p, const char* id) {
  for (int i = 0; i < 4; ++i)
    if (std::tolower(p[i]) != std::tolower(static_cast<unsigned char>(id[i]))) return false;
  return true;
}

// Only PCM is played: a file in another encoding (ADPCM, mu-law, float)
// would come out as loud noise, so it is treated like a malformed file.
bool isPcm(const std::uint8_t* format, std::uint32_t size) {
  const std::uint16_t tag = le16(format);
  if (tag == kFormatPcm) return true;
  if (tag != kFormatExtensible) return false;
  return size < 26 || le16(format + 24) == kFormatPcm;  // the sub-format's first two bytes
}

struct Format {
  std::uint16_t channels, bits;
  std::uint32_t rate;
};

Format formatOf(const std::uint8_t* f) { return {le16(f + 2), le16(f + 14), le32(f + 4)}; }

struct FileCloser {
  platform::FileHandle file;
  ~FileCloser() { platform::closeFile(file); }
};

// Skips `size` bytes of the file; false when the file ends first.
bool skipBody(platform::FileHandle file, std::uint64_t& position, std::uint32_t size) {
  position += size;
  return platform::seekFile(file, position);
}

std::uint8_t g_readBuffer[kWaveBufferSize];

}  // namespace

WaveImageInfo parseWaveImage(const std::uint8_t* image, std::size_t size) {
  WaveImageInfo info;
  if (image == nullptr || size < 20 || !sameId(image, "RIFF") || !sameId(image + 12, "fmt ")) return info;
  const std::size_t limit = std::min<std::size_t>(size, std::size_t{le32(image + 4)} + 8);
  const std::uint32_t formatSize = le32(image + 16);
  if (formatSize < 16 || 20 + std::size_t{formatSize} > limit || !isPcm(image + 20, formatSize)) return info;
  const Format f = formatOf(image + 20);
  std::size_t at = 20 + std::size_t{formatSize};
  while (at + 8 <= limit) {
    const std::uint32_t chunkSize = le32(image + at + 4);
    if (sameId(image + at, "data")) {
      info.valid = true;
      info.channels = f.channels;
      info.rate = f.rate;
      info.bits = f.bits;
      info.dataOffset = at + 8;
      info.dataSize = static_cast<std::uint32_t>(std::min<std::size_t>(chunkSize, limit - (at + 8)));
      return info;
    }
    at += 8 + std::size_t{chunkSize};
  }
  return info;
}

void playWaveImage(const std::uint8_t* image, std::size_t size) {
  const WaveImageInfo info = parseWaveImage(image, size);
  if (!info.valid) return;
  playPcm(image + info.dataOffset, info.dataSize, info.rate, info.channels, info.bits);
}

int playWaveFile(const std::string& fileName) {
  const WaveSwitches& sw = waveSwitches();
  if (sw.stopOnKey && keyPressed()) return 0;
  platform::FileHandle file = platform::openForReading(fileName);
  if (file == nullptr) return -1;
  int result = -1;
  {
    FileCloser closer{file};
    std::uint8_t head[12];
    std::uint8_t chunk[8];
    std::uint8_t format[16];
    if (platform::readFile(file, head, 12) != 12 || !sameId(head, "RIFF")) return -1;
    if (platform::readFile(file, chunk, 8) != 8 || !sameId(chunk, "fmt ")) return -1;
    const std::uint32_t formatSize = le32(chunk + 4);
    if (formatSize < 16 || platform::readFile(file, format, 16) != 16) return -1;
    std::uint64_t position = 20 + 16;
    std::uint8_t extension[10] = {};
    if (formatSize >= 26) {
      if (platform::readFile(file, extension, 10) != 10) return -1;
      position += 10;
    }
    if (!skipBody(file, position, formatSize - static_cast<std::uint32_t>(position - 20))) return -1;
    std::uint8_t fullFormat[26];
    std::memcpy(fullFormat, format, 16);
    std::memcpy(fullFormat + 16, extension, 10);
    if (!isPcm(fullFormat, formatSize)) return -1;
    const Format f = formatOf(format);

    std::uint32_t remaining = 0;
    for (;;) {
      if (platform::readFile(file, chunk, 8) != 8) return -1;
      position += 8;
      if (sameId(chunk, "data")) {
        remaining = le32(chunk + 4);
        break;
      }
      if (!skipBody(file, position, le32(chunk + 4))) return -1;
    }

    result = 0;
    while (remaining > 0) {
      result = -1;
      // A last portion is never shorter than 257 bytes.
      const std::uint32_t portion =
          remaining <= kWaveBufferSize ? remaining : (remaining <= 65789 ? 65278 : kWaveBufferSize);
      remaining -= portion;
      const std::size_t got = platform::readFile(file, g_readBuffer, portion);
      if (got == 0) break;
      result = playPcm(g_readBuffer, static_cast<std::uint32_t>(got), f.rate, f.channels, f.bits);
      if (result != 0 || (sw.stopOnKey && keyPressed())) break;
    }
  }
  if (!sw.playAsync) {
    while (wavePlaying()) platform::waitMessage();
  }
  return result;
}

}  // namespace tradutor
