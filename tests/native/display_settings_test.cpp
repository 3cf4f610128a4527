// The VIDEO and BRAILLE keys of ORALIS.INI and what they do to the window.
#include <gtest/gtest.h>

#include <string>

#include "platform/host/host_control.h"
#include "screen/kzcrt.h"
#include "support/console_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::ConsoleTest;

class DisplaySettings : public ConsoleTest {
 protected:
  // The colour a cell written with colour number `n` as foreground shows.
  platform::Rgb shownForeground(int n) {
    moveCursor(1, 1);
    setCurrentAttribute(static_cast<std::uint8_t>(n));
    put("x");
    return host::displayCell(0, 0).foreground;
  }
};

constexpr platform::Rgb kBlack{0, 0, 0};
constexpr platform::Rgb kRed{255, 0, 0};
constexpr platform::Rgb kBlue{0, 0, 255};
constexpr platform::Rgb kGreen{0, 255, 0};

TEST_F(DisplaySettings, WithoutAVideoSectionTheConsoleIsWhiteOnBlackInLucidaConsole) {
  openConsole();
  EXPECT_EQ(currentAttribute(), 0x0F);
  ASSERT_EQ(host::fonts().size(), 1u);
  const host::FontInfo& font = host::fonts()[0];
  EXPECT_EQ(font.face, "Lucida Console");
  EXPECT_EQ(font.width, 13);
  EXPECT_EQ(font.height, 28);
  EXPECT_EQ(font.weight, 0);
  EXPECT_EQ(brailleMode(), 0);
  EXPECT_TRUE(host::window().maximized);
  EXPECT_EQ(shownForeground(1), kBlue);
  EXPECT_EQ(host::window().className, "KzWinCrt");
  EXPECT_EQ(host::window().title, "C:\\TARSIS\\FALAMCI.EXE");
  // 2 frames + 80 cells of 13; 2 frames + 25 cells of 28 + caption.
  EXPECT_EQ(host::window().width, 2 * 4 + 80 * 13);
  EXPECT_EQ(host::window().height, 2 * 4 + 25 * 28 + 20);
}

TEST_F(DisplaySettings, FontSizeFollowsTheWorkArea) {
  host::setWorkArea({0, 0, 1920, 1040});
  openConsole();
  EXPECT_EQ(host::fonts()[0].width, 24);
  EXPECT_EQ(host::fonts()[0].height, 39);
}

TEST_F(DisplaySettings, SizeLimitsComeFromTheCellMetrics) {
  writeIni("[VIDEO]\nLARGURALETRA=10\nALTURALETRA=20\n");
  openConsole();
  const platform::MinMaxInfo& m = host::window().minMax;
  EXPECT_EQ(m.maxSize.x, 800 + 8);
  EXPECT_EQ(m.maxSize.y, 20 + 500 + 8);
  EXPECT_EQ(m.maxTrackSize.x, m.maxSize.x);
  EXPECT_EQ(m.minTrackSize.x, 8 + 160);
  EXPECT_EQ(m.minTrackSize.y, 8 + 80 + 20);
}

TEST_F(DisplaySettings, ForegroundEmptyIsSevenAndMissingIsFifteen) {
  writeIni("[VIDEO]\nCORLETRA=\nCORFUNDO=1\n");
  openConsole();
  EXPECT_EQ(currentAttribute(), 0x17);
}

// An installed copy keeps ORALIS.INI beside the program; one left in the
// Windows directory by an older copy still comes first.
TEST_F(DisplaySettings, TheProgramDirectoryFileIsReadOnlyWhenTheWindowsDirectoryHasNone) {
  host::writeFile("C:\\TARSIS\\ORALIS.INI", "[VIDEO]\nCORFUNDO=1\n");
  openConsole();
  EXPECT_EQ(currentAttribute(), 0x1F);
  exitCodeOf([] { closeConsoleWindow(); });
  writeIni("[VIDEO]\nCORFUNDO=2\n");
  openConsole();
  EXPECT_EQ(currentAttribute(), 0x2F);
}

TEST_F(DisplaySettings, ColourNumbersSpillIntoEightBits) {
  writeIni("[VIDEO]\nCORFUNDO=20\nCORLETRA=18\n");
  openConsole();
  EXPECT_EQ(currentAttribute(), static_cast<std::uint8_t>((20 * 16) | 18));
}

TEST_F(DisplaySettings, ColourMapEntriesReplaceTheIdentityUntilOneFails) {
  writeIni("[VIDEO]\nTABCORES=0,4,2\n");
  openConsole();
  EXPECT_EQ(shownForeground(1), kRed);
  EXPECT_EQ(shownForeground(2), kGreen);
  EXPECT_EQ(shownForeground(4), kRed);
}

TEST_F(DisplaySettings, AMalformedColourMapEntryStopsTheMapThere) {
  writeIni("[VIDEO]\nTABCORES=0,4,x,1\n");
  openConsole();
  EXPECT_EQ(shownForeground(1), kRed);
  EXPECT_EQ(shownForeground(2), kBlack);
  EXPECT_EQ(shownForeground(3), (platform::Rgb{0, 255, 255}));
}

TEST_F(DisplaySettings, TheColourMapCanInvertThePalette) {
  writeIni("[VIDEO]\nTABCORES=15,14,13,12,11,10,9,8,7,6,5,4,3,2,1,0\n");
  openConsole();
  EXPECT_EQ(shownForeground(0), (platform::Rgb{255, 255, 255}));
  EXPECT_EQ(shownForeground(15), kBlack);
  EXPECT_EQ(shownForeground(14), kBlue);
}

TEST_F(DisplaySettings, EntriesAboveFifteenShowBlackAndSpacesOrExtraEntriesDoNoHarm) {
  std::string forty;
  for (int i = 0; i < 40; ++i) forty += (i ? "," : "") + std::to_string(i == 1 ? 300 : 15 - (i % 16));
  writeIni("[VIDEO]\nTABCORES=" + forty + "\n");
  openConsole();
  EXPECT_EQ(shownForeground(1), kBlack);  // 300 is stored as the byte 44, above 15
  EXPECT_EQ(shownForeground(2), (platform::Rgb{255, 128, 255}));  // entry 13
}

TEST_F(DisplaySettings, ABlankAfterAnEntryEndsTheMap) {
  writeIni("[VIDEO]\nTABCORES=' 4,4 ,5'\n");
  openConsole();
  EXPECT_EQ(shownForeground(0), kRed);
  EXPECT_EQ(shownForeground(1), kRed);
  EXPECT_EQ(shownForeground(2), kGreen);
}

TEST_F(DisplaySettings, MagnifierFactorIsOneCharacterAndZeroMeansTheDefault) {
  const struct {
    const char* value;
    int factor;
  } cases[] = {{"5", 5}, {"0", 2}, {"8", 2}, {"", 2}, {"7x", 7}, {"9", 1}};
  for (const auto& c : cases) {
    SetUp();
    writeIni(std::string("[VIDEO]\nAMPLIF=") + c.value + "\nLARGURALETRA=8\nALTURALETRA=16\n");
    openConsole();
    host::postMouse(platform::EventKind::RightButtonDown, {100, 100});
    pumpMessages();
    const int width = host::window().width;
    EXPECT_EQ(host::magnifier().sourceSize.x, width / c.factor) << c.value;
    TearDown();
  }
}

TEST_F(DisplaySettings, BrailleModeIsTheFirstCharacterAndThree) {
  writeIni("[BRAILLE]\nMODO=3\n");
  openConsole();
  EXPECT_EQ(brailleMode(), 1);
}

TEST_F(DisplaySettings, FontKeysWithBadValuesStayWithinBounds) {
  writeIni("[VIDEO]\nFONTE=\nLARGURALETRA=abc\nALTURALETRA=99999999\nPESOLETRA=700\n");
  openConsole();
  const host::FontInfo& font = host::fonts()[0];
  EXPECT_EQ(font.face, "");
  EXPECT_EQ(font.width, 0);
  EXPECT_EQ(font.height, 1000);
  EXPECT_EQ(font.weight, 700);
}

TEST_F(DisplaySettings, WindowIsMaximizedUnlessCantoTelaSaysNo) {
  const struct {
    const char* line;
    bool maximized;
  } cases[] = {{"", true}, {"CANTOTELA=SIM\n", true}, {"CANTOTELA=S\n", true},
               {"CANTOTELA=NAO\n", false}, {"CANTOTELA=n\n", false}, {"CANTOTELA=\n", false}};
  for (const auto& c : cases) {
    SetUp();
    writeIni(std::string("[VIDEO]\n") + c.line);
    openConsole();
    EXPECT_EQ(host::window().maximized, c.maximized) << c.line;
    TearDown();
  }
}

}  // namespace
