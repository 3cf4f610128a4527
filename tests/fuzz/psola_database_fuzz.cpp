// Any file given to init_MBR as a database: refused or accepted, never a
// crash; an accepted one speaks a line. The loader refuses a file whose
// counts do not add up to its size or whose checksum fails, which random
// bytes almost never pass; so the input is first made consistent (the counts
// cut to what the bytes hold, the rest taken as the info text, the checksum
// computed), and validation, indexing and synthesis see every input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "crc32.h"
#include "fuzz_support.h"
#include "mbrola.h"

namespace {

constexpr std::size_t kHeader = 40, kPhonemeRecord = 12, kDiphoneRecord = 32;

std::uint32_t get32(const std::uint8_t* at) {
  return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void put32(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The input as a database the loader's size and checksum tests accept: magic
// and version set, each count (phonemes, diphones, marks, samples) cut to the
// records the bytes after the header can hold, in that order, and the info
// count the bytes left. Shorter inputs go as they are.
std::vector<std::uint8_t> consistent(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  if (size < kHeader) return bytes;
  std::memcpy(bytes.data(), "PSOLADB", 8);
  put32(&bytes[8], 1);
  std::uint64_t rest = size - kHeader;
  const std::uint64_t sizes[4] = {kPhonemeRecord, kDiphoneRecord, 4, 2};
  for (int i = 0; i < 4; ++i) {
    const std::uint64_t count = std::min<std::uint64_t>(get32(&bytes[16 + 4 * i]), rest / sizes[i]);
    put32(&bytes[16 + 4 * i], static_cast<std::uint32_t>(count));
    rest -= count * sizes[i];
  }
  put32(&bytes[32], static_cast<std::uint32_t>(rest));
  const std::uint32_t crc = psola::crc32(bytes.data(), bytes.size());
  bytes.resize(size + 4);
  put32(&bytes[size], crc);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> database = consistent(data, size);
  std::string path = fuzz::writeScratch("database", database.data(), database.size());
  if (init_MBR(path.data()) == 0) {
    char name[64];
    for (int i = 0; getDatabaseInfo_MBR(name, sizeof name, i) > 0 && i < 100; ++i) {
    }
    write_MBR(const_cast<char*>("_ 20\na 50 50 120\n_ 20\n"));
    flush_MBR();
    short buffer[512];
    for (int n, total = 0; (n = read_MBR(buffer, 512)) > 0 && total < 16000 * 10; total += n) {
    }
  }
  close_MBR();
  return 0;
}
