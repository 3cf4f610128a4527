#pragma once
// Written forms with a reading of their own, rewritten before the
// normalisation's walk: dates (12/05/2026), times (10h30, 14:05), money
// (R$ 7,50), percentages (50%), units after a number (10 km), Roman numerals
// after século, capítulo, volume and parte, and the elided d' (d'água).
#include <string>
#include <string_view>

#include "tts/utts_places.h"

namespace tradutor {

// With `spans`, the span of `text` each character written was read from.
std::string rewriteSpokenForms(std::string_view text, SourceSpans* spans = nullptr);

}  // namespace tradutor
