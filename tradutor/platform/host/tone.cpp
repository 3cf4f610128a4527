// Host platform: looping tones and beeps recorded, not sounded.
#include "platform/tone.h"

#include "platform/host/host_internal.h"

namespace platform {
namespace {

host::ToneLog& state() {
  static host::ToneLog s;
  return s;
}

}  // namespace

void playLoopingImage(const std::uint8_t* image, std::size_t size) {
  state().images.emplace_back(image, image + size);
  state().playing = true;
}

void stopLoopingImage() {
  ++state().stops;
  state().playing = false;
}

void messageBeep() { ++state().beeps; }

namespace host {
const ToneLog& tones() { return state(); }
namespace internal {
void resetTones() { state() = ToneLog{}; }
}  // namespace internal
}  // namespace host

}  // namespace platform
