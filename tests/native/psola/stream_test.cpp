// The engine's input and output: lines, flushes, reads of any size, reset,
// volume, sample types, rates, names, phone objects and a custom parser.
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "measures.h"

namespace psola_test {
namespace {

using StreamTest = EngineTest;

const char kSentence[] = "_ 50\na 120 50 110\ns 90\ni 140 80 180\na 100 50 140\n_ 60";

std::vector<short> readAll(int piece) {
  std::vector<short> out, buffer(static_cast<std::size_t>(piece));
  for (int n; (n = read_MBR(buffer.data(), piece)) > 0;) out.insert(out.end(), buffer.begin(), buffer.begin() + n);
  return out;
}

TEST_F(StreamTest, NothingIsReadyUntilTheRightNeighbourOrAFlushArrives) {
  short buffer[100];
  write_MBR(const_cast<char*>("a 100 50 120\r\n"));
  EXPECT_EQ(read_MBR(buffer, 100), 0);
  write_MBR(const_cast<char*>("i 100 50 120\r\n"));
  EXPECT_GT(read_MBR(buffer, 100), 0);  // "a" can be made now
  readAll(1000);
  flush_MBR();
  EXPECT_GT(read_MBR(buffer, 100), 0);  // and "i" after the flush
  readAll(1000);
  EXPECT_EQ(read_MBR(buffer, 100), 0);
}

TEST_F(StreamTest, AHashLineEndsTheUtteranceLikeAFlush) {
  const std::vector<short> flushed = speak("a 100 50 120\ni 100");
  reset_MBR();
  write_MBR(const_cast<char*>("a 100 50 120\r\ni 100\r\n#\r\n"));
  EXPECT_EQ(readAll(4096), flushed);
  // Two utterances in one write: each ends in silence at its own length.
  write_MBR(const_cast<char*>("a 100 50 120\ni 100\n#\na 100 50 120\ni 100\n#\n"));
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

TEST_F(StreamTest, ReadsOfAnySizeGiveTheSameSamples) {
  const std::vector<short> whole = speak(kSentence, 16000);
  ASSERT_GT(whole.size(), 8000u);
  for (int piece : {1, 7}) {
    reset_MBR();
    EXPECT_EQ(speak(kSentence, piece), whole) << "pieces of " << piece;
  }
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
  const std::vector<short> alone = speak("i 200 50 150\na 100");
  reset_MBR();
  write_MBR(const_cast<char*>("s 300\na 500 50 90\ni 100 50 90\n"));
  short buffer[10];
  ASSERT_GT(read_MBR(buffer, 10), 0);  // output was waiting
  reset_MBR();
  EXPECT_EQ(read_MBR(buffer, 10), 0);
  EXPECT_EQ(speak("i 200 50 150\na 100"), alone);
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
  ASSERT_EQ(init_rename_MBR(path_.data(), const_cast<char*>("a A"), const_cast<char*>("i ii")), 0);
  EXPECT_GT(speak("A 100\nii 100\ni 100").size(), 4000u);
  EXPECT_EQ(lastError_MBR(), 0) << engineError();
  reset_MBR();
  speak("a 100");
  EXPECT_EQ(lastError_MBR(), MBR_ERR_UNKNOWN_PHONEME);
  close_MBR();
  EXPECT_LT(init_rename_MBR(path_.data(), const_cast<char*>("a"), nullptr), 0);
  EXPECT_LT(init_rename_MBR(path_.data(), const_cast<char*>("zz Z"), nullptr), 0);
  EXPECT_EQ(lastError_MBR(), MBR_ERR_RENAME);
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
  const std::vector<short> fromLines = speak("a 120 50 110\ns 90\ni 140 80 180");
  reset_MBR();
  ListParser list{{nullptr, nextFromList, resetList}, {}, 0, 0};
  list.parser.user = &list;
  void* a = init_Phone(const_cast<char*>("a"), 120);
  EXPECT_EQ(appendf0_Phone(a, 50, 110), 0);
  void* s = init_Phone(const_cast<char*>("s"), 90);
  EXPECT_EQ(appendf0_Phone(s, 10, 999), 0);
  EXPECT_EQ(reset_Phone(s), 0);  // the pitch point goes again
  void* i = init_Phone(const_cast<char*>("i"), 140);
  EXPECT_EQ(appendf0_Phone(i, 80, 180), 0);
  EXPECT_LT(appendf0_Phone(i, 50, 5), 0);  // out of range, refused
  list.phones = {a, s, i};
  setParser_MBR(&list.parser);
  EXPECT_EQ(readAll(1000), fromLines);
  setParser_MBR(nullptr);
  void* spare = init_Phone(const_cast<char*>("a"), 10);
  close_Phone(spare);
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

}  // namespace
}  // namespace psola_test
