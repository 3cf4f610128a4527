// The Windows test program: with "--child SCENARIO" it plays one scenario
// that ends the process; otherwise it runs the tests.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "platform/mci.h"
#include "win32_test_support.h"

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--mci-error") == 0) {
    // The interpreter's own answer to a command it rejects, for the end-to-end test.
    char answer[128] = {};
    const int code = platform::sendMciString(argv[2], answer, 80);
    platform::mciErrorText(code, answer, 80);
    std::printf("%s\n", answer);
    return code == 0 ? 1 : 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "--process-figures") == 0) return win32_test::printProcessFigures(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) return win32_test::runScenario(argv[2]);
  // The console opened by the tests reads these settings once.
  win32_test::writeIni(
      "[VIDEO]\r\nCANTOTELA=NAO\r\nFONTE=DejaVu Sans Mono\r\nLARGURALETRA=8\r\nALTURALETRA=16\r\n"
      "TABCORES=0,4,2,3,4,5,6,7,8,9,10,11,12,13,14,15\r\nCORLETRA=14\r\nCORFUNDO=0\r\n");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
