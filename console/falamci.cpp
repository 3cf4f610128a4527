// falamci: a talking console for MCI command strings, for blind users.
#include "mci_console.h"

int main() {
  falamci::initUnits();
  falamci::runMciConsole();
}
