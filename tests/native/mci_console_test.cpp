// The falamci loop with a scripted MCI interpreter.
#include <gtest/gtest.h>

#include <string>

#include "hub/kzwin.h"
#include "mci_console.h"
#include "platform/host/host_control.h"
#include "platform/virtual_keys.h"
#include "screen/kzcrt.h"
#include "support/fake_engine.h"
#include "support/sound_fixture.h"

namespace {

namespace host = platform::host;
namespace vk = platform::vk;
using Action = std::function<void()>;
using testing_support::SoundTest;

class MciConsole : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    installVoice();
    falamci::initUnits();
  }
  int run(const std::vector<std::string>& lines) {
    std::vector<Action> keys;
    for (const std::string& line : lines) {
      keys.push_back([line] {
        // A pasted line arrives whole (typing 255 keys would take as long).
        host::setClipboard(line);
        host::pressKey(vk::kInsert, {.shift = true});
      });
      keys.push_back([] { host::pressKey(vk::kReturn); });
    }
    keys.push_back([] { host::pressKey(vk::kReturn); });
    feedWhenIdle(keys);
    return exitCodeOf([] { falamci::runMciConsole(); });
  }
};

TEST_F(MciConsole, AnswersAreWrittenAndAnEmptyLineEnds) {
  host::setMciAnswer("open new type waveaudio alias w", 0, "1");
  host::setMciAnswer("close w", 0, "");
  EXPECT_EQ(run({"open new type waveaudio alias w", "frobnicate", "close w  "}), 0);
  EXPECT_EQ(host::mciCommandsSent(), (std::vector<std::string>{"open new type waveaudio alias w", "frobnicate", "close w"}));
  EXPECT_EQ(screenRow(2).substr(0, 18), "Entre comando MCI ");
  EXPECT_EQ(screenRow(3).substr(0, 32), "open new type waveaudio alias w ");
  EXPECT_EQ(screenRow(4).substr(0, 10), "retorno 1 ");
  EXPECT_EQ(screenRow(6).substr(0, 11), "frobnicate ");
  EXPECT_EQ(screenRow(7).substr(0, 40), "The specified command is not recognized.");
  EXPECT_EQ(screenRow(9).substr(0, 8), "close w ");
  EXPECT_EQ(screenRow(10).substr(0, 18), "Entre comando MCI ");  // an empty return adds no line
}

TEST_F(MciConsole, BlanksBeforeACommandAreSentAsTyped) {
  EXPECT_EQ(run({"  status w mode"}), 0);
  EXPECT_EQ(host::mciCommandsSent(), (std::vector<std::string>{"  status w mode"}));
}

TEST_F(MciConsole, ACommandLongerThanTheBufferIsRefusedNotCut) {
  const std::string fits(151, 'a');
  EXPECT_EQ(run({fits, std::string(152, 'b'), std::string(255, 'c')}), 0);
  EXPECT_EQ(host::mciCommandsSent(), (std::vector<std::string>{fits}));
  int refusals = 0;
  for (int row = 1; row <= 25; ++row) refusals += screenRow(row).rfind("Comando longo demais: ", 0) == 0;
  EXPECT_EQ(refusals, 2);
}

TEST_F(MciConsole, AnAnswerFillingTheReturnBufferIsCutTo79Characters) {
  host::setMciAnswer("info", 0, std::string(200, 'r'));
  EXPECT_EQ(run({"info"}), 0);
  EXPECT_EQ(screenRow(4), "retorno " + std::string(72, 'r'));
  EXPECT_EQ(screenRow(5).substr(0, 8), "rrrrrrr ");  // 79 in all, wrapped onto the next row
}

TEST_F(MciConsole, AnErrorWithoutATextIsStillSaid) {
  host::setMciAnswer("x", 999, "");
  EXPECT_EQ(run({"x"}), 0);
  EXPECT_EQ(screenRow(4).substr(0, 13), "Erro MCI 999 ");
}

TEST_F(MciConsole, EscAfterTypingEndsTheProgram) {
  feedWhenIdle({[] { host::typeText("abc"); }, [] {}, [] {}, [] { host::pressKey(vk::kEscape); }});
  EXPECT_EQ(exitCodeOf([] { falamci::runMciConsole(); }), 0);
  EXPECT_TRUE(host::mciCommandsSent().empty());
}

// With an engine the prompt, the answers, the errors and the refusal are
// what the user hears, in that order.
TEST_F(MciConsole, ThePromptAnswersErrorsAndRefusalsAreSpoken) {
  using testing_support::FakeEngine;
  FakeEngine::reset();
  FakeEngine::install(4);
  installVoice("[TRADUTOR]\nSAPI=S\n");
  host::setMciAnswer("open new type waveaudio alias w", 0, "1");
  host::setMciAnswer("x", 999, "");
  EXPECT_EQ(run({"open new type waveaudio alias w", "frobnicate", std::string(152, 'b'), "x"}), 0);
  const std::vector<std::string> expected = {"Entre comando MCI", "retorno 1", "The specified command is not recognized.",
                                             "Comando longo demais: o MCI aceita at\xE9 151 caracteres", "Erro MCI 999"};
  std::size_t found = 0;
  for (const std::string& said : FakeEngine::spoken)
    if (found < expected.size() && said.find(expected[found]) != std::string::npos) ++found;
  EXPECT_EQ(found, expected.size()) << "the first one not heard in order: " << expected[std::min(found, expected.size() - 1)];
  int prompts = 0;
  for (const std::string& said : FakeEngine::spoken) prompts += said.find("Entre comando MCI") != std::string::npos;
  EXPECT_EQ(prompts, 5);  // before each of the four commands and before the empty line
}

}  // namespace
