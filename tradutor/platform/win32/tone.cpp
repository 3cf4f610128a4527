// Windows platform: looping in-memory sounds and the message beep.
#include "platform/tone.h"

#include <windows.h>
#include <mmsystem.h>

namespace platform {

void playLoopingImage(const std::uint8_t* image, std::size_t) {
  sndPlaySoundA(reinterpret_cast<const char*>(image), SND_ASYNC | SND_MEMORY | SND_LOOP);
}

void stopLoopingImage() { sndPlaySoundA(nullptr, SND_ASYNC); }
void messageBeep() { MessageBeep(0); }

}  // namespace platform
