// The Portuguese front end's text stages: normalisation, exceptions, stress.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/host_control.h"
#include "support/console_fixture.h"
#include "support/golden_data.h"
#include "tts/utts_excessoes.h"
#include "tts/utts_preproc.h"
#include "tts/utts_tonica.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::ConsoleTest;

std::string simplified(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

class TtsText : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    host::writeFile("C:\\AUREA\\portug.abr", "; abreviaturas\n Sr = senhor \n\nSra=senhora\nsem igual\n");
    ASSERT_TRUE(loadAbbreviations("C:\\AUREA\\portug.abr"));
  }
};

TEST_F(TtsText, NormalisationFollowsTheTable) {
  const auto rows = testing_support::goldenRows("normalize");
  for (const auto& [text, expected] : rows) EXPECT_EQ(simplified(normalizeText(text)), expected) << text;
  EXPECT_GE(rows.size(), 35u);
}

TEST_F(TtsText, AHyphenatedConsonantWordIsSpelledUnlessItIsAnAbbreviationAsWritten) {
  // "S-R" is not the abbreviation "Sr": it is spelled, hyphens included,
  // each sign a word of its own.
  const std::string spelled = characterName('S') + " " + characterName('-') + " " + characterName('R');
  EXPECT_EQ(simplified(normalizeText("S-R. ")), simplified(spelled + "."));
  EXPECT_EQ(simplified(normalizeText("Sr. Silva")), "senhor Silva");
}

TEST_F(TtsText, TabsAndLineEndsSayNothing) { EXPECT_EQ(simplified(normalizeText("a\tb\r\n")), "ab\xEA"); }

TEST_F(TtsText, ANumberOfSixteenDigitsIsAFifteenDigitNumberAndTheRest) {
  EXPECT_EQ(simplified(normalizeText("1234567890123456")),
            "cento e vinte e tr\xEAs trilh\xF5" "es quatrocentos e cinq\xFC" "enta e seis bilh\xF5" "es setecentos e "
            "oitenta e nove milh\xF5" "es doze mil e trezentos e quarenta e cinco seis");
  // Forty digits: fifteen, fifteen and the last ten, each a number of its own.
  const std::string fifteen =
      "novecentos e noventa e nove trilh\xF5" "es novecentos e noventa e nove bilh\xF5" "es novecentos e noventa e "
      "nove milh\xF5" "es novecentos e noventa e nove mil e novecentos e noventa e nove";
  const std::string ten =
      "nove bilh\xF5" "es novecentos e noventa e nove milh\xF5" "es novecentos e noventa e nove mil e novecentos e "
      "noventa e nove";
  EXPECT_EQ(simplified(normalizeText(std::string(40, '9'))), fifteen + " " + fifteen + " " + ten);
}

TEST_F(TtsText, AbbreviationsAreUpperCasedTrimmedAndAtMost2000) {
  EXPECT_EQ(abbreviationCount(), 2);
  EXPECT_EQ(lookupAbbreviation("sr"), "senhor");
  EXPECT_EQ(lookupAbbreviation("x"), "");
  std::string many;
  for (int i = 0; i < 2100; ++i) many += "K" + std::to_string(i) + "=v\n";
  host::writeFile("C:\\AUREA\\many.abr", many);
  ASSERT_TRUE(loadAbbreviations("C:\\AUREA\\many.abr"));
  EXPECT_EQ(abbreviationCount(), kMaxAbbreviations);
  EXPECT_FALSE(loadAbbreviations("C:\\AUREA\\none.abr"));
}

TEST_F(TtsText, EveryByteAndLongTextsAreNormalisedWithoutHarm) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string everyByte = simplified(normalizeText(all));
  // The digits in a row: a leading zero named, the rest one number.
  EXPECT_NE(everyByte.find("zero cento e vinte e tr\xEAs milh\xF5" "es quatrocentos e cinq\xFC" "enta e seis mil e "
                           "setecentos e oitenta e nove"),
            std::string::npos) << everyByte;
  EXPECT_NE(everyByte.find("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << everyByte;
  std::string big;
  while (big.size() < 100000) big += "1.234,5 Sr. casa-verde 3as. www.x.br ??? \x01\xFF ";
  EXPECT_GT(normalizeText(big).size(), big.size());
}

TEST_F(TtsText, CharacterNamesCoverTheTable) {
  EXPECT_EQ(characterName('C'), " s\xEA");
  EXPECT_EQ(characterName('j'), "jota");
  EXPECT_EQ(characterName('J'), "j\xF3ta");
  EXPECT_EQ(characterName(0xE7), "C\xEA cedilha");
  EXPECT_EQ(characterName(0xA1), "exclama\xE7\xE3o reversa");
  EXPECT_EQ(characterName(0xBF), "interroga\xE7\xE3o reversa");
  EXPECT_EQ(characterName(0xD7), "vezes");
  EXPECT_EQ(characterName(0xDD), "");
  EXPECT_EQ(characterName(0xFF), "");
  EXPECT_EQ(characterName(0x10), "");
}

TEST_F(TtsText, StressFollowsTheTable) {
  const auto rows = testing_support::goldenRows("tts_stress");
  for (const auto& [word, position] : rows) EXPECT_EQ(findStressedLetter(word), std::stoi(position)) << word;
  EXPECT_GE(rows.size(), 18u);
}

TEST_F(TtsText, ExceptionsServePluralsAndMFormsOfTheirStem) {
  host::writeFile("C:\\AUREA\\portug.exc", "casa=kaza|coment\nfala=FALLA\nbola =X\nsemigual\n");
  ASSERT_TRUE(loadExceptions("C:\\AUREA\\portug.exc"));
  const struct {
    const char* word;
    const char* result;
  } cases[] = {{"CASA", "KAZA"}, {"CASAS", "KAZAS"}, {"FALAM", "FALLAM"}, {"CASASM", "KAZASM"},
               {"BOLA", "BOLA"},  {"SMS", "SMS"},    {"CASAL", "CASAL"},  {"SEMIGUAL", "SEMIGUAL"}};
  for (const auto& c : cases) {
    std::string w = c.word;
    lookupException(w);
    EXPECT_EQ(w, c.result) << c.word;
  }
  EXPECT_FALSE(loadExceptions("C:\\AUREA\\none.exc"));
}

TEST_F(TtsText, AtMost15000ExceptionsAndLongLinesCut) {
  std::string lines;
  for (int i = 0; i < 15100; ++i) lines += "W" + std::to_string(i) + "=X\n";
  lines += std::string(300, 'Q') + "=Y\n";
  host::writeFile("C:\\AUREA\\big.exc", lines);
  ASSERT_TRUE(loadExceptions("C:\\AUREA\\big.exc"));
  EXPECT_EQ(ttsExceptionCount(), kMaxTtsExceptions);
}

}  // namespace
