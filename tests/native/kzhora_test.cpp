// The time and the date, as the word files they play.
#include <gtest/gtest.h>

#include "platform/host/host_control.h"
#include "sound/kzhora.h"
#include "support/sound_fixture.h"

namespace {

using namespace tradutor;
namespace host = platform::host;
using Names = std::vector<std::string>;
using testing_support::SoundTest;

class TimeAndDate : public SoundTest {
 protected:
  void SetUp() override {
    SoundTest::SetUp();
    startHub();
  }
};

TEST_F(TimeAndDate, HoursAreFeminineAndMinutesMasculine) {
  speakTime(1, 1);
  EXPECT_EQ(recordingsOpened(), (Names{"_uma", "_hora", "_um", "_minuto"}));
  speakTime(22, 0);
  EXPECT_EQ(recordingsOpened(), (Names{"_vinte", "_e", "_duas", "_horas"}));
  speakTime(13, 5);
  EXPECT_EQ(recordingsOpened(), (Names{"_treze", "_horas", "_cinco", "_minutos"}));
  speakTime(0, 1);
  EXPECT_EQ(recordingsOpened(), (Names{"_zero", "_hora", "_um", "_minuto"}));
}

TEST_F(TimeAndDate, DatesSayTheWeekdayTheDayTheMonthAndTheYear) {
  speakDate(1, 3, 2000);  // a Wednesday
  EXPECT_EQ(recordingsOpened(), (Names{"_Quarta", "_primeir", "_de", "_Marco", "_de", "_dois", "_mil"}));
  speakDate(12, 1, 2010);  // a Tuesday
  EXPECT_EQ(recordingsOpened(),
            (Names{"_Terca", "_doze", "_de", "_Janeiro", "_de", "_dois", "_mil", "_e", "_dez"}));
  speakDate(31, 12, 1999);  // a Friday; only the last two digits of a year before 2000
  EXPECT_EQ(recordingsOpened(),
            (Names{"_Sexta", "_trinta", "_e", "_um", "_de", "_Dezembr", "_de", "_noventa", "_e", "_nove"}));
}

TEST_F(TimeAndDate, TheCurrentTimeAndDateComeFromTheClock) {
  host::setLocalTime({2026, 12, 8, 0, 22, 46, 30, 0});
  speakCurrentTime();
  EXPECT_EQ(recordingsOpened(), (Names{"_vinte", "_e", "_duas", "_horas", "_quarent", "_e", "_seis", "_minutos"}));
  speakCurrentDate();
  EXPECT_EQ(recordingsOpened().front(), "_Terca");
  EXPECT_EQ(weekdayOf(1, 1, 1970), 4);
}

TEST_F(TimeAndDate, AMonthOutsideTheYearIsNotSpoken) {
  speakDate(5, 13, 2001);
  const Names heard = recordingsOpened();
  EXPECT_EQ(std::count(heard.begin(), heard.end(), "_de"), 2);
  EXPECT_EQ(heard.size(), 8u);
}

}  // namespace
