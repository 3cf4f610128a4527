// keyecho: opens the console window and writes the byte codes of every key
// typed, so that the window can be looked at and typed at. With a file name
// as its argument it also appends each code to that file, one per line.
// Esc twice in a row ends it, as does closing the window.
#include <cstdio>
#include <string>

#include "screen/kzcrt.h"

int main(int argc, char** argv) {
  tradutor::initConsoleUnit();
  std::FILE* log = argc > 1 ? std::fopen(argv[1], "a") : nullptr;
  tradutor::writeLine("Teclas: digite; Esc duas vezes termina.");
  std::uint8_t previous = 0;
  for (;;) {
    const std::uint8_t key = tradutor::readKey();
    tradutor::writeText(std::to_string(key) + " ");
    if (log != nullptr) {
      std::fprintf(log, "%u\n", key);
      std::fflush(log);
    }
    if (key == 27 && previous == 27) break;
    previous = key;
  }
  if (log != nullptr) std::fclose(log);
  tradutor::closeConsoleWindow();
}
