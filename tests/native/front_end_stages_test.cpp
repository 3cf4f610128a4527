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
    const tradutor::TextList& lines = pass.run(t.text, 1.0, 1.0);
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

}  // namespace
