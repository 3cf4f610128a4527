#pragma once
// kzSapi5 and KZSAPI54: speech through a SAPI 5 voice, one adapter per SAPI 5
// runtime (engine types 5 and 54), each with its own voice object, file
// stream and completion state.
#include "engines/kzsapi.h"

namespace tradutor {

extern const SpeechEngineAdapter kSapi5Adapter;   // engine type 5
extern const SpeechEngineAdapter kSapi54Adapter;  // engine type 54

// SAPI's own values the adapters pass on.
constexpr unsigned long long kSapi5AllEvents = 33790;
constexpr unsigned kSapi5SpeakAsync = 17;  // asynchronous, text is not XML
constexpr unsigned kSapi5SpeakPurge = 2;   // purge everything queued first

void resetSapi5Adapters();

}  // namespace tradutor
