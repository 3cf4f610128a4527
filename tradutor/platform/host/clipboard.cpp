// Host platform: an in-memory clipboard that can refuse to open.
#include "platform/clipboard.h"

#include <cstring>

#include "platform/host/host_internal.h"

namespace platform {
namespace {

struct ClipboardState {
  std::optional<std::string> text;
  int failingOpens = 0;
};

ClipboardState& state() {
  static ClipboardState s;
  return s;
}

bool open() {
  ClipboardState& s = state();
  if (s.failingOpens > 0) {
    --s.failingOpens;
    return false;
  }
  return true;
}

}  // namespace

bool setClipboardText(const std::string& text) {
  if (!open()) return false;
  state().text = std::string(text.c_str());  // CF_TEXT ends at the first zero byte
  return true;
}

ClipboardRead getClipboardText(std::string& text) {
  if (!open()) return ClipboardRead::OpenFailed;
  if (!state().text) return ClipboardRead::NoText;
  text = std::string(state().text->c_str());
  return ClipboardRead::Text;
}

namespace host {
void setClipboard(std::optional<std::string> text) { state().text = std::move(text); }
std::optional<std::string> clipboard() { return state().text; }
void failClipboardOpens(int count) { state().failingOpens = count; }
namespace internal {
void resetClipboard() { state() = ClipboardState{}; }
}  // namespace internal
}  // namespace host

}  // namespace platform
