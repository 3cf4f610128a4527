// Host platform: reset of every part.
#include "platform/host/host_internal.h"

namespace platform::host {

void reset() {
  internal::resetFiles();
  internal::resetClock();
  internal::resetWindow();
  internal::resetDraw();
  internal::resetTones();
  internal::resetClipboard();
  internal::resetWaveOut();
  internal::resetCom();
  internal::resetMci();
  internal::resetShell();
  internal::resetMessages();
  internal::resetRegistry();
  internal::resetLibraries();
  internal::resetSapi();
}

}  // namespace platform::host
