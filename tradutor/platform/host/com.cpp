// Host platform: COM is only counted.
#include "platform/com.h"

#include "platform/host/host_internal.h"

namespace platform {
namespace {
int& initializations() {
  static int n = 0;
  return n;
}
}  // namespace

void initializeCom() { ++initializations(); }

namespace host {
int comInitializations() { return initializations(); }
namespace internal {
void resetCom() { initializations() = 0; }
}  // namespace internal
}  // namespace host

}  // namespace platform
