#include "database.h"

#include <cstdio>
#include <cstring>

#include "crc32.h"

namespace psola {
namespace {

constexpr char kMagic[8] = {'P', 'S', 'O', 'L', 'A', 'D', 'B', 0};
constexpr std::size_t kHeaderSize = 8 + 8 * 4;
constexpr std::size_t kPhonemeRecord = 12;
constexpr std::size_t kDiphoneRecord = 32;
// Far above any real voice; keeps a corrupt count from asking for gigabytes.
constexpr std::uint64_t kMaxFileSize = 256u << 20;

struct Reader {
  const unsigned char* at;
  std::uint16_t u16() {
    std::uint16_t v = static_cast<std::uint16_t>(at[0] | at[1] << 8);
    at += 2;
    return v;
  }
  std::uint32_t u32() {
    std::uint32_t v = at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
    at += 4;
    return v;
  }
};

void put16(std::vector<unsigned char>& out, std::uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

LoadResult fail(Database& db, std::string& why, const std::string& reason) {
  db = Database{};
  why = reason;
  return LoadResult::corrupt;
}

}  // namespace

int Database::findPhoneme(const char* name, std::size_t length) const {
  for (std::size_t i = 0; i < phonemes.size(); ++i)
    if (phonemes[i].name.size() == length && std::memcmp(phonemes[i].name.data(), name, length) == 0)
      return static_cast<int>(i);
  return -1;
}

const Diphone* Database::find(int left, int right) const {
  const std::size_t n = phonemes.size();
  if (left < 0 || right < 0 || static_cast<std::size_t>(left) >= n || static_cast<std::size_t>(right) >= n)
    return nullptr;
  const std::uint32_t slot = pairIndex[static_cast<std::size_t>(left) * n + static_cast<std::size_t>(right)];
  return slot == 0 ? nullptr : &diphones[slot - 1];
}

void Database::buildIndexes() {
  const std::size_t n = phonemes.size();
  pairIndex.assign(n * n, 0);
  soundStart.assign(diphones.size(), 0);
  soundEnd.assign(diphones.size(), 0);
  for (std::size_t i = 0; i < diphones.size(); ++i) {
    const Diphone& d = diphones[i];
    pairIndex[d.left * n + d.right] = static_cast<std::uint32_t>(i + 1);
    const std::int16_t* s = samples.data() + d.sampleOffset;
    std::uint32_t first = 0, end = d.sampleCount;
    while (first < end && s[first] == 0) ++first;
    while (end > first && s[end - 1] == 0) --end;
    soundStart[i] = first;
    soundEnd[i] = end;
  }
}

bool validateDatabase(const Database& db, std::string& why) {
  if (db.sampleRate < 4000 || db.sampleRate > 96000) return why = "bad sample rate", false;
  if (db.phonemes.empty() || db.phonemes.size() > kMaxPhonemes) return why = "bad phoneme count", false;
  for (std::size_t i = 0; i < db.phonemes.size(); ++i) {
    const std::string& name = db.phonemes[i].name;
    if (name.empty() || name.size() > kMaxPhonemeName) return why = "bad phoneme name", false;
    for (char c : name)
      if (static_cast<unsigned char>(c) <= ' ') return why = "bad phoneme name", false;
    if (db.findPhoneme(name.data(), name.size()) != static_cast<int>(i)) return why = "phoneme named twice", false;
  }
  if (db.findPhoneme("_", 1) < 0) return why = "no silence phoneme", false;
  std::vector<bool> seen(db.phonemes.size() * db.phonemes.size(), false);
  for (const Diphone& d : db.diphones) {
    if (d.left >= db.phonemes.size() || d.right >= db.phonemes.size()) return why = "diphone of an unknown phoneme", false;
    const std::size_t pair = static_cast<std::size_t>(d.left) * db.phonemes.size() + d.right;
    if (seen[pair]) return why = "diphone stored twice", false;
    seen[pair] = true;
    if (d.sampleOffset > db.samples.size() || d.sampleCount > db.samples.size() - d.sampleOffset)
      return why = "diphone samples out of range", false;
    if (!(d.cutStart <= d.boundary && d.boundary <= d.cutEnd && d.cutEnd <= d.sampleCount))
      return why = "diphone cut points out of order", false;
    if (d.markOffset > db.marks.size() || d.markCount > db.marks.size() - d.markOffset)
      return why = "diphone marks out of range", false;
    std::uint32_t previous = 0;
    for (std::uint32_t k = 0; k < d.markCount; ++k) {
      const std::uint32_t position = db.marks[d.markOffset + k] >> 1;
      if (position >= d.sampleCount || (k > 0 && position <= previous)) return why = "pitch marks out of order", false;
      previous = position;
    }
  }
  return true;
}

std::vector<unsigned char> serializeDatabase(const Database& db) {
  std::vector<unsigned char> out(kMagic, kMagic + 8);
  put32(out, kFormatVersion);
  put32(out, db.sampleRate);
  put32(out, static_cast<std::uint32_t>(db.phonemes.size()));
  put32(out, static_cast<std::uint32_t>(db.diphones.size()));
  put32(out, static_cast<std::uint32_t>(db.marks.size()));
  put32(out, static_cast<std::uint32_t>(db.samples.size()));
  put32(out, static_cast<std::uint32_t>(db.info.size()));
  put32(out, 0);
  for (const Phoneme& p : db.phonemes) {
    char name[8] = {};
    std::memcpy(name, p.name.data(), p.name.size() < 8 ? p.name.size() : 7);
    out.insert(out.end(), name, name + 8);
    out.push_back(p.flags);
    out.insert(out.end(), 3, 0);
  }
  for (const Diphone& d : db.diphones) {
    put16(out, d.left);
    put16(out, d.right);
    for (std::uint32_t v : {d.sampleOffset, d.sampleCount, d.cutStart, d.boundary, d.cutEnd, d.markOffset, d.markCount})
      put32(out, v);
  }
  for (std::uint32_t m : db.marks) put32(out, m);
  for (std::int16_t s : db.samples) put16(out, static_cast<std::uint16_t>(s));
  out.insert(out.end(), db.info.begin(), db.info.end());
  put32(out, crc32(out.data(), out.size()));
  return out;
}

bool saveDatabase(const std::string& path, const Database& db) {
  const std::vector<unsigned char> bytes = serializeDatabase(db);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

LoadResult loadDatabase(const std::string& path, Database& db, std::string& why) {
  db = Database{};
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    why = "cannot open the database " + path;
    return LoadResult::missing;
  }
  // Read in one piece of the file's own size: no growing copies of a
  // database of megabytes.
  std::vector<unsigned char> bytes;
  bool tooBig = false;
  long size = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
  if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    return fail(db, why, "cannot read the database " + path);
  }
  if (static_cast<std::uint64_t>(size) > kMaxFileSize) {
    tooBig = true;
  } else {
    bytes.resize(static_cast<std::size_t>(size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) bytes.clear();
  }
  std::fclose(f);
  if (tooBig) return fail(db, why, "the database is too large");
  if (bytes.size() < kHeaderSize + 4 || std::memcmp(bytes.data(), kMagic, 8) != 0)
    return fail(db, why, "not a database file");
  Reader r{bytes.data() + 8};
  const std::uint32_t version = r.u32();
  if (version != kFormatVersion) return fail(db, why, "unknown database version");
  db.sampleRate = r.u32();
  const std::uint64_t phonemes = r.u32(), diphones = r.u32(), marks = r.u32(), samples = r.u32(), info = r.u32();
  r.u32();
  const std::uint64_t expected =
      kHeaderSize + phonemes * kPhonemeRecord + diphones * kDiphoneRecord + marks * 4 + samples * 2 + info + 4;
  if (expected != bytes.size()) return fail(db, why, "the database is truncated or has the wrong size");
  const std::size_t body = bytes.size() - 4;
  Reader tail{bytes.data() + body};
  if (tail.u32() != crc32(bytes.data(), body)) return fail(db, why, "the database checksum does not match");
  if (phonemes == 0 || phonemes > kMaxPhonemes) return fail(db, why, "bad phoneme count");

  db.phonemes.resize(phonemes);
  for (Phoneme& p : db.phonemes) {
    const char* name = reinterpret_cast<const char*>(r.at);
    p.name.assign(name, strnlen(name, 8));
    p.flags = r.at[8];
    r.at += kPhonemeRecord;
  }
  db.diphones.resize(diphones);
  for (Diphone& d : db.diphones) {
    d.left = r.u16();
    d.right = r.u16();
    d.sampleOffset = r.u32();
    d.sampleCount = r.u32();
    d.cutStart = r.u32();
    d.boundary = r.u32();
    d.cutEnd = r.u32();
    d.markOffset = r.u32();
    d.markCount = r.u32();
  }
  db.marks.resize(marks);
  for (std::uint32_t& m : db.marks) m = r.u32();
  db.samples.resize(samples);
  for (std::int16_t& s : db.samples) s = static_cast<std::int16_t>(r.u16());
  db.info.assign(reinterpret_cast<const char*>(r.at), info);
  std::string reason;
  if (!validateDatabase(db, reason)) return fail(db, why, reason);
  db.buildIndexes();
  return LoadResult::ok;
}

}  // namespace psola
