#pragma once
// Time of day, the date and sleeping.
//
// Contract: localTime reads the wall clock; sleepMs blocks the thread for the
// time (the host implementation advances its virtual clock instead);
// tickMs counts milliseconds from an arbitrary origin and never goes back.
#include <cstdint>

namespace platform {

struct LocalTime {
  int year, month, day;  // month 1..12, day 1..31
  int weekday;           // 0 = Sunday .. 6 = Saturday
  int hour, minute, second, milliseconds;
};

LocalTime localTime();
void sleepMs(unsigned milliseconds);
std::uint32_t tickMs();

}  // namespace platform
