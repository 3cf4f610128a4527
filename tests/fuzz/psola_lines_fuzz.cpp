// Any text written to the engine: lines, flushes and reads in pieces. The
// database is the recorded voice; every sample asked for must come out
// bounded, and nothing may crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "mbrola.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = [] {
    std::string path = fuzz::voiceData("br4");
    return init_MBR(path.data()) == 0;
  }();
  if (!ready) __builtin_trap();
  reset_MBR();
  // The first byte chooses the read size and the no-error mode; the rest is text.
  const int piece = size > 0 ? 1 + data[0] * 37 : 100;
  setNoError_MBR(size > 0 && (data[0] & 1));
  std::string text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
  for (char& c : text)
    if (c == 0) c = '\n';
  std::vector<short> buffer(static_cast<std::size_t>(piece));
  long total = 0;
  // Written in chunks as a driver would, reading after each.
  for (std::size_t at = 0; at < text.size(); at += 97) {
    std::string chunk = text.substr(at, 97);
    write_MBR(chunk.data());
    for (int n; (n = read_MBR(buffer.data(), piece)) > 0 && total < 16000 * 120;) total += n;
  }
  flush_MBR();
  for (int n; (n = read_MBR(buffer.data(), piece)) > 0 && total < 16000 * 120;) total += n;
  char error[256];
  lastErrorStr_MBR(error, sizeof error);
  return 0;
}
