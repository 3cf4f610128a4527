// Finding ORALIS.INI and expanding the "@" shorthand for the programs' directory.
#include <gtest/gtest.h>

#include "hub/kzwin.h"
#include "platform/host/host_control.h"
#include "support/console_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using testing_support::ConsoleTest;

class ReadConfig : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    resetSpeechHub();
    initSpeechHub();  // the start directory is C:\TARSIS
  }
  void programDirectoryIni(const std::string& pgm, const std::string& lines) {
    writeIni("[ORALIS]\n" + pgm + "\n[T]\n" + lines);
  }
};

TEST_F(ReadConfig, TheWindowsDirectoryFileWinsEvenForKeysOnlyTheOtherHas) {
  writeIni("[T]\nA=windows\n");
  host::writeFile("C:\\TARSIS\\ORALIS.INI", "[T]\nA=program\nB=only here\n");
  EXPECT_EQ(readConfig("T", "A"), "windows");
  EXPECT_EQ(readConfig("T", "B"), "");
}

TEST_F(ReadConfig, WithoutAWindowsDirectoryFileTheProgramDirectoryOneIsRead) {
  host::writeFile("C:\\TARSIS\\ORALIS.INI", "[T]\nB=program\n[ORALIS]\nK=family\n");
  EXPECT_EQ(readConfig("T", "B"), "program");
  EXPECT_EQ(readConfig("", "K"), "family");
  EXPECT_EQ(readConfig("T", "MISSING"), "");
  EXPECT_EQ(readConfig("EMPTY", "B"), "");
}

TEST_F(ReadConfig, NoFileAnywhereReadsEmpty) { EXPECT_EQ(readConfig("T", "A"), ""); }

TEST_F(ReadConfig, AtFormsBecomeTheProgramDirectory) {
  programDirectoryIni("PGMORALIS=c:\\tarsis",
                      "L=@\\som\\letras\nX=x@\\y\nONE=@\nTWO=@@x\nMID=a@b\nBOTH=@\\a@\\b\n");
  EXPECT_EQ(readConfig("T", "L"), "c:\\tarsis\\som\\letras");
  EXPECT_EQ(readConfig("T", "X"), "xc:\\tarsis\\y");
  EXPECT_EQ(readConfig("T", "ONE"), "c:\\tarsis");
  EXPECT_EQ(readConfig("T", "TWO"), "c:\\tarsis@x");
  EXPECT_EQ(readConfig("T", "MID"), "a@b");
  EXPECT_EQ(readConfig("T", "BOTH"), "c:\\tarsis\\ac:\\tarsis\\b");
}

TEST_F(ReadConfig, AMissingEmptyOrAtProgramDirectoryMeansTheStartDirectory) {
  for (const char* pgm : {"", "PGMORALIS=", "PGMORALIS=@\\x"}) {
    programDirectoryIni(pgm, "L=@\\som\n");
    EXPECT_EQ(readConfig("T", "L"), "C:\\TARSIS\\som") << pgm;
  }
}

TEST_F(ReadConfig, AProgramDirectoryHoldingAtBackslashIsInsertedOnlyOnce) {
  programDirectoryIni("PGMORALIS=c:\\p@\\q", "L=@\\som\n");
  EXPECT_EQ(readConfig("T", "L"), "c:\\p@\\q\\som");
}

TEST_F(ReadConfig, LongValuesAreCutTo254Characters) {
  programDirectoryIni("", "LONG=" + std::string(300, 'v') + "\n");
  EXPECT_EQ(readConfig("T", "LONG"), std::string(254, 'v'));
}

TEST_F(ReadConfig, TheStartDirectoryLosesItsTrailingBackslash) {
  resetSpeechHub();
  host::setCurrentDirectory("C:\\");
  initSpeechHub();
  EXPECT_EQ(startDirectory(), "C:");
}

}  // namespace
