#include "common/program_exit.h"

#include "platform/process.h"

namespace tradutor {
namespace {

struct ExitState {
  static constexpr int kMax = 16;
  ExitProcedure procedures[kMax] = {};
  int count = 0;
};

ExitState& state() {
  static ExitState s;
  return s;
}

}  // namespace

void addExitProcedure(ExitProcedure procedure) {
  ExitState& s = state();
  if (s.count < ExitState::kMax) s.procedures[s.count++] = procedure;
}

void endProgram(int code) {
  ExitState& s = state();
  // Each procedure is taken off the chain before it runs, so a procedure
  // that ends the program again cannot run twice.
  while (s.count > 0) {
    const ExitProcedure p = s.procedures[--s.count];
    p();
  }
  platform::exitProcess(code);
}

void resetExitProcedures() { state() = ExitState{}; }

}  // namespace tradutor
