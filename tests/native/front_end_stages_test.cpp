// Every stage of the Portuguese front end, byte for byte, on stored texts
// (tests/data/front_end_stages.txt, written by `tradutor stages`): the
// normalised text, the tokens, the coded words, the phoneme list and the
// phoneme lines the engine gets, through the stage functions one by one and
// through the one pass the voice driver runs.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/host/host_control.h"
#include "tts/utts_inic.h"
#include "tts/utts_pipeline.h"
#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_prosodia.h"
#include "tts/utts_text.h"

namespace {

using Stages = std::map<std::string, tradutor::StringList>;

struct StoredText {
  std::string text;
  Stages stages;
};

std::vector<StoredText> storedTexts() {
  std::ifstream in(std::string(TEST_DATA_DIR) + "/front_end_stages.txt", std::ios::binary);
  EXPECT_TRUE(in) << "front_end_stages.txt";
  std::vector<StoredText> texts;
  tradutor::StringList* stage = nullptr;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("@text ", 0) == 0) {
      texts.push_back({line.substr(6), {}});
      stage = nullptr;
    } else if (!line.empty() && line[0] == '@' && !texts.empty()) {
      stage = &texts.back().stages[line.substr(1)];
    } else if (!line.empty() && line[0] == ' ' && stage != nullptr) {
      stage->push_back(line.substr(1));
    }
  }
  return texts;
}

class FrontEndStages : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::host::reset();
    const std::string stem = std::string(VOICE_DIR) + "/drive_c/tarsis/aureatts/portug";
    ASSERT_TRUE(tradutor::loadAbbreviations(stem + ".abr"));
    ASSERT_TRUE(tradutor::loadProsodyFile(stem + ".pro"));
    ASSERT_TRUE(tradutor::loadLanguageData(stem + ".nrl", stem + ".exc"));
    ASSERT_TRUE(tradutor::loadDiphoneList(stem + ".dfn"));
    texts_ = storedTexts();
    ASSERT_GE(texts_.size(), 30u);
  }
  void TearDown() override {
    tradutor::freeTranscriptionRules();
    tradutor::freeDiphoneList();
    tradutor::resetPhonemeLineState();
  }
  std::vector<StoredText> texts_;
};

// The first differing entry, with its neighbours, for a readable failure.
void expectSameEntries(const tradutor::StringList& got, const tradutor::StringList& want, const std::string& where) {
  for (std::size_t i = 0; i < got.size() && i < want.size(); ++i)
    if (got[i] != want[i]) {
      ADD_FAILURE() << where << ": entry " << i << " is \"" << got[i] << "\", stored \"" << want[i] << "\"";
      return;
    }
  EXPECT_EQ(got.size(), want.size()) << where << ": entry count";
}

TEST_F(FrontEndStages, EachStageGivesTheStoredEntries) {
  for (const StoredText& t : texts_) {
    const tradutor::StringList normalized = {tradutor::normalizeText(t.text)};
    expectSameEntries(normalized, t.stages.at("normalize"), t.text + " / normalize");
    const tradutor::StringList tokens = tradutor::splitIntoWords(normalized[0]);
    expectSameEntries(tokens, t.stages.at("tokens"), t.text + " / tokens");
    const tradutor::StringList codes = tradutor::assignIntonationCodes(tokens);
    expectSameEntries(codes, t.stages.at("codes"), t.text + " / codes");
    const tradutor::StringList phonemes = tradutor::transcribeWords(codes);
    expectSameEntries(phonemes, t.stages.at("phonemes"), t.text + " / phonemes");
    tradutor::resetPhonemeLineState();
    expectSameEntries(tradutor::makePhonemeLines(phonemes, 1.0, 1.0), t.stages.at("pho"), t.text + " / pho");
  }
}

TEST_F(FrontEndStages, TheVoiceDriversPassGivesTheStoredLines) {
  tradutor::FrontEndPass pass;
  for (const StoredText& t : texts_) {
    tradutor::resetPhonemeLineState();
    tradutor::SpokenMarks marks;  // placing the words changes no line
    const tradutor::TextList& lines = pass.run(t.text, 1.0, 1.0, &marks);
    expectSameEntries(lines.toStrings(), t.stages.at("pho"), t.text + " / one pass");
  }
  // Run again on the same workspace, in the other order: nothing is left
  // over from one text to the next but the last phoneme.
  for (auto it = texts_.rbegin(); it != texts_.rend(); ++it) {
    tradutor::resetPhonemeLineState();
    expectSameEntries(pass.run(it->text, 1.0, 1.0).toStrings(), it->stages.at("pho"), it->text + " / again");
  }
}

// The last phoneme of one text decides the filler before the next text's
// first one, in the one pass as in the stages.
TEST_F(FrontEndStages, ThePassCarriesTheLastPhonemeOverAsTheStagesDo) {
  tradutor::FrontEndPass pass;
  tradutor::StringList byStages, byPass;
  tradutor::resetPhonemeLineState();
  for (const StoredText& t : texts_) {
    const auto lines = tradutor::makePhonemeLines(
        tradutor::transcribeWords(tradutor::assignIntonationCodes(tradutor::splitIntoWords(tradutor::normalizeText(t.text)))),
        1.3, 0.8);
    byStages.insert(byStages.end(), lines.begin(), lines.end());
  }
  tradutor::resetPhonemeLineState();
  for (const StoredText& t : texts_) {
    const auto lines = pass.run(t.text, 1.3, 0.8).toStrings();
    byPass.insert(byPass.end(), lines.begin(), lines.end());
  }
  expectSameEntries(byPass, byStages, "all texts in a row");
}

using Kind = tradutor::SpokenMark::Kind;

std::vector<std::string> writtenAs(const std::string& text, const tradutor::SpokenMarks& marks, Kind kind) {
  std::vector<std::string> out;
  for (const auto& m : marks)
    if (m.kind == kind) out.push_back(text.substr(m.source.begin, m.source.end - m.source.begin));
  return out;
}

// Each word as written, whatever it is said as, and each sentence whole.
TEST_F(FrontEndStages, MarksPointAtTheWordsAndSentencesAsWritten) {
  struct Case {
    std::string text;
    std::vector<std::string> words, sentences;
  };
  const Case cases[] = {
      {"O Sr. Silva pagou 1250 reais, \xE0s 10h30. \xC1gua e CPF!",
       {"O", "Sr.", "Silva", "pagou", "1250", "reais", "\xE0s", "10h30", "\xC1gua", "e", "CPF"},
       {"O Sr. Silva pagou 1250 reais, \xE0s 10h30.", "\xC1gua e CPF!"}},
      {"  guarda-chuva  d'\xE1gua, R$ 7,50 em 12/05/2026?",
       {"guarda-chuva", "d'\xE1gua", "R$ 7,50", "em", "12/05/2026"},
       {"guarda-chuva  d'\xE1gua, R$ 7,50 em 12/05/2026?"}},
      {"x", {"x"}, {"x"}},
      {"...", {}, {}},
  };
  tradutor::FrontEndPass pass;
  tradutor::SpokenMarks marks;
  for (const Case& c : cases) {
    pass.run(c.text, 1.0, 1.0, &marks);
    EXPECT_EQ(writtenAs(c.text, marks, Kind::word), c.words) << c.text;
    EXPECT_EQ(writtenAs(c.text, marks, Kind::sentence), c.sentences) << c.text;
  }
}

// On every stored text: words in order, in the sound as in the text, none
// beginning or ending in a space (a form read whole, "10 km", holds one),
// every letter of the text inside a word, and each sentence starting where
// its first word does.
TEST_F(FrontEndStages, MarksCoverEveryLetterInOrder) {
  tradutor::FrontEndPass pass;
  tradutor::SpokenMarks marks;
  for (const StoredText& t : texts_) {
    pass.run(t.text, 1.0, 1.0, &marks);
    std::vector<bool> inWord(t.text.size(), false);
    const tradutor::SpokenMark* last = nullptr;
    for (std::size_t i = 0; i < marks.size(); ++i) {
      const auto& m = marks[i];
      ASSERT_LT(m.source.begin, m.source.end) << t.text;
      ASSERT_LE(m.source.end, t.text.size()) << t.text;
      if (m.kind == Kind::sentence) {
        ASSERT_LT(i + 1, marks.size()) << t.text;
        EXPECT_EQ(marks[i + 1].kind, Kind::word) << t.text;
        EXPECT_EQ(marks[i + 1].source.begin, m.source.begin) << t.text;
        EXPECT_EQ(marks[i + 1].sample, m.sample) << t.text;
        continue;
      }
      const std::string written = t.text.substr(m.source.begin, m.source.end - m.source.begin);
      EXPECT_TRUE(written.front() != ' ' && written.back() != ' ') << t.text << ": \"" << written << "\"";
      if (last != nullptr) {
        EXPECT_GE(m.source.begin, last->source.end) << t.text;
        EXPECT_GT(m.sample, last->sample) << t.text;
      }
      last = &m;
      for (auto k = m.source.begin; k < m.source.end; ++k) inWord[k] = true;
    }
    for (std::size_t k = 0; k < t.text.size(); ++k) {
      const bool letter = tradutor::tts::isLetter(static_cast<std::uint8_t>(t.text[k]));
      EXPECT_TRUE(!letter || inWord[k]) << t.text << ": letter " << k << " is in no word";
    }
  }
}

}  // namespace
