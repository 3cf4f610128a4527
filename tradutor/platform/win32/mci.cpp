// Windows platform: the MCI string interpreter of winmm.
#include "platform/mci.h"

#include <windows.h>
#include <mmsystem.h>

namespace platform {

int sendMciString(const char* command, char* buffer, unsigned length) {
  return static_cast<int>(mciSendStringA(command, buffer, length, nullptr));
}

bool mciErrorText(int code, char* buffer, unsigned length) {
  return mciGetErrorStringA(static_cast<MCIERROR>(code), buffer, length) != FALSE;
}

}  // namespace platform
