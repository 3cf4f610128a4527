#pragma once
// A scripted MBROLA engine installed as "mbrola.dll" in the host platform's
// libraries: it records what the driver sends, gives planned sample counts,
// and raises planned errors.
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace testing_support {

struct FakeMbrola {
  // What it was asked.
  static std::string initPath;
  static std::vector<std::string> written;  // each write_MBR, as given
  // reset_MBR, write_MBR, lastError_MBR, flush_MBR and read_MBR in the order
  // called: "reset", "write", "error", "flush", "read N" (N the samples given).
  static std::vector<std::string> calls;
  static int resets, flushes, closes, noError;
  // What it does: init_MBR's result; each read_MBR takes the next planned
  // count (samples numbered 1, 2, 3... across the test; a negative one is
  // returned as it is, with no error named), 0 once none is left;
  // lastError is 1 after the writes whose index (0-based) is listed, until reset.
  static int initResult;
  static std::deque<int> reads;
  static std::set<int> failingWrites;
  // read_MBR says it gave 1000 samples more than it did (and than asked).
  static bool claimsMore;
  // Run at every read_MBR (to look at the program's state meanwhile).
  static std::function<void()> onRead;
  // Exports left out of the library.
  static std::set<std::string> missing;

  static void install();
  static void reset();
};

}  // namespace testing_support
