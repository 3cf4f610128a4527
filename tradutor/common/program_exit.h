#pragma once
// Ending the program from anywhere in the library. Units chain exit
// procedures at initialisation; every way the program ends runs them, last
// chained first, before the process goes.

namespace tradutor {

using ExitProcedure = void (*)();

void addExitProcedure(ExitProcedure procedure);

// Runs the exit procedures, then ends the process with `code`.
[[noreturn]] void endProgram(int code);

// Forgets every chained procedure (tests start each case from a clean unit state).
void resetExitProcedures();

}  // namespace tradutor
