#pragma once
// A speech engine for tests: it "speaks" each text for a set virtual time and
// records what it was asked.
#include <string>
#include <vector>

#include "engines/kzsapi.h"

namespace testing_support {

struct FakeEngine {
  struct Start {
    int voice, rate, pitch;
    std::string outputFile;
  };
  static std::vector<Start> starts;
  static std::vector<std::string> spoken;
  static int silences;
  static int stops;
  static bool startSucceeds;
  static unsigned millisecondsPerText;
  static std::uint64_t speakingUntil;

  static void install(int engineType);
  static void reset();
  static const tradutor::SpeechEngineAdapter adapter;
};

}  // namespace testing_support
