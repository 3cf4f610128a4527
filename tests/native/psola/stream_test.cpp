// The engine's input and output: lines, flushes, reads of any size, reset,
// volume, sample types, rates, names, phone objects and a custom parser.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "failing_allocator.h"
#include "measures.h"
#include "resampler.h"
#include "sample_codecs.h"

namespace psola_test {
namespace {

using StreamTest = EngineTest;

const char kSentence[] = "_ 50\na 120 50 110\ns 90\ni 140 80 180\na 100 50 140\n_ 60";

TEST_F(StreamTest, NothingIsReadyUntilTheRightNeighbourOrAFlushArrives) {
  short buffer[100];
  write_MBR(const_cast<char*>("a 100 50 120\r\n"));
  EXPECT_EQ(read_MBR(buffer, 100), 0);
  write_MBR(const_cast<char*>("i 100\r\n"));
  EXPECT_EQ(read_MBR(buffer, 100), 0);  // the pitch after "a" is not known yet
  write_MBR(const_cast<char*>("i 100 50 120\r\n"));
  EXPECT_GT(read_MBR(buffer, 100), 0);  // "a" can be made now
  readAll(1000);
  flush_MBR();
  EXPECT_GT(read_MBR(buffer, 100), 0);  // and "i" after the flush
  readAll(1000);
  EXPECT_EQ(read_MBR(buffer, 100), 0);
  // Phonemes that never get a pitch target are made once more than 2000 wait.
  std::string lines;
  for (int k = 0; k < 2000; ++k) lines += "a 100\n";
  write_MBR(lines.data());
  EXPECT_EQ(read_MBR(buffer, 100), 0);
  write_MBR(const_cast<char*>("a 100\n"));
  EXPECT_GT(read_MBR(buffer, 100), 0);
}

TEST_F(StreamTest, AHashLineEndsTheUtteranceLikeAFlush) {
  const std::vector<short> flushed = speak("a 100 50 120\ni 100");
  reset_MBR();
  write_MBR(const_cast<char*>("a 100 50 120\r\ni 100\r\n#\r\n"));
  EXPECT_EQ(readAll(4096), flushed);
  // Numbers may carry a plus sign.
  EXPECT_EQ(speak("a +100 +50 +120\ni +100"), flushed);
  // Two utterances in one write: each ends in silence at its own length; a
  // second # or a flush with nothing open adds nothing and moves nothing.
  write_MBR(const_cast<char*>("a 100 50 120\ni 100\n#\n#\na 100 50 120\ni 100\n#\n"));
  flush_MBR();
  std::vector<short> twice = flushed;
  twice.insert(twice.end(), flushed.begin(), flushed.end());
  const std::vector<short> both = readAll(777);
  ASSERT_EQ(both.size(), twice.size());
  for (std::size_t k = 0; k < both.size(); ++k)
    if (both[k] != twice[k]) {
      ADD_FAILURE() << "the two utterances differ from sample " << k << " of " << both.size();
      break;
    }
}

// Whatever the pieces, and whether each line is read as it is written or
// all after the last, at any output rate: the resampler waits for the input
// it needs instead of making a sample without it.
TEST_F(StreamTest, ReadsOfAnySizeGiveTheSameSamples) {
  for (const int rate : {16000, 8000, 22050}) {
    setFreq_MBR(rate);
    reset_MBR();
    const std::vector<short> whole = speakAtOnce(kSentence);
    ASSERT_GT(whole.size(), static_cast<std::size_t>(rate) / 2);
    for (int piece : {1, 7, 16000}) {
      reset_MBR();
      EXPECT_EQ(speak(kSentence, piece), whole) << "pieces of " << piece << " at " << rate << " Hz";
    }
  }
  setFreq_MBR(16000);
  short buffer[4];
  EXPECT_EQ(read_MBR(buffer, 0), 0);
}

TEST_F(StreamTest, TheSameInputGivesTheSameSamples) {
  const std::vector<short> first = speak(kSentence);
  reset_MBR();
  EXPECT_EQ(speak(kSentence), first);
  close_MBR();
  ASSERT_EQ(init_MBR(path_.data()), 0);
  EXPECT_EQ(speak(kSentence), first);
}

TEST_F(StreamTest, ResetDiscardsPendingInputAndOutput) {
  // Without "i-i": a reset that kept the last "i" queued as the left
  // neighbour of the next one would look for that diphone.
  close_MBR();
  open({"i-i"});
  const std::vector<short> alone = speak("i 200 50 150\na 100");
  reset_MBR();
  write_MBR(const_cast<char*>("s 300\na 500 50 90\ni 100 50 90\n"));
  short buffer[10];
  ASSERT_GT(read_MBR(buffer, 10), 0);  // output was waiting
  reset_MBR();
  EXPECT_EQ(read_MBR(buffer, 10), 0);
  EXPECT_EQ(speak("i 200 50 150\na 100"), alone);
  EXPECT_EQ(lastError_MBR(), MBR_OK) << engineError();
}

TEST_F(StreamTest, TheVolumeRatioScalesTheSamples) {
  const std::vector<short> full = speak(kSentence);
  setVolumeRatio_MBR(0.5f);
  EXPECT_FLOAT_EQ(getVolumeRatio_MBR(), 0.5f);
  reset_MBR();
  const std::vector<short> half = speak(kSentence);
  EXPECT_NEAR(peak(half), peak(full) / 2.0, 1);
  setVolumeRatio_MBR(-1);  // refused
  EXPECT_FLOAT_EQ(getVolumeRatio_MBR(), 0.5f);
}

TEST_F(StreamTest, SampleTypesAreTheLinearAndCompandedForms) {
  const std::vector<short> linear = speak(kSentence);
  for (int type : {MBR_LIN8, MBR_ULAW, MBR_ALAW}) {
    reset_MBR();
    write_MBR(const_cast<char*>("a 120 50 110\ns 90\ni 140 80 180\n"));
    flush_MBR();
    std::vector<unsigned char> bytes(linear.size() + 100);
    const int n = readtype_MBR(bytes.data(), static_cast<int>(bytes.size()), type);
    EXPECT_GT(n, 1000) << type;
  }
  // Known codes: silence and full scale.
  reset_MBR();
  write_MBR(const_cast<char*>("_ 10\n"));
  flush_MBR();
  unsigned char codes[160];
  ASSERT_EQ(readtype_MBR(codes, 160, MBR_ULAW), 160);
  EXPECT_EQ(codes[80], 0xFF);  // mu-law zero
  write_MBR(const_cast<char*>("_ 10\n"));
  flush_MBR();
  ASSERT_EQ(readtype_MBR(codes, 160, MBR_ALAW), 160);
  EXPECT_EQ(codes[80], 0xD5);  // A-law zero
  write_MBR(const_cast<char*>("_ 10\n"));
  flush_MBR();
  ASSERT_EQ(readtype_MBR(codes, 160, MBR_LIN8), 160);
  EXPECT_EQ(codes[80], 128);
  EXPECT_LT(readtype_MBR(codes, 10, 7), 0);
  EXPECT_EQ(lastError_MBR(), MBR_ERR_BAD_ARGUMENT);
}

TEST_F(StreamTest, AnotherOutputRateResamples) {
  EXPECT_EQ(getFreq_MBR(), 16000);
  const std::vector<short> at16 = speak(kSentence);
  setFreq_MBR(8000);
  EXPECT_EQ(getFreq_MBR(), 8000);
  reset_MBR();
  const std::vector<short> at8 = speak(kSentence);
  EXPECT_NEAR(static_cast<double>(at8.size()), at16.size() / 2.0, 16);
  // The pitch is the same pitch at the new rate.
  EXPECT_NEAR(pitchOf(at8, 60 * 8, 150 * 8) / 2, 110, 4);
  setFreq_MBR(1);  // refused
  EXPECT_EQ(getFreq_MBR(), 8000);
  setFreq_MBR(16000);
}

TEST_F(StreamTest, RenamedAndClonedPhonemes) {
  close_MBR();
  // Names are separated by any blanks, leading and trailing ones too.
  ASSERT_EQ(init_rename_MBR(path_.data(), const_cast<char*>(" a\tA\r\n"), const_cast<char*>("i  ii ")), 0);
  EXPECT_GT(speak("A 100\nii 100\ni 100").size(), 4000u);
  EXPECT_EQ(lastError_MBR(), 0) << engineError();
  reset_MBR();
  speak("a 100");
  EXPECT_EQ(lastError_MBR(), MBR_ERR_UNKNOWN_PHONEME);
  close_MBR();
  const struct {
    const char *rename, *clone, *named;
  } refused[] = {{"a", nullptr, "rename"},     {"zz Z", nullptr, "rename"}, {nullptr, "a", "clone"},
                 {nullptr, "zz Z", "clone"},   {"a A", "a B", "clone"}};  // "a" is "A" by then
  for (const auto& r : refused) {
    EXPECT_LT(init_rename_MBR(path_.data(), const_cast<char*>(r.rename), const_cast<char*>(r.clone)), 0);
    EXPECT_EQ(lastError_MBR(), MBR_ERR_RENAME) << (r.rename ? r.rename : "") << " / " << (r.clone ? r.clone : "");
    EXPECT_NE(engineError().find(r.named), std::string::npos) << engineError();
    EXPECT_LT(write_MBR(const_cast<char*>("a 100\n")), 0);  // nothing is open
  }
}

TEST_F(StreamTest, VersionAndDatabaseInformation) {
  char text[200];
  EXPECT_NE(std::strstr(getVersion_MBR(text, sizeof text), "psola"), nullptr);
  std::vector<std::string> lines;
  for (int i = 0; getDatabaseInfo_MBR(text, sizeof text, i) > 0; ++i) lines.push_back(text);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "phonemes: 4");
  EXPECT_EQ(lines[1], "diphones: 16");
  EXPECT_EQ(lines[3], "name: test");
  char small[4];
  EXPECT_EQ(getDatabaseInfo_MBR(small, sizeof small, 0), 11);  // the whole length, the text cut
  EXPECT_STREQ(small, "pho");
  EXPECT_STREQ(getVersion_MBR(small, sizeof small), "pso");
  EXPECT_EQ(getDatabaseInfo_MBR(text, sizeof text, -1), 0);
  EXPECT_EQ(getDatabaseInfo_MBR(text, sizeof text, 4), 0);
  // No room at all: the buffer is left as it was.
  std::strcpy(small, "xyz");
  EXPECT_EQ(getDatabaseInfo_MBR(small, 0, 0), 11);
  getVersion_MBR(small, 0);
  EXPECT_STREQ(small, "xyz");
}

struct ListParser {
  MbrParser parser;
  std::vector<void*> phones;
  std::size_t next = 0;
  int resets = 0;
};

int MBR_API nextFromList(void* user, void** phone) {
  auto* list = static_cast<ListParser*>(user);
  if (list->next == list->phones.size()) {
    ++list->next;
    return 2;  // the end of the utterance, once
  }
  if (list->next > list->phones.size()) return 0;
  *phone = list->phones[list->next++];
  return 1;
}

void MBR_API resetList(void* user) { ++static_cast<ListParser*>(user)->resets; }

TEST_F(StreamTest, PhoneObjectsFromACustomParserSpeakLikeLines) {
  const std::vector<short> fromLines = speak("a 120 -30 100 50 110 50 140\ns 90\ni 140 20 130 80 180 150 200");
  reset_MBR();
  ListParser list{{nullptr, nextFromList, resetList}, {}, 0, 0};
  list.parser.user = &list;
  // Points are put in order and held to 0..100 %, as a line's are.
  void* a = init_Phone(const_cast<char*>("a"), 120);
  EXPECT_EQ(appendf0_Phone(a, 50, 110), 0);
  EXPECT_EQ(appendf0_Phone(a, -30, 100), 0);
  EXPECT_EQ(appendf0_Phone(a, 50, 140), 0);  // after the other at 50 %
  void* s = init_Phone(const_cast<char*>("s"), 90);
  EXPECT_EQ(appendf0_Phone(s, 10, 999), 0);
  EXPECT_EQ(reset_Phone(s), 0);  // the pitch point goes again
  void* i = init_Phone(const_cast<char*>("i"), 140);
  EXPECT_EQ(appendf0_Phone(i, 150, 200), 0);
  EXPECT_EQ(appendf0_Phone(i, 80, 180), 0);
  EXPECT_EQ(appendf0_Phone(i, 20, 130), 0);
  EXPECT_LT(appendf0_Phone(i, 50, 5), 0);  // out of range, refused
  list.phones = {a, s, i};
  setParser_MBR(&list.parser);
  EXPECT_EQ(readAll(1000), fromLines);
  // The parser is told of each reset and close, to start afresh with the engine.
  EXPECT_EQ(list.resets, 0);
  reset_MBR();
  EXPECT_EQ(list.resets, 1);
  close_MBR();
  EXPECT_EQ(list.resets, 2);
  ASSERT_EQ(init_MBR(path_.data()), 0);
  setParser_MBR(nullptr);
  void* spare = init_Phone(const_cast<char*>("a"), 10);
  close_Phone(spare);
}

// A parser that answers from a script, making an "a" of 100 ms for each 1,
// and counts how often it is asked.
struct ScriptedParser {
  MbrParser parser;
  std::vector<int> answers;
  std::size_t asked = 0;
  bool giveNothing = false;  // answer 1 without a phone
};

int MBR_API nextFromScript(void* user, void** phone) {
  auto* script = static_cast<ScriptedParser*>(user);
  const int answer = script->asked < script->answers.size() ? script->answers[script->asked] : 0;
  ++script->asked;
  if (answer == 1 && !script->giveNothing) *phone = init_Phone(const_cast<char*>("a"), 100);
  return answer;
}

// A read takes what the parser has ready and no more: it stops asking at its
// first answer other than a phone, names an error, and makes a phoneme once
// the utterance ends.
TEST_F(StreamTest, EachAnswerOfACustomParserHasItsEffect) {
  const struct {
    std::vector<int> answers;
    bool giveNothing;
    std::size_t asked;
    int samples, error;
  } rows[] = {
      {{0}, false, 1, 0, MBR_OK},
      {{-1}, false, 1, 0, MBR_ERR_PARSER},
      {{1, 1, 0}, false, 3, 0, MBR_OK},  // no pitch after them yet: nothing is made
      {{1, 1, 2}, false, 4, 3200, MBR_OK},  // and once more, for what follows
      {{2, 1, 2}, false, 1, 0, MBR_OK},  // an end with nothing open, then the read stops
      {{1, 2}, true, 1, 0, MBR_OK},      // "a phone" that is none
  };
  for (const auto& row : rows) {
    reset_MBR();
    ScriptedParser script{{nullptr, nextFromScript, nullptr}, row.answers, 0, row.giveNothing};
    script.parser.user = &script;
    setParser_MBR(&script.parser);
    short samples[8000];
    const int n = read_MBR(samples, 8000);
    const std::string what = ::testing::PrintToString(row.answers);
    EXPECT_NEAR(n, row.samples, 16) << what;
    EXPECT_EQ(script.asked, row.asked) << what;
    EXPECT_EQ(lastError_MBR(), row.error) << what;
    reset_MBR();  // a parser without a reset function of its own
    setParser_MBR(nullptr);
  }
}

// NaN fails every comparison, so a range test written the plain way lets it
// through; infinity passes a test of one end only.
TEST_F(StreamTest, PhoneObjectsRefuseValuesThatAreNoFiniteNumber) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  for (const float ms : {nan, inf, -inf}) {
    reset_MBR();
    EXPECT_EQ(init_Phone(const_cast<char*>("a"), ms), nullptr) << ms;
    EXPECT_EQ(lastError_MBR(), MBR_ERR_DURATION_RANGE) << ms;
  }
  void* a = init_Phone(const_cast<char*>("a"), 100);
  ASSERT_NE(a, nullptr);
  const struct { float position, hz; } refused[] = {{50, nan}, {50, inf}, {50, -inf}, {nan, 120}, {inf, 120}, {-inf, 120}};
  for (const auto& point : refused)
    EXPECT_LT(appendf0_Phone(a, point.position, point.hz), 0) << point.position << " " << point.hz;
  EXPECT_EQ(appendf0_Phone(a, 50, 120), 0);
  // No phone at all.
  EXPECT_EQ(init_Phone(nullptr, 100), nullptr);
  EXPECT_EQ(reset_Phone(nullptr), -1);
  EXPECT_EQ(appendf0_Phone(nullptr, 50, 120), -1);
  close_Phone(nullptr);
  // What was refused left no trace: the phone speaks as its line does.
  const std::vector<short> fromLine = speak("a 100 50 120");
  reset_MBR();
  ListParser list{{nullptr, nextFromList, resetList}, {a}, 0, 0};
  list.parser.user = &list;
  setParser_MBR(&list.parser);
  EXPECT_EQ(readAll(1000), fromLine);
  setParser_MBR(nullptr);
}

int MBR_API throwingParser(void*, void**) { throw std::runtime_error("a fault inside the parser"); }

// Whatever goes wrong inside a call is a failure the caller can see: a
// negative result and an error number of its own, cleared by a reset.
TEST_F(StreamTest, AFaultInsideTheEngineIsNamedAsAnError) {
  MbrParser parser{nullptr, throwingParser, resetList};
  setParser_MBR(&parser);
  short buffer[100];
  EXPECT_LT(read_MBR(buffer, 100), 0);
  EXPECT_EQ(lastError_MBR(), MBR_ERR_INTERNAL);
  char text[64];
  EXPECT_STRNE(lastErrorStr_MBR(text, sizeof text), "");
  setParser_MBR(nullptr);
  reset_MBR();
  EXPECT_EQ(lastError_MBR(), 0);
}

// Memory running out at any one allocation inside a call: the call gives its
// error answer and names "out of memory", and after a reset (or, for init,
// an init that works) the engine says what it said before.
TEST_F(StreamTest, MemoryRunningOutAnywhereInACallIsNamedAndForgottenOnReset) {
  setFreq_MBR(8000);  // through the resampler too
  reset_MBR();
  const std::vector<short> before = speak(kSentence);
  ListParser list{{nullptr, nextFromList, resetList}, {}, 0, 0};
  list.parser.user = &list;
  const auto lines = [](const char* text, bool flushed) {
    return [text, flushed] {
      setParser_MBR(nullptr);
      std::string copy = text;
      write_MBR(copy.data());
      if (flushed) flush_MBR();
    };
  };
  // The phones a failed read left with the parser.
  const auto closeLeftOver = [&list] {
    for (std::size_t k = list.next; k < list.phones.size(); ++k) close_Phone(list.phones[k]);
  };
  // Phones from a custom parser, enough that the queue grows while it reads.
  const auto parsed = [&list, &closeLeftOver] {
    closeLeftOver();
    list.phones.clear();
    list.next = 0;
    for (int k = 0; k < 40; ++k) {
      void* phone = init_Phone(const_cast<char*>(k % 2 != 0 ? "a" : "i"), 60);
      appendf0_Phone(phone, 50, static_cast<float>(100 + k));
      list.phones.push_back(phone);
    }
    setParser_MBR(&list.parser);
  };
  char info[64];
  const struct {
    const char* name;
    bool opens;  // the call opens the engine itself
    std::function<void()> prepare;
    std::function<int()> call;
    int failed;
  } calls[] = {
      {"init_MBR", true, lines("", false), [&] { return init_MBR(path_.data()); }, -1},
      {"init_rename_MBR", true, lines("", false),
       [&] { return init_rename_MBR(path_.data(), const_cast<char*>("a A"), const_cast<char*>("i I")); }, -1},
      {"write_MBR", false, lines("", false),
       [] { return write_MBR(const_cast<char*>("a 120 50 110\ns 90\ni 140 80 180\n")); }, -1},
      // The line without its line feed is read by the flush.
      {"flush_MBR", false, lines("a 120 50 110\ni 140 80 180", false), [] { return flush_MBR(); }, -1},
      {"read_MBR", false, parsed, [] {
         short samples[4000];
         return read_MBR(samples, 4000);
       }, -1},
      {"readtype_MBR", false, parsed, [] {
         unsigned char codes[4000];
         return readtype_MBR(codes, 4000, MBR_ALAW);
       }, -1},
      {"getDatabaseInfo_MBR", false, lines("", false), [&] { return getDatabaseInfo_MBR(info, sizeof info, 3); }, 0},
  };
  for (const auto& c : calls) {
    reset_MBR();
    c.prepare();
    const int untroubled = c.call();
    long failures = 0;
    for (long n = 0;; ++n) {
      reset_MBR();
      c.prepare();
      failAllocation(n);
      const int answer = c.call();
      const bool failed = allocationsBeforeFailure() < 0;
      failAllocation(-1);
      if (!failed) break;
      // A failure the library meets itself (a sort without its spare buffer)
      // leaves the call's answer as it was.
      if (lastError_MBR() == MBR_OK) {
        EXPECT_EQ(answer, untroubled) << c.name << ", allocation " << n;
        continue;
      }
      ++failures;
      EXPECT_EQ(answer, c.failed) << c.name << ", allocation " << n;
      EXPECT_EQ(lastError_MBR(), MBR_ERR_INTERNAL) << c.name << ", allocation " << n;
      EXPECT_EQ(engineError(), "out of memory") << c.name << ", allocation " << n;
      if (c.opens) {
        ASSERT_EQ(init_MBR(path_.data()), 0);
      }
    }
    EXPECT_GT(failures, 0) << c.name << " allocates nothing: the row tests nothing";
    if (c.opens) {
      ASSERT_EQ(init_MBR(path_.data()), 0);  // without the names the last row gave
    }
  }
  closeLeftOver();
  setParser_MBR(nullptr);
  reset_MBR();
  EXPECT_EQ(lastError_MBR(), MBR_OK);
  EXPECT_EQ(speak(kSentence), before);
  setFreq_MBR(16000);
}

// Samples are made as they are read, into a fixed ring: once the text is
// queued, reading it all allocates nothing, whatever the grains' sizes.
TEST_F(StreamTest, ReadingAtTheVoicesOwnRateAllocatesNothing) {
  write_MBR(const_cast<char*>("a 300 0 20 50 1000 100 40\ns 200\ni 300 0 500 100 20\na 100\n"));
  flush_MBR();
  static short samples[100000];  // static: the test's own storage allocates nothing either
  constexpr long kUntouched = 1000000;
  failAllocation(kUntouched);
  const int n = read_MBR(samples, 100000);
  const long left = allocationsBeforeFailure();
  failAllocation(-1);
  EXPECT_EQ(left, kUntouched);
  EXPECT_NEAR(n, 900 * 16, 80);
  // Low pitch makes the largest grains: they were there to make.
  EXPECT_GT(rms(std::vector<short>(samples, samples + std::max(n, 0)), 0, 4800), 300.0);
}

// G.711 as its standard defines it: each code stands for a cell of the
// linear scale, decoded to the cell's middle. A 16-bit sample must get the
// code whose cell holds it (its magnitude for mu-law; one less than it for
// negative samples in A-law), full scale clipped to the last cell.
struct Cell {
  int middle, half;
};
Cell muLawCell(std::uint8_t code) {
  const int c = ~code & 0xFF, exponent = (c >> 4) & 7, mantissa = c & 15;
  const int middle = (((mantissa << 3) + 0x84) << exponent) - 0x84;
  return {(c & 0x80) ? -middle : middle, 4 << exponent};
}
Cell aLawCell(std::uint8_t code) {
  const int c = code ^ 0x55, segment = (c >> 4) & 7, quant = c & 15;
  const int middle = segment == 0 ? (quant << 4) + 8 : ((quant << 4) + 0x108) << (segment - 1);
  return {(c & 0x80) ? middle : -middle, segment <= 1 ? 8 : 8 << (segment - 1)};
}

TEST(SampleCodes, EverySampleGetsTheCodeWhoseCellHoldsIt) {
  int previousLinear = -1;
  for (int x = -32768; x <= 32767; ++x) {
    const auto sample = static_cast<std::int16_t>(x);
    const Cell mu = muLawCell(psola::toMuLaw(sample));
    const int magnitude = std::min(std::abs(x), 32635);
    ASSERT_TRUE(std::abs(mu.middle) - mu.half <= magnitude && magnitude < std::abs(mu.middle) + mu.half &&
                (x < 0) == (mu.middle < 0 || (mu.middle == 0 && x < 0)))
        << "mu-law of " << x << " decodes to " << mu.middle;
    const Cell a = aLawCell(psola::toALaw(sample));
    const int folded = x < 0 ? -x - 1 : x;  // the standard's one's complement for negatives
    ASSERT_TRUE(std::abs(a.middle) - a.half <= folded && folded < std::abs(a.middle) + a.half && (x < 0) == (a.middle < 0))
        << "A-law of " << x << " decodes to " << a.middle;
    const int linear = psola::toLinear8(sample);
    ASSERT_TRUE(linear >= previousLinear && std::abs((linear - 128) * 256 - x) < 256) << "8-bit of " << x;
    previousLinear = linear;
  }
}

// The power of frequency `hz` in `x` (rate `rate`), by Goertzel, per sample.
double powerAt(const std::vector<float>& x, double hz, double rate) {
  const double w = 2 * 3.14159265358979323846 * hz / rate, c = 2 * std::cos(w);
  double s1 = 0, s2 = 0;
  for (const float v : x) {
    const double s0 = v + c * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return (s1 * s1 + s2 * s2 - c * s1 * s2) / (static_cast<double>(x.size()) * x.size());
}

std::vector<float> resampled(const std::vector<float>& in, int rate) {
  psola::Resampler r;
  r.configure(16000, rate);
  std::size_t at = 0;
  std::vector<float> out(in.size() * static_cast<std::size_t>(rate) / 16000 + 64);
  const int n = r.read(out.data(), static_cast<int>(out.size()), [&](float* buffer, int count) {
    const int given = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(count), in.size() - at));
    std::copy(in.begin() + static_cast<long>(at), in.begin() + static_cast<long>(at) + given, buffer);
    at += static_cast<std::size_t>(given);
    return given;
  }, true);
  out.resize(static_cast<std::size_t>(n));
  // The edges, where the window reaches past the input, are not measured.
  return {out.begin() + rate / 20, out.end() - rate / 20};
}

// Going down, what lies above the new Nyquist frequency is filtered out (it
// would fold back as a false tone) and what lies below is kept; going up,
// the whole band is kept and its image above 8 kHz is not made.
TEST(Resampling, KeepsTheBandAndMakesNoAliasOrImage) {
  struct Case {
    int rate;
    double tone;      // Hz at 16 kHz
    double measured;  // where it is looked for in the output
    bool kept;
  };
  const Case cases[] = {
      {8000, 3200, 3200, true},     {8000, 4800, 3200, false},  // 4800 would fold to 3200
      {8000, 1000, 1000, true},     {11025, 4400, 4400, true},  {11025, 6000, 5025, false},
      {16000, 7600, 7600, true},    {22050, 7000, 7000, true},  {22050, 7000, 9000, false},
      {32000, 7000, 7000, true},    {32000, 7000, 9000, false}, {32000, 2000, 14000, false},
  };
  for (const Case& c : cases) {
    std::vector<float> tone(16000);
    for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = static_cast<float>(8000 * std::sin(2 * 3.14159265358979323846 * c.tone * i / 16000));
    const double input = powerAt(tone, c.tone, 16000);
    const double output = powerAt(resampled(tone, c.rate), c.measured, c.rate);
    if (c.kept) {
      EXPECT_NEAR(output / input, 1.0, 0.1) << c.tone << " Hz to " << c.rate;
    } else {
      EXPECT_LT(output / input, 0.01) << c.tone << " Hz to " << c.rate << " seen at " << c.measured;
    }
  }
  // Noise: going up keeps its energy; going down to 8 kHz keeps what lay below 4 kHz.
  std::vector<float> noise(32000);
  unsigned seed = 1;
  for (float& v : noise) v = static_cast<float>(static_cast<int>((seed = seed * 1103515245u + 12345u) >> 16 & 0x7FFF) - 16384);
  auto energy = [](const std::vector<float>& x) {
    double sum = 0;
    for (const float v : x) sum += static_cast<double>(v) * v;
    return sum / static_cast<double>(x.size());
  };
  EXPECT_NEAR(energy(resampled(noise, 32000)) / energy(noise), 1.0, 0.05);
  EXPECT_NEAR(energy(resampled(noise, 22050)) / energy(noise), 1.0, 0.05);
  EXPECT_NEAR(energy(resampled(noise, 8000)) / energy(noise), 0.5, 0.05);
}

// Each limit of a phoneme line at its edge: the last value taken, the first
// refused.
TEST_F(StreamTest, EachLimitOfALineHoldsAtItsEdge) {
  auto withPairs = [](int pairs) {
    std::string line = "a 100";
    for (int k = 0; k < pairs; ++k) line += " " + std::to_string(k % 100) + " 120";
    return line;
  };
  auto padded = [](std::size_t length) {
    std::string line = "a 100";
    return line + std::string(length - line.size(), ' ');
  };
  struct Case {
    std::string line;
    int error;
  };
  const Case cases[] = {
      {"a 0", MBR_OK},           {"a 60000", MBR_OK},     {"a 60000.5", MBR_ERR_DURATION_RANGE},
      {"a 100 50 20", MBR_OK},   {"a 100 50 1000", MBR_OK}, {"a 100 50 19.9", MBR_ERR_PITCH_RANGE},
      {"a 100 50 1000.1", MBR_ERR_PITCH_RANGE},
      {withPairs(1), MBR_OK},    {withPairs(100), MBR_OK}, {withPairs(101), MBR_ERR_TOO_MANY_PITCH_POINTS},
      {padded(16384), MBR_OK},   {padded(16385), MBR_ERR_LINE_TOO_LONG},
  };
  for (const Case& c : cases) {
    reset_MBR();
    std::string text = c.line + "\n";
    write_MBR(text.data());
    EXPECT_EQ(lastError_MBR(), c.error) << c.line.substr(0, 40) << "... (" << c.line.size() << " characters)";
  }
}

// The settings and the documented answers of the functions, each at its edge.
TEST_F(StreamTest, EachSettingAndAnswerHoldsAtItsEdge) {
  const struct {
    int hz, kept;
  } rates[] = {{4000, 4000}, {3999, 4000}, {96000, 96000}, {96001, 96000}, {16000, 16000}};
  for (const auto& r : rates) {
    reset_MBR();
    setFreq_MBR(r.hz);
    EXPECT_EQ(getFreq_MBR(), r.kept) << r.hz;
    EXPECT_EQ(lastError_MBR(), r.hz == r.kept ? MBR_OK : MBR_ERR_BAD_ARGUMENT) << r.hz;
    if (r.hz != r.kept) {
      EXPECT_EQ(engineError(), "output frequency out of range (4000 to 96000)");
    }
  }
  const struct {
    float ratio, kept;
  } volumes[] = {{100, 100}, {100.5f, 100}, {1, 1}};
  for (const auto& v : volumes) {
    setVolumeRatio_MBR(v.ratio);
    EXPECT_FLOAT_EQ(getVolumeRatio_MBR(), v.kept) << v.ratio;
  }
  // Loud: samples stop at the 16-bit limits instead of wrapping round.
  reset_MBR();
  const std::vector<short> plain = speak(kSentence);
  setVolumeRatio_MBR(100);
  reset_MBR();
  const std::vector<short> loud = speak(kSentence);
  ASSERT_EQ(loud.size(), plain.size());
  int clipped = 0;
  for (std::size_t k = 0; k < plain.size(); ++k) {
    // (a step clear of the limits: the engine scales before it rounds)
    if (plain[k] > 330) clipped += loud[k] == 32767 ? 1 : 1000000;
    if (plain[k] < -330) clipped += loud[k] == -32768 ? 1 : 1000000;
  }
  EXPECT_GT(clipped, 1000);
  EXPECT_LT(clipped, 1000000) << "a loud sample wrapped round";
  setVolumeRatio_MBR(1);

  // write_MBR answers the characters it took; a flush reads a last line
  // that has no line feed.
  reset_MBR();
  EXPECT_EQ(write_MBR(const_cast<char*>("a 100\n")), 6);
  write_MBR(const_cast<char*>("i 100"));
  EXPECT_EQ(flush_MBR(), 0);
  EXPECT_NEAR(static_cast<double>(readAll(1000).size()), 200 * 16, 80);
  EXPECT_EQ(write_MBR(const_cast<char*>("a 100\n")), 6);  // a line of its own, nothing left of the last
  EXPECT_EQ(lastError_MBR(), MBR_OK) << engineError();

  // An error's text is cut to the buffer, its end kept for the zero.
  reset_MBR();
  speak("zz 100");
  char text[5];
  std::memset(text, 'x', sizeof text);
  lastErrorStr_MBR(text, sizeof text);
  EXPECT_EQ(std::strlen(text), 4u);

  // A phone object takes 100 pitch points, not 101.
  void* a = init_Phone(const_cast<char*>("a"), 100);
  for (int k = 0; k < 100; ++k) ASSERT_EQ(appendf0_Phone(a, static_cast<float>(k), 120), 0) << k;
  EXPECT_LT(appendf0_Phone(a, 50, 120), 0);
  close_Phone(a);
}

TEST_F(StreamTest, AVolumeOfZeroIsSilence) {
  setVolumeRatio_MBR(0);
  EXPECT_FLOAT_EQ(getVolumeRatio_MBR(), 0.0f);
  const std::vector<short> out = speak(kSentence);
  ASSERT_GT(out.size(), 8000u);
  EXPECT_EQ(peak(out), 0);
}

// A reset, or a close and a new init, at another rate leaves nothing of the
// resampler's input behind: what is said next is what a fresh engine says.
TEST_F(StreamTest, AResetAtAnotherRateForgetsWhatTheResamplerHeld) {
  for (const bool reopen : {false, true})
    for (const int rate : {8000, 22050}) {
      setFreq_MBR(rate);
      reset_MBR();
      const std::vector<short> fresh = speak("i 200 50 150\na 100");
      // Voiced from its first tens of milliseconds: a resampler that kept an
      // earlier test's place would start it with silence.
      EXPECT_GT(rms(fresh, rate / 40, rate / 10), 300.0) << rate;
      reset_MBR();
      // Far enough in that the resampler has let go of its first input.
      write_MBR(const_cast<char*>("s 300\na 500 50 90\ni 100 50 90\n"));
      std::vector<short> buffer(static_cast<std::size_t>(rate) / 2);
      ASSERT_EQ(read_MBR(buffer.data(), static_cast<int>(buffer.size())), static_cast<int>(buffer.size())) << rate;
      if (reopen) {
        close_MBR();
        ASSERT_EQ(init_MBR(path_.data()), 0);
      } else {
        reset_MBR();
      }
      EXPECT_EQ(speak("i 200 50 150\na 100"), fresh) << rate << (reopen ? ", opened again" : ", reset");
    }
  setFreq_MBR(16000);
}

// The samples of fixed input, kept as a count and a hash: every change to
// what the engine makes of them shows here, down to one sample (a grain's
// crossfade, a rounding). After a deliberate change of the sound, the
// failure prints the new figures to keep.
TEST_F(StreamTest, FixedInputGivesTheSamplesItAlwaysGave) {
  struct Output {
    const char* name;
    int rate, type;
    float volume;
    std::size_t bytes;
    std::uint64_t hash;
  };
  const Output outputs[] = {
      {"16 kHz", 16000, MBR_LIN16, 1.0f, 35840, 0xe9432d4310e3dc70ull},
      {"8 kHz", 8000, MBR_LIN16, 1.0f, 17920, 0x2bc58dbbc2141a7bull},
      {"22050 Hz", 22050, MBR_LIN16, 1.0f, 49394, 0xbb8fb36cda3df63eull},
      {"32 kHz", 32000, MBR_LIN16, 1.0f, 71680, 0xb7e7a2abcf8d9170ull},
      {"A-law", 16000, MBR_ALAW, 1.0f, 17920, 0x7b68de7446448642ull},
      {"mu-law", 16000, MBR_ULAW, 1.0f, 17920, 0x396b792030216b43ull},
      {"8-bit", 16000, MBR_LIN8, 1.0f, 17920, 0xe5980cb1e0957f45ull},
      {"half volume", 16000, MBR_LIN16, 0.5f, 35840, 0xa927a6ce709eebd9ull},
  };
  const std::string text = std::string(kSentence) + "\na 300 0 90 30 200 60 120 100 100\ni 40\ns 200\n_ 20\n";
  for (const Output& o : outputs) {
    setFreq_MBR(o.rate);
    setVolumeRatio_MBR(o.volume);
    reset_MBR();
    std::string copy = text;
    ASSERT_GT(write_MBR(copy.data()), 0) << o.name;
    flush_MBR();
    std::vector<unsigned char> bytes;
    alignas(short) unsigned char buffer[1000];
    const int width = o.type == MBR_LIN16 ? 2 : 1;
    for (int n; (n = readtype_MBR(buffer, 1000 / width, o.type)) > 0;)
      bytes.insert(bytes.end(), buffer, buffer + n * width);
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (const unsigned char b : bytes) hash = (hash ^ b) * 1099511628211ull;
    EXPECT_EQ(bytes.size(), o.bytes) << o.name;
    EXPECT_EQ(hash, o.hash) << o.name << ": " << bytes.size() << ", 0x" << std::hex << hash << "ull";
  }
  setFreq_MBR(16000);
  setVolumeRatio_MBR(1.0f);
}

}  // namespace
}  // namespace psola_test
