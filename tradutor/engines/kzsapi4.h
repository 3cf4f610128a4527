#pragma once
// kzsapi4: speech through a SAPI 4 engine mode chosen by number, with two
// sinks of its own (TTSNotifySink and TTSBufNotifySink) whose callbacks keep
// the counters that answer whether speech is still running.
#include "engines/kzsapi.h"

namespace tradutor {

extern const SpeechEngineAdapter kSapi4Adapter;

// TextData's buffer: a text and its terminating zero.
constexpr unsigned kSapi4TextBufferSize = 64000;

void resetSapi4Adapter();

}  // namespace tradutor
