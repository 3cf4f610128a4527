// The screen review mode: moving over the screen, reading ranges, fields,
// search, go-to and copying the screen.
#include <gtest/gtest.h>

#include <string>

#include "hub/kzwin.h"
#include "hub/screen_review.h"
#include "platform/host/host_control.h"
#include "platform/virtual_keys.h"
#include "screen/kzcrt.h"
#include "support/fake_engine.h"
#include "support/sound_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
namespace vk = platform::vk;
using Names = std::vector<std::string>;
using Action = std::function<void()>;
using testing_support::FakeEngine;
using testing_support::SoundTest;

Action key(unsigned k, host::Modifiers m = {}) {
  return [k, m] { host::pressKey(k, m); };
}
Action keyDown(unsigned k, host::Modifiers m = {}) {
  return [k, m] { host::postKeyDown(k, m); };
}
Action text(const std::string& t) {
  return [t] { host::typeText(t); };
}

class Review : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    FakeEngine::reset();
    startHub();
  }
  void show(int row, const std::string& line, std::uint8_t attribute = 0x0F) {
    moveCursor(1, row);
    setCurrentAttribute(attribute);
    writeChars(reinterpret_cast<const std::uint8_t*>(line.data()), static_cast<std::uint16_t>(line.size()));
    setCurrentAttribute(0x0F);
  }
  // Runs the mode at (column, row) with the keys, then Esc; the review
  // position at each wait is noted.
  void review(int column, int row, std::vector<Action> keys) {
    keys.push_back(key(vk::kEscape));
    std::vector<Action> watched;
    for (auto& k : keys)
      watched.push_back([this, k] {
        positions.push_back({cursorRow(), cursorColumn()});
        k();
      });
    moveCursor(column, row);
    host::waveLog().blocks.clear();
    recordingsOpened();
    feedWhenIdle(watched);
    runScreenReview();
    host::setIdleHook(nullptr);
  }
  std::vector<std::pair<int, int>> positions;  // (row, column) before each key
};

TEST_F(Review, LeftAtColumnOneBeepsTwiceAndStays) {
  review(1, 3, {keyDown(vk::kLeft), []{}});
  EXPECT_EQ(beeps(), 1 + 2 + 2);  // entering, the move and its correction, leaving (two)
  ASSERT_GE(positions.size(), 2u);
  EXPECT_EQ(positions[1], (std::pair<int, int>{3, 1}));
}

TEST_F(Review, DownOnTheLastRowBeepsAndReadsNothing) {
  show(25, "ultima");
  review(1, 25, {keyDown(vk::kDown), []{}});
  EXPECT_EQ(beeps(), 1 + 1 + 2);
  EXPECT_EQ(positions[1], (std::pair<int, int>{25, 1}));
  EXPECT_TRUE(recordingsOpened().empty());
}

TEST_F(Review, RightReadsTheCharacterAndMoves) {
  show(2, "xy");
  review(1, 2, {keyDown(vk::kRight), keyDown(vk::kRight), []{}});
  EXPECT_EQ(recordingsOpened(), (Names{"_120", "_121"}));
  EXPECT_EQ(positions[2], (std::pair<int, int>{2, 3}));
}

TEST_F(Review, TtWithAnEngineSpeaksEveryRowFromColumnOneAndFtStartsAtTheCursor) {
  FakeEngine::install(4);
  FakeEngine::millisecondsPerText = 10;
  startHub("[TRADUTOR]\nSAPI=S\n");
  for (int row = 1; row <= 25; ++row) show(row, "linha " + std::to_string(row));
  review(1, 1, {text("tt")});
  ASSERT_EQ(FakeEngine::spoken.size(), 25u);
  EXPECT_EQ(FakeEngine::spoken[0], "linha 1" + std::string(73, ' '));
  EXPECT_EQ(FakeEngine::spoken[24].substr(0, 8), "linha 25");
  FakeEngine::spoken.clear();
  review(4, 24, {text("ft")});
  ASSERT_EQ(FakeEngine::spoken.size(), 2u);
  EXPECT_EQ(FakeEngine::spoken[0].substr(0, 6), "ha 24 ");
  EXPECT_EQ(FakeEngine::spoken[1].substr(0, 8), "linha 25");
}

TEST_F(Review, TtWithoutAnEngineReadsWordByWord) {
  show(1, "a + b");
  for (int row = 2; row <= 25; ++row) show(row, "");
  review(1, 1, {text("tt")});
  EXPECT_EQ(recordingsOpened(), (Names{"_43", "_98"}));  // "a" is a diphone, "+" named, "b" spelled
  EXPECT_EQ(clicks(), 24);                              // one between each two rows
}

TEST_F(Review, ABadTwoLetterCommandBeepsClicksAndBeeps) {
  review(1, 1, {text("tx"), text("q"), []{}});
  EXPECT_EQ(beeps(), 1 + 2 + 2 + 2);
  EXPECT_EQ(clicks(), 2);
}

TEST_F(Review, F6GoesToTheRowAndColumnTypedAndTheyAreCorrected) {
  review(1, 1, {keyDown(vk::kF1 + 5), text("0"), text("5"), text("1"), text("2"), []{}});
  EXPECT_EQ(positions.back(), (std::pair<int, int>{5, 12}));
  positions.clear();
  review(1, 1, {keyDown(vk::kF1 + 5), text("9"), text("9"), text("9"), text("9"), []{}});
  EXPECT_EQ(positions.back(), (std::pair<int, int>{25, 80}));
  EXPECT_EQ(beeps(), 1 + 2 + 2);
  positions.clear();
  review(7, 7, {keyDown(vk::kF1 + 5), text("0"), text("x"), []{}});
  EXPECT_EQ(positions.back(), (std::pair<int, int>{7, 7}));
}

TEST_F(Review, SearchFindsTextOnlyAfterTheCursor) {
  show(3, "alvo antes");
  show(9, "   alvo depois");
  review(8, 3, {keyDown(vk::kF1 + 4), text("alvo"), key(vk::kReturn), []{}});
  EXPECT_EQ(positions.back(), (std::pair<int, int>{9, 4}));
  EXPECT_EQ(reviewSearchText(), "alvo");
  positions.clear();
  review(8, 9, {keyDown(vk::kF1 + 4, {.ctrl = true}), []{}});  // search again from after the match
  EXPECT_EQ(positions.back(), (std::pair<int, int>{9, 8}));
  EXPECT_EQ(beeps(), 1 + 2 + 2);
}

TEST_F(Review, ASearchTextLongerThanARowIsNeverFound) {
  reviewSearchText() = std::string(90, 'x');
  show(1, std::string(80, 'x'));
  review(1, 1, {keyDown(vk::kF1 + 4, {.ctrl = true}), []{}});
  EXPECT_EQ(beeps(), 1 + 2 + 2);
}

TEST_F(Review, TenDashesAreSaidAsThree) {
  show(4, "----------");
  review(1, 4, {keyDown(vk::kF1), []{}});
  EXPECT_EQ(recordingsOpened(), (Names{"_45", "_45", "_45"}));
  EXPECT_EQ(positions.back(), (std::pair<int, int>{4, 11}));
}

TEST_F(Review, FieldsAreRunsOfOneColour) {
  show(6, "nome: ");
  moveCursor(7, 6);
  setCurrentAttribute(0x1F);
  writeChars(reinterpret_cast<const std::uint8_t*>("Ana Lima"), 8);
  setCurrentAttribute(0x0F);
  review(9, 6, {key(vk::kTab), []{}});
  EXPECT_EQ(positions.back(), (std::pair<int, int>{6, 16}));  // the field ends at 14
}

TEST_F(Review, CtrlCCopiesTheWholeScreen) {
  show(1, "primeira");
  show(25, "ultima");
  review(1, 1, {key('C', {.ctrl = true})});
  const std::string copied = *host::clipboard();
  ASSERT_EQ(copied.size(), 25u * 82u);
  EXPECT_EQ(copied.substr(0, 82), "primeira" + std::string(72, ' ') + "\r\n");
  EXPECT_EQ(copied.substr(24 * 82, 6), "ultima");
}

TEST_F(Review, WordMovesAndRowEnds) {
  show(2, "um dois  tres");
  review(1, 2, {keyDown(vk::kRight, {.ctrl = true}), keyDown(vk::kRight, {.ctrl = true}),
                keyDown(vk::kRight, {.ctrl = true}), keyDown(vk::kLeft, {.ctrl = true}), keyDown(vk::kEnd), []{}});
  EXPECT_EQ(positions[1].second, 4);
  EXPECT_EQ(positions[2].second, 10);
  EXPECT_EQ(positions[3].second, 14);  // no further word: the row's end
  EXPECT_EQ(positions[4].second, 10);
  EXPECT_EQ(positions[5].second, 14);
}

// With an engine, every read shows as the texts it was given.
class ReviewAloud : public Review {
 protected:
  void SetUp() override {
    Review::SetUp();
    FakeEngine::install(4);
    FakeEngine::millisecondsPerText = 10;
    startHub("[TRADUTOR]\nSAPI=S\n");
  }
  // The texts spoken since the last look, blanks at their ends cut.
  static std::vector<std::string> spoken() {
    std::vector<std::string> out;
    for (std::string t : FakeEngine::spoken) {
      while (!t.empty() && t.back() == ' ') t.pop_back();
      out.push_back(t);
    }
    FakeEngine::spoken.clear();
    return out;
  }
  // Row 3: "abc" in one colour (columns 1-3), "defgh" in another (4-8).
  void showFields() {
    show(3, "abc", 0x1E);
    moveCursor(4, 3);
    setCurrentAttribute(0x2F);
    writeChars(reinterpret_cast<const std::uint8_t*>("defgh"), 5);
    setCurrentAttribute(0x0F);
  }
};

TEST_F(ReviewAloud, LineKeysReadTheRowTheyReach) {
  for (int row = 4; row <= 24; ++row) show(row, "linha " + std::to_string(row));
  show(3, "   abc");
  show(24, "fim x" + std::string(10, ' '));
  show(25, "");
  spoken();
  review(1, 5, {keyDown(vk::kUp), key(vk::kSpace), keyDown(vk::kPrior), keyDown(vk::kNext),
                keyDown(vk::kPrior, {.ctrl = true}), keyDown(vk::kNext, {.ctrl = true}), key(vk::kReturn), []{}});
  EXPECT_EQ(spoken(), (std::vector<std::string>{"linha 4", "linha 4", "", "", "   abc", "fim x"}));
  ASSERT_EQ(positions.size(), 9u);
  EXPECT_EQ(positions[1], (std::pair<int, int>{4, 1}));   // Up: the row above, column 1
  EXPECT_EQ(positions[2], (std::pair<int, int>{4, 1}));   // Space reads it again and stays
  EXPECT_EQ(positions[3], (std::pair<int, int>{1, 1}));   // Page Up
  EXPECT_EQ(positions[4], (std::pair<int, int>{25, 1}));  // Page Down
  EXPECT_EQ(positions[5], (std::pair<int, int>{3, 4}));   // Ctrl+Page Up: the first letter
  EXPECT_EQ(positions[6], (std::pair<int, int>{24, 5}));  // Ctrl+Page Down: the last letter
  EXPECT_EQ(positions[7], (std::pair<int, int>{25, 1}));  // Enter: the next row
  EXPECT_GE(clicks(), 1);
}

TEST_F(ReviewAloud, CtrlKSaysTheRowAndColumnAndCtrlF1TheField) {
  showFields();
  spoken();
  review(6, 3, {key('K', {.ctrl = true}), keyDown(vk::kF1, {.ctrl = true}), []{}});
  EXPECT_EQ(spoken(), (std::vector<std::string>{"3 6", "defgh"}));
  EXPECT_EQ(positions.back(), (std::pair<int, int>{3, 6}));  // a field read restores the position
}

TEST_F(ReviewAloud, EachPairReadsItsRange) {
  showFields();
  show(1, "um");
  show(2, "dois");
  const std::vector<std::pair<std::string, std::vector<std::string>>> pairs = {
      {"il", {"abcde"}}, {"ic", {"def"}},         {"tc", {"defgh"}}, {"fl", {"fgh"}},
      {"fc", {"fgh"}},   {"it", {"um", "dois", "abcde"}}, {"tl", {"abcdefgh"}}};
  for (const auto& [pair, texts] : pairs) {
    spoken();
    positions.clear();
    review(6, 3, {text(pair), []{}});
    EXPECT_EQ(spoken(), texts) << pair;
    if (pair != "it") {
      EXPECT_EQ(positions.back(), (std::pair<int, int>{3, 6})) << pair << " restores the position";
    }
  }
  // The pair read before the cursor at column 1 has nothing to read: a beep.
  spoken();
  review(1, 3, {text("il"), []{}});
  EXPECT_TRUE(spoken().empty());
  EXPECT_EQ(beeps(), 1 + 1 + 2);
}

}  // namespace
