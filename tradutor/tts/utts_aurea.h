#pragma once
// uttsAurea: the Portuguese voice driver. Loads the MBROLA engine and the
// five language data files, runs the front end over each text, feeds the
// phoneme lines to the engine and plays the 16 kHz 16-bit samples through
// the WAV player, or appends them to a WAV file.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "tts/utts_places.h"

namespace tradutor {

// 1 when ready, 0 on failure (ttsErrorText says why, where there is a text).
// Empty arguments take the defaults: "br4", portug.nrl, .exc, .dfn, .pro, .abr.
int ttsInitialize(const std::string& database, const std::string& rulesFile, const std::string& exceptionsFile,
                  const std::string& diphoneListFile, const std::string& prosodyFile,
                  const std::string& abbreviationsFile);
// Before ttsInitialize; empty: play through the sound card.
void ttsSetOutputFile(const std::string& fileName);
void ttsSetFactors(double durationFactor, double pitchFactor);
// False when the engine reported an error or the file could not be written.
bool ttsSpeak(std::string_view text);
// The samples of `text` (16 kHz, 16-bit mono) handed to `take` as the engine
// gives them, neither played nor written; `take` answers false to stop at
// once. False when the engine reported an error or `take` stopped it.
using SampleSink = std::function<bool(const short* samples, std::size_t count)>;
// With `marks`, each word and sentence of `text`, placed in the samples
// given (filled before the first sample is).
bool ttsSynthesize(std::string_view text, const SampleSink& take, SpokenMarks* marks = nullptr);
void ttsStop();
bool ttsIsSpeaking();
void ttsTerminate();
const std::string& ttsErrorText();

// Back to the state at program start (for tests).
void resetVoiceDriver();

}  // namespace tradutor
