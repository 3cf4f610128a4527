// Host platform: an MCI interpreter that answers from a script the test gives.
#include "platform/mci.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/host/host_internal.h"

namespace platform {
namespace {

struct MciState {
  std::map<std::string, std::pair<int, std::string>> answers;
  std::map<int, std::string> errorTexts = {{host::kMciUnknownCommand, "The specified command is not recognized."}};
  std::vector<std::string> sent;
};

MciState& state() {
  static MciState s;
  return s;
}

void copyOut(const std::string& text, char* buffer, unsigned length) {
  if (buffer == nullptr || length == 0) return;
  const std::size_t n = std::min<std::size_t>(text.size(), length - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
}

}  // namespace

int sendMciString(const char* command, char* buffer, unsigned length) {
  MciState& s = state();
  s.sent.emplace_back(command);
  const auto it = s.answers.find(command);
  if (it == s.answers.end()) {
    copyOut("", buffer, length);
    return host::kMciUnknownCommand;
  }
  copyOut(it->second.first == 0 ? it->second.second : "", buffer, length);
  return it->second.first;
}

bool mciErrorText(int code, char* buffer, unsigned length) {
  const auto it = state().errorTexts.find(code);
  if (it == state().errorTexts.end()) return false;
  copyOut(it->second, buffer, length);
  return true;
}

namespace host {
void setMciAnswer(const std::string& command, int code, const std::string& returned) {
  state().answers[command] = {code, returned};
}
void setMciErrorText(int code, const std::string& text) { state().errorTexts[code] = text; }
const std::vector<std::string>& mciCommandsSent() { return state().sent; }
namespace internal {
void resetMci() { state() = MciState{}; }
}  // namespace internal
}  // namespace host

}  // namespace platform
