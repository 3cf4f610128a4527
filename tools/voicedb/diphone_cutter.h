// Cuts one diphone out of a carrier recording: phoneme spans from espeak-ng's
// onsets, cut points moved to the steadiest frame near each phoneme's centre,
// pitch marks tracked over the voiced spans.
#pragma once

#include <cstdint>
#include <vector>

#include "carrier.h"
#include "voice_tables.h"

namespace voicedb {

constexpr int kRate = 16000;
constexpr int kMargin = 480;        // samples kept beyond each cut point
constexpr int kSilenceHalf = 400;   // length of a silence's half in a diphone
constexpr int kPadding = 1600;      // zeros put around each recording

struct CutDiphone {
  int left = 0, right = 0;
  std::vector<float> samples;       // from cutStart - kMargin to cutEnd + kMargin
  std::uint32_t cutStart = 0, boundary = 0, cutEnd = 0;
  std::vector<std::uint32_t> marks;  // voiced pitch marks, relative to samples[0]
};

struct Span {
  long start, end;  // samples of the padded 16 kHz recording
};

// `spans` holds each carrier phoneme's extent; false when the cut is impossible.
bool cutDiphone(const std::vector<PhonemeEntry>& table, const Carrier& carrier, const std::vector<float>& signal,
                const std::vector<Span>& spans, long recordingEnd, CutDiphone& out);

}  // namespace voicedb
