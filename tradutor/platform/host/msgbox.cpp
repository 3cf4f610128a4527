// Host platform: message boxes are recorded.
#include "platform/msgbox.h"

#include "platform/host/host_internal.h"

namespace platform {
namespace {
std::vector<std::string>& shown() {
  static std::vector<std::string> s;
  return s;
}
}  // namespace

void showMessage(const std::string& text, const std::string&) { shown().push_back(text); }

namespace host {
const std::vector<std::string>& messagesShown() { return shown(); }
void clearMessagesShown() { shown().clear(); }
namespace internal {
void resetMessages() { shown().clear(); }
}  // namespace internal
}  // namespace host

}  // namespace platform
