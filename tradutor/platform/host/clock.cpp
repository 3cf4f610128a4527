// Host platform: a virtual clock that moves only when the program sleeps or waits.
#include "platform/clock.h"

#include <algorithm>
#include <functional>
#include <map>

#include "platform/host/host_internal.h"

namespace platform {
namespace {

constexpr std::uint64_t kMsPerDay = 86400000;

struct ClockState {
  std::int64_t baseDays = 20458;  // 2026-01-05, a Monday
  std::uint64_t baseMsOfDay = 10 * 3600 * 1000;
  std::uint64_t elapsed = 0;
  // Things that happen at a virtual time: finished wave blocks, keys a test
  // has timed. Equal times keep the order they were scheduled in.
  std::multimap<std::uint64_t, std::pair<int, std::function<void()>>> events;
  int running = 0;  // depth of advance(), so that events do not nest
};

ClockState& state() {
  static ClockState s;
  return s;
}

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian).
std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = static_cast<int>(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = static_cast<int>(z - era * 146097);
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = static_cast<int>(yoe + era * 400) + (m <= 2);
}

}  // namespace

LocalTime localTime() {
  const ClockState& s = state();
  const std::uint64_t total = s.baseMsOfDay + s.elapsed;
  const std::int64_t days = s.baseDays + static_cast<std::int64_t>(total / kMsPerDay);
  const std::uint64_t ms = total % kMsPerDay;
  LocalTime t{};
  civilFromDays(days, t.year, t.month, t.day);
  t.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
  t.hour = static_cast<int>(ms / 3600000);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.milliseconds = static_cast<int>(ms % 1000);
  return t;
}

// Moves the clock forward, running every event that falls due on the way.
void advance(std::uint64_t milliseconds) {
  ClockState& s = state();
  const std::uint64_t target = s.elapsed + milliseconds;
  ++s.running;
  while (!s.events.empty() && s.events.begin()->first <= target) {
    auto first = s.events.begin();
    s.elapsed = std::max(s.elapsed, first->first);
    std::function<void()> event = std::move(first->second.second);
    s.events.erase(first);
    event();
  }
  s.elapsed = std::max(s.elapsed, target);
  --s.running;
}

void sleepMs(unsigned milliseconds) { advance(milliseconds); }

std::uint32_t tickMs() { return static_cast<std::uint32_t>(state().elapsed); }

namespace host {

void setLocalTime(const LocalTime& time) {
  ClockState& s = state();
  s.baseDays = daysFromCivil(time.year, time.month, time.day);
  s.baseMsOfDay = static_cast<std::uint64_t>(((time.hour * 60 + time.minute) * 60 + time.second) * 1000 +
                                             time.milliseconds);
  s.elapsed = 0;
}

std::uint64_t elapsedMs() { return state().elapsed; }

int scheduleAfter(std::uint64_t milliseconds, std::function<void()> event) {
  static int nextId = 0;
  const int id = ++nextId;
  state().events.emplace(state().elapsed + milliseconds, std::make_pair(id, std::move(event)));
  return id;
}

namespace internal {
void resetClock() { state() = ClockState{}; }
void advanceClock(std::uint64_t milliseconds) { advance(milliseconds); }

void cancelScheduled(int id) {
  auto& events = state().events;
  for (auto it = events.begin(); it != events.end(); ++it)
    if (it->second.first == id) {
      events.erase(it);
      return;
    }
}

bool advanceToNextEvent() {
  ClockState& s = state();
  if (s.events.empty() || s.running > 0) return false;
  advance(s.events.begin()->first > s.elapsed ? s.events.begin()->first - s.elapsed : 0);
  return true;
}

bool eventsPending() { return !state().events.empty(); }
}  // namespace internal

}  // namespace host
}  // namespace platform
