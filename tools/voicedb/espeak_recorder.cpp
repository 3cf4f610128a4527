#include "espeak_recorder.h"

#include <espeak-ng/speak_lib.h>

#include <cstring>

namespace voicedb {
namespace {

Recording* current = nullptr;

int collect(short* wave, int count, espeak_EVENT* events) {
  if (current == nullptr) return 1;
  if (wave != nullptr && count > 0) current->samples.insert(current->samples.end(), wave, wave + count);
  for (; events != nullptr && events->type != espeakEVENT_LIST_TERMINATED; ++events) {
    if (events->type != espeakEVENT_PHONEME) continue;
    char name[9] = {};
    std::memcpy(name, events->id.string, 8);
    const double ms = events->audio_position;
    if (name[0] == '_') {
      // A pause: the phoneme before it ends here.
      if (!current->onsets.empty() && current->endMs <= current->onsets.back().ms) current->endMs = ms;
      continue;
    }
    if (name[0] != 0) current->onsets.push_back({name, ms});
  }
  return 0;
}

}  // namespace

bool EspeakRecorder::open(const char* voice, int pitch) {
  rate_ = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_PHONEME_EVENTS);
  if (rate_ <= 0) return false;
  open_ = true;
  if (espeak_SetVoiceByName(voice) != EE_OK) return false;
  espeak_SetParameter(espeakRANGE, 0, 0);
  espeak_SetParameter(espeakPITCH, pitch, 0);
  espeak_SetParameter(espeakRATE, 150, 0);
  espeak_SetSynthCallback(collect);
  return true;
}

EspeakRecorder::~EspeakRecorder() {
  if (open_) espeak_Terminate();
}

bool EspeakRecorder::record(const std::string& phonemes, Recording& out) {
  out = Recording{};
  out.rate = rate_;
  current = &out;
  const std::string text = "[[" + phonemes + "]]";
  const espeak_ERROR status = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                           espeakCHARS_AUTO | espeakPHONEMES, nullptr, nullptr);
  espeak_Synchronize();
  current = nullptr;
  if (out.endMs <= 0 || (!out.onsets.empty() && out.endMs <= out.onsets.back().ms))
    out.endMs = out.samples.size() * 1000.0 / rate_;
  return status == EE_OK && !out.samples.empty();
}

}  // namespace voicedb
