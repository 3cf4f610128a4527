#pragma once
// The word tables of uttsPreproc.

namespace tradutor::preproc {

extern const char* const kUnits[10];
extern const char* const kTeens[10];
extern const char* const kTens[10];
extern const char* const kHundreds[10];
extern const char* const kOrdinalUnits[10];
extern const char* const kOrdinalTens[10];
extern const char* const kOrdinalHundreds[10];
extern const char* const kScaleSingular[5];
extern const char* const kScalePlural[5];
extern const char* const kThousandth;
extern const char* const kCharacterNames[256];

}  // namespace tradutor::preproc
