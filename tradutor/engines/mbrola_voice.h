#pragma once
// The MBROLA-voice adapter (engine type 3): the Portuguese voice driver
// behind the five operations of every engine.
#include <string>

#include "engines/kzsapi.h"

namespace tradutor {

// The voice's database name and data files, from [AUREATTS] of ORALIS.INI
// (MBROLA_DB, DIR, BASE), read once at program start.
struct MbrolaVoiceFiles {
  std::string database, rules, exceptions, definitions, prosody, abbreviations;
};

void initMbrolaVoiceAdapter();
const MbrolaVoiceFiles& mbrolaVoiceFiles();
void resetMbrolaVoiceAdapter();

// The driver's factors for the hub's speed and pitch numbers.
double mbrolaDurationFactor(int speed);
double mbrolaPitchFactor(int pitch);

extern const SpeechEngineAdapter kMbrolaVoiceAdapter;

}  // namespace tradutor
