// The prosody file, the diphone list, tokens, word classes and intonation codes.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/host_control.h"
#include "support/console_fixture.h"
#include "tts/utts_prosodia.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::ConsoleTest;

const char* const kProsody =
    "; pros\xF3" "dia de teste\n"
    "[PROS\xD3" "DIA]\n"
    "hertz=200\n"
    "TABHERTZ=0,50,60,70,80,90,100,110,120,130\n"
    "|??|=?42\n"
    "--|XX|=525\n"
    "|XX|=444\n"
    "||=555\n"
    "[CHAVES]\n"
    "de = pr\n"
    " o=ar\n"
    "[DURA\xC7\xC3O]\n"
    "a=100\n"
    "_,=250\n"
    "* comment\n"
    "k=70\n";

class Prosody : public ConsoleTest {
 protected:
  bool load(const std::string& text) {
    host::writeFile("C:\\AUREA\\portug.pro", text);
    host::clearMessagesShown();
    return loadProsodyFile("C:\\AUREA\\portug.pro");
  }
  std::string lastMessage() { return host::messagesShown().empty() ? "" : host::messagesShown().back(); }
};

TEST_F(Prosody, TheSectionsMayStandInAnyOrder) {
  ASSERT_TRUE(load(kProsody));
  EXPECT_EQ(phonemeDuration("a"), 100);
  EXPECT_EQ(phonemeDuration("_,"), 250);
  EXPECT_EQ(phonemeDuration("A"), 100);  // missing (case counts): the default
  EXPECT_EQ(phonemeDuration("k"), 70);
  EXPECT_EQ(baseFrequency(), 200);
  EXPECT_EQ(pitchLevel('7'), 110);
  EXPECT_EQ(pitchLevel('x'), 0);
  EXPECT_EQ(wordClass("De"), "PR");
  EXPECT_EQ(wordClass("O"), "AR");
  EXPECT_EQ(wordClass("casa"), "");
  EXPECT_TRUE(host::messagesShown().empty());
  // A key given twice keeps its first value.
  ASSERT_TRUE(load(std::string(kProsody) + "a=300\n[CHAVES]\nde = ar\n"));
  EXPECT_EQ(phonemeDuration("a"), 100);
  EXPECT_EQ(wordClass("de"), "PR");
}

TEST_F(Prosody, EveryFailureIsShownInAMessageBox) {
  const std::string dur = "[DURA\xC7\xC3O]\na=1\n";
  const std::string keys = "[CHAVES]\nde=PR\n";
  const std::string pros = "[PROS\xD3" "DIA]\n||=555\n";
  const struct {
    std::string file;
    bool ok;
    std::string message;
  } cases[] = {
      {keys + pros, false, "Dura\xE7\xE3o dos difones errada ou ausente"},
      {dur + pros, false, "Pros\xF3" "dia: palavras chaves ausentes"},
      {dur + keys, false, "Pros\xF3" "dia: especifica\xE7\xF5" "es ausentes"},
      {"[DURA\xC7\xC3O]\nsem igual\n" + keys + pros, false, "Configura\xE7\xE3o da pros\xF3" "dia: fonema errado: sem igual"},
      {"[DURA\xC7\xC3O]\na=muito\n" + keys + pros, true, "Configura\xE7\xE3o da pros\xF3" "dia: fonema errado: a=muito"},
      {dur + "[CHAVES]\nsem igual\n" + pros, false, "Configura\xE7\xE3o da pros\xF3" "dia: chave errada: sem igual"},
      {dur + keys + "[PROS\xD3" "DIA]\nXX|YY\n", false, "Configura\xE7\xE3o da pros\xF3" "dia: chave errada: XX|YY"},
      {dur + keys + "[PROS\xD3" "DIA]\nHERTZ=alto\n", false, "Configura\xE7\xE3o da pros\xF3" "dia: frequ\xEAncia errada: HERTZ=alto"},
      {dur + keys + "[PROS\xD3" "DIA]\nTABHERTZ=1,2,3\n", false,
       "Configura\xE7\xE3o da pros\xF3" "dia: frequ\xEAncia errada: TABHERTZ=1,2,3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(load(c.file), c.ok) << c.message;
    EXPECT_EQ(lastMessage(), c.message);
  }
  EXPECT_TRUE(load("[DURA\xC7\xC3O]\na=muito\n" + keys + pros));
  EXPECT_EQ(phonemeDuration("a"), 100);  // the duration that was no number
  EXPECT_FALSE(loadProsodyFile("C:\\AUREA\\none.pro"));
  EXPECT_EQ(lastMessage(), "Configura\xE7\xE3o da pros\xF3" "dia n\xE3o foi achada");
}

TEST_F(Prosody, TablesFillToTheirSizeAndTheRestIsReported) {
  std::string file = "[DURA\xC7\xC3O]\n";
  for (int i = 0; i < 150; ++i) file += "p" + std::to_string(i % 10) + "=" + std::to_string(i) + "\n";
  file += "[CHAVES]\nde=PR\n[PROS\xD3" "DIA]\n||=555\n";
  EXPECT_TRUE(load(file));
  EXPECT_EQ(host::messagesShown().size(), 1u);
  EXPECT_EQ(lastMessage().rfind("Configura\xE7\xE3o da pros\xF3" "dia: tabela cheia", 0), 0u);
}

TEST_F(Prosody, TheDiphoneListStoresPairsAndFindsThemWhateverTheCase) {
  host::writeFile("C:\\AUREA\\portug.dfn", "; lista\n! x\n\na   b\n_ a\nr2\t_ 123\nnh-a\n  e@  o  \n");
  ASSERT_TRUE(loadDiphoneList("C:\\AUREA\\portug.dfn"));
  EXPECT_TRUE(hasDiphonePair("a-b"));
  EXPECT_TRUE(hasDiphonePair("A-B"));
  EXPECT_TRUE(hasDiphonePair("_-a"));
  EXPECT_TRUE(hasDiphonePair("r2-_"));
  EXPECT_TRUE(hasDiphonePair("nh-a"));
  EXPECT_TRUE(hasDiphonePair("e@-o"));
  EXPECT_FALSE(hasDiphonePair("a-c"));
  freeDiphoneList();
  EXPECT_FALSE(hasDiphonePair("a-b"));
  EXPECT_FALSE(loadDiphoneList("C:\\AUREA\\none.dfn"));
}

TEST_F(Prosody, TokensMarkPhrasesAndPunctuation) {
  ASSERT_TRUE(load(kProsody));
  EXPECT_EQ(splitIntoWords("casa, de?"),
            (StringList{"[--]", "[XX]casa", "[,,],", "[PR]de", "[??]?", "[--]"}));
  EXPECT_EQ(splitIntoWords("bom... dia"), (StringList{"[--]", "[XX]bom", "[.-]-", "[XX]dia"}));
  EXPECT_EQ(splitIntoWords(""), (StringList{"[--]"}));
}

TEST_F(Prosody, CodesComeFromTheFirstMatchingPatternAndAQuestionMarkTakesTheLastDigit) {
  ASSERT_TRUE(load(kProsody));
  // casa after a boundary: 525; the "?" token then gets ?42 -> 542; "de" after "?" matches nothing special: 555.
  EXPECT_EQ(assignIntonationCodes(splitIntoWords("casa? de")),
            (StringList{"555|", "525|casa", "542|?", "555|", "555|de"}));
  EXPECT_EQ(assignIntonationCodes(splitIntoWords("casa casa")), (StringList{"555|", "525|casa", "444|casa"}));
}

TEST_F(Prosody, LinesWithNoPlaceInTheFileChangeNothingAndABadDurationIsReported) {
  std::string text;
  for (int b = 1; b < 256; ++b) text += static_cast<char>(b);
  text += text + " casa? de casa casa";
  ASSERT_TRUE(load(kProsody));
  const StringList clean = assignIntonationCodes(splitIntoWords(text));
  ASSERT_TRUE(load(std::string(kProsody) + "=\n[\n"));
  EXPECT_EQ(assignIntonationCodes(splitIntoWords(text)), clean);
  // A duration line that is no "name=number" refuses the file, whole in its message.
  for (const std::string& bad : {std::string(400, 'z'), std::string("\x01\x02garbage")}) {
    EXPECT_FALSE(load(std::string(kProsody) + bad + "\n"));
    EXPECT_EQ(lastMessage(), "Configura\xE7\xE3o da pros\xF3" "dia: fonema errado: " + bad);
  }
}

}  // namespace
