// Any file given to init_MBR as a database: refused or accepted, never a
// crash; an accepted one speaks a line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "mbrola.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string path = fuzz::writeScratch("database", data, size);
  if (init_MBR(path.data()) == 0) {
    char name[64];
    for (int i = 0; getDatabaseInfo_MBR(name, sizeof name, i) > 0 && i < 100; ++i) {
    }
    write_MBR(const_cast<char*>("_ 20\na 50 50 120\n_ 20\n"));
    flush_MBR();
    short buffer[512];
    for (int n, total = 0; (n = read_MBR(buffer, 512)) > 0 && total < 16000 * 10; total += n) {
    }
  }
  close_MBR();
  return 0;
}
