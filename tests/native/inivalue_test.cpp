// The number and yes/no conventions of INI values.
#include <gtest/gtest.h>

#include "common/inivalue.h"

namespace {

using tradutor::parseNumber;

struct NumberCase {
  const char* text;
  int value;
  bool ok;
};

TEST(IniNumber, ConvertsTheFormsAKeyMayTake) {
  const NumberCase cases[] = {
      {"12", 12, true},      {" \t 12", 12, true},     {"12a", 12, false},   {"12 ", 12, false},
      {"$1F", 31, true},     {"0x1f", 31, true},       {"0X1F", 31, true},   {"x1f", 31, true},
      {"X10", 16, true},     {"-5", -5, true},         {"+7", 7, true},      {"-$10", -16, true},
      {"", 0, false},        {"   ", 0, false},        {"-", 0, false},      {"0x", 0, false},
      {"abc", 0, false},     {"1 2", 1, false},        {"007", 7, true},     {"$FFFFFFFF", -1, true},
      {"2147483647", 2147483647, true},                {"-2147483648", -2147483647 - 1, true},
      {"2147483648", 214748364, false},                {"99999999999999999999", 999999999, false},
      {"$123456789", 0x12345678, false},
  };
  for (const NumberCase& c : cases) {
    const tradutor::NumberReading r = parseNumber(c.text);
    EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
    EXPECT_EQ(r.ok, c.ok) << '"' << c.text << '"';
  }
}

TEST(IniNumber, DefaultReplacesOnlyAFailedValue) {
  EXPECT_EQ(tradutor::numberOr("12a", 250), 250);
  EXPECT_EQ(tradutor::numberOr("", 250), 250);
  EXPECT_EQ(tradutor::numberOr("0", 250), 0);
  EXPECT_EQ(tradutor::partialNumber("12a"), 12);
}

TEST(IniFlag, YesUnlessEmptyOrStartingWithN) {
  EXPECT_TRUE(tradutor::isYes("S"));
  EXPECT_TRUE(tradutor::isYes("SIM"));
  EXPECT_TRUE(tradutor::isYes("1"));
  EXPECT_TRUE(tradutor::isYes("x"));
  EXPECT_FALSE(tradutor::isYes(""));
  EXPECT_FALSE(tradutor::isYes("N"));
  EXPECT_FALSE(tradutor::isYes("nao"));
  EXPECT_TRUE(tradutor::startsWithS("sim"));
  EXPECT_FALSE(tradutor::startsWithS("N"));
  EXPECT_FALSE(tradutor::startsWithS(""));
}

}  // namespace
