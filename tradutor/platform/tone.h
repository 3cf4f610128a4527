#pragma once
// Short signals outside the wave-out device: a looping in-memory wave image
// (sndPlaySoundA) and the message beep.
//
// Contract: playLoopingImage starts the image playing asynchronously, over
// and over, until stopLoopingImage; the caller keeps the image alive until then.
#include <cstddef>
#include <cstdint>

namespace platform {

void playLoopingImage(const std::uint8_t* image, std::size_t size);
void stopLoopingImage();
void messageBeep();

}  // namespace platform
