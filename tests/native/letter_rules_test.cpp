// The letter-to-sound rules engine: text preparation, words, exceptions,
// stress, spelling and rewriting with every context symbol.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "diphone/letter_rules.h"
#include "platform/host/host_control.h"
#include "support/console_fixture.h"
#include "support/golden_data.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::ConsoleTest;

constexpr const char* kVowels = "(A)=a\n(E)=e\n(I)=i\n(O)=o\n(U)=u\n(')=\n";

class LetterRules : public ConsoleTest {
 protected:
  void load(const std::string& rules, const std::string& exceptions = "") {
    host::writeFile("C:\\R\\regras.rgr", rules);
    host::writeFile("C:\\R\\portug.exc", exceptions);
    ASSERT_TRUE(loadLetterRules("C:\\R\\regras.rgr"));
    ASSERT_TRUE(loadExceptionWords("C:\\R\\portug.exc"));
  }
  std::string stressed(const std::string& text) {
    WorkWord w;
    std::size_t position = 0;
    nextWord(text, position, w);
    markStress(w);
    return w.text;
  }
};

TEST_F(LetterRules, StressFollowsTheSpellingRules) {
  const auto rows = testing_support::goldenRows("stress");
  for (const auto& [word, marked] : rows) EXPECT_EQ(stressed(word), marked) << word;
  EXPECT_GE(rows.size(), 25u);
}

TEST_F(LetterRules, PreparationNormalisesCharacters) {
  EXPECT_EQ(prepareText("d'agua D'Ouro"), "dagua DOuro");
  EXPECT_EQ(prepareText("\xE7\xC7"), "ssss");
  EXPECT_EQ(prepareText("caf\xE9 p\xE3o \xF1"), "cafe' pa~o nh");
  EXPECT_EQ(prepareText("kayak w y"), "kaiak w y");
  EXPECT_EQ(prepareText("wagner"), "uagner");
  EXPECT_EQ(prepareText("a\x05" "b\xA6"), "a \x01 b \x01 ");
  EXPECT_EQ(prepareText("\x82\xA0"), "e'a'");  // the same letters in code page 850
}

TEST_F(LetterRules, ContextSymbolsDecideWhichRuleApplies) {
  const struct {
    const char* rules;
    const char* word;
    const char* phonetic;
  } rows[] = {
      {"#(S)#=z\n(S)=s\n(C)=k\n(L)=l\n", "casa sala", "[k/A/z/a][s/A/l/a]"},
      {"%(R)=R\n(R)%=h\n(R)=x\n(T)=t\n(M)=m\n(C)=k\n", "rato mar caro", "[R/A/t/o][m/a/h][k/A/x/o]"},
      {"](L)=w\n(L)=l\n(T)=t\n", "alto elto a'lto", "[a/w/t/o][e/l/t/o][a//w/t/o]"},
      {"_(R)=r\n(R)=R\n(T)=t\n", "aro rato tra", "[a/r/o][r/A/t/o][t/R/a]"},
      {"|(R)=R\n(R)=r\n(H)=\n(N)=n\n", "honra", "[/O/n/R/a]"},
      {"(E)&=ey\n(E)=e\n(M)=m\n(L)=l\n", "mel", "[m/Ey/l]"},
      {"(N)*=~\n(N)=n\n(C)=k\n(T)=t\n", "canto cone", "[k/A/~/t/o][k/O/n/e]"},
      {"(C)+=s\n(C)=k\n(D)=d\n", "cedo caco", "[s/E/d/o][k/A/k/o]"},
      {"(L)[=w\n(L)=l\n(S)=s\n(C)=k\n(T)=t\n(M)=m\n(H)=\n", "sol calta malha", "[s/O/w][k/A/w/t/a][m/A/l//a]"},
      {"(E)\\%=Q\n(E)=e\n(P)=p\n(L)=l\n(S)=s\n", "pele peles", "[p/E/l/Q][p/E/l/Q/s]"},
      {"(B)A=x\n(B)=b\n", "ba bo", "[x/a][b/o]"},
      {"(NH)=nh\n(N)=n\n", "ninho", "[n/i/nh/o]"},
  };
  for (const auto& r : rows) {
    load(std::string(r.rules) + kVowels);
    EXPECT_EQ(textToPhonetic(r.word), r.phonetic) << r.rules;
  }
}

TEST_F(LetterRules, ALetterWithoutAMatchingRuleIsSpelledFromItsRecording) {
  load(kVowels);
  EXPECT_EQ(textToPhonetic("ka"), "[ /_K/a]");
}

TEST_F(LetterRules, WordsOfConsonantsAndUnknownCharactersAreSpelled) {
  load(kVowels);
  EXPECT_EQ(textToPhonetic("CBF"), "[ /_c][ /_b][ /_f]");
  EXPECT_EQ(textToPhonetic("\x05"), "[ /_\x01]");
  EXPECT_EQ(textToPhonetic(""), "");
  EXPECT_EQ(textToPhonetic("    "), "");
}

TEST_F(LetterRules, AnAccentedWordKeepsItsMarkForTheRules) {
  load(std::string("(F)=f\n(C)=k\n") + kVowels);
  EXPECT_EQ(textToPhonetic("caf\xE9"), "[k/a/f/e/]");
}

TEST_F(LetterRules, ExceptionsServePluralsAndVerbEndingsOfTheirStem) {
  load(std::string("(K)=k\n(Z)=z\n(S)=s\n(M)=m\n(F)=f\n(L)=l\n") + kVowels,
       "fala=fAlla|verb\ncasa=kAzza\n\n");
  EXPECT_EQ(textToPhonetic("casa"), "[k/A/z/z/a]");
  EXPECT_EQ(textToPhonetic("casas"), "[k/A/z/z/a/s]");
  // The respelling's double l shows that "falam" was found as "fala" + "m".
  EXPECT_EQ(textToPhonetic("falam"), "[f/A/l/l/a/m]");
  EXPECT_EQ(textToPhonetic("falams"), "[f/A/l/l/a/m/s]");
  EXPECT_EQ(exceptionWordCount(), 2);
}

TEST_F(LetterRules, ARuleOutOfItsLettersLinesStaysWithItsLetter) {
  load(std::string("%(B)=b1\n(C)=k\n(B)=b2\n") + kVowels);
  EXPECT_EQ(textToPhonetic("aba"), "[a/b2/a]");
  EXPECT_EQ(textToPhonetic("ba"), "[b1/a]");
}

TEST_F(LetterRules, GarbageLinesAreSkippedOrCut) {
  const std::string longLine = "(B)=" + std::string(300, 'x') + "|" + std::string(300, 'c') + "\n";
  load("garbage\n\n()=x\n(b)=lower\n(\x90)=high\n=\n(((\n)))\n" + longLine + kVowels);
  EXPECT_EQ(textToPhonetic("ba"), "[" + std::string(11, 'x') + "/a]");
  // (B), "(((" whose centre is "((", and the six of kVowels.
  EXPECT_EQ(letterRuleCount(), 8);
}

TEST_F(LetterRules, TheListsReachFromSpaceToUnderscore) {
  // "_" (95) is the last character with a list; "`" (96) has none.
  load(std::string("( )=blank\n(_)=under\n(`)=grave\n(0)=zero\n") + kVowels);
  EXPECT_EQ(letterRuleCount(), 3 + 6);
}

TEST_F(LetterRules, LoadingFailsForAMissingFile) {
  EXPECT_FALSE(loadLetterRules("C:\\NOWHERE\\regras.rgr"));
  EXPECT_FALSE(loadExceptionWords("C:\\NOWHERE\\portug.exc"));
}

TEST_F(LetterRules, AtMost15000ExceptionsAreReadAndLongLinesAreCut) {
  std::ostringstream exceptions;
  for (int i = 15005; i > 0; --i) exceptions << "w" << i << "=x\n";
  exceptions << std::string(400, 'q') << "=r\n";
  load(kVowels, exceptions.str());
  EXPECT_EQ(exceptionWordCount(), kMaxExceptionWords);
}

TEST_F(LetterRules, AWordLongerThanTheWorkWordIsSplit) {
  load(kVowels);
  const std::string word(300, 'a');
  // Each part is a word of its own, stressed on its last but one vowel.
  auto group = [](int n) {
    std::string g = "[";
    for (int i = 1; i <= n; ++i) g += std::string(i > 1 ? "/" : "") + (i == n - 1 ? "A" : "a");
    return g;
  };
  const std::string first = group(256);
  const std::string second = group(44);
  EXPECT_EQ(textToPhonetic(word), first + "]" + second + "]");
}

TEST_F(LetterRules, EveryByteOfAThousandCharacterTextIsHandled) {
  load(kVowels);
  std::string text;
  for (int i = 0; i < 1000; ++i) text += static_cast<char>(i % 256);
  const std::string phonetic = textToPhonetic(text);
  // Signs and digits are spelled one by one; in the run of capitals the
  // vowels take their rules and the consonants (no rule here) are spelled.
  EXPECT_NE(phonetic.find("[ /_+][ /_,][ /_-][ /_.][ /_/][ /_0][ /_1]"), std::string::npos) << phonetic;
  EXPECT_NE(phonetic.find("[ /_@][a/ /_B/ /_C/ /_D/e/ /_F/"), std::string::npos) << phonetic;
  EXPECT_EQ(textToPhonetic("a1a"), "[a][ /_1][a]");
}

}  // namespace
