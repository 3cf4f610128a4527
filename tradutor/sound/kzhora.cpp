// kzHora: "treze horas cinco minutos", "segunda-feira, doze de janeiro de dois mil e dez".
#include "sound/kzhora.h"

#include <string>

#include "hub/kzwin.h"
#include "screen/kzcrt.h"
#include "sound/kzlenum.h"

namespace tradutor {
namespace {

const char* const kWeekdays[7] = {"_Domingo", "_Segunda", "_Terca", "_Quarta", "_Quinta", "_Sexta", "_Sabado"};
// The month names cut to the eight characters of a word file's name.
const char* const kMonths[12] = {"_Janeiro", "_Feverei", "_Marco",   "_Abril",   "_Maio",    "_Junho",
                                 "_Julho",   "_Agosto",  "_Setembr", "_Outubro", "_Novembr", "_Dezembr"};

void sayNumber(int n, int feminine) {
  if (n < 0) n = 0;
  speakNumberWords(numberToWords(static_cast<std::uint32_t>(n)), feminine);
}

}  // namespace

int weekdayOf(int day, int month, int year) {
  // Days from 1970-01-01 (a Thursday) of the proleptic Gregorian calendar.
  const int y = year - (month <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153L * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const long days = era * 146097 + doe - 719468;
  return static_cast<int>(((days % 7) + 11) % 7);
}

void speakTime(int hour, int minute) {
  sayNumber(hour, 1);
  playNamedSound(hour <= 1 ? "_hora" : "_horas");
  if (minute == 0) return;
  sayNumber(minute, 0);
  playNamedSound(minute <= 1 ? "_minuto" : "_minutos");
}

void speakCurrentTime() {
  int hour, minute, second, hundredths;
  currentTime(hour, minute, second, hundredths);
  speakTime(hour, minute);
}

void speakDate(int day, int month, int year) {
  playNamedSound(kWeekdays[weekdayOf(day, month, year)]);
  if (day == 1) playNamedSound("_primeir");
  else sayNumber(day, 0);
  playNamedSound("_de");
  if (month >= 1 && month <= 12) playNamedSound(kMonths[month - 1]);
  playNamedSound("_de");
  if (year >= 2000) sayNumber(2000, 0);
  if (year > 2000) playNamedSound("_e");
  if (year % 100 != 0) sayNumber(year % 100, 0);
}

void speakCurrentDate() {
  int year, month, day, weekday;
  currentDate(year, month, day, weekday);
  speakDate(day, month, year);
}

}  // namespace tradutor
