// Host platform: shell requests are recorded, nothing is started.
#include "platform/shell.h"

#include "platform/host/host_internal.h"

namespace platform {
namespace {
std::vector<host::ShellRequest>& requests() {
  static std::vector<host::ShellRequest> r;
  return r;
}
}  // namespace

void shellOpen(const std::string& program, const std::string& parameters, const std::string& directory) {
  requests().push_back({program, parameters, directory});
}

namespace host {
const std::vector<ShellRequest>& shellRequests() { return requests(); }
namespace internal {
void resetShell() { requests().clear(); }
}  // namespace internal
}  // namespace host

}  // namespace platform
