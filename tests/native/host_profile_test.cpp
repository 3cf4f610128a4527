// The host platform reads profile strings by the rules GetPrivateProfileStringA
// follows, so that tests of the INI readers mean what they would on Windows.
#include <gtest/gtest.h>

#include "platform/host/host_control.h"
#include "platform/profile.h"
#include "support/console_fixture.h"

namespace {

using testing_support::ConsoleTest;

class HostProfile : public ConsoleTest {};

std::string read(const char* section, const char* key, const char* def = "dflt", int size = 255) {
  return platform::readProfileString(section, key, def, size, "ORALIS.INI");
}

TEST_F(HostProfile, FindsSectionsAndKeysWithoutRegardToCaseAndTrimsValues) {
  writeIni("; comment\r\n[Tradutor]\r\n  velocidade =  4  \r\nQUOTED=\"  a b \"\r\nSINGLE='x'\r\nEMPTY=\r\n"
           "HALF=\"open\r\n[OTHER]\r\nVELOCIDADE=9\r\n");
  EXPECT_EQ(read("TRADUTOR", "VELOCIDADE"), "4");
  EXPECT_EQ(read("tradutor", "Velocidade"), "4");
  EXPECT_EQ(read("TRADUTOR", "QUOTED"), "  a b ");
  EXPECT_EQ(read("TRADUTOR", "SINGLE"), "x");
  EXPECT_EQ(read("TRADUTOR", "HALF"), "\"open");
  EXPECT_EQ(read("TRADUTOR", "EMPTY"), "");
  EXPECT_EQ(read("TRADUTOR", "MISSING"), "dflt");
  EXPECT_EQ(read("NOSECTION", "VELOCIDADE"), "dflt");
  EXPECT_EQ(read("OTHER", "VELOCIDADE"), "9");
}

TEST_F(HostProfile, CutsValuesAndDefaultsToTheBuffer) {
  writeIni("[A]\nLONG=" + std::string(300, 'v') + "\n");
  EXPECT_EQ(read("A", "LONG").size(), 254u);
  EXPECT_EQ(read("A", "LONG", "", 2), "v");
  EXPECT_EQ(read("A", "NONE", "default", 4), "def");
  EXPECT_EQ(read("A", "LONG", "", 0), "");
}

TEST_F(HostProfile, AMissingFileGivesTheDefault) {
  EXPECT_EQ(read("A", "B"), "dflt");
  EXPECT_EQ(platform::readProfileString("A", "B", "d", 80, "C:\\NOWHERE\\X.INI"), "d");
}

}  // namespace
