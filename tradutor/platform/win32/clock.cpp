// Windows platform: the local time, sleeping and the tick count.
#include "platform/clock.h"

#include <windows.h>

namespace platform {

LocalTime localTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

void sleepMs(unsigned milliseconds) { Sleep(milliseconds); }
std::uint32_t tickMs() { return GetTickCount(); }

}  // namespace platform
