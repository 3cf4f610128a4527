#pragma once
// Shared pieces of the host platform's files.
#include "platform/host/host_control.h"

namespace platform::host::internal {

void resetFiles();
void resetProcess();
void resetClock();
void resetWindow();
void resetDraw();
void resetTones();
void resetClipboard();

// Advances the virtual clock.
void advanceClock(std::uint64_t milliseconds);

// The display: erases it to black (the class brush) before a paint.
void eraseDisplay();
Rect clientRect();
void validate();  // the window's invalid region is painted

}  // namespace platform::host::internal
