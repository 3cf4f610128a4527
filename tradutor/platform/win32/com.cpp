// Windows platform: COM for the program's thread.
#include "platform/com.h"

#include <objbase.h>

namespace platform {

void initializeCom() { CoInitialize(nullptr); }

}  // namespace platform
