// Whatever is written or loaded, the engine answers with an error it can
// name, never a crash, and keeps its memory bounded.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "crc32.h"
#include "engine_fixture.h"
#include "measures.h"

namespace psola_test {
namespace {

using BadInputTest = EngineTest;

// The error one write raises; write_MBR's answer must say the same: negative
// with an error, every character taken without one.
int errorAfterWriting(const std::string& text) {
  reset_MBR();
  std::string copy = text;
  const int taken = write_MBR(copy.data());
  const int error = lastError_MBR();
  if (error == MBR_OK) EXPECT_EQ(taken, static_cast<int>(text.size())) << text.substr(0, 40);
  else EXPECT_LT(taken, 0) << text.substr(0, 40);
  return error;
}

TEST_F(BadInputTest, EachMalformedLineHasItsError) {
  EXPECT_EQ(errorAfterWriting("a 100 50 120\r\n"), MBR_OK);
  EXPECT_EQ(errorAfterWriting("; a comment\r\n\r\n   \r\n"), MBR_OK);
  EXPECT_EQ(errorAfterWriting("a 0\r\n"), MBR_OK);
  EXPECT_EQ(errorAfterWriting(" \ta\t100 \t50\f120\v\r\n"), MBR_OK);
  EXPECT_EQ(errorAfterWriting("a\r\n"), MBR_ERR_MALFORMED_LINE);
  EXPECT_EQ(errorAfterWriting("a x\r\n"), MBR_ERR_MALFORMED_LINE);
  EXPECT_EQ(errorAfterWriting("a -5\r\n"), MBR_ERR_DURATION_RANGE);
  EXPECT_EQ(errorAfterWriting("a 1e9\r\n"), MBR_ERR_DURATION_RANGE);
  // Numbers: digits, at most one point, an exponent with digits of its own.
  for (const char* number : {".", "+", "-", "e5", "1e", "1e+", "1.5.2", "1x", "0x10", "--1"})
    EXPECT_EQ(errorAfterWriting(std::string("a ") + number + "\r\n"), MBR_ERR_MALFORMED_LINE) << number;
  for (const char* number : {"1.", ".5", "1e2", "1E+2", "5e-1", "-0"})
    EXPECT_EQ(errorAfterWriting(std::string("a ") + number + "\r\n"), MBR_OK) << number;
  EXPECT_EQ(errorAfterWriting("a 100 50\r\n"), MBR_ERR_MALFORMED_LINE);
  EXPECT_EQ(errorAfterWriting("a 100 x 120\r\n"), MBR_ERR_MALFORMED_LINE);
  EXPECT_EQ(errorAfterWriting("a 100 50 zz\r\n"), MBR_ERR_MALFORMED_LINE);
  EXPECT_EQ(errorAfterWriting("a 100 50 0\r\n"), MBR_ERR_PITCH_RANGE);
  EXPECT_EQ(errorAfterWriting("a 100 50 -120\r\n"), MBR_ERR_PITCH_RANGE);
  EXPECT_EQ(errorAfterWriting("a 100 50 100000\r\n"), MBR_ERR_PITCH_RANGE);
  EXPECT_EQ(errorAfterWriting("q 100\r\n"), MBR_ERR_UNKNOWN_PHONEME);
  EXPECT_EQ(errorAfterWriting(std::string(300, 'a') + " 100\r\n"), MBR_ERR_UNKNOWN_PHONEME);
  EXPECT_NE(engineError().find("unknown phoneme"), std::string::npos);
  EXPECT_LT(engineError().size(), 100u);
  // What the text shows of a bad name or number: 40 characters, then "...",
  // control characters as '?'.
  const std::string forty(40, 'x');
  const struct {
    std::string line, shown;
  } shown[] = {
      {forty + " 100", "'" + forty + "'"},       {forty + "y 100", "'" + forty + "...'"},
      {"a " + forty, "'" + forty + "'"},         {"a " + forty + "y", "'" + forty + "...'"},
      {"a\x01" "b 100", "'a?b'"},                  {"a 1\x02", "'1?'"},
  };
  for (const auto& row : shown) {
    errorAfterWriting(row.line + "\n");
    EXPECT_NE(engineError().find(row.shown), std::string::npos) << engineError();
  }
  std::string pairs = "a 100";
  for (int k = 0; k < 1000; ++k) pairs += " 50 120";
  EXPECT_EQ(errorAfterWriting(pairs + "\r\n"), MBR_ERR_TOO_MANY_PITCH_POINTS);
  EXPECT_EQ(errorAfterWriting(std::string(65536, 'x') + "\r\n"), MBR_ERR_LINE_TOO_LONG);
  EXPECT_EQ(engineError(), "a line longer than 16384 characters");
}

TEST_F(BadInputTest, ALineThatIsBadStillLeavesTheRestSpoken) {
  // A bad pitch pair is dropped, the phoneme kept: its length still counts.
  reset_MBR();
  const std::vector<short> out = speak("a 100 50 0\ni 100 50 120");
  EXPECT_EQ(lastError_MBR(), MBR_ERR_PITCH_RANGE);
  EXPECT_NEAR(static_cast<double>(out.size()), 200 * 16, 80);
  // An unknown phoneme is a silence of its length.
  reset_MBR();
  const std::vector<short> unknown = speak("a 100\nzz 300\na 100");
  EXPECT_EQ(lastError_MBR(), MBR_ERR_UNKNOWN_PHONEME);
  EXPECT_NEAR(static_cast<double>(unknown.size()), 500 * 16, 80);
  EXPECT_LT(rms(unknown, 150 * 16, 350 * 16), 32.8);
}

TEST_F(BadInputTest, GarbageNeverCrashesOrGrowsWithoutBound) {
  std::string garbage;
  unsigned seed = 7;
  for (int line = 0; line < 10000; ++line) {
    const int length = static_cast<int>(seed % 60);
    for (int k = 0; k < length; ++k) {
      seed = seed * 1103515245u + 12345u;
      char c = static_cast<char>((seed >> 16) & 0xFF);
      if (c == 0 || c == '\n') c = ' ';
      garbage += c;
    }
    garbage += "\r\n";
  }
  write_MBR(garbage.data());
  EXPECT_NE(lastError_MBR(), MBR_OK);
  flush_MBR();
  short buffer[1];
  long total = 0;
  for (int n; (n = read_MBR(buffer, 1)) > 0;) total += n;
  EXPECT_LT(total, 60L * 16000 * 10000);  // bounded by what durations could ask for
  reset_MBR();
  EXPECT_EQ(lastError_MBR(), MBR_OK);
  EXPECT_GT(speak("a 100\ni 100").size(), 3000u);
}

// 65536 phonemes, or pitch targets, wait unread at most: the phoneme after
// them is refused.
TEST_F(BadInputTest, WritingWithoutEverReadingIsRefusedOnceTheQueueIsFull) {
  const struct {
    int targets;   // on phonemes of "a 10" with up to 100 each
    int phonemes;  // of "a 10" after them
    int error;
  } rows[] = {
      {0, 65536, MBR_OK}, {0, 65537, MBR_ERR_INPUT_FULL}, {0, 70000, MBR_ERR_INPUT_FULL},
      {65535, 1, MBR_OK}, {65536, 1, MBR_ERR_INPUT_FULL},
  };
  for (const auto& row : rows) {
    reset_MBR();
    std::string lines;
    for (int left = row.targets; left > 0; left -= 100) {
      lines += "a 10";
      for (int k = 0; k < std::min(left, 100); ++k) lines += " 50 120";
      lines += "\n";
    }
    for (int k = 0; k < row.phonemes; ++k) lines += "a 10\n";
    write_MBR(lines.data());
    EXPECT_EQ(lastError_MBR(), row.error) << row.phonemes << " phonemes after " << row.targets << " targets";
  }
  reset_MBR();
  EXPECT_GT(speak("a 100\ni 100").size(), 3000u);  // and all is well after a reset
}

TEST_F(BadInputTest, ErrorsClearOnResetAndOnInit) {
  speak("zz 100");
  EXPECT_EQ(lastError_MBR(), MBR_ERR_UNKNOWN_PHONEME);
  // Errors last until cleared: a good line does not hide an earlier fault.
  write_MBR(const_cast<char*>("a 100\r\n"));
  EXPECT_EQ(lastError_MBR(), MBR_ERR_UNKNOWN_PHONEME);
  reset_MBR();
  EXPECT_EQ(lastError_MBR(), MBR_OK);
  EXPECT_EQ(engineError(), "");
  speak("zz 100");
  close_MBR();
  ASSERT_EQ(init_MBR(path_.data()), 0);
  EXPECT_EQ(lastError_MBR(), MBR_OK);
}

TEST_F(BadInputTest, MissingDiphonesAreErrorsOrSilenceInNoErrorMode) {
  close_MBR();
  open({"a-i"});
  speak("a 100 50 120\ni 100 50 120");
  EXPECT_EQ(lastError_MBR(), MBR_ERR_MISSING_DIPHONE);
  EXPECT_NE(engineError().find("a-i"), std::string::npos);

  setNoError_MBR(1);
  EXPECT_EQ(getNoError_MBR(), 1);
  reset_MBR();
  const std::vector<short> out = speak("a 100 50 120\ni 100 50 120");
  EXPECT_EQ(lastError_MBR(), MBR_OK);
  ASSERT_NEAR(static_cast<double>(out.size()), 200 * 16, 80);
  // The second half of "a" and the first of "i" are silence; the rest sounds.
  EXPECT_GT(rms(out, 10 * 16, 40 * 16), 500);
  EXPECT_LT(rms(out, 65 * 16, 135 * 16), 32.8);
  EXPECT_GT(rms(out, 160 * 16, 190 * 16), 500);

  // Both diphones of "i" missing: all of it is silence; the one to the final
  // silence missing is an error of its own when errors are on.
  close_MBR();
  open({"_-i", "i-_", "a-i", "i-a"});
  setNoError_MBR(1);
  const std::vector<short> alone = speak("a 100 50 120\ni 100\na 100");
  EXPECT_EQ(lastError_MBR(), MBR_OK);
  ASSERT_NEAR(static_cast<double>(alone.size()), 300 * 16, 80);
  EXPECT_LT(rms(alone, 100 * 16, 200 * 16), 32.8);
  setNoError_MBR(0);
  reset_MBR();
  speak("a 100\ni 100");
  EXPECT_EQ(lastError_MBR(), MBR_ERR_MISSING_DIPHONE);
  reset_MBR();
  speak("i 100");
  EXPECT_NE(engineError().find("i-_"), std::string::npos) << engineError();
}

TEST_F(BadInputTest, CallsBeforeInitAndAfterCloseFailCleanly) {
  close_MBR();
  short buffer[10];
  EXPECT_LT(write_MBR(const_cast<char*>("a 100\r\n")), 0);
  EXPECT_EQ(lastError_MBR(), MBR_ERR_NOT_INITIALISED);
  EXPECT_LT(read_MBR(buffer, 10), 0);
  EXPECT_LT(flush_MBR(), 0);
  reset_MBR();
  EXPECT_EQ(getDatabaseInfo_MBR(nullptr, 0, 0), 0);
  EXPECT_EQ(write_MBR(nullptr), -1);
  close_MBR();
  ASSERT_EQ(init_MBR(path_.data()), 0);
  EXPECT_LT(read_MBR(nullptr, 10), 0);
  EXPECT_LT(read_MBR(buffer, -1), 0);
  for (const int type : {MBR_LIN16, MBR_LIN8, MBR_ALAW}) {
    reset_MBR();
    EXPECT_LT(readtype_MBR(nullptr, 10, type), 0) << type;
    EXPECT_LT(readtype_MBR(buffer, -1, type), 0) << type;
    EXPECT_EQ(lastError_MBR(), MBR_ERR_BAD_ARGUMENT) << type;
  }
  EXPECT_EQ(write_MBR(nullptr), 0);
}

std::vector<char> bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string writeBytes(const std::string& path, const std::vector<char>& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

TEST_F(BadInputTest, DatabasesThatAreMissingEmptyTruncatedOrFlippedAreRefused) {
  close_MBR();
  const std::vector<char> good = bytesOf(path_);
  const std::string dir = std::filesystem::path(path_).parent_path().string();
  struct Case {
    std::string path;
    int error;
  };
  std::vector<Case> cases = {{dir + "/none", MBR_ERR_DATABASE_MISSING},
                             {writeBytes(dir + "/empty", {}), MBR_ERR_DATABASE_CORRUPT},
                             {writeBytes(dir + "/short", {good.begin(), good.begin() + 30}), MBR_ERR_DATABASE_CORRUPT},
                             {writeBytes(dir + "/cut", {good.begin(), good.end() - 1000}), MBR_ERR_DATABASE_CORRUPT},
                             {writeBytes(dir + "/byte-short", {good.begin(), good.end() - 1}), MBR_ERR_DATABASE_CORRUPT},
                             {dir, MBR_ERR_DATABASE_CORRUPT}};
  std::vector<char> longer = good;
  longer.push_back(0);
  cases.push_back({writeBytes(dir + "/byte-long", longer), MBR_ERR_DATABASE_CORRUPT});
  // A byte more or less inside, under a checksum made again over it: only
  // the size the header's counts give can tell.
  const auto resummed = [](std::vector<char> bytes) {
    const std::size_t body = bytes.size() - 4;
    const std::uint32_t crc = psola::crc32(reinterpret_cast<const unsigned char*>(bytes.data()), body);
    for (int i = 0; i < 4; ++i) bytes[body + static_cast<std::size_t>(i)] = static_cast<char>(crc >> (8 * i));
    return bytes;
  };
  std::vector<char> padded = good, trimmed = good;
  padded.insert(padded.end() - 4, 0);
  trimmed.erase(trimmed.end() - 5);
  cases.push_back({writeBytes(dir + "/byte-long-summed", resummed(padded)), MBR_ERR_DATABASE_CORRUPT});
  cases.push_back({writeBytes(dir + "/byte-short-summed", resummed(trimmed)), MBR_ERR_DATABASE_CORRUPT});
  for (std::size_t at : {9ul, 20ul, 60ul, good.size() / 2, good.size() - 1}) {
    std::vector<char> flipped = good;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
    cases.push_back({writeBytes(dir + "/flip" + std::to_string(at), flipped), MBR_ERR_DATABASE_CORRUPT});
  }
  for (const Case& c : cases) {
    std::string path = c.path;
    EXPECT_LT(init_MBR(path.data()), 0) << path;
    EXPECT_EQ(lastError_MBR(), c.error) << path << ": " << engineError();
    EXPECT_LT(write_MBR(const_cast<char*>("a 100\r\n")), 0);
  }
  EXPECT_LT(init_MBR(nullptr), 0);
  ASSERT_EQ(init_MBR(path_.data()), 0);
}

TEST_F(BadInputTest, ADatabaseWhoseRecordsContradictThemselvesIsRefused) {
  close_MBR();
  // Each record at its edge: the last value that is whole, the first that is not.
  auto check = [&](const char* what, bool whole, auto spoil) {
    psola::Database db = makeTestVoice();
    spoil(db);
    std::string path = std::filesystem::path(path_).parent_path().string() + "/spoilt";
    std::vector<unsigned char> bytes = psola::serializeDatabase(db);  // a valid checksum over bad records
    writeBytes(path, {bytes.begin(), bytes.end()});
    if (whole) {
      // It opens, and says every phoneme at its length: a diphone of no
      // samples or of halves of no length is silence, never a fault.
      ASSERT_EQ(init_MBR(path.data()), 0) << what << ": " << engineError();
      const std::vector<short> out = speak("a 100\na 100\na 100\ni 100\ns 100\ns 100\na 100");
      EXPECT_NEAR(static_cast<double>(out.size()), 700 * 16, 80) << what;
      EXPECT_EQ(lastError_MBR(), MBR_OK) << what << ": " << engineError();
      return;
    }
    EXPECT_LT(init_MBR(path.data()), 0) << what;
    EXPECT_EQ(lastError_MBR(), MBR_ERR_DATABASE_CORRUPT) << what;
  };
  using psola::Database;
  const auto samples = [](const Database& db) { return static_cast<std::uint32_t>(db.samples.size()); };
  const auto marks = [](const Database& db) { return static_cast<std::uint32_t>(db.marks.size()); };
  check("samples past the end", false, [](Database& db) { db.diphones[3].sampleCount = 1u << 30; });
  check("a sample offset past the samples", false,
        [&](Database& db) { db.diphones[3].sampleOffset = samples(db) + 1; });
  check("no samples, at the end of them", true, [&](Database& db) {
    psola::Diphone& d = db.diphones.back();
    d.sampleOffset = samples(db);
    d.sampleCount = d.cutStart = d.boundary = d.cutEnd = d.markCount = 0;
  });
  check("a sample count one past the samples", false, [&](Database& db) {
    db.diphones.back().sampleCount = samples(db) - db.diphones.back().sampleOffset + 1;
  });
  check("cut points out of order", false, [](Database& db) { db.diphones[5].boundary = db.diphones[5].cutEnd + 1; });
  check("a cut start after the boundary", false,
        [](Database& db) { db.diphones[5].cutStart = db.diphones[5].boundary + 1; });
  check("all cut points at one place", true, [](Database& db) {
    psola::Diphone& d = db.diphones[5];  // a-a
    d.cutStart = d.cutEnd = d.boundary;
  });
  check("a cut end at the last sample", true,
        [](Database& db) { db.diphones[5].cutEnd = db.diphones[5].sampleCount; });
  check("a cut end past the last sample", false,
        [](Database& db) { db.diphones[5].cutEnd = db.diphones[5].sampleCount + 1; });
  check("marks out of order", false, [](Database& db) { std::swap(db.marks[1], db.marks[2]); });
  check("a mark twice", false, [](Database& db) { db.marks[2] = db.marks[1]; });
  check("a mark on the last sample", true, [](Database& db) {
    const psola::Diphone& d = db.diphones[5];
    db.marks[d.markOffset + d.markCount - 1] = (d.sampleCount - 1) << 1 | 1;
  });
  check("a mark past the last sample", false, [](Database& db) {
    const psola::Diphone& d = db.diphones[5];
    db.marks[d.markOffset + d.markCount - 1] = d.sampleCount << 1 | 1;
  });
  check("marks past the end", false, [&](Database& db) {
    db.diphones[5].markCount = marks(db) - db.diphones[5].markOffset + 1;
  });
  check("a mark offset past the marks", false, [&](Database& db) {
    db.diphones[5].markOffset = marks(db) + 1;
    db.diphones[5].markCount = 0;
  });
  check("no marks, at the end of them", true, [&](Database& db) {
    db.diphones[5].markOffset = marks(db);
    db.diphones[5].markCount = 0;
  });
  check("a phoneme twice", false, [](Database& db) { db.phonemes[2].name = "a"; });
  check("no silence", false, [](Database& db) { db.phonemes[0].name = "h"; });
  check("a name of seven characters", true, [](Database& db) { db.phonemes.push_back({"ppppppp", 0}); });
  check("a name with a blank", false, [](Database& db) { db.phonemes[2].name = "i i"; });
  check("a name with a control character", false, [](Database& db) { db.phonemes[2].name = "i\x7"; });
  check("a diphone twice", false, [](Database& db) { db.diphones[1] = db.diphones[0]; });
  check("an unknown phoneme", false, [](Database& db) { db.diphones[0].right = 9; });
  check("an unknown phoneme on the left", false, [](Database& db) { db.diphones[0].left = 4; });
  check("a sample rate of 4000 Hz", true, [](Database& db) { db.sampleRate = 4000; });
  check("a sample rate below 4000 Hz", false, [](Database& db) { db.sampleRate = 3999; });
  check("a sample rate of 96000 Hz", true, [](Database& db) { db.sampleRate = 96000; });
  check("a sample rate above 96000 Hz", false, [](Database& db) { db.sampleRate = 96001; });
  check("no phonemes", false, [](Database& db) {
    db.phonemes.clear();
    db.diphones.clear();
  });
  check("255 phonemes", true, [](Database& db) {
    while (db.phonemes.size() < 255) db.phonemes.push_back({"p" + std::to_string(db.phonemes.size()), 0});
  });
  check("256 phonemes", false, [](Database& db) {
    while (db.phonemes.size() < 256) db.phonemes.push_back({"p" + std::to_string(db.phonemes.size()), 0});
  });
}

}  // namespace
}  // namespace psola_test
