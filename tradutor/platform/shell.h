#pragma once
// Opening programs, documents and links through the system shell.
//
// Contract: shellOpen asks the shell to "open" the program (or document, or
// address) with the parameters (may be empty) in the directory, shown
// normally, owned by the console window. Its result is not reported.
#include <string>

namespace platform {

void shellOpen(const std::string& program, const std::string& parameters, const std::string& directory);

}  // namespace platform
