#pragma once
// The Portuguese voice as the SAPI 5 engine uses it: the voice driver,
// started on a data folder, and one text at a time synthesized at a given
// pace and pitch. SAPI may call from several threads, and two voice tokens
// may name two data folders; the driver is one, so callers take turns, and
// each turn starts the driver on the caller's folder if it is on another.
#include <string>

#include "fragment_speaker.h"

namespace sapivoice {

// `dataFolder` holds the engine's database br4 and portug.nrl, .exc, .dfn,
// .pro and .abr; it ends in a backslash. True when the voice is ready (a
// second call on the same folder changes nothing).
bool startPortugueseVoice(const std::string& dataFolder);
void stopPortugueseVoice();
// `text` spoken with the data of `dataFolder` (started on it first if need
// be): false when the voice cannot start there or the engine fails.
bool synthesizePortuguese(const std::string& dataFolder, const std::string& text, double durationFactor,
                          double pitchFactor, const SampleTaker& take, tradutor::SpokenMarks* marks);
// The same bound to one folder, as the fragment speaker calls it.
Synthesizer portugueseSynthesizer(const std::string& dataFolder);

}  // namespace sapivoice
