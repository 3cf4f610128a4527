// Transcription into phonemes, and the MBROLA lines made from them.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/host_control.h"
#include "support/console_fixture.h"
#include "tts/utts_excessoes.h"
#include "tts/utts_inic.h"
#include "tts/utts_portug.h"
#include "tts/utts_prosodia.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::ConsoleTest;

const char* const kRules =
    "; regras de teste\n"
    "(MAR)=m&a&r2\n"
    "(A)=a&h|two phonemes\n"
    "(C)=k\n"
    "(E)=e\n"
    "(I)=\n"
    "(L)=l\n"
    "(O)=o\n"
    "(P)=p\n"
    "(S)%=s2\n"
    "(S)=s\n"
    "(T)=t\n"
    "(U)=\xA8u\n"
    "(B)=b\n"
    "(R)=r\n"
    "(QQ)=abcdefghijklmnop\n"
    "garbage without parentheses\n"
    "()=nothing\n"
    "\n";

class Transcription : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    host::writeFile("C:\\AUREA\\portug.nrl", kRules);
    host::writeFile("C:\\AUREA\\portug.exc", "ELES=ELLES\n");
    ASSERT_TRUE(loadLanguageData("C:\\AUREA\\portug.nrl", "C:\\AUREA\\portug.exc"));
  }
  StringList rules(const std::string& word, int stress) {
    StringList out;
    applyLetterRules(word, stress, out);
    return out;
  }
};

TEST_F(Transcription, RulesAreChainedByFirstLetterAndMalformedLinesSkipped) {
  EXPECT_EQ(transcriptionRuleCount(), 15);
  EXPECT_EQ(parseRuleLine("#(A)B=x|y").leftContext, "#");
  EXPECT_EQ(parseRuleLine("(ABCDEFG)=x").match, "ABCDE");
  EXPECT_EQ(parseRuleLine("(A)=" + std::string(30, 'o')).output.size(), 20u);
  EXPECT_FALSE(loadLanguageData("C:\\AUREA\\none.nrl", "C:\\AUREA\\portug.exc"));
  EXPECT_EQ(ttsExceptionCount(), 0);
}

TEST_F(Transcription, TheStressMarkGoesOnTheFirstPhonemeAtOrAfterTheStressedLetter) {
  // "&" gives two entries; only the first carries the mark.
  EXPECT_EQ(rules("ACA", 1), (StringList{">a", "h", "k", "a", "h", ""}));
  // The stressed I says nothing: the mark moves to the next phoneme.
  EXPECT_EQ(rules("PIA", 2), (StringList{"p", ">a", "h", ""}));
  EXPECT_EQ(rules("PIA", 0), (StringList{"p", "a", "h", ""}));
  // Only 11 characters of an output are said.
  EXPECT_EQ(rules("QQ", 0), (StringList{"abcdefghijk", ""}));
  // A letter without a rule says nothing.
  EXPECT_EQ(rules("PZP", 0), (StringList{"p", "p", ""}));
  // A word longer than 255 letters gets one mark, never a second.
  const StringList longWord = rules(std::string(300, 'P'), 1);
  EXPECT_EQ(std::count_if(longWord.begin(), longWord.end(), [](const std::string& p) { return !p.empty() && p[0] == '>'; }), 1);
}

TEST_F(Transcription, ShortAndListedWordsGetNoMark) {
  for (const char* w : {"A", "DE", "POR", "DAS", "DOS", "COM", "N\xC3O", "SIM"}) EXPECT_TRUE(isUnstressedWord(w)) << w;
  EXPECT_FALSE(isUnstressedWord("CASA"));
  const StringList p = transcribeWords({"555|de", "555|por"});
  for (const std::string& e : p) EXPECT_TRUE(e.empty() || e[0] != '>') << e;
}

TEST_F(Transcription, TheListHasHeadersPausesAndAFinalLongPause) {
  EXPECT_EQ(transcribeWords({"555|", "525|cabo", "555|,"}),
            (StringList{";555|", "__", "", ";525|cabo", "k", ">a", "h", "b", "o", "", ";555|,", "_,", "__"}));
  for (const char c : std::string("!(),.:;?")) {
    StringList one;
    addPausePhoneme(c, one);
    EXPECT_EQ(one, (StringList{std::string("_") + c}));
  }
  StringList none;
  addPausePhoneme('x', none);
  EXPECT_TRUE(none.empty());
}

TEST_F(Transcription, ExceptionsRespellBeforeTheRules) {
  // The rules read the respelling: its doubled l, and its stressed e before
  // -lles, which no closed ending names, open.
  EXPECT_EQ(transcribeWords({"555|eles"}), (StringList{";555|eles", ">ee", "l", "l", "e", "s2", "", "__"}));
}

TEST_F(Transcription, AFinalROrSBeforeAVowelLinks) {
  const StringList marAberto = transcribeWords({"555|mar", "555|abo"});
  EXPECT_EQ(marAberto[3], "r");
  const StringList marTo = transcribeWords({"555|mar", "555|to"});
  EXPECT_EQ(marTo[3], "r2");
  // "¨" before the vowel does not hide it.
  const StringList marU = transcribeWords({"555|mar", "555|ub"});
  EXPECT_EQ(marU[6], "\xA8u");  // entries: header, m, a, r2, end of word, header, first phoneme
  EXPECT_EQ(marU[3], "r");
  // A first phoneme with the stress mark links too (ela, isso, outro).
  const StringList masEla = transcribeWords({"555|mas", "555|ela"});
  EXPECT_EQ(masEla[6], ">ee");
  EXPECT_EQ(masEla[3], "z");
  // Before a pause nothing changes.
  const StringList masComma = transcribeWords({"555|mas", "555|,"});
  EXPECT_EQ(masComma[3], "s2");
}

// Words are kept with their phonemes between texts; new rules or new
// exceptions must be heard at once, not the phonemes kept from the old ones.
TEST_F(Transcription, AKnownWordSaysWhatTheRulesAndExceptionsLoadedNowSay) {
  EXPECT_EQ(transcribeWords({"555|cato", "555|cato"})[1], "k");
  host::writeFile("C:\\AUREA\\other.nrl", "(C)=ch\n(A)=a\n(T)=t\n(O)=o\n(E)=e\n(L)=l\n(S)=s\n");
  ASSERT_TRUE(loadLanguageData("C:\\AUREA\\other.nrl", "C:\\AUREA\\portug.exc"));
  EXPECT_EQ(transcribeWords({"555|cato"})[1], "ch");
  host::writeFile("C:\\AUREA\\other.exc", "CATO=TALO\n");
  ASSERT_TRUE(loadExceptions("C:\\AUREA\\other.exc"));
  EXPECT_EQ(transcribeWords({"555|cato"})[1], "t");
  clearTtsExceptions();
  EXPECT_EQ(transcribeWords({"555|cato"})[1], "ch");
}

// Words of up to 48 letters are kept; what the store gives back for a text
// of several words is what the rules make once the store is emptied.
TEST_F(Transcription, AKeptWordSaysWhatTheRulesSayAfterTheStoreIsEmptied) {
  for (const std::size_t length : {1u, 47u, 48u, 49u, 200u}) {
    std::string word;
    while (word.size() < length) word += "cato";
    word.resize(length);
    const StringList text = {"555|cato", "555|" + word, "555|ato", "555|" + word};
    const StringList first = transcribeWords(text), kept = transcribeWords(text);
    forgetTranscribedWords();
    const StringList fresh = transcribeWords(text);
    EXPECT_EQ(kept, fresh) << length;
    EXPECT_EQ(first, fresh) << length;
  }
}

class PhonemeLines : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    host::writeFile("C:\\AUREA\\portug.pro",
                    "[DURA\xC7\xC3O]\na=100\nk=100\ns=100\n_,=250\n[CHAVES]\nde=PR\n[PROS\xD3" "DIA]\nHERTZ=230\n"
                    "TABHERTZ=0,0,0,0,0,100,0,0,0,110\n||=555\n");
    ASSERT_TRUE(loadProsodyFile("C:\\AUREA\\portug.pro"));
    host::writeFile("C:\\AUREA\\portug.dfn", "_ k\nk a\na s\ns a\na _\n_ _\nk k\na k\na y\nr2 _\n");
    ASSERT_TRUE(loadDiphoneList("C:\\AUREA\\portug.dfn"));
    resetPhonemeLineState();
  }
};

TEST_F(PhonemeLines, TheStressedStretchIsLongerUntilTheMark) {
  const StringList lines = makePhonemeLines({";595|casa", "k", ">a", "s", "\xA8" "a", "", "__"}, 1.0, 1.0);
  EXPECT_EQ(lines, (StringList{";casa", "k 100 50 230", "a 145 80 253", "s 145", "a 100 50 230", "", "_ 100 50 230"}));
}

TEST_F(PhonemeLines, LongWordsAreShortenedBeforeTheStress) {
  const StringList thirteen = makePhonemeLines({";000|abcdefghijklm", "k", ">a", "k", ""}, 1.0, 1.0);
  EXPECT_EQ(thirteen[1], "k 80");
  EXPECT_EQ(thirteen[3], "k 145");
  const StringList nine = makePhonemeLines({";000|abcdefghi", "k", ">a", ""}, 1.0, 1.0);
  EXPECT_EQ(nine[1], "k 90");
  const StringList eight = makePhonemeLines({";000|abcdefgh", "k", ">a", ""}, 1.0, 1.0);
  EXPECT_EQ(eight[1], "k 100");
}

TEST_F(PhonemeLines, TheFactorsScaleDurationsAndPitch) {
  const StringList lines = makePhonemeLines({";595|ka", "k", ">a", ""}, 0.5, 1.5);
  EXPECT_EQ(lines[1], "k 50 50 345");
  EXPECT_EQ(lines[2], "a 72 80 379");
}

TEST_F(PhonemeLines, PausesTakeTheirDurations) {
  const StringList lines = makePhonemeLines({";000|,", "_,", ";000|x", "_", "_ 300", "__"}, 1.0, 1.0);
  EXPECT_EQ(lines, (StringList{";,", "_ 250", ";x", "_ 100", "_ 300", "_ 100"}));
}

TEST_F(PhonemeLines, MissingDiphonesGetAFiller) {
  // a-t is missing and a-y exists: "y 50"; t-k is missing and t-y too: "_ 50".
  const StringList lines = makePhonemeLines({";000|x", "k", "a", "t", "k", ""}, 1.0, 1.0);
  EXPECT_EQ(lines, (StringList{";x", "k 100", "a 100", "y 50", "t 100", "_ 50", "k 100", ""}));
  // After r2, with r2-_ in the list: "_ 50".
  const StringList afterR = makePhonemeLines({";000|x", "k", "a", "r2", "t", ""}, 1.0, 1.0);
  EXPECT_EQ(afterR[5], "_ 50");
}

TEST_F(PhonemeLines, ASecondUtteranceStartsWithTheTestOfTheLastPhonemeAgainstASilence) {
  makePhonemeLines({";000|x", "k", "a", "", "__"}, 1.0, 1.0);
  host::writeFile("C:\\AUREA\\portug.dfn", "_ k\nk a\n");
  ASSERT_TRUE(loadDiphoneList("C:\\AUREA\\portug.dfn"));
  const StringList second = makePhonemeLines({";000|x", "k", ""}, 1.0, 1.0);
  EXPECT_EQ(second[0], "_ 50");  // "_-_" is not in the list now
  EXPECT_EQ(second[1], ";x");
}

// Names and lines longer than the short buffers they are built in.
TEST_F(PhonemeLines, LongNamesAndLinesComeOutWhole) {
  for (const std::size_t length : {7u, 22u, 23u, 47u, 60u, 300u}) {
    const std::string name(length, 'k');
    const StringList lines = makePhonemeLines({";595|ka", name, ">" + name, "a", ""}, 1.0, 1.0);
    ASSERT_EQ(lines.size(), 8u) << length;
    EXPECT_EQ(lines[1], "_ 50") << length;  // no diphone from the silence into it
    EXPECT_EQ(lines[2], name + " 100 50 230") << length;
    EXPECT_EQ(lines[4], name + " 145 80 253") << length;
    EXPECT_EQ(lines[5], "_ 50") << length;
    EXPECT_EQ(lines[6], "a 145 50 230") << length;
  }
  // A long name the list holds with the one before it: no filler.
  host::writeFile("C:\\AUREA\\portug.dfn", "_ abcdefghij\nabcdefghij k\n");
  ASSERT_TRUE(loadDiphoneList("C:\\AUREA\\portug.dfn"));
  resetPhonemeLineState();
  EXPECT_EQ(makePhonemeLines({";000|x", "abcdefghij", "k", ""}, 1.0, 1.0),
            (StringList{";x", "abcdefghij 100", "k 100", ""}));
}

TEST_F(PhonemeLines, ANonNumericPauseIsReportedAndTakenAs100) {
  host::clearMessagesShown();
  const StringList lines = makePhonemeLines({";000|x", "_ longa", ""}, 1.0, 1.0);
  EXPECT_EQ(lines[1], "_ 100");
  EXPECT_LE(host::messagesShown().size(), 1u);
}

}  // namespace
