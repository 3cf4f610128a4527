// The spoken line editor driven with keys, looking at the screen, the
// sounds, the clipboard and the shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "hub/kzwin.h"
#include "hub/line_editor.h"
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
using testing_support::SoundTest;

Action type(const std::string& text) {
  return [text] { host::typeText(text); };
}
Action press(unsigned key, host::Modifiers mods = {}) {
  return [key, mods] { host::pressKey(key, mods); };
}
Action special(int code, host::Modifiers mods = {}) {  // a key message with that console code
  return [code, mods] {
    const unsigned keys[][2] = {{59, vk::kF1},  {62, vk::kF1 + 3}, {66, vk::kF1 + 7}, {70, vk::kF12},
                                {75, vk::kLeft}, {77, vk::kRight},  {72, vk::kUp},     {80, vk::kDown},
                                {83, vk::kDelete}, {71, vk::kHome}, {79, vk::kEnd}};
    for (const auto& k : keys)
      if (static_cast<int>(k[0]) == code) host::postKeyDown(k[1], mods);
  };
}

class LineEditor : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    startHub("[ORALIS]\nPROG.HTM=C:\\NAVEGA\\NAVEGA.EXE\n");
    moveCursor(1, 5);
    host::waveLog().blocks.clear();
  }
  // Each action runs when the editor waits; one action at a time, as a person types.
  int edit(std::string& text, std::vector<Action> keys, int maxLength = 255) {
    feedWhenIdle(std::move(keys));
    const int result = editLine(text, 1, 5, maxLength, 78, true);
    host::setIdleHook(nullptr);
    return result;
  }
};

std::vector<Action> each(const std::string& text) {
  std::vector<Action> v;
  for (const char c : text) v.push_back(type(std::string(1, c)));
  return v;
}

TEST_F(LineEditor, TypedCharactersAreInsertedAndEchoed) {
  std::string text;
  auto keys = each("abc");
  keys.push_back(press(vk::kReturn));
  EXPECT_EQ(edit(text, keys), 13);
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(recordingsOpened(), (Names{"_97", "_98", "_99"}));
  EXPECT_EQ(screenRow(5).substr(0, 4), "abc ");
}

TEST_F(LineEditor, EscAfterThreeCharactersGivesAnEmptyLineAndBlanksThem) {
  std::string text;
  auto keys = each("abc");
  keys.push_back(press(vk::kEscape));
  feedWhenIdle(keys);
  EXPECT_EQ(readSpokenLine(text), 27);
  EXPECT_EQ(text, "");
  EXPECT_EQ(screenRow(5).substr(0, 3), "   ");
  EXPECT_EQ(cursorRow(), 6);
}

TEST_F(LineEditor, UpAndDownEndTheEditWithTheirCodes) {
  std::string text = "x";
  EXPECT_EQ(edit(text, {special(72)}), 72);
  EXPECT_EQ(edit(text, {special(80)}), 80);
}

TEST_F(LineEditor, AHundredCharactersScrollTheFieldWithTheCursorInSight) {
  std::string text;
  std::string typed;
  for (int i = 0; i < 100; ++i) typed += static_cast<char>('a' + i % 26);
  auto keys = each(typed);
  int seenColumn = 0;
  keys.push_back([&seenColumn] { seenColumn = cursorColumn(); host::pressKey(vk::kReturn); });
  edit(text, keys);
  EXPECT_EQ(text, typed);
  // Cursor at 101, 78 visible: the field shows from index 23, the cursor in column 79.
  EXPECT_EQ(seenColumn, 79);
  EXPECT_EQ(screenRow(5).substr(0, 78), typed.substr(0, 78));  // the end of the edit shows the start again
}

TEST_F(LineEditor, MovesBeyondTheEndsBeep) {
  std::string text = "ab";
  EXPECT_EQ(edit(text, {press(vk::kBack), special(75), press(vk::kReturn)}), 13);
  EXPECT_EQ(beeps(), 2);
  host::waveLog().blocks.clear();
  std::string one = "a";
  edit(one, {special(77), special(77), press(vk::kReturn)}, 1);
  EXPECT_EQ(beeps(), 1);
}

TEST_F(LineEditor, F1ReadsWordByWordThenBeeps) {
  writeRules("(A)=a\n(M)=m\n(C)=k\n(I)=i\n");  // MCI is then rewritten, not spelled from letters
  stopSpeech();
  startSpeech(3, "");
  std::string text = "MCI BCD";
  edit(text, {special(59), special(59), special(59), press(vk::kReturn)});
  // MCI is a word (I is a vowel), read by the diphone voice; BCD is spelled.
  EXPECT_EQ(recordingsOpened(), (Names{"_66", "_67", "_68"}));
  EXPECT_EQ(beeps(), 1);
}

TEST_F(LineEditor, CtrlBackspaceRemovesTheLastWordSayingEachLetter) {
  std::string text = "one two";
  edit(text, {special(79), special(75), press(vk::kBack, {.ctrl = true}), press(vk::kReturn)});
  EXPECT_EQ(text, "one");
  const Names heard = recordingsOpened();
  const Names tail(heard.end() - 4, heard.end());
  EXPECT_EQ(tail, (Names{"_DEL", "_116", "_119", "_111"}));
}

TEST_F(LineEditor, PasteAsTheFirstKeyClearsTheFieldWithTwoClicks) {
  host::setClipboard("abc\r\ndef");
  std::string text = "xyz";
  edit(text, {press(vk::kInsert, {.shift = true}), press(vk::kReturn)});
  EXPECT_EQ(text, "abc");
  EXPECT_EQ(clicks(), 2);
  host::waveLog().blocks.clear();
  std::string empty;
  edit(empty, {press('V', {.ctrl = true}), press(vk::kReturn)});
  EXPECT_EQ(empty, "abc");
  EXPECT_EQ(clicks(), 2);
}

TEST_F(LineEditor, PasteFitsTheFieldAndControlBytesBecomeBlanks) {
  host::setClipboard(std::string(100 * 1024, 'p'));
  std::string text;
  edit(text, {press(vk::kInsert, {.shift = true}), press(vk::kReturn)}, 20);
  EXPECT_EQ(text, std::string(20, 'p'));
  host::setClipboard("a\tb");
  edit(text, {special(71), press(vk::kInsert, {.shift = true}), press(vk::kReturn)}, 20);
  EXPECT_EQ(text, "a bppppppppppppppppp");  // pasted in front of what the field held
  host::setClipboard(std::nullopt);
  std::string keep = "keep";
  edit(keep, {special(79), press(vk::kInsert, {.shift = true}), press(vk::kReturn)});
  EXPECT_EQ(keep, "keep");
}

TEST_F(LineEditor, ShiftSelectsWithTheHighlightAndCopyTakesTheSelection) {
  std::string text = "abcdef";
  bool highlighted = false;
  edit(text, {special(79), special(75, {.shift = true}), special(75, {.shift = true}),
              [&highlighted] {
                highlighted = screenAttrAt(5, 5) == 0x8F && screenAttrAt(6, 5) == 0x8F && screenAttrAt(4, 5) == 0x0F;
                host::pressKey(vk::kInsert, {.ctrl = true});
              },
              special(83, {.shift = true}), press(vk::kReturn)});
  EXPECT_TRUE(highlighted);
  EXPECT_EQ(host::clipboard(), "ef");
  EXPECT_EQ(text, "abcd");
  std::string whole = "copy me";
  edit(whole, {press('C', {.ctrl = true}), press(vk::kReturn)});
  EXPECT_EQ(host::clipboard(), "copy me\r\n");
}

class LineEditorWithFixedColours : public LineEditor {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    startHub("[VIDEO]\nCORESFIXAS=S\n");
    moveCursor(1, 5);
  }
};

TEST_F(LineEditorWithFixedColours, TheSelectionKeepsTheColoursButStillCopies) {
  std::string text = "abcdef";
  const std::uint8_t normal = currentAttribute();
  bool unchanged = false;
  edit(text, {special(79), special(75, {.shift = true}), special(75, {.shift = true}),
              [&] {
                unchanged = screenAttrAt(5, 5) == normal && screenAttrAt(6, 5) == normal;
                host::pressKey(vk::kInsert, {.ctrl = true});
              },
              press(vk::kReturn)});
  EXPECT_TRUE(unchanged);
  EXPECT_EQ(host::clipboard(), "ef");
}

TEST_F(LineEditor, F12OpensTheAddressAroundTheCursorWithTheConfiguredBrowser) {
  std::string text = "veja (www.x.com). agora";
  edit(text, {special(71), special(77), special(77), special(77), special(77), special(77), special(77),
              special(70), press(vk::kReturn)});
  ASSERT_EQ(host::shellRequests().size(), 1u);
  EXPECT_EQ(host::shellRequests()[0].program, "C:\\NAVEGA\\NAVEGA.EXE");
  EXPECT_EQ(host::shellRequests()[0].parameters, "www.x.com)");
  EXPECT_EQ(host::shellRequests()[0].directory, "C:\\TARSIS");
  host::waveLog().blocks.clear();
  std::string strip = "(((";
  edit(strip, {special(70), press(vk::kReturn)});
  EXPECT_EQ(beeps(), 1);
  EXPECT_EQ(host::shellRequests().size(), 1u);
}

TEST_F(LineEditor, LinksToProgramsAndDocuments) {
  writeIni(std::string("[TRADUTOR]\nDIRLETRAS=") + kLetters + "\n[ORALIS]\nPROG.TXT=C:\\EDIT.EXE\n");
  openLink("jogo.exe");
  openLink("C:\\JOGOS\\X.COM");
  openLink("nota.txt");
  openLink("foto.jpg");
  openLink("http://x.org");
  const auto& r = host::shellRequests();
  ASSERT_EQ(r.size(), 5u);
  EXPECT_EQ(r[0].program, "C:\\TARSIS\\jogo.exe");
  EXPECT_EQ(r[1].program, "C:\\JOGOS\\X.COM");
  EXPECT_EQ(r[2].program, "C:\\EDIT.EXE");
  EXPECT_EQ(r[2].parameters, "nota.txt");
  EXPECT_EQ(r[3].program, "foto.jpg");  // no program named: the shell's own association
  EXPECT_EQ(r[3].parameters, "");
  EXPECT_EQ(r[4].program, "http://x.org");
}

TEST_F(LineEditor, AltRightSpellsTheLetterWithItsWordAndF4TurnsTheEchoOff) {
  std::string text = "Ab";
  edit(text, {special(71), special(77, {.alt = true}), special(62), type("c"), press(vk::kReturn)});
  EXPECT_EQ(recordingsOpened(), (Names{"_FON65", "_FALDLG"}));
  EXPECT_FALSE(hubSettings().echoTyping);
  EXPECT_EQ(text, "Acb");
  std::string again;
  edit(again, {special(62), press(vk::kReturn)});
  EXPECT_TRUE(hubSettings().echoTyping);
}

TEST_F(LineEditor, ControlBytesAreNotInsertedAndTheFirstKeyRuleClicks) {
  std::string text = "abc";
  edit(text, {press('A', {.ctrl = true}), type("x"), press(vk::kReturn)});
  EXPECT_EQ(clicks(), 2);  // the control byte as first key over existing text
  EXPECT_EQ(text, "xabc");  // and only a printable first key blanks the field
}

TEST_F(LineEditor, TheFieldEditingKeys) {
  std::string text = "abcdef";
  edit(text, {special(77), special(77), press('D', {.ctrl = true}), press(vk::kReturn)});
  EXPECT_EQ(text, "ab");
  text = "abcdef";
  edit(text, {special(77), special(77), press('S', {.ctrl = true}), press(vk::kReturn)});
  EXPECT_EQ(text, "cdef");
  text = "abcdef";
  edit(text, {press('Y', {.ctrl = true}), type("z"), press('U', {.ctrl = true}), press(vk::kReturn)});
  EXPECT_EQ(text, "abcdef");
  EXPECT_EQ(recordingsOpened(), (Names{"_97", "_98", "_APFCPO", "_97", "_98", "_APICPO", "_CPOAPA", "_122"}));
}

TEST_F(LineEditor, CtrlDAndCtrlYBlankAFullFieldToItsLastCell) {
  std::string text = "abcdefghij";
  edit(text, {special(77), special(77), press('D', {.ctrl = true}), press(vk::kReturn)}, 10);
  EXPECT_EQ(text, "ab");
  text = "abcdefghij";
  edit(text, {special(79), press('Y', {.ctrl = true}), type("z"), press(vk::kReturn)}, 10);
  EXPECT_EQ(text, "z");
}

TEST_F(LineEditor, CtrlLeftTakesAMarkWithTheWordBeforeIt) {
  std::string text = "toca musica.";
  edit(text, {special(79), special(75, {.ctrl = true}), type("X"), press(vk::kReturn)});
  EXPECT_EQ(text, "toca Xmusica.");
  text = "canal 12";
  edit(text, {special(79), special(75, {.ctrl = true}), type("X"), press(vk::kReturn)});
  EXPECT_EQ(text, "canal X12");
  text = "abc";
  edit(text, {special(79), special(75, {.ctrl = true}), special(75, {.ctrl = true}), type("X"), press(vk::kReturn)});
  EXPECT_EQ(text, "Xabc");
}

TEST_F(LineEditor, F10AndAltF1EndTheEditWithTheirCodes) {
  std::string text = "ab";
  EXPECT_EQ(edit(text, {press(vk::kF10)}), 68);
  EXPECT_EQ(edit(text, {press(vk::kF1, {.alt = true})}), 104);
  EXPECT_EQ(text, "ab");
}

TEST_F(LineEditor, CtrlF4ChangesTheSpeed) {
  writeVoiceIni("DIFONES5=TESTE\n");
  std::string text;
  edit(text, {press(vk::kF4, {.ctrl = true}), type("5"), press(vk::kReturn)});
  EXPECT_EQ(hubSettings().speed, 5);
}

TEST_F(LineEditor, CtrlAltF9ReviewsTheScreenAndEditingGoesOn) {
  std::string text;
  edit(text, {type("a"), press(vk::kF1 + 8, {.ctrl = true, .alt = true}), press(vk::kEscape), []{}, type("b"),
              press(vk::kReturn)});
  EXPECT_EQ(text, "ab");
  std::string other;
  EXPECT_EQ(edit(other, {press(vk::kF1 + 8, {.ctrl = true})}), 102);
}

TEST_F(LineEditor, InsertingIntoAFullFieldDropsItsLastCharacter) {
  std::string text = "abcd";
  edit(text, {special(71), type("x"), press(vk::kReturn)}, 4);
  EXPECT_EQ(text, "xabc");
}

TEST_F(LineEditor, AReadOnlyFieldCanBeReadButNotChanged) {
  std::string text = "ro";
  host::setClipboard("new");
  feedWhenIdle({type("z"), press(vk::kBack), press('V', {.ctrl = true}), special(83), press(vk::kReturn)});
  editLine(text, 1, 5, 10, 10, false);
  EXPECT_EQ(text, "ro");
}

TEST_F(LineEditor, F8SaysTheTimeCtrlF8TheDateAndCtrlBackslashDialsTheField) {
  host::setLocalTime({2026, 3, 1, 0, 13, 5, 0, 0});
  std::string text = "12#";
  recordingsOpened();
  edit(text, {special(66), press(vk::kReturn)});
  EXPECT_EQ(recordingsOpened(), (Names{"_treze", "_horas", "_cinco", "_minutos"}));
  edit(text, {special(66, {.ctrl = true}), press(vk::kReturn)});
  const Names date = recordingsOpened();
  ASSERT_FALSE(date.empty());
  EXPECT_EQ(date.front(), "_Domingo");
  EXPECT_NE(std::find(date.begin(), date.end(), "_Marco"), date.end());
  edit(text, {[] { host::postChar(28, {.ctrl = true}); }, press(vk::kReturn)});
  EXPECT_EQ(recordingsOpened(), (Names{"dtmf_1", "dtmf_2", "dtmf_#"}));
  EXPECT_EQ(text, "12#");
}

TEST_F(LineEditor, AltQWAndEAreDroppedAndTheNextKeyIsTyped) {
  std::string text;
  EXPECT_EQ(edit(text, {press('Q', {.ctrl = true, .alt = true}), type("x"), press('W', {.ctrl = true, .alt = true}),
                        type("y"), press('E', {.ctrl = true, .alt = true}), type("z"), press(vk::kReturn)}),
            13);
  EXPECT_EQ(text, "xyz");
  // Another Alt letter ends the edit with its code (Alt+A is 30).
  EXPECT_EQ(edit(text, {press('A', {.ctrl = true, .alt = true})}), 30);
}

TEST_F(LineEditor, CtrlF4SaysItsSoundAndEscKeepsTheSpeed) {
  writeVoiceIni("DIFONES5=TESTE\n");
  const int before = hubSettings().speed;
  std::string text;
  recordingsOpened();
  edit(text, {press(vk::kF4, {.ctrl = true}), press(vk::kEscape), press(vk::kReturn)});
  const Names heard = recordingsOpened();
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.front(), "_VELOC");
  EXPECT_EQ(hubSettings().speed, before);
  edit(text, {press(vk::kF4, {.ctrl = true}), type("5"), press(vk::kReturn)});
  EXPECT_EQ(hubSettings().speed, 5);
}

// With an engine, what Ctrl+K and Ctrl+F1 say is the text handed to it.
TEST_F(LineEditor, CtrlKSaysTheCursorIndexAndCtrlF1TheField) {
  using testing_support::FakeEngine;
  FakeEngine::reset();
  FakeEngine::install(4);
  startHub("[TRADUTOR]\nSAPI=S\n");
  moveCursor(1, 5);
  std::string text = "bom dia";
  edit(text, {special(77), special(77), press('K', {.ctrl = true}), special(59, {.ctrl = true}), press(vk::kReturn)});
  ASSERT_GE(FakeEngine::spoken.size(), 2u);
  const std::size_t n = FakeEngine::spoken.size();
  EXPECT_EQ(FakeEngine::spoken[n - 2], "3");
  EXPECT_EQ(FakeEngine::spoken[n - 1].substr(0, 7), "bom dia");
}

}  // namespace
