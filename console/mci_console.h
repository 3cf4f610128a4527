#pragma once
// falamci's loop: ask for an MCI command by voice, read it with the spoken
// line editor, run it, speak the answer; an empty line ends it.

namespace falamci {

// Start-of-program initialisation of the units, in their fixed order.
void initUnits();
// The program after initialisation; ends the process (closeConsoleWindow).
[[noreturn]] void runMciConsole();

constexpr int kCommandBuffer = 152;  // the command as a zero-terminated string
constexpr unsigned kReturnLength = 80;  // what the interpreter is told the return buffer holds

}  // namespace falamci
