// The diphone database: phonemes, diphones cut from recordings, their pitch
// marks and samples, and the file format that holds them.
//
// File layout, little-endian throughout:
//   header   "PSOLADB\0", version, sample rate, phoneme, diphone, mark and
//            sample counts, info text length (eight 32-bit words after the magic)
//   phonemes count x 12 bytes: name (8 bytes, zero padded), flags, 3 spare
//   diphones count x 32 bytes: left, right (16 bits each), sample offset and
//            count, cut start, boundary, cut end (relative to the diphone's
//            first sample), mark offset and count
//   marks    count x 32 bits: position relative to the diphone's first
//            sample, shifted left once, low bit set when voiced
//   samples  count x 16-bit signed
//   info     text lines separated by '\n'
//   crc      CRC-32 of every byte before it
// The stored samples of a diphone extend beyond its cut points on both
// sides, so that a grain centred near a cut finds real signal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace psola {

constexpr int kMaxPhonemeName = 7;
constexpr int kMaxPhonemes = 255;
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::uint8_t kPhonemeVoiced = 1;

struct Phoneme {
  std::string name;
  std::uint8_t flags = 0;
};

struct Diphone {
  std::uint16_t left = 0, right = 0;
  std::uint32_t sampleOffset = 0, sampleCount = 0;
  std::uint32_t cutStart = 0, boundary = 0, cutEnd = 0;
  std::uint32_t markOffset = 0, markCount = 0;
};

struct Database {
  std::uint32_t sampleRate = 16000;
  std::vector<Phoneme> phonemes;
  std::vector<Diphone> diphones;
  std::vector<std::uint32_t> marks;
  std::vector<std::int16_t> samples;
  std::string info;
  // Derived on load (buildIndexes), not stored:
  // diphone index + 1 for each left * phoneme count + right pair; 0 = none.
  std::vector<std::uint32_t> pairIndex;
  // Per diphone, the first and one past the last sample that is not zero,
  // so that silence costs nothing to synthesize.
  std::vector<std::uint32_t> soundStart, soundEnd;

  int findPhoneme(const char* name, std::size_t length) const;
  const Diphone* find(int left, int right) const;
  void buildIndexes();
};

enum class LoadResult { ok, missing, corrupt };

// Reads and checks a database file; on any failure the database is left empty
// and the reason is put in `why`.
LoadResult loadDatabase(const std::string& path, Database& db, std::string& why);
// Checks the counts, offsets and ranges of a database in memory.
bool validateDatabase(const Database& db, std::string& why);
std::vector<unsigned char> serializeDatabase(const Database& db);
bool saveDatabase(const std::string& path, const Database& db);

}  // namespace psola
