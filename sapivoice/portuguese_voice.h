#pragma once
// The Portuguese voice as the SAPI 5 engine uses it: the voice driver
// started once per process on a data folder, and one text at a time
// synthesized at a given pace. SAPI may call from several threads; the
// driver is one, so callers take turns.
#include <string>

#include "fragment_speaker.h"

namespace sapivoice {

// `dataFolder` holds the engine's database br4 and portug.nrl, .exc, .dfn,
// .pro and .abr; it ends in a backslash. True when the voice is ready (a
// second call on the same folder changes nothing).
bool startPortugueseVoice(const std::string& dataFolder);
void stopPortugueseVoice();
bool synthesizePortuguese(const std::string& text, double durationFactor, const SampleTaker& take);

}  // namespace sapivoice
