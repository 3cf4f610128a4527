// Standard text output and input of the console: writes pass through a
// 128-byte buffer into the screen, and each flush lets window messages run.
#include <cstring>

#include "screen/kzcrt.h"
#include "screen/kzcrt_state.h"

namespace tradutor {
namespace {

void flushOutput() {
  crt::CrtState& s = crt::state();
  const int n = s.outCount;
  s.outCount = 0;
  writeChars(s.outBuffer, static_cast<std::uint16_t>(n));
  keyPressed();
}

void bufferBytes(std::string_view text) {
  crt::CrtState& s = crt::state();
  for (const char c : text) {
    s.outBuffer[s.outCount++] = static_cast<std::uint8_t>(c);
    if (s.outCount == static_cast<int>(sizeof s.outBuffer)) flushOutput();
  }
}

}  // namespace

// Every write ends with a flush, also an empty one: the first write opens the window.
void writeText(std::string_view text) {
  bufferBytes(text);
  flushOutput();
}

void writeLine(std::string_view text) {
  bufferBytes(text);
  bufferBytes("\r\n");
  flushOutput();
}

std::string readInputLine() {
  char buffer[128];
  int n = readLine(buffer, static_cast<int>(sizeof buffer));
  while (n > 0 && (buffer[n - 1] == '\n' || buffer[n - 1] == '\r')) --n;
  return std::string(buffer, static_cast<std::size_t>(n));
}

}  // namespace tradutor
