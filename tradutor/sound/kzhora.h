#pragma once
// kzHora: the clock time and the date, spoken from recorded words.

namespace tradutor {

void speakTime(int hour, int minute);
void speakCurrentTime();
void speakDate(int day, int month, int year);
void speakCurrentDate();

// 0 = Sunday .. 6 = Saturday, for a date of the Gregorian calendar.
int weekdayOf(int day, int month, int year);

}  // namespace tradutor
